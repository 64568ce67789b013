// The linework in the window: the code list read at start (the user's copy first) and edited in its
// dialog, the View menu's setting that shows the plan's linework (kept in config.xml), the linework
// report on demand, and Save As "DXF drawing with linework".
#include "config/prompts.h"
#include "config/runtimefiles.h"
#include "config/settingwriter.h"
#include "config/xml_analysis.h"
#include "data/pointformats.h"
#include "data/pointrows.h"
#include "dialogs/codelistdialog.h"
#include "gis/lineworkdrawing.h"
#include "modal/modal.h"
#include "plan/planview.h"
#include "survey/linework.h"
#include "table/filetexts.h"
#include "table/tablerows.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QFileInfo>
#include <QMenuBar>
#include <QTableWidget>

namespace
{

// The entries of the UI-text list "LineworkMsg".
enum LineworkText : int {
    kDrawingFilter,   // Save As: the drawing with linework
    kListRefused,     // %1 file, %2 line, %3 column, %4 why
    kListSaved,       // %1 file, %2 number of codes
    kListNotSaved,    // %1 file, %2 why
    kSettingNotSaved, // %1 file, %2 why
    kReportTitle,
    kJoined,       // %1 lines, %2 areas: nothing left unjoined
    kJoinedIssues, // %1 lines, %2 areas, %3 issues (followed by one line per issue)
    kDrawn,        // %1 file, %2 points, %3 lines, %4 areas
    kNotDrawn,     // %1 points without numeric N and E, not drawn
    kGisLayers,    // %1 lines, %2 areas written beside the points of a GIS file
    kIssueKinds,   // then one text per LineworkIssue kind: %1 the code, %2 the rows from 1
};
constexpr int kShownRows = 20;

QString issue_in_words(const QStringList& texts, const LineworkIssue& issue)
{
    QStringList rows;
    for (int i = 0; i < qMin(kShownRows, issue.rows.size()); ++i)
        rows << QString::number(issue.rows[i] + 1);
    if (issue.rows.size() > kShownRows)
        rows << QStringLiteral("…(+%1)").arg(issue.rows.size() - kShownRows);
    return texts.value(kIssueKinds + issue.kind).arg(issue.code, rows.join(QStringLiteral(", ")));
}

} // namespace

void MainWindow::setup_linework(xml_analysis& xml)
{
    if (!plan_view)
        return;
    load_code_list();
    set_plan_linework(xml.get_config(config_file_to_read(exe_path), "planlinework").trimmed() != "0");
}

void MainWindow::load_code_list()
{
    const QString file = code_list_file_to_read(exe_path);
    CodeListError error;
    CodeList read;
    if (!read_code_list_file(file, &read, &error)) {
        // The plan draws its points as ever; it joins no lines until the list is mended.
        const QStringList reasons = get_parametretitle("CodeListDialog");
        const QString why = reasons.value(CodeListDialog::kReasons + int(error.kind) - int(CodeListError::CannotOpen))
                                .arg(error.detail);
        show_statemsg(get_parametretitle("LineworkMsg")
                          .value(kListRefused)
                          .arg(file, QString::number(error.line), QString::number(error.column), why),
                      Status::Message);
    }
    code_list = read;
    plan_view->set_code_list(code_list);
}

void MainWindow::set_plan_linework(bool on)
{
    plan_view->set_show_linework(on);
    set_menu_check("PlanLinework", on);
}

void MainWindow::program_planlinework()
{
    if (!plan_view)
        return;
    const bool on = !plan_view->show_linework();
    set_plan_linework(on);
    QString error;
    if (!replace_setting(settings_file(), "planlinework", on ? "1" : "0", &error))
        show_statemsg(get_parametretitle("LineworkMsg").value(kSettingNotSaved).arg(settings_file(), error),
                      Status::Message);
}

void MainWindow::program_codelist()
{
    if (!plan_view)
        return;
    CodeListDialog dialog(this);
    dialog.exe_path = file_dialog_folder();
    dialog.icon_path = icon_path;
    dialog.dlgicon_path = icon_path + "/logo.png";
    dialog.codes = code_list;
    if (!dialog.codelistdlg_ini(get_parametretitle("CodeListDialog")))
        return;
    dialog.exec();
    if (!dialog.result_flag)
        return;
    const QStringList texts = get_parametretitle("LineworkMsg");
    const QString file = code_list_file_to_write();
    QString error;
    if (file.isEmpty() || !write_code_list_file(file, dialog.codes, &error)) {
        // The list is used for this run all the same; the user is told it is not kept.
        show_warning(this, getpopup_prompt(Prompt::ProgramName), texts.value(kListNotSaved).arg(file, error));
    } else {
        show_statemsg(texts.value(kListSaved).arg(file).arg(dialog.codes.size()), Status::Message);
    }
    code_list = dialog.codes;
    plan_view->set_code_list(code_list);
}

QString MainWindow::linework_report_text()
{
    const LineworkBuilder& linework = plan_view->linework();
    const QStringList texts = get_parametretitle("LineworkMsg");
    const QVector<LineworkIssue> issues = linework.issues();
    const QString lines = QString::number(linework.drawable_lines());
    const QString areas = QString::number(linework.drawable_areas());
    if (issues.isEmpty())
        return texts.value(kJoined).arg(lines, areas);
    QStringList report{texts.value(kJoinedIssues).arg(lines, areas, QString::number(issues.size()))};
    for (const LineworkIssue& issue : issues)
        report << issue_in_words(texts, issue);
    return report.join('\n');
}

void MainWindow::program_lineworkreport()
{
    if (!plan_view)
        return;
    show_information(this, get_parametretitle("LineworkMsg").value(kReportTitle), linework_report_text());
}

QString MainWindow::linework_layers_text(int lines, int areas)
{
    return get_parametretitle("LineworkMsg").value(kGisLayers).arg(lines).arg(areas);
}

QString MainWindow::linework_drawing_filter()
{
    return plan_view ? get_parametretitle("LineworkMsg").value(kDrawingFilter) : QString();
}

bool MainWindow::save_linework_drawing(const QString& path)
{
    const QStringList lines = table_lines(tableWidget, point_line_shape(table_layout(InstrumentType)));
    if (lines.isEmpty())
        return false;
    const QStringList texts = get_parametretitle("LineworkMsg");
    const bool existed = QFileInfo(path).exists() || QFileInfo(path).isSymLink();
    LineworkDrawingReport drawn;
    if (!write_linework_drawing(path, lines, plan_view->linework(), &drawn)) {
        show_warning(
            this, getpopup_prompt(Prompt::ProgramName),
            getpopup_prompt(Prompt::FileNotWritten)
                .arg(path, with_what_was_left(get_parametretitle("DamagedFileTexts"), drawn.error, path, existed)));
        return false;
    }
    table_saved();
    remember_file(path);
    QStringList report{texts.value(kDrawn).arg(path).arg(drawn.points).arg(drawn.lines).arg(drawn.areas)};
    if (drawn.without_coordinates > 0)
        report << texts.value(kNotDrawn).arg(drawn.without_coordinates);
    report << linework_report_text();
    show_statemsg(report.first(), Status::Message);
    // What could not be joined, or left out, is told at once: the drawing is what the office works from.
    if (report.size() > 2 || !plan_view->linework().issues().isEmpty())
        show_information(this, texts.value(kReportTitle), report.join('\n'));
    return true;
}
