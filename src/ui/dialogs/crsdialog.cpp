// The coordinate system dialog.
#include "dialogs/crsdialog.h"

#include "ui_crsdialog.h"

#include <QFont>
#include <QHeaderView>
#include <QIcon>
#include <QTableWidgetItem>

namespace
{

// The list's columns: the system's code and its name.
enum : int { kCodeColumn, kNameColumn };

} // namespace

CrsDialog::CrsDialog(QWidget* parent) : QDialog(parent), ui(new Ui::CrsDialog)
{
    ui->setupUi(this);
    ui->tableWidget->horizontalHeader()->setStretchLastSection(true);
    ui->tableWidget->verticalHeader()->hide();
    connect(ui->lineEdit, &QLineEdit::textChanged, this, &CrsDialog::search);
    connect(ui->tableWidget, &QTableWidget::itemSelectionChanged, this, &CrsDialog::show_area);
    connect(ui->tableWidget, &QTableWidget::cellDoubleClicked, this, [this] { on_pushButton_clicked(); });
}

CrsDialog::~CrsDialog() = default;

bool CrsDialog::crsdlg_ini(const QStringList& texts)
{
    if (texts.size() < kTextCount)
        return false;
    texts_ = texts;
    setWindowTitle(texts[kTitle]);
    setWindowIcon(QIcon(dlgicon_path));
    ui->label->setText(texts[kSearchCaption]);
    ui->lineEdit->setPlaceholderText(texts[kSearchHint]);
    ui->tableWidget->setHorizontalHeaderLabels({texts[kCodeCaption], texts[kNameCaption]});
    ui->pushButton->setText(texts[kOkText]);
    ui->pushButton_2->setText(texts[kCancelText]);
    search(ui->lineEdit->text());
    return true;
}

void CrsDialog::add_row(const CrsInfo& info, bool recent_choice)
{
    const int row = ui->tableWidget->rowCount();
    ui->tableWidget->insertRow(row);
    auto* code = new QTableWidgetItem(info.is_valid() ? info.id() : QString());
    auto* name = new QTableWidgetItem(info.is_valid() ? info.name : texts_.value(kNoneText));
    for (QTableWidgetItem* item : {code, name}) {
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        if (recent_choice) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setToolTip(texts_.value(kRecentText));
        }
    }
    ui->tableWidget->setItem(row, kCodeColumn, code);
    ui->tableWidget->setItem(row, kNameColumn, name);
    rows_.append(info);
}

void CrsDialog::search(const QString& query)
{
    ui->tableWidget->setRowCount(0);
    rows_.clear();
    add_row(CrsInfo(), false);
    // The recent choices that match come first; with no search, the recent ones and the current one.
    QStringList wanted = recent;
    if (!current.isEmpty() && !wanted.contains(current))
        wanted.prepend(current);
    const QString words = query.trimmed();
    const QVector<CrsInfo> found = words.isEmpty() ? QVector<CrsInfo>() : CrsCatalog::search(words);
    QStringList shown;
    for (const QString& id : qAsConst(wanted)) {
        const auto match = std::find_if(found.begin(), found.end(), [&](const CrsInfo& c) { return c.id() == id; });
        if (!words.isEmpty() && match == found.end())
            continue;
        const CrsInfo info = match != found.end() ? *match : describe_crs(id);
        if (info.is_valid()) {
            add_row(info, recent.contains(id));
            shown << info.id();
        }
    }
    for (const CrsInfo& info : found) {
        if (!shown.contains(info.id()))
            add_row(info, false);
    }
    ui->tableWidget->resizeColumnToContents(kCodeColumn);
    // The current choice stays selected while it is listed; else the best match.
    int select = words.isEmpty() ? 0 : (rows_.size() > 1 ? 1 : 0);
    for (int row = 0; row < rows_.size(); ++row) {
        if (rows_[row].id() == current && (words.isEmpty() || row > 0))
            select = row;
    }
    ui->tableWidget->selectRow(select);
    if (!CrsCatalog::error().isEmpty())
        ui->label_2->setText(texts_.value(kNoDatabaseText).arg(CrsCatalog::error()));
    else if (!words.isEmpty() && found.isEmpty())
        ui->label_2->setText(texts_.value(kNoMatchText).arg(words));
}

void CrsDialog::show_area()
{
    const QModelIndexList selected = ui->tableWidget->selectionModel()->selectedRows();
    const CrsInfo info = selected.isEmpty() ? CrsInfo() : rows_.value(selected.first().row());
    if (!info.is_valid()) {
        ui->label_2->clear();
        return;
    }
    const GeoBox& box = info.bounds;
    ui->label_2->setText(
        box.valid ? texts_.value(kAreaText).arg(info.area).arg(box.west).arg(box.east).arg(box.south).arg(box.north)
                  : info.area);
}

void CrsDialog::on_pushButton_clicked()
{
    const QModelIndexList selected = ui->tableWidget->selectionModel()->selectedRows();
    chosen = selected.isEmpty() ? current : system_of_row(selected.first().row());
    result_flag = true;
    close();
}

void CrsDialog::on_pushButton_2_clicked()
{
    result_flag = false;
    close();
}
