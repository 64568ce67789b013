// ktconvert's commands on measured data: --check, --reduce, and survey data converted whole.
#include "convert/console.h"
#include "data/tablecolumns.h"
#include "formats/surveyfiles.h"
#include "survey/surveytext.h"

#include <QFileInfo>

namespace
{

// The survey rows of `input`, telling what it refers to that it does not hold; false, told, when it
// cannot be read or holds no survey data.
bool read_survey(const QString& input, LandXmlSurvey* survey)
{
    QStringList notes;
    *survey = read_survey_file(input, &notes);
    if (!survey->ok()) {
        say(stderr, QString("ktconvert: cannot read %1: %2").arg(input, survey->message));
        return false;
    }
    if (!survey->has_survey()) {
        say(stderr, QString("ktconvert: %1 holds no survey data (no LandXML Survey)").arg(input));
        return false;
    }
    for (const QString& note : qAsConst(notes))
        say(stderr, QString("ktconvert: %1: %2").arg(input, note));
    for (const SurveyReference& reference : qAsConst(survey->references))
        say(stderr, QString("ktconvert: %1: %2").arg(input, reference_in_english(reference, survey->rows)));
    if (survey->bad_values > 0)
        say(stderr, QString("ktconvert: %1: %2 values that are no number or angle read as empty")
                        .arg(input)
                        .arg(survey->bad_values));
    if (survey->bad_unit)
        say(stderr, QString("ktconvert: %1: an angular unit LandXML does not name: angles read as radians").arg(input));
    return true;
}

// With --instrument-height the stations of the recomputed points hold the height they were
// recomputed with, as their points do.
void give_stations_their_height(QVector<QStringList>* rows, const survey::RecomputeResult& result)
{
    int station = -1;
    int next = 0;
    for (int row = 0; row < rows->size(); ++row) {
        if (survey::row_kind((*rows)[row], record_code_labels()) == survey::RowKind::Station)
            station = row;
        while (next < result.points.size() && result.points[next].row < row)
            ++next;
        if (station >= 0 && next < result.points.size() && result.points[next].row == row &&
            result.points[next].problem.none())
            (*rows)[station][ObsColumn::InstrumentHeight] = result.points[next].cells[ObsColumn::InstrumentHeight];
    }
}

// Writes `rows` to OUTPUT and tells it after `done`: the exit status.
int write_rows(const Options& options, const QVector<QStringList>& rows, const QString& done)
{
    const SurveyWrite written =
        write_survey_file(options.output, rows, options.gb18030 ? OutputEncoding::Gb18030 : OutputEncoding::Gbk);
    if (!written.done) {
        say(stderr, QString("ktconvert: cannot write %1: %2").arg(options.output, written.reason));
        return 1;
    }
    tell_findings(options.output, write_findings(written.report));
    const bool whole = keeps_observation_columns(QFileInfo(options.output).suffix());
    say(stderr,
        done + QString(", wrote %1 %2 to %3").arg(written.written).arg(whole ? "rows" : "points", options.output));
    return 0;
}

survey::ReductionOptions reduction_of(const Options& options)
{
    survey::ReductionOptions reduction;
    reduction.curvature = options.curvature;
    return reduction;
}

} // namespace

int check_survey(const Options& options)
{
    LandXmlSurvey survey;
    if (!read_survey(options.input, &survey))
        return 1;
    const survey::ReductionOptions reduction = reduction_of(options);
    const survey::CheckResult result =
        survey::check_rows(survey.rows, record_code_labels(), reduction, options.tolerance);
    for (const survey::Finding& finding : result.findings)
        say(stdout, survey::finding_in_english(finding));
    say(stdout, QString("%1: %2 measured points, %3 computed, %4 cannot be computed; %5 findings in %6 points "
                        "(tolerance %7 m, curvature %8)")
                    .arg(options.input)
                    .arg(result.measured)
                    .arg(result.computed)
                    .arg(result.not_computed)
                    .arg(result.findings.size())
                    .arg(result.rows_with_findings)
                    .arg(QString::number(options.tolerance.horizontal, 'f', 3), options.curvature ? "on" : "off"));
    return result.findings.isEmpty() ? 0 : 3;
}

int reduce_survey(const Options& options)
{
    LandXmlSurvey survey;
    if (!read_survey(options.input, &survey))
        return 1;
    const survey::ReductionOptions reduction = reduction_of(options);
    survey::RecomputeChanges changes;
    changes.heights = options.heights;
    const survey::RecomputeResult result =
        survey::recompute_rows(survey.rows, {}, record_code_labels(), reduction, changes);
    const bool whole = keeps_observation_columns(QFileInfo(options.output).suffix());
    QVector<QStringList> rows = whole ? survey.rows : QVector<QStringList>();
    for (const survey::RecomputedPoint& point : result.points) {
        if (!point.problem.none()) {
            say(stderr, QString("ktconvert: row %1 %2: cannot be computed: %3; %4")
                            .arg(point.row + 1)
                            .arg(point.name, survey::reason_in_english(point.problem),
                                 whole ? "kept as recorded" : "left out"));
            continue;
        }
        if (!point.height_problem.none())
            say(stderr, QString("ktconvert: row %1 %2: Z cannot be computed: %3; Z kept as recorded")
                            .arg(point.row + 1)
                            .arg(point.name, survey::reason_in_english(point.height_problem)));
        if (whole)
            rows[point.row] = point.cells;
        else
            rows.append(point.cells);
    }
    if (whole && options.heights.instrument)
        give_stations_their_height(&rows, result);
    return write_rows(options, rows,
                      QString("ktconvert: recomputed %1 of %2 measured points from %3")
                          .arg(result.recomputed)
                          .arg(result.points.size())
                          .arg(options.input));
}

// Survey data converted: whole to LandXML or a GIS layer, the points of its rows in table order to
// the other formats (also those given only in an observation's TargetPoint); 1 when it cannot be, -1
// when the input holds none (a plain conversion then).
int convert_survey(const Options& options)
{
    if (QFileInfo(options.input).suffix().compare("xml", Qt::CaseInsensitive) != 0 || !options.crs.isEmpty() ||
        !landxml_has_survey(options.input))
        return -1;
    const LandXmlSurvey survey = read_survey_file(options.input);
    if (!survey.ok() || !survey.has_survey())
        return -1;
    for (const SurveyReference& reference : survey.references)
        say(stderr, QString("ktconvert: %1: %2").arg(options.input, reference_in_english(reference, survey.rows)));
    return write_rows(options, survey.rows,
                      QString("ktconvert: read %1 survey rows from %2").arg(survey.rows.size()).arg(options.input));
}
