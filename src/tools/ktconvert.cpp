// ktconvert: converts a coordinate file into another format, both chosen by file suffix, through the
// program's own readers (every encoding they tell) and writers (GBK, or GB18030 when asked), the
// LandXML and GIS formats in the points' coordinate system, workbooks by their columns. Measured data
// (LandXML survey data) is checked against its own observations, or its points recomputed from them.
#include "crs/crs.h"
#include "data/convertfile.h"
#include "data/filefindings.h"
#include "data/replacefile.h"
#include "data/tablecolumns.h"
#include "formats/geoformats.h"
#include "formats/surveyfiles.h"
#include "survey/recompute.h"
#include "survey/surveycheck.h"
#include "survey/surveytext.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringList>
#include <QTextCodec>
#include <cmath>
#include <cstdio>

namespace
{

const char kUsage[] = "usage: ktconvert INPUT OUTPUT\n"
                      "       ktconvert [--gb18030] [--crs AUTHORITY:CODE] [--columns NAME,CODE,N,E,Z] INPUT OUTPUT\n"
                      "       ktconvert --check [--tolerance METRES] [--curvature] INPUT\n"
                      "       ktconvert --reduce [--reflector-height H] [--instrument-height H] [--curvature]\n"
                      "                 [--gb18030] INPUT OUTPUT\n"
                      "\n"
                      "Reads the points of INPUT and writes them to OUTPUT; the suffix of each file names its\n"
                      "format (letter case ignored: \".TXT\" is \"txt\"):\n"
                      "  ndad, txt, csv   every line as it stands (name,code,N,E,Z)\n"
                      "  edad, ndat       name,code,E,N,Z\n"
                      "  gdat             number,name,N,E,Z,code\n"
                      "  svf              number,name,code,N,E,Z\n"
                      "  pts              name,E,N,Z,code\n"
                      "  dxf              DXF drawing: points with their names and heights\n"
                      "  xml              LandXML 1.2 CgPoints (\"N E Z\"); survey data (stations, backsights,\n"
                      "                   observations) whole from xml to xml or a GIS layer, their points in\n"
                      "                   table order to the other formats\n"
                      "  gpkg, shp        GeoPackage, Shapefile: a point layer in the points' system\n"
                      "  geojson, kml     GeoJSON, KML: WGS 84 longitude and latitude (needs --crs)\n"
                      "  xlsx, ods        workbooks, read only: the first sheet, columns by header or --columns\n"
                      "INPUT is read in the encoding it was written in: a byte order mark names it, else\n"
                      "valid UTF-8 is UTF-8, zero bytes tell UTF-16, anything else is GBK; a drawing names\n"
                      "its own. Lines end in LF, CR LF or CR; a line longer than 1 MiB is refused.\n"
                      "OUTPUT is written in GBK, and not at all when a point holds a character GBK cannot\n"
                      "hold; --gb18030 writes GB18030, which holds every character and is GBK for GBK text.\n"
                      "--crs names the points' coordinate system (EPSG:4547): GIS and LandXML files are read\n"
                      "into it and written in it. --columns names a workbook's columns for name, code, N, E\n"
                      "and Z, each by its header text or its letter (\"点名,编码,B,C,\"); without it the\n"
                      "header row names them (X and Y are never taken for N and E).\n"
                      "An existing OUTPUT is replaced only when the whole file has been written.\n"
                      "\n"
                      "--check recomputes every measured point of INPUT (LandXML survey data) from its station\n"
                      "and its observations and prints one line per finding: N E Z, horizontal or vertical\n"
                      "distance differing from the recorded ones by more than the tolerance (--tolerance,\n"
                      "0.005 m by default), a point measured from two stations that disagree, a point that\n"
                      "cannot be computed; then a summary line. --curvature applies the Earth's curvature and\n"
                      "refraction (k = 0.142), as instruments that correct for them do.\n"
                      "--reduce writes the measured points recomputed from their observations to OUTPUT (to\n"
                      "xml every row, the others kept as they are); --reflector-height and\n"
                      "--instrument-height give the heights to use instead of the recorded ones. A point that\n"
                      "cannot be computed is named and left out (kept as recorded in xml).\n"
                      "\n"
                      "Exit status: 0 converted, or checked without findings; 1 INPUT cannot be read, a suffix\n"
                      "names no format, no point was read, the system is unknown, or OUTPUT cannot be\n"
                      "written; 2 wrong usage; 3 the check has findings.\n";

QTextCodec* console_codec = nullptr;

void say(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = console_codec->fromUnicode(text + '\n');
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// Findings about `file`: "ktconvert: FILE read as UTF-8", "ktconvert: FILE: 2 bytes ...".
void tell_findings(const QString& file, const QList<FileFindingText>& findings)
{
    for (const FileFindingText& finding : findings)
        say(stderr, QString("ktconvert: %1%2%3")
                        .arg(file, finding.kind == FileFinding::Encoding ? " " : ": ", finding_in_english(finding)));
}

struct Options {
    enum Mode { Convert, Check, Reduce };
    Mode mode = Convert;
    bool curvature = false;
    survey::Tolerance tolerance;
    survey::HeightChanges heights;
    bool gb18030 = false;
    QString crs;
    QString columns;
    QString input;
    QString output;
};

// A length option's value: a number, not negative.
bool take_length(QStringList& args, double* value)
{
    bool ok = false;
    *value = args.isEmpty() ? -1 : args.takeFirst().toDouble(&ok);
    return ok && *value >= 0 && std::isfinite(*value);
}

// The options of the survey commands; false when `option` is none of them or its value is wrong.
bool survey_option(const QString& option, QStringList& args, Options* options)
{
    double value = 0;
    if ((option == "--check" || option == "--reduce") && options->mode == Options::Convert) {
        options->mode = option == "--check" ? Options::Check : Options::Reduce;
    } else if (option == "--curvature") {
        options->curvature = true;
    } else if (option == "--tolerance" && take_length(args, &value) && value > 0) {
        options->tolerance.horizontal = options->tolerance.vertical = value;
    } else if (option == "--reflector-height" && take_length(args, &value)) {
        options->heights.reflector = value;
    } else if (option == "--instrument-height" && take_length(args, &value)) {
        options->heights.instrument = value;
    } else {
        return false;
    }
    return true;
}

// False for wrong usage.
bool parse_options(QStringList args, Options* options)
{
    while (!args.isEmpty() && args[0].startsWith("--")) {
        const QString option = args.takeFirst();
        if (survey_option(option, args, options)) {
            continue;
        } else if (option == "--gb18030" && !options->gb18030) {
            options->gb18030 = true;
        } else if ((option == "--crs" || option == "--columns") && !args.isEmpty()) {
            QString& value = option == "--crs" ? options->crs : options->columns;
            if (!value.isEmpty() || args[0].isEmpty())
                return false;
            value = args.takeFirst();
        } else {
            return false;
        }
    }
    const int files = options->mode == Options::Check ? 1 : 2;
    if (args.size() != files || args[0].startsWith('-') || args.last().startsWith('-'))
        return false;
    // The check and the recompute take their own options only; a conversion none of theirs.
    const bool survey_only = options->curvature || options->heights.reflector || options->heights.instrument;
    if ((options->mode == Options::Convert && survey_only) ||
        (options->mode != Options::Convert && (!options->crs.isEmpty() || !options->columns.isEmpty())) ||
        (options->mode == Options::Check && options->gb18030) ||
        (options->mode != Options::Check && options->tolerance.horizontal != survey::Tolerance().horizontal))
        return false;
    options->input = args[0];
    options->output = args.value(1);
    return true;
}

// The survey rows of `input`, telling what it refers to that it does not hold; false, told, when it
// cannot be read or holds no survey data.
bool read_survey(const QString& input, LandXmlSurvey* survey)
{
    *survey = read_survey_file(input);
    if (!survey->ok()) {
        say(stderr, QString("ktconvert: cannot read %1: %2").arg(input, survey->message));
        return false;
    }
    if (!survey->has_survey()) {
        say(stderr, QString("ktconvert: %1 holds no survey data (no LandXML Survey)").arg(input));
        return false;
    }
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
    if (QFileInfo(options.input).suffix().compare("xml", Qt::CaseInsensitive) != 0 || !options.crs.isEmpty())
        return -1;
    const LandXmlSurvey survey = read_survey_file(options.input);
    if (!survey.ok() || !survey.has_survey())
        return -1;
    for (const SurveyReference& reference : survey.references)
        say(stderr, QString("ktconvert: %1: %2").arg(options.input, reference_in_english(reference, survey.rows)));
    return write_rows(options, survey.rows,
                      QString("ktconvert: read %1 survey rows from %2").arg(survey.rows.size()).arg(options.input));
}

// The system --crs names in its canonical form; false, told, when it is unknown.
bool settle_crs(Options* options)
{
    if (options->crs.isEmpty())
        return true;
    const CrsInfo crs = describe_crs(options->crs);
    if (!crs.is_valid()) {
        say(stderr, QString("ktconvert: unknown coordinate system \"%1\"").arg(options->crs));
        return false;
    }
    options->crs = crs.id();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Standard error is for the user, who is told every failure in its own words: the libraries'
    // traces only when QT_LOGGING_RULES asks for them.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\nktlink.*.warning=false"));
    // The arguments, the console and file names use the system's encoding; file contents name theirs.
    console_codec = QTextCodec::codecForLocale();
    const QStringList args = app.arguments().mid(1);

    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Options options;
    if (!parse_options(args, &options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString& input = options.input;
    const QString& output = options.output;
    install_geo_formats();
    if (options.mode != Options::Convert)
        return options.mode == Options::Check ? check_survey(options) : reduce_survey(options);
    if (!settle_crs(&options))
        return 1;
    if (const int surveyed = convert_survey(options); surveyed >= 0)
        return surveyed;
    // What stood at the output before, for what a failed write leaves.
    const bool existed = QFileInfo(output).exists() || QFileInfo(output).isSymLink();
    const PointFileConversion result = convert_point_file(
        input, output, options.gb18030 ? OutputEncoding::Gb18030 : OutputEncoding::Gbk, options.crs, options.columns);
    tell_findings(input, read_findings(result.read, result.layer_read));
    switch (result.outcome) {
    case PointFileConversion::Done:
        tell_findings(output, write_findings(result.layer_written));
        say(stderr, QString("ktconvert: read %1 points from %2, wrote %3 points to %4")
                        .arg(result.points_read)
                        .arg(input)
                        .arg(result.points_written)
                        .arg(output));
        return 0;
    case PointFileConversion::UnknownInputFormat:
    case PointFileConversion::InputUnreadable: {
        say(stderr, QString("ktconvert: cannot read %1: %2")
                        .arg(input, finding_in_english(read_refusal(result.read, result.layer_read, result.reason))));
        break;
    }
    case PointFileConversion::NoPoints:
        say(stderr, QString("ktconvert: no point read from %1; %2 not written").arg(input, output));
        break;
    case PointFileConversion::UnknownOutputFormat:
        say(stderr, QString("ktconvert: cannot write %1: %2").arg(output, result.reason));
        break;
    case PointFileConversion::OutputUnwritable: {
        const LayerReport& layer = result.layer_written;
        QString reason = layer.failed() ? finding_in_english(layer_refusal(layer)) : result.reason;
        // A write that failed on the way (not a refusal before it) says what it left.
        if (!layer.failed() || layer.failure == FileFinding::WriteFailed || layer.failure == FileFinding::CannotOpen) {
            static const char* const kLeft[] = {"; the file as it was is kept", "; no file was made", ""};
            reason += kLeft[int(after_failed_write(output, existed))];
        }
        say(stderr, QString("ktconvert: cannot write %1: %2").arg(output, reason));
        break;
    }
    case PointFileConversion::Unencodable:
        say(stderr, QString("ktconvert: cannot write %1: %2 characters GBK cannot hold, the first \"%3\" in line "
                            "%4, field %5; --gb18030 writes them")
                        .arg(output)
                        .arg(result.unencodable)
                        .arg(result.first_unencodable.character)
                        .arg(result.first_unencodable.line + 1)
                        .arg(result.first_unencodable.field + 1));
        break;
    }
    return 1;
}
