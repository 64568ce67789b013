// Open of LandXML survey data in the observation layout: stations, backsights and measured points with
// their observations fill all fifteen columns, cell for cell as they were saved. What the file refers
// to and does not hold, and values that are no number or angle, are told with the rows.
#include "dialogs/surveywords.h"
#include "landxml/surveyreader.h"
#include "table/filetexts.h"
#include "window/mainwindow.h"

bool MainWindow::open_survey_data(const QString& path)
{
    const survey::KindLabels labels{get_map_data("STN", CoordinateType), get_map_data("BK", CoordinateType),
                                    get_map_data("MP", CoordinateType)};
    const LandXmlSurvey survey = read_landxml_survey_file(path, labels);
    // A file without survey data, or one the survey reader refuses, is read for its points, whose
    // reader says what it finds.
    if (!survey.ok() || !survey.has_survey())
        return false;
    load_table_texts(QList<QStringList>(survey.rows.begin(), survey.rows.end()), path);
    remember_file(path);

    const QStringList texts = get_parametretitle("SurveyCheckTexts");
    QStringList told;
    for (const SurveyReference& reference : survey.references) {
        const int entry =
            reference.kind == SurveyReference::MissingSetup ? SurveyText::MissingSetup : SurveyText::MissingPoint;
        told << texts.value(entry).arg(QString::number(reference.row + 1), reference.name, reference.reference);
    }
    if (survey.bad_values > 0)
        told << texts.value(SurveyText::BadValues).arg(survey.bad_values);
    if (survey.bad_unit)
        told << texts.value(SurveyText::BadUnit);
    const QStringList words = get_parametretitle("FileCommandMsg");
    const QString summary = words.value(FileText::Opened).arg(path, counted_rows()) +
                            texts.value(SurveyText::OpenedSurvey).arg(survey.setups).arg(survey.observations);
    tell_file_outcome(summary, words.value(FileText::ReadingFile).arg(path), {}, told);
    return true;
}
