// The measured data checked and recomputed: the two commands of the observation layout, their settings
// kept in config.xml, the findings marked in the table, and a recompute made as one undo step.
#include "applog.h"
#include "config/runtimefiles.h"
#include "config/settingwriter.h"
#include "config/xml_analysis.h"
#include "data/tablecolumns.h"
#include "dialogs/recomputedialog.h"
#include "dialogs/surveycheckdialog.h"
#include "survey/surveytext.h"
#include "table/suspectmarks.h"
#include "table/tableundo.h"
#include "window/mainwindow.h"

#include <QTableWidget>
#include <QUndoStack>

using namespace survey;

namespace
{

// The settings' keys in config.xml.
const char kHorizontalKey[] = "checktolerance";
const char kVerticalKey[] = "checkverticaltolerance";
const char kCurvatureKey[] = "checkcurvature";

// A tolerance from its setting: the default for a missing or unusable one.
double tolerance_setting(const QString& text, double fallback)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && value > 0 && value <= 10 ? value : fallback;
}

} // namespace

SurveyWords MainWindow::survey_words() const
{
    QStringList columns;
    for (int c = 0; c < tableWidget->columnCount(); ++c) {
        const QTableWidgetItem* header = tableWidget->horizontalHeaderItem(c);
        columns << (header ? header->text() : QString());
    }
    return SurveyWords(const_cast<MainWindow*>(this)->get_parametretitle("SurveyCheckTexts"), columns);
}

QVector<QStringList> MainWindow::survey_rows() const
{
    const QList<QStringList> texts = table_texts();
    return QVector<QStringList>(texts.begin(), texts.end());
}

KindLabels MainWindow::survey_labels()
{
    return {get_map_data("STN", CoordinateType), get_map_data("BK", CoordinateType),
            get_map_data("MP", CoordinateType)};
}

void MainWindow::load_check_settings()
{
    xml_analysis xml;
    const QString file = config_file_to_read(exe_path);
    check_tolerance.horizontal = tolerance_setting(xml.get_config(file, kHorizontalKey), Tolerance().horizontal);
    check_tolerance.vertical = tolerance_setting(xml.get_config(file, kVerticalKey), Tolerance().vertical);
    check_curvature = xml.get_config(file, kCurvatureKey).trimmed() == "1";
}

void MainWindow::store_check_settings(const Tolerance& tolerance, bool curvature)
{
    if (tolerance.horizontal == check_tolerance.horizontal && tolerance.vertical == check_tolerance.vertical &&
        curvature == check_curvature)
        return;
    check_tolerance = tolerance;
    check_curvature = curvature;
    QString error;
    if (!replace_setting(settings_file(), kHorizontalKey, QString::number(tolerance.horizontal, 'f', 3), &error) ||
        !replace_setting(settings_file(), kVerticalKey, QString::number(tolerance.vertical, 'f', 3), &error) ||
        !replace_setting(settings_file(), kCurvatureKey, curvature ? "1" : "0", &error))
        show_statemsg(fill_values(survey_words().text(SurveyText::SettingNotSaved), {settings_file(), error}),
                      Status::Message);
}

void MainWindow::program_checkmeasured()
{
    load_check_settings();
    const SurveyWords words = survey_words();
    SurveyCheckDialog dialog(words, this);
    dialog.dlgicon_path = icon_path + "/logo.png";
    dialog.rows = survey_rows();
    dialog.labels = survey_labels();
    dialog.tolerance = check_tolerance;
    dialog.curvature = check_curvature;
    dialog.checkdlg_ini();
    if (dialog.result.measured == 0) {
        show_statemsg(words.text(SurveyText::NoMeasuredPoints), Status::Message);
        return;
    }
    dialog.exec();
    store_check_settings(dialog.tolerance, dialog.curvature);
    mark_check_findings(dialog.result, words);
    show_statemsg(
        fill_values(words.text(SurveyText::CheckedStatus),
                    {QString::number(dialog.result.measured), QString::number(dialog.result.rows_with_findings)}),
        Status::Message);
}

void MainWindow::mark_check_findings(const CheckResult& result, const SurveyWords& words)
{
    if (!suspect_marks)
        return;
    SuspectMarks::CheckCells cells;
    for (const Finding& f : result.findings) {
        const QString tip = words.finding(f);
        for (int column : finding_columns(f)) {
            QString& text = cells[{f.row, column}];
            text += (text.isEmpty() ? QString() : QString("\n")) + tip;
        }
    }
    const QString status = result.rows_with_findings > 0
                               ? words.counted(SurveyText::RowsWithFindings, result.rows_with_findings)
                               : QString();
    suspect_marks->set_check_marks(cells, status);
}

void MainWindow::program_recomputemeasured()
{
    load_check_settings();
    const SurveyWords words = survey_words();
    RecomputeDialog dialog(words, this);
    dialog.dlgicon_path = icon_path + "/logo.png";
    dialog.rows = survey_rows();
    const QList<int> chosen = selected_rows();
    dialog.chosen = QVector<int>(chosen.begin(), chosen.end());
    dialog.labels = survey_labels();
    dialog.options.curvature = check_curvature;
    dialog.recomputedlg_ini();
    if (dialog.result.points.isEmpty()) {
        show_statemsg(words.text(SurveyText::NoMeasuredPoints), Status::Message);
        return;
    }
    dialog.exec();
    if (!dialog.result_flag || !undo_allowed())
        return;
    const int changed = apply_recompute(dialog.result, dialog.rows, words.text(SurveyText::RecomputeTitle));
    show_statemsg(changed > 0 ? words.counted(SurveyText::RecomputedStatus, changed)
                              : words.text(SurveyText::NothingRecomputed),
                  Status::Message);
    // The marks follow the table as it is now.
    ReductionOptions options;
    options.curvature = check_curvature;
    mark_check_findings(check_rows(survey_rows(), survey_labels(), options, check_tolerance), words);
}

int MainWindow::apply_recompute(const RecomputeResult& result, const QVector<QStringList>& computed_from,
                                const QString& step_text)
{
    int changed = 0;
    for (const RecomputedPoint& p : result.points) {
        if (p.row >= tableWidget->rowCount())
            continue;
        const QStringList before = row_texts(p.row);
        // A row that changed while the dialog was open (a transfer's records) is not overwritten.
        if (!p.problem.none() || p.cells == before || before != computed_from.value(p.row))
            continue;
        if (changed++ == 0)
            undo_stack->beginMacro(step_text);
        set_row_texts(tableWidget, p.row, p.cells);
        push_table_step(row_replaced_step(*this, p.row, before, p.cells));
        row_replaced(p.row);
    }
    if (changed > 0)
        undo_stack->endMacro();
    qCInfo(lcApp) << "recomputed" << changed << "measured points";
    return changed;
}
