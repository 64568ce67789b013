// The duplicates dialog: the groups in a tree (a group, its rows below it), the choices, the preview.
#include "dialogs/duplicatesdialog.h"

#include "dialogs/dialogtexts.h"
#include "ui_duplicatesdialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableWidgetItem>
#include <QTreeWidgetItem>

using duplicates::Choice;

namespace
{

enum PreviewColumn { kRow, kName, kCode, kNorth, kEast, kHeight, kResult, kPreviewColumnCount };

// The five point fields of a row, in the order the preview shows them from kName on.
QStringList point_texts(const duplicates::Layout& layout, const QStringList& cells)
{
    QStringList texts;
    for (int column : layout.columns)
        texts << cells.value(column);
    return texts;
}

QString metres(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

DuplicatesDialog::DuplicatesDialog(QWidget* parent) : QDialog(parent), ui(new Ui::DuplicatesDialog)
{
    ui->setupUi(this);
    ui->previewTable->verticalHeader()->hide();
    ui->previewTable->horizontalHeader()->setStretchLastSection(true);
    connect(ui->allChoice, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { choose_for_all(Choice(index)); });
    connect(ui->toleranceSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, [this](double value) {
        options.tolerance = value;
        offer_choices();
        show_preview();
    });
    connect(ui->suffixEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        // A pattern without its number would give every later row the same name.
        if (text.contains("%1"))
            options.suffix = text;
        show_preview();
    });
}

DuplicatesDialog::~DuplicatesDialog()
{
    delete ui;
}

bool DuplicatesDialog::duplicatesdlg_ini(const QStringList& texts)
{
    if (texts.size() < kTextCount)
        return false;
    texts_ = texts;
    set_dialog_texts(*this, dlgicon_path, texts, {ui->allLabel, ui->toleranceLabel, ui->suffixLabel, ui->previewLabel},
                     {ui->okButton, ui->cancelButton});
    ui->groupTree->setHeaderLabels(texts.mid(kGroupColumns, 5));
    ui->previewTable->setHorizontalHeaderLabels(texts.mid(kPreviewColumns, kPreviewColumnCount));
    ui->allChoice->addItems(texts.mid(kChoiceTexts, duplicates::kChoices));
    ui->allChoice->setCurrentIndex(int(Choice::KeepAll));
    ui->toleranceSpin->blockSignals(true);
    ui->toleranceSpin->setValue(options.tolerance);
    ui->toleranceSpin->blockSignals(false);
    ui->suffixEdit->blockSignals(true);
    ui->suffixEdit->setText(options.suffix);
    ui->suffixEdit->blockSignals(false);
    groups_ = duplicates::find_groups(rows, layout);
    show_groups();
    return true;
}

void DuplicatesDialog::show_groups()
{
    int grouped = 0;
    ui->groupTree->clear();
    for (int g = 0; g < groups_.size(); ++g) {
        const duplicates::Group& group = groups_[g];
        grouped += group.rows.size();
        auto* item = new QTreeWidgetItem(ui->groupTree, {group.name, QString::number(group.rows.size()),
                                                         metres(group.horizontal), metres(group.vertical)});
        for (int row : group.rows) {
            const QStringList point = point_texts(layout, rows.value(row));
            // Below its group: the row as the table numbers it, its code and coordinates.
            new QTreeWidgetItem(item, {QString::number(row + 1), point.value(1),
                                       QString("%1  %2  %3").arg(point.value(2), point.value(3), point.value(4))});
        }
        auto* box = new QComboBox(ui->groupTree);
        box->addItems(texts_.mid(kChoiceTexts, duplicates::kChoices));
        box->setCurrentIndex(int(Choice::KeepAll));
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { show_preview(); });
        ui->groupTree->setItemWidget(item, 4, box);
    }
    ui->groupTree->expandAll();
    for (int column = 0; column < 4; ++column)
        ui->groupTree->resizeColumnToContents(column);
    ui->summaryLabel->setText(texts_.value(kGroupsFound).arg(groups_.size()).arg(grouped));
    offer_choices();
    show_preview();
}

