// ktconvert's commands on measured data: --check, --reduce, and survey data converted whole. The rows
// are read from the file as they are needed, never held all at once: a first read gathers the known
// points that orient the stations, a second checks or recomputes each row and writes it.
#include "convert/console.h"
#include "data/tablecolumns.h"
#include "formats/surveyfiles.h"
#include "survey/streamedknown.h"
#include "survey/surveytext.h"

#include <QFileInfo>
#include <QVector>

namespace
{

// False, told, when `source` cannot be read or holds no survey data.
bool opened(const QString& input, const SurveySource& source)
{
    if (!source.info().ok()) {
        say(stderr, QString("ktconvert: cannot read %1: %2").arg(input, source.info().message));
        return false;
    }
    if (!source.info().has_survey()) {
        say(stderr, QString("ktconvert: %1 holds no survey data (no LandXML Survey)").arg(input));
        return false;
    }
    return true;
}

// What the rows read refer to that the file does not hold, the values read as empty, and what a
// workbook held that was not read.
void tell_what_was_read(const QString& input, const SurveySource& source)
{
    const LandXmlSurvey& survey = source.info();
    for (const QString& note : source.notes())
        say(stderr, QString("ktconvert: %1: %2").arg(input, note));
    for (const SurveyReference& reference : survey.references)
        say(stderr, QString("ktconvert: %1: %2").arg(input, reference_in_english(reference)));
    if (survey.bad_values > 0)
        say(stderr, QString("ktconvert: %1: %2 values that are no number or angle read as empty")
                        .arg(input)
                        .arg(survey.bad_values));
    if (survey.bad_unit)
        say(stderr, QString("ktconvert: %1: an angular unit LandXML does not name: angles read as radians").arg(input));
}

// Every row read once more, false (told) when the file fails on the way.
bool read_rows(const QString& input, SurveySource& source, const SurveyRowSink& sink, bool observations = true)
{
    if (source.read(sink, observations))
        return true;
    say(stderr, QString("ktconvert: cannot read %1: %2").arg(input, source.info().message));
    return false;
}

// The file opened, with the known points that orient its stations: gathered while it is opened when
// its rows are whole by then (else read once more), and the measured points of backsight names read
// once more where one may be such a point.
struct OpenedSurvey {
    std::unique_ptr<SurveySource> source;
    std::unique_ptr<survey::StreamedKnownPoints> known;
};

bool open_survey(const QString& input, OpenedSurvey* opened_survey)
{
    std::unique_ptr<survey::StreamedKnownPoints>& known = opened_survey->known;
    known.reset(new survey::StreamedKnownPoints(record_code_labels()));
    const SurveyRowSink add = [&known](int, const QStringList& cells) { known->add_row(cells); };
    opened_survey->source.reset(new SurveySource(input, add));
    SurveySource& source = *opened_survey->source;
    if (!opened(input, source))
        return false;
    if (!source.preview_is_table()) {
        known.reset(new survey::StreamedKnownPoints(record_code_labels()));
        if (!read_rows(input, source, add, false))
            return false;
    }
    if (known->wanted().isEmpty())
        return true;
    return read_rows(
        input, source, [&known](int, const QStringList& cells) { known->add_measured(cells); }, false);
}

// The rows to write, produced by `produce` (which hands each to its argument, and may be called twice:
// once more for a format that sees every point before it opens), written to OUTPUT; `tell` says what
// the reading found and gives the start of the last line, which adds what was written. The exit status.
using RowOut = std::function<void(const QStringList&)>;
using RowProducer = std::function<bool(const RowOut&)>;
int write_rows(const Options& options, const RowProducer& produce, const std::function<QString()>& tell)
{
    SurveyOutput output(options.output, options.gb18030 ? OutputEncoding::Gb18030 : OutputEncoding::Gbk);
    const auto cannot_write = [&] {
        say(stderr, QString("ktconvert: cannot write %1: %2").arg(options.output, output.reason()));
        return 1;
    };
    if (output.needs_first_pass() && !produce([&output](const QStringList& cells) { output.first_pass(cells); }))
        return 1;
    if (!output.open())
        return cannot_write();
    if (!produce([&output](const QStringList& cells) { output.write(cells); }))
        return 1;
    const QString done = tell();
    if (!output.finish())
        return cannot_write();
    tell_findings(options.output, write_findings(output.report()));
    say(stderr, done + QString(", wrote %1 %2 to %3")
                           .arg(output.written())
                           .arg(output.whole() ? "rows" : "points", options.output));
    return 0;
}

survey::ReductionOptions reduction_of(const Options& options)
{
    survey::ReductionOptions reduction;
    reduction.curvature = options.curvature;
    return reduction;
}

// The rows of the recompute: each measured point recomputed from its observations; to a format that
// keeps every column every row, the others kept as read; else the recomputed points alone. With
// --instrument-height the station of a point recomputed holds the height its points were recomputed
// with, so a station's rows wait until one of its points is recomputed or the next station comes.
class ReducedRows
{
public:
    ReducedRows(const Options& options, const survey::KnownPoints& known, bool whole)
        : options_(options), walk_(record_code_labels(), known), whole_(whole)
    {
        changes_.heights = options.heights;
    }
    void feed(int row, const QStringList& cells, const RowOut& out);
    void end(const RowOut& out) { release(out); }
    int recomputed() const { return recomputed_; }
    int measured() const { return measured_; }
    QStringList problems() const { return problems_; }

private:
    void keep(const QStringList& cells, const RowOut& out);
    void release(const RowOut& out);

