// The import command: a point list another program wrote, or a workbook's first sheet, read through
// the import dialog (the user sees and chooses how its columns land) into the table. The last choice
// is kept in the configuration file for the next import.
#include "applog.h"
#include "config/countedtext.h"
#include "config/prompts.h"
#include "config/runtimefiles.h"
#include "config/settingwriter.h"
#include "config/xml_analysis.h"
#include "data/filefindings.h"
#include "data/pointrows.h"
#include "dialogs/importdialog.h"
#include "formats/geoformats.h"
#include "gis/workbookreader.h"
#include "modal/modal.h"
#include "table/filetexts.h"
#include "window/mainwindow.h"

#include <QFileInfo>

namespace
{

// The key of the import choice in the configuration file.
const char kSettingKey[] = "importchoice";

} // namespace

void MainWindow::program_import()
{
    if (!settle_unsaved_rows())
        return;
    const QStringList texts = get_parametretitle("TableMessages");
    const QString path = get_open_file_name(this, texts.value(TableText::ImportCaption), file_dialog_folder(),
                                            texts.mid(TableText::ImportFilters, 4).join(";;"));
    if (!path.isEmpty())
        import_file(path);
}

bool MainWindow::import_file(const QString& path)
{
    const QStringList texts = get_parametretitle("TableMessages");
    ImportDialog dialog(this);
    dialog.dlgicon_path = icon_path + "/logo.png";
    xml_analysis xml;
    dialog.has_last_choice =
        parse_import_choice(xml.get_config(config_file_to_read(exe_path), kSettingKey), &dialog.choice);
    WorkbookRows sheet;
    if (is_workbook_suffix(QFileInfo(path).suffix())) {
        sheet = read_workbook(path);
        if (!sheet.ok()) {
            show_warning(this, getpopup_prompt(Prompt::ProgramName),
                         getpopup_prompt(Prompt::FileNotRead).arg(path, sheet.message));
            return false;
        }
        const QString sheet_text = get_parametretitle("ImportDlg").value(ImportDialog::SheetText);
        dialog.set_rows(sheet.rows, path + "  " + sheet_text.arg(sheet.sheet).arg(sheet.sheet_count));
    } else if (!dialog.set_text_file(path)) {
        show_warning(this, getpopup_prompt(Prompt::ProgramName),
                     getpopup_prompt(Prompt::FileNotRead).arg(path, dialog.error));
        return false;
    }
    dialog.importdlg_ini(get_parametretitle("ImportDlg"), get_parametretitle("DecimalMarkTexts"));
    dialog.exec();
    if (!dialog.result_flag)
        return false;
    QString error;
    if (!replace_setting(settings_file(), kSettingKey, import_choice_text(dialog.choice), &error))
        qCWarning(lcApp) << "the import choice could not be kept in" << settings_file() << ":" << error;
    load_table_rows(point_line_shape(table_layout(InstrumentType)), dialog.points.lines, path);
    const QString rows = counted_text(texts, TableText::Rows, dialog.points.lines.size());
    const QString name = QFileInfo(path).fileName();
    // What the workbook's reading met: hidden sheets passed over, coordinates shown as dates.
    LayerReport read;
    read.hidden_layers = sheet.hidden_sheets;
    const ColumnMapping& mapping = dialog.choice.mapping;
    read.dated_numbers = sheet.dated_in(
        {mapping.column(PointRole::North), mapping.column(PointRole::East), mapping.column(PointRole::Height)});
    tell_file_outcome(dialog.skipped_lines == 0
                          ? texts.value(TableText::Imported).arg(name, rows)
                          : texts.value(TableText::ImportedSkipping)
                                .arg(name, rows, counted_text(texts, TableText::LinesSkipped, dialog.skipped_lines)),
                      get_parametretitle("FileCommandMsg").value(FileText::ReadingFile).arg(path),
                      read_findings(FileOperation::ReadReport(), read));
    remember_file(path);
    return true;
}