QComboBox* DuplicatesDialog::choice_box(int group) const
{
    return qobject_cast<QComboBox*>(ui->groupTree->itemWidget(ui->groupTree->topLevelItem(group), 4));
}

// Average only for the groups within the tolerance; a group that no longer is loses it.
void DuplicatesDialog::offer_choices()
{
    for (int g = 0; g < groups_.size(); ++g) {
        QComboBox* box = choice_box(g);
        auto* model = qobject_cast<QStandardItemModel*>(box->model());
        const bool within = groups_[g].within(options.tolerance);
        if (QStandardItem* average = model ? model->item(int(Choice::Average)) : nullptr) {
            average->setEnabled(within);
            average->setToolTip(within ? QString() : texts_.value(kBeyond));
        }
        if (!within && box->currentIndex() == int(Choice::Average))
            box->setCurrentIndex(int(Choice::KeepAll));
    }
}

void DuplicatesDialog::choose_for_all(Choice choice)
{
    ui->allChoice->setCurrentIndex(int(choice));
    for (int g = 0; g < groups_.size(); ++g) {
        if (choice != Choice::Average || groups_[g].within(options.tolerance))
            choice_box(g)->setCurrentIndex(int(choice));
    }
    show_preview();
}

QList<Choice> DuplicatesDialog::choices() const
{
    QList<Choice> list;
    for (int g = 0; g < groups_.size(); ++g)
        list << Choice(choice_box(g)->currentIndex());
    return list;
}

// Each row of every group: what it becomes, or that it goes.
void DuplicatesDialog::show_preview()
{
    if (groups_.size() != ui->groupTree->topLevelItemCount())
        return;
    result = duplicates::resolve(rows, layout, groups_, choices(), options);
    QHash<int, int> kept_at; // a row given to where it is in the result
    for (int i = 0; i < result.kept.size(); ++i)
        kept_at.insert(result.kept[i], i);
    QHash<int, QString> renamed_from;
    QStringList shortened;
    for (const duplicates::Renamed& renamed : result.renamed) {
        renamed_from.insert(renamed.row, renamed.from);
        if (renamed.shortened)
            shortened << texts_.value(kShortened).arg(renamed.from, renamed.to);
    }
    const QList<Choice> chosen = choices();
    QTableWidget* table = ui->previewTable;
    table->setRowCount(0);
    for (int g = 0; g < groups_.size(); ++g) {
        for (int row : groups_[g].rows) {
            const bool kept = kept_at.contains(row);
            QStringList texts{QString::number(row + 1)};
            texts << point_texts(layout, kept ? result.rows[kept_at[row]] : rows[row]);
            if (!kept)
                texts << texts_.value(kRemoved);
            else if (renamed_from.contains(row))
                texts << texts_.value(kRenamedFrom).arg(renamed_from[row]);
            else if (chosen[g] == Choice::Average && groups_[g].within(options.tolerance))
                texts << texts_.value(kAveraged);
            else
                texts << texts_.value(kKept);
            const int at = table->rowCount();
            table->insertRow(at);
            for (int column = 0; column < kPreviewColumnCount; ++column) {
                auto* item = new QTableWidgetItem(texts.value(column));
                if (!kept)
                    item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
                table->setItem(at, column, item);
            }
        }
    }
    table->resizeColumnsToContents();
    const QString outcome = texts_.value(kOutcome).arg(result.removed).arg(result.averaged).arg(result.renamed.size());
    ui->outcomeLabel->setText(shortened.isEmpty() ? outcome : outcome + '\n' + shortened.join('\n'));
}

void DuplicatesDialog::on_okButton_clicked()
{
    show_preview();
    const QList<Choice> chosen = choices();
    resolutions.clear();
    for (int g = 0; g < groups_.size(); ++g) {
        const duplicates::Group& group = groups_[g];
        resolutions << texts_.value(kResolutionLine)
                           .arg(group.name, QString::number(group.rows.size()), metres(group.horizontal),
                                metres(group.vertical), texts_.value(kChoiceTexts + int(chosen[g])));
    }
    result_flag = true;
    accept();
}

void DuplicatesDialog::on_cancelButton_clicked()
{
    result_flag = false;
    reject();
}
