// The code list dialog.
#include "dialogs/codelistdialog.h"

#include "dialogs/dialogtexts.h"
#include "modal/modal.h"
#include "ui_codelistdialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QSpinBox>
#include <QTableWidgetItem>
#include <algorithm>
#include <functional>

namespace
{

enum Column { kCode, kKind, kLayer, kColour, kEnglish, kChinese, kColumns };

const CodeKind kKindOrder[] = {CodeKind::Point, CodeKind::Line, CodeKind::Area};

QString cell(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

CodeListDialog::CodeListDialog(QWidget* parent) : QDialog(parent), ui(new Ui::CodeListDialog)
{
    ui->setupUi(this);
    ui->tableWidget->horizontalHeader()->setStretchLastSection(true);
    ui->tableWidget->verticalHeader()->setDefaultSectionSize(ui->tableWidget->fontMetrics().height() + 12);
}

CodeListDialog::~CodeListDialog()
{
    delete ui;
}

bool CodeListDialog::codelistdlg_ini(const QStringList& texts)
{
    if (texts.size() < kTextCount)
        return false;
    texts_ = texts;
    prompt_msg = texts.mid(kCodeColumn);
    set_dialog_texts(
        *this, dlgicon_path, texts, {ui->label, ui->label_2, ui->label_3},
        {ui->pushButton, ui->pushButton_2, ui->pushButton_3, ui->pushButton_4, ui->pushButton_5, ui->pushButton_6});
    ui->tableWidget->setHorizontalHeaderLabels(texts.mid(kCodeColumn, kColumns));
    show_list(codes);
    return true;
}

void CodeListDialog::show_list(const CodeList& list)
{
    ui->lineEdit->setText(list.start());
    ui->lineEdit_2->setText(list.end());
    ui->lineEdit_3->setText(list.close());
    ui->tableWidget->setRowCount(0);
    for (const CodeEntry& entry : list.entries())
        add_row(entry);
    ui->tableWidget->resizeColumnsToContents();
}

void CodeListDialog::add_row(const CodeEntry& entry)
{
    QTableWidget* table = ui->tableWidget;
    const int row = table->rowCount();
    table->insertRow(row);
    table->setItem(row, kCode, new QTableWidgetItem(entry.code));
    table->setItem(row, kLayer, new QTableWidgetItem(entry.layer));
    table->setItem(row, kEnglish, new QTableWidgetItem(entry.english));
    table->setItem(row, kChinese, new QTableWidgetItem(entry.chinese));
    auto* kind = new QComboBox(table);
    kind->addItems({text(kPointKind), text(kLineKind), text(kAreaKind)});
    kind->setCurrentIndex(
        int(std::find(std::begin(kKindOrder), std::end(kKindOrder), entry.kind) - std::begin(kKindOrder)));
    table->setCellWidget(row, kKind, kind);
    auto* colour = new QSpinBox(table);
    colour->setRange(1, 255);
    colour->setValue(qBound(1, entry.colour, 255));
    table->setCellWidget(row, kColour, colour);
}

bool CodeListDialog::list_of_rows(CodeList* list, QString* why) const
{
    CodeList made;
    const QString start = ui->lineEdit->text(), end = ui->lineEdit_2->text(), close = ui->lineEdit_3->text();
    if (start.size() != 1 || end.size() != 1 || close.size() != 1 || !made.set_controls(start[0], end[0], close[0])) {
        *why = text(kBadControls);
        return false;
    }
    const QTableWidget* table = ui->tableWidget;
    for (int row = 0; row < table->rowCount(); ++row) {
        CodeEntry entry;
        entry.code = cell(table, row, kCode).trimmed();
        entry.layer = cell(table, row, kLayer).trimmed();
        if (entry.layer.isEmpty())
            entry.layer = entry.code;
        entry.english = cell(table, row, kEnglish);
        entry.chinese = cell(table, row, kChinese);
        const auto* kind = qobject_cast<const QComboBox*>(table->cellWidget(row, kKind));
        entry.kind = kKindOrder[qBound(0, kind ? kind->currentIndex() : 1, 2)];
        const auto* colour = qobject_cast<const QSpinBox*>(table->cellWidget(row, kColour));
        entry.colour = colour ? colour->value() : 7;
        CodeListError error;
        if (!made.append(entry, &error)) {
            *why = text(kRefusedRow).arg(row + 1).arg(reason(error));
            return false;
        }
    }
    *list = made;
    return true;
}

QString CodeListDialog::reason(const CodeListError& error) const
{
    return error.failed() ? text(kReasons + error.kind - 1).arg(error.detail) : QString();
}

void CodeListDialog::on_pushButton_clicked()
{
    CodeEntry entry;
    entry.kind = CodeKind::Line;
    add_row(entry);
    const int row = ui->tableWidget->rowCount() - 1;
    ui->tableWidget->setCurrentCell(row, kCode);
    ui->tableWidget->editItem(ui->tableWidget->item(row, kCode));
}

void CodeListDialog::on_pushButton_2_clicked()
{
    const QModelIndexList rows = ui->tableWidget->selectionModel()->selectedRows();
    QList<int> numbers;
    for (const QModelIndex& index : rows)
        numbers << index.row();
    std::sort(numbers.begin(), numbers.end(), std::greater<int>());
    for (int row : numbers)
        ui->tableWidget->removeRow(row);
}

void CodeListDialog::on_pushButton_3_clicked()
{
    const QString path = get_open_file_name(this, text(kImportCaption), exe_path, text(kFileFilter));
    if (path.isEmpty())
        return;
    CodeList read;
    CodeListError error;
    if (!read_code_list_file(path, &read, &error)) {
        show_warning(
            this, text(kTitle),
            text(kRefusedFile).arg(QFileInfo(path).fileName()).arg(error.line).arg(error.column).arg(reason(error)));
        return;
    }
    show_list(read);
    ui->label_4->setText(text(kImported).arg(read.size()).arg(QFileInfo(path).fileName()));
}

void CodeListDialog::on_pushButton_4_clicked()
{
    CodeList list;
    QString why;
    if (!list_of_rows(&list, &why)) {
        show_warning(this, text(kTitle), why);
        return;
    }
    const QString path = get_save_file_name(this, text(kExportCaption), exe_path, text(kFileFilter));
    if (path.isEmpty())
        return;
    if (!write_code_list_file(path, list, &why)) {
        show_warning(this, text(kTitle), text(kNotWritten).arg(QFileInfo(path).fileName(), why));
        return;
    }
    ui->label_4->setText(text(kExported).arg(QFileInfo(path).fileName()));
}

void CodeListDialog::on_pushButton_5_clicked()
{
    CodeList list;
    QString why;
    if (!list_of_rows(&list, &why)) {
        ui->label_4->setText(why);
        show_warning(this, text(kTitle), why);
        return;
    }
    codes = list;
    result_flag = true;
    close();
}

void CodeListDialog::on_pushButton_6_clicked()
{
    result_flag = false;
    close();
}
