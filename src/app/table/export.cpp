// The workbook export: the point table as sheet "Data" of an XLSX workbook in the folder last used (at
// first the program folder, or the documents folder when that is read-only), an existing one replaced
// only when the user says so.
#include "config/prompts.h"
#include "data/exportsheet.h"
#include "data/pointrows.h"
#include "data/safefilename.h"
#include "data/workbook.h"
#include "dialogs/inputmsg_dangedialog.h"
#include "modal/modal.h"
#include "table/filetexts.h"
#include "table/tablerows.h"
#include "window/mainwindow.h"

#include <QFileInfo>
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
        show_warning(this, getpopup_prompt(Prompt::ProgramName), getpopup_prompt(Prompt::BadFileName).arg(name));
        return;
    }
    // Beside the files last opened or written; at first the program folder, or the documents folder
    // when the program is installed read-only.
    const QString path = file_dialog_folder() + "/" + name + ".xlsx";
    const QStringList words = get_parametretitle("FileCommandMsg");
    if (QFileInfo::exists(path) &&
        ask_question(this, words.value(FileText::ReplaceTitle), words.value(FileText::ReplaceQuestion).arg(path),
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;

    Workbook book("Data");
    write_title_row(book, titles);
    if (observations)
        write_observation_rows(book, titles.size(), get_data_form_KT20KT40UI());
    else
        write_cells(book, tableWidget);
    const bool existed = QFileInfo(path).exists() || QFileInfo(path).isSymLink();
    if (!book.save(path)) {
        show_warning(
            this, getpopup_prompt(Prompt::ProgramName),
            getpopup_prompt(Prompt::FileNotWritten)
                .arg(path, with_what_was_left(get_parametretitle("DamagedFileTexts"), book.error(), path, existed)));
        return;
    }
    table_saved();
    remember_file(path, false); // a workbook is not opened again: not among the recent files
    show_statemsg(words.value(FileText::Exported).arg(path, counted_rows()), Status::Message);
    show_information(this, getpopup_prompt(Prompt::ProgramName), getpopup_prompt(Prompt::Saved).arg(path));
}
