// The point table commands: open, save as, new, edit, delete and clear.
#include "config/countedtext.h"
#include "config/prompts.h"
#include "data/filefilters.h"
#include "data/pointformats.h"
#include "data/tablecolumns.h"
#include "dialogs/importdialog.h"
#include "dialogs/managecoordinatesdialog.h"
#include "modal/modal.h"
#include "table/pointitem.h"
#include "table/tablerows.h"
#include "table/tableundo.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QFileInfo>
#include <QTableWidget>
#include <algorithm>

namespace
{

// Runs the point entry dialog; true when it was accepted. `point` holds the five texts in and out.
bool enter_point(MainWindow& w, int mode, QStringList& point)
{
    ManageCoordinatesDialog dialog(&w);
    dialog.exe_path = w.exe_path;
    dialog.icon_path = w.icon_path + "/logo.png";
    dialog.dlgicon_path = dialog.icon_path;
    dialog.managecoordinatesflag = mode;
    if (mode == 1) {
        dialog.pointname = point.value(0);
        dialog.code = point.value(1);
        dialog.coordinate_n = point.value(2);
        dialog.coordinate_e = point.value(3);
        dialog.coordinate_z = point.value(4);
    }
    dialog.managecoordinatesdlg_ini(w.get_parametretitle("ManageCoordinatesDlg"));
    dialog.exec();
    if (!dialog.result_flag)
        return false;
    point = QStringList{dialog.pointname, dialog.code, dialog.coordinate_n, dialog.coordinate_e, dialog.coordinate_z};
    return true;
}

void set_cell(QTableWidget* table, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = table->item(row, column))
        item->setText(text);
    else
        table->setItem(row, column, new PointItem(text));
}

bool is_valid_row(const QTableWidget* table, int row)
{
    return row >= 0 && row < table->rowCount();
}

} // namespace

namespace
{

// The place of the first filter that names `suffix` (a drawing's "dxf"), or the end.
int filter_index(const QStringList& filters, const char* suffix)
{
    for (int i = 0; i < filters.size(); ++i) {
        if (filter_suffixes(filters[i]).contains(QLatin1String(suffix), Qt::CaseInsensitive))
            return i;
    }
    return int(filters.size());
}

} // namespace

void MainWindow::program_fileopen()
{
    if (!settle_unsaved_rows())
        return;
    const QString path =
        get_open_file_name(this, getpopup_prompt(Prompt::OpenCoordinateFile), file_dialog_folder(), open_filter());
    if (path.isEmpty())
        return;
    // app/table/fileopen.cpp: reads, fills the table and tells what the file held.
    open_point_file(path);
}

void MainWindow::program_filesaveas()
{
    save_table_as();
}

bool MainWindow::save_table_as()
{
    QString filter = last_save_filter;
    QStringList filters = save_filters();
    // The drawing with linework follows the plain drawing among the choices.
    const QString linework = linework_drawing_filter();
    if (!linework.isEmpty())
        filters.insert(std::min(int(filters.size()), filter_index(filters, "dxf") + 1), linework);
    // The CSV for spreadsheets follows the plain CSV.
    const QString spreadsheet = get_parametretitle("DecimalMarkTexts").value(ImportDialog::SpreadsheetFilter);
    if (!spreadsheet.isEmpty())
        filters.insert(std::min(int(filters.size()), filter_index(filters, "csv") + 1), spreadsheet);
    const QString path = get_save_file_name(this, getpopup_prompt(Prompt::SaveCoordinateFileAs), file_dialog_folder(),
                                            filters.join(";;"), &filter);
    if (path.isEmpty())
        return false;
    last_save_filter = filter;
    // app/table/filesave.cpp: a name without a suffix takes the chosen filter's.
    if (!linework.isEmpty() && filter == linework)
        return save_linework_drawing(with_filter_suffix(path, filter));
    if (!spreadsheet.isEmpty() && filter == spreadsheet)
        return save_point_file(with_filter_suffix(path, filter), PointFormat::kSpreadsheetCsv);
    return save_point_file(with_filter_suffix(path, filter));
}

void MainWindow::program_new()
{
    QStringList point;
    if (!enter_point(*this, 0, point))
        return;
    const int row = tableWidget->rowCount();
    tableWidget->insertRow(row);
    for (int field = 0; field < point.size(); ++field)
        tableWidget->setItem(row, kCoordinatePointColumns[field], new PointItem(point[field]));
    show_row_count();
    push_table_step(rows_appended_step(*this, row, 1));
    rows_appended(row);
}

void MainWindow::program_edit()
{
    const int row = tableWidget->currentRow();
    if (!is_valid_row(tableWidget, row)) {
        show_information(this, getpopup_prompt(Prompt::ProgramName), getpopup_prompt(Prompt::SelectPointFirst));
        return;
    }
    QStringList point;
    for (const int column : kCoordinatePointColumns)
        point.append(cell_text(tableWidget, row, column));
    // While the dialog is open, records keep arriving and other commands may run: the edited point is
    // followed through the rows inserted and removed, and a point that is gone is not written anywhere.
    const QPersistentModelIndex edited = tableWidget->model()->index(row, 0);
    if (!enter_point(*this, 1, point))
        return;
    if (!edited.isValid()) {
        show_information(this, getpopup_prompt(Prompt::ProgramName),
                         get_parametretitle("TableMessages").value(TableText::EditedPointGone));
        return;
    }
    const int at = edited.row();
    const QStringList before = row_texts(at);
    for (int field = 0; field < point.size(); ++field)
        set_cell(tableWidget, at, kCoordinatePointColumns[field], point[field]);
    push_table_step(row_replaced_step(*this, at, before, row_texts(at)));
    row_replaced(at);
}

void MainWindow::program_delete()
{
    // Every selected row goes; the row that takes the first one's place is selected next.
    QList<int> rows = selected_rows();
    if (rows.isEmpty() && is_valid_row(tableWidget, tableWidget->currentRow()))
        rows << tableWidget->currentRow();
    if (rows.isEmpty())
        return;
    TableRows texts;
    for (int row : rows)
        texts << row_texts(row);
    for (int i = rows.size() - 1; i >= 0; --i)
        tableWidget->removeRow(rows[i]);
    show_row_count();
    push_table_step(rows_removed_step(*this, rows, texts));
    rows_removed(rows);
    if (tableWidget->rowCount() > 0)
        select_only_row(tableWidget, std::min(rows.first(), tableWidget->rowCount() - 1));
}

void MainWindow::program_clear()
{
    if (!settle_unsaved_rows())
        return;
    // Undone, the rows come back as they were, unsaved unless they were saved (and journaled then).
    const TableRows before = table_texts();
    tableWidget->setRowCount(0);
    ui->lineEdit_2->setText("0");
    if (!before.isEmpty())
        push_table_step(table_replaced_step(*this, before, [](QTableWidget* table) { table->setRowCount(0); }));
    rows_settled();
    show_statemsg("", Status::Settings); // what was said of the rows is said no more
}

void MainWindow::show_row_count()
{
    ui->lineEdit_2->setText(QString::number(tableWidget->rowCount()));
}

QString MainWindow::counted_rows()
{
    return counted_text(get_parametretitle("TableMessages"), TableText::Rows, tableWidget->rowCount());
}

QString MainWindow::get_map_data(QString sour, QMap<QString, QString> map)
{
    return map.value(sour);
}