    const Options& options_;
    survey::SetupWalk walk_;
    bool whole_;
    survey::RecomputeChanges changes_;
    QVector<QStringList> waiting_; // a station's rows until its height is settled
    bool settled_ = true;
    int recomputed_ = 0;
    int measured_ = 0;
    QStringList problems_;
};

// A row that is not recomputed: to the output, or waiting with its station.
void ReducedRows::keep(const QStringList& cells, const RowOut& out)
{
    if (settled_)
        out(cells);
    else
        waiting_.append(cells);
}

void ReducedRows::release(const RowOut& out)
{
    for (const QStringList& cells : qAsConst(waiting_))
        out(cells);
    waiting_.clear();
    settled_ = true;
}

void ReducedRows::feed(int row, const QStringList& cells, const RowOut& out)
{
    const survey::RowKind kind = walk_.feed(row, cells);
    const bool station_height = whole_ && options_.heights.instrument.has_value();
    if (kind == survey::RowKind::Station && station_height) {
        release(out);
        settled_ = false;
    }
    if (kind != survey::RowKind::Measured) {
        if (whole_)
            keep(cells, out);
        return;
    }
    ++measured_;
    const survey::RecomputedPoint point =
        survey::recompute_point(walk_.current(), row, cells, reduction_of(options_), changes_);
    if (!point.problem.none()) {
        problems_ << QString("ktconvert: row %1 %2: cannot be computed: %3; %4")
                         .arg(point.row + 1)
                         .arg(point.name, survey::reason_in_english(point.problem),
                              whole_ ? "kept as recorded" : "left out");
        if (whole_)
            keep(cells, out);
        return;
    }
    ++recomputed_;
    if (!point.height_problem.none())
        problems_ << QString("ktconvert: row %1 %2: Z cannot be computed: %3; Z kept as recorded")
                         .arg(point.row + 1)
                         .arg(point.name, survey::reason_in_english(point.height_problem));
    if (!settled_ && !waiting_.isEmpty()) {
        waiting_.first()[ObsColumn::InstrumentHeight] = point.cells[ObsColumn::InstrumentHeight];
        release(out);
    }
    out(point.cells);
}

} // namespace

int check_survey(const Options& options)
{
    OpenedSurvey opened_survey;
    if (!open_survey(options.input, &opened_survey))
        return 1;
    SurveySource& source = *opened_survey.source;
    const survey::StreamedKnownPoints& known = *opened_survey.known;
    survey::SurveyCheck check(record_code_labels(), known.known(), reduction_of(options), options.tolerance);
    check.set_repeated_names([&known](const QString& name) { return known.measured_more_than_once(name); });
    if (!read_rows(options.input, source, [&check](int row, const QStringList& cells) { check.feed(row, cells); }))
        return 1;
    tell_what_was_read(options.input, source);
    const survey::CheckResult result = check.result();
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
    OpenedSurvey opened_survey;
    if (!open_survey(options.input, &opened_survey))
        return 1;
    SurveySource& source = *opened_survey.source;
    const survey::KnownPoints& known = opened_survey.known->known();
    const bool whole = keeps_observation_columns(QFileInfo(options.output).suffix());
    std::unique_ptr<ReducedRows> reduced;
    const RowProducer produce = [&](const RowOut& out) {
        reduced.reset(new ReducedRows(options, known, whole));
        const bool read = read_rows(options.input, source,
                                    [&](int row, const QStringList& cells) { reduced->feed(row, cells, out); });
        reduced->end(out);
        return read;
    };
    return write_rows(options, produce, [&] {
        tell_what_was_read(options.input, source);
        for (const QString& problem : reduced->problems())
            say(stderr, problem);
        return QString("ktconvert: recomputed %1 of %2 measured points from %3")
            .arg(reduced->recomputed())
            .arg(reduced->measured())
            .arg(options.input);
    });
}

// Survey data converted: whole to LandXML or a GIS layer, the points of its rows in table order to
// the other formats (also those given only in an observation's TargetPoint); 1 when it cannot be, -1
// when the input holds none (a plain conversion then).
int convert_survey(const Options& options)
{
    if (QFileInfo(options.input).suffix().compare("xml", Qt::CaseInsensitive) != 0 || !options.crs.isEmpty() ||
        !landxml_has_survey(options.input))
        return -1;
    SurveySource source(options.input);
    if (!source.info().ok() || !source.info().has_survey())
        return -1;
    int rows = 0;
    const RowProducer produce = [&](const RowOut& out) {
        rows = 0;
        return read_rows(options.input, source, [&](int, const QStringList& cells) {
            ++rows;
            out(cells);
        });
    };
    return write_rows(options, produce, [&] {
        tell_what_was_read(options.input, source);
        return QString("ktconvert: read %1 survey rows from %2").arg(rows).arg(options.input);
    });
}
