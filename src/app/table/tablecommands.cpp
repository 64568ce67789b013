// The point table commands: open, save as, new, edit, delete and clear.
#include "config/countedtext.h"
#include "config/prompts.h"
#include "config/runtimefiles.h"
#include "data/fileoperation.h"
#include "data/pointformats.h"
#include "dialogs/managecoordinatesdialog.h"
#include "modal/modal.h"
#include "table/pointitem.h"
#include "table/tablerows.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QFileInfo>
#include <QTableWidget>

namespace
{

// The file type filter of the open and save dialogs.
QString file_filter(MainWindow& w)
{
    const bool observations = table_layout(w.InstrumentType) == TableLayout::Observation;
    return w.get_parametretitle(observations ? "KT20KT40FileType" : "FileType").join(";;");
}

void show_row_count(MainWindow& w)
{
    w.ui->lineEdit_2->setText(QString::number(w.tableWidget->rowCount()));
}

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

void MainWindow::program_fileopen()
{
    if (!settle_unsaved_rows())
        return;
    const QString path = get_open_file_name(this, getpopup_prompt(Prompt::OpenCoordinateFile),
                                            writable_folder(exe_path), file_filter(*this));
    if (path.isEmpty())
        return;
    FileOperation files;
    const QStringList lines = files.readfile_byextension(path, QFileInfo(path).suffix());
    if (!files.last_read_ok) {
        // The table keeps its rows: nothing of the file was read.
        show_warning(this, getpopup_prompt(Prompt::ProgramName),
                     getpopup_prompt(Prompt::FileNotRead).arg(path, files.last_error));
        return;
    }
    const TableLayout layout = table_layout(InstrumentType);
    load_table_rows(layout == TableLayout::Observation ? observation_line_shape() : point_line_shape(layout), lines,
                    path);
    const QStringList texts = get_parametretitle("TableMessages");
    show_statemsg(texts.value(TableText::Opened)
                      .arg(QFileInfo(path).fileName(), counted_text(texts, TableText::Rows, tableWidget->rowCount())),
                  Status::Message);
}

void MainWindow::program_filesaveas()
{
    save_table_as();
}

bool MainWindow::save_table_as()
{
    const QString path = get_save_file_name(this, getpopup_prompt(Prompt::SaveCoordinateFileAs),
                                            writable_folder(exe_path), file_filter(*this));
    if (path.isEmpty())
        return false;
    const QString suffix = QFileInfo(path).suffix();
    const PointFormat format = PointFormat::for_suffix(suffix);
    if (!format.is_known()) {
        show_warning(
            this, getpopup_prompt(Prompt::ProgramName),
            getpopup_prompt(Prompt::FileNotWritten).arg(path, getpopup_prompt(Prompt::UnknownSuffix).arg(suffix)));
        return false;
    }
    // Observation tables keep their observation lines in the raw formats; every other format, and
    // every coordinate table, gets five-field point lines.
    const TableLayout layout = table_layout(InstrumentType);
    const QStringList lines = layout == TableLayout::Observation && format.kind() == PointFormat::Raw
                                  ? get_data_form_KT20KT40UI()
                                  : table_lines(tableWidget, point_line_shape(layout));
    if (lines.isEmpty())
        return false;
    FileOperation files;
    if (!files.writefile_byextension(path, suffix, lines, false)) {
        show_warning(this, getpopup_prompt(Prompt::ProgramName),
                     getpopup_prompt(Prompt::FileNotWritten).arg(path, files.last_error));
        return false;
    }
    rows_settled();
    return true;
}

void MainWindow::program_new()
{
    QStringList point;
    if (!enter_point(*this, 0, point))
        return;
    const int row = tableWidget->rowCount();
    tableWidget->insertRow(row);
    for (int column = 0; column < point.size(); ++column)
        tableWidget->setItem(row, column, new PointItem(point[column]));
    show_row_count(*this);
    rows_changed();
}

void MainWindow::program_edit()
{
    const int row = tableWidget->currentRow();
    if (!is_valid_row(tableWidget, row)) {
        show_information(this, getpopup_prompt(Prompt::ProgramName), getpopup_prompt(Prompt::SelectPointFirst));
        return;
    }
    QStringList point;
    for (int column = 0; column < 5; ++column)
        point.append(cell_text(tableWidget, row, column));
    if (!enter_point(*this, 1, point))
        return;
    for (int column = 0; column < point.size(); ++column)
        set_cell(tableWidget, row, column, point[column]);
    rows_changed();
}

void MainWindow::program_delete()
{
    const int row = tableWidget->currentRow();
    if (!is_valid_row(tableWidget, row))
        return;
    const int count = tableWidget->rowCount();
    tableWidget->removeRow(row);
    ui->lineEdit_2->setText(QString::number(count - 1));
    rows_changed();
}

void MainWindow::program_clear()
{
    if (!settle_unsaved_rows())
        return;
    tableWidget->setRowCount(0);
    ui->lineEdit_2->setText("0");
    rows_settled();
    show_statemsg("", Status::Settings); // what was said of the rows is said no more
}

QString MainWindow::get_map_data(QString sour, QMap<QString, QString> map)
{
    return map.value(sour);
}
