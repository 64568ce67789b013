// ktconvert: converts a coordinate file into another format, both chosen by file suffix, through the
// program's own readers (every encoding they tell) and writers (GBK, or GB18030 when asked), the
// LandXML and GIS formats in the points' coordinate system, workbooks by their columns. Measured data
// (LandXML survey data, the observation layout's workbook) is checked against its own observations, or
// its points recomputed from them; coded points are joined into lines and areas (convert/). Delimited
// text with decimal commas is read, and the CSV for spreadsheets written, beside the formats.
#include "convert/console.h"
#include "crs/crs.h"
#include "data/pointformats.h"
#include "formats/geoformats.h"
#include "gis/giswriter.h"

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
                      "       ktconvert [--gb18030 | --spreadsheet] [--decimal-comma] [--crs AUTHORITY:CODE]\n"
                      "                 [--columns NAME,CODE,N,E,Z]\n"
                      "                 [--duplicates first|last|average|rename [--tolerance METRES]] INPUT OUTPUT\n"
                      "       ktconvert --linework [--crs AUTHORITY:CODE] [--columns NAME,CODE,N,E,Z] INPUT OUTPUT\n"
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
                      "  xlsx, ods        workbooks, read only (xlsx: the first visible sheet; ods: the first),\n"
                      "                   columns by header or --columns\n"
                      "  csv --spreadsheet  CSV for spreadsheets: a header, then name;code;N;E;Z with decimal\n"
                      "                   commas, in UTF-8 with a byte order mark; a text INPUT that begins\n"
                      "                   with that header is read as such\n"
                      "INPUT is read in the encoding it was written in: a byte order mark names it, else\n"
                      "valid UTF-8 is UTF-8, zero bytes tell UTF-16, anything else is GBK; a drawing names\n"
                      "its own. Lines end in LF, CR LF or CR; a line longer than 1 MiB is refused.\n"
                      "OUTPUT is written in GBK, and not at all when a point holds a character GBK cannot\n"
                      "hold; --gb18030 writes GB18030, which holds every character and is GBK for GBK text.\n"
                      "--crs names the points' coordinate system (EPSG:4547): GIS and LandXML files are read\n"
                      "into it and written in it. --columns names a workbook's columns for name, code, N, E\n"
                      "and Z, each by its header text or its letter (\"点名,编码,B,C,\"); without it the\n"
                      "header row names them (X and Y are never taken for N and E).\n"
                      "--linework draws the points into a DXF drawing with their linework: the codes are\n"
                      "joined into lines and areas in row order by the code list (config/codes.xml; the\n"
                      "user's copy comes first), one layer per code in its colour, point codes as symbols;\n"
                      "what could not be joined is told on standard error. The drawing is ASCII, so\n"
                      "--gb18030 has no use with it. OUTPUT ends in .dxf, or in .gpkg, .shp, .geojson or\n"
                      ".kml: the points' layer then has line and area layers (or features) beside it.\n"
                      "--decimal-comma reads INPUT (ndad, txt or csv) as delimited text whose numbers have a\n"
                      "decimal comma (\"A1;3520100,123;512300,456;42,15\"): semicolons, tabs or spaces between\n"
                      "the fields, the columns named by the header row or --columns; each decimal comma becomes\n"
                      "a point. A file delimited by commas, or a number grouped by thousands (\"3.520.100,123\",\n"
                      "\"3 520 100,123\") or written with a point, is refused with its line named. INPUT is held\n"
                      "in memory.\n"
                      "--duplicates resolves the points that share a name (only name,code,N,E,Z lines with\n"
                      "numbers for N and E take part): first or last keeps one of each group, average keeps\n"
                      "the mean of N, E and Z with the first point's code where the group lies within\n"
                      "--tolerance (0.02 m unless given) across and in height, rename gives the later points\n"
                      "the name and \"_2\", \"_3\"... (skipping names the file holds). Groups beyond the\n"
                      "tolerance are left as they are and named on standard error.\n"
                      "An existing OUTPUT is replaced only when the whole file has been written.\n"
                      "\n"
                      "--check recomputes every measured point of INPUT from its station and its observations\n"
                      "and prints one line per finding: N E Z, horizontal or vertical distance differing from\n"
                      "the recorded ones by more than the tolerance (--tolerance, 0.005 m by default), a point\n"
                      "measured from two stations that disagree, a point that cannot be computed; then a\n"
                      "summary line. --curvature applies the Earth's curvature and refraction (k = 0.142), as\n"
                      "instruments that correct for them do. INPUT of --check and --reduce is LandXML survey\n"
                      "data (xml), or the observation layout's workbook (xlsx, ods): its first visible sheet,\n"
                      "whose first row captions the table's columns in any of the program's languages (at\n"
                      "least kind, point, horizontal and vertical angle and a distance); columns of other\n"
                      "captions are named on standard error and not read.\n"
                      "--reduce writes the measured points recomputed from their observations to OUTPUT (to\n"
                      "xml every row, the others kept as they are); --reflector-height and\n"
                      "--instrument-height give the heights to use instead of the recorded ones. A point that\n"
                      "cannot be computed is named and left out (kept as recorded in xml).\n"
                      "\n"
                      "Exit status: 0 converted, or checked without findings; 1 INPUT cannot be read, a suffix\n"
                      "names no format, no point was read or none could be written, the system is unknown,\n"
                      "the code list is refused, or OUTPUT cannot be written; 2 wrong usage; 3 the check has\n"
                      "findings, or --duplicates average left groups beyond the tolerance as they were.\n";

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
    } else if (option == "--tolerance" && !options->tolerance_given && take_length(args, &value)) {
        options->tolerance.horizontal = options->tolerance.vertical = value;
        options->tolerance_given = true;
    } else if (option == "--reflector-height" && take_length(args, &value)) {
        options->heights.reflector = value;
    } else if (option == "--instrument-height" && take_length(args, &value)) {
        options->heights.instrument = value;
    } else {
        return false;
    }
    return true;
}

