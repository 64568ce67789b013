// The workbook export: the point table as sheet "Data" of an XLSX workbook in the program folder.
#include "inputmsg_dangedialog.h"
#include "mainwindow.h"
#include "modal.h"
#include "pointrows.h"
#include "safefilename.h"
#include "tablerows.h"
#include "workbook.h"

#include <QTableWidget>

namespace
{

// The workbook's name from the user; false when the dialog is cancelled.
bool ask_workbook_name(MainWindow& w, QString* name)
{
    inputmsg_dangeDialog dialog(&w);
    dialog.exe_path = w.exe_path;
    dialog.icon_path = w.icon_path + "/logo.png";
    dialog.dlgicon_path = dialog.icon_path;
    dialog.filename = QString();
    dialog.type = 0;
    dialog.inputmsg_dangedlg_ini(w.get_parametretitle("InputMsgDangeDlg"));
    dialog.exec();
    if (!dialog.result_flag)
        return false;
    *name = dialog.filename;
    return true;
}

// Observation tables: the title row and the observation lines with as many fields as titles; a line
// with another count leaves its sheet row empty.
void write_observations(Workbook& book, const QStringList& titles, const QStringList& lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char(','));
        if (fields.size() != titles.size())
            continue;
        for (int j = 0; j < fields.size(); ++j)
            book.write_text(i + 1, j, fields[j]);
    }
}

// Coordinate tables: the table's own cells, row by row.
void write_cells(Workbook& book, const QTableWidget* table)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column)
            book.write_text(row + 1, column, cell_text(table, row, column));
    }
}

QStringList column_captions(const QTableWidget* table)
{
    QStringList captions;
    for (int column = 0; column < table->columnCount(); ++column) {
        const QTableWidgetItem* header = table->horizontalHeaderItem(column);
        captions.append(header ? header->text() : QString());
    }
    return captions;
}

} // namespace

void MainWindow::program_export()
{
    const bool observations = table_layout(InstrumentType) == TableLayout::Observation;
    const QStringList titles = observations ? get_parametretitle("PointExportKT20KT40") : column_captions(tableWidget);
    if (titles.isEmpty())
        return;
    QString name;
    if (!ask_workbook_name(*this, &name))
        return;
    if (!is_safe_file_name(name)) {
        show_warning(this, getpopup_prompt(5), getpopup_prompt(30).arg(name));
        return;
    }
    const QString path = exe_path + "/" + name + ".xlsx";

    Workbook book("Data");
    for (int column = 0; column < titles.size(); ++column)
        book.write_text(0, column, titles[column]);
    if (observations)
        write_observations(book, titles, get_data_form_KT20KT40UI());
    else
        write_cells(book, tableWidget);
    if (!book.save(path)) {
        show_warning(this, getpopup_prompt(5), getpopup_prompt(28).arg(path, book.error()));
        return;
    }
    show_information(this, getpopup_prompt(5), getpopup_prompt(31).arg(path));
}