// Whether the text conventions fit: a decimal-comma INPUT is a raw text, the CSV for spreadsheets an
// OUTPUT ending in .csv in its own encoding; a plain conversion either way.
bool text_conventions_fit(const Options& options)
{
    const bool plain = options.mode == Options::Convert && !options.linework;
    if ((options.decimal_comma || options.spreadsheet) && !plain)
        return false;
    if (options.decimal_comma && PointFormat::for_suffix(QFileInfo(options.input).suffix()).kind() != PointFormat::Raw)
        return false;
    return !options.spreadsheet ||
           (!options.gb18030 && QFileInfo(options.output).suffix().compare("csv", Qt::CaseInsensitive) == 0);
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
        } else if (option == "--decimal-comma" && !options->decimal_comma) {
            options->decimal_comma = true;
        } else if (option == "--spreadsheet" && !options->spreadsheet) {
            options->spreadsheet = true;
        } else if (option == "--linework" && !options->linework && options->mode == Options::Convert) {
            options->linework = true;
        } else if (option == "--duplicates" && options->duplicates.isEmpty() && !args.isEmpty() &&
                   duplicate_choice(args[0]) >= 0) {
            options->duplicates = args.takeFirst();
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
        (options->tolerance_given && options->mode != Options::Check && options->duplicates.isEmpty()) ||
        (options->mode == Options::Check && options->tolerance.horizontal <= 0) ||
        (!options->duplicates.isEmpty() && (options->mode != Options::Convert || options->linework)))
        return false;
    options->input = args[0];
    options->output = args.value(1);
    if (!text_conventions_fit(*options))
        return false;
    // Linework goes into a drawing (written in ASCII) or GIS layers.
    GisFormat format = GisFormat::GeoPackage;
    const QString suffix = QFileInfo(options->output).suffix();
    if (options->linework &&
        (options->gb18030 || (suffix.toLower() != "dxf" && !gis_format_for_suffix(suffix, &format))))
        return false;
    return true;
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
    if (const int surveyed =
            options.linework || !options.duplicates.isEmpty() || options.spreadsheet ? -1 : convert_survey(options);
        surveyed >= 0)
        return surveyed;
    // What stood at the output before, for what a failed write leaves.
    const bool existed = QFileInfo(output).exists() || QFileInfo(output).isSymLink();
    if (options.linework)
        return convert_with_linework(options, existed);
    int left = 0;
    LineRework rework;
    if (!options.duplicates.isEmpty())
        rework = [&](QStringList* lines) { left = resolve_duplicate_lines(options, lines); };
    TextConventions conventions;
    conventions.decimal_comma = options.decimal_comma;
    if (options.spreadsheet)
        conventions.output_format = PointFormat::kSpreadsheetCsv;
    const PointFileConversion result =
        convert_point_file(input, output, options.gb18030 ? OutputEncoding::Gb18030 : OutputEncoding::Gbk, options.crs,
                           options.columns, rework, conventions);
    tell_findings(input, read_findings(result.read, result.layer_read));
    switch (result.outcome) {
    case PointFileConversion::Done:
        tell_findings(output, write_findings(result.layer_written));
        say(stderr, QString("ktconvert: read %1 points from %2, wrote %3 points to %4")
                        .arg(result.points_read)
                        .arg(input)
                        .arg(result.points_written)
                        .arg(output));
        return left > 0 ? 3 : 0;
    case PointFileConversion::UnknownInputFormat:
    case PointFileConversion::InputUnreadable:
    case PointFileConversion::NoPoints:
        tell_read_failure(input, output, result);
        break;
    case PointFileConversion::UnknownOutputFormat:
        say(stderr, QString("ktconvert: cannot write %1: %2").arg(output, result.reason));
        break;
    case PointFileConversion::OutputUnwritable:
        say(stderr, write_failure(output, existed, result.layer_written, result.reason));
        break;
    case PointFileConversion::NoneWritten:
        tell_findings(output, write_findings(result.layer_written));
        say(stderr, QString("ktconvert: %1 not written: none of the %2 points read from %3 could be written")
                        .arg(output)
                        .arg(result.points_read)
                        .arg(input));
        break;
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
