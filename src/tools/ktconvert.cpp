// ktconvert: converts a coordinate file into another format, both chosen by file suffix, through the
// program's own readers (every encoding they tell) and writers (GBK, or GB18030 when asked), the
// LandXML and GIS formats in the points' coordinate system, workbooks by their columns.
#include "config/runtimefiles.h"
#include "crs/crs.h"
#include "data/convertfile.h"
#include "data/filefindings.h"
#include "data/fileoperation.h"
#include "data/replacefile.h"
#include "formats/geoformats.h"
#include "gis/giswriter.h"
#include "gis/lineworkdrawing.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QStringList>
#include <QTextCodec>
#include <cstdio>

namespace
{

const char kUsage[] = "usage: ktconvert INPUT OUTPUT\n"
                      "       ktconvert [--gb18030] [--crs AUTHORITY:CODE] [--columns NAME,CODE,N,E,Z] INPUT OUTPUT\n"
                      "       ktconvert --linework [--crs AUTHORITY:CODE] [--columns NAME,CODE,N,E,Z] INPUT OUTPUT\n"
                      "\n"
                      "Reads the points of INPUT and writes them to OUTPUT; the suffix of each file names its\n"
                      "format (letter case ignored: \".TXT\" is \"txt\"):\n"
                      "  ndad, txt, csv   every line as it stands (name,code,N,E,Z)\n"
                      "  edad, ndat       name,code,E,N,Z\n"
                      "  gdat             number,name,N,E,Z,code\n"
                      "  svf              number,name,code,N,E,Z\n"
                      "  pts              name,E,N,Z,code\n"
                      "  dxf              DXF drawing: points with their names and heights\n"
                      "  xml              LandXML 1.2 CgPoints (\"N E Z\")\n"
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
                      "--linework draws the points into a DXF drawing with their linework: the codes are\n"
                      "joined into lines and areas in row order by the code list (config/codes.xml; the\n"
                      "user's copy comes first), one layer per code in its colour, point codes as symbols;\n"
                      "what could not be joined is told on standard error. The drawing is ASCII, so\n"
                      "--gb18030 has no use with it. OUTPUT ends in .dxf, or in .gpkg, .shp, .geojson or\n"
                      ".kml: the points' layer then has line and area layers (or features) beside it.\n"
                      "An existing OUTPUT is replaced only when the whole file has been written.\n"
                      "\n"
                      "Exit status: 0 converted; 1 INPUT cannot be read, a suffix names no format, no point\n"
                      "was read or none could be written, the system is unknown, the code list is refused, or\n"
                      "OUTPUT cannot be written;\n"
                      "2 wrong usage.\n";

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
    bool gb18030 = false;
    bool linework = false;
    QString crs;
    QString columns;
    QString input;
    QString output;
};

// False for wrong usage.
bool parse_options(QStringList args, Options* options)
{
    while (!args.isEmpty() && args[0].startsWith("--")) {
        const QString option = args.takeFirst();
        if (option == "--gb18030" && !options->gb18030) {
            options->gb18030 = true;
        } else if (option == "--linework" && !options->linework) {
            options->linework = true;
        } else if ((option == "--crs" || option == "--columns") && !args.isEmpty()) {
            QString& value = option == "--crs" ? options->crs : options->columns;
            if (!value.isEmpty() || args[0].isEmpty())
                return false;
            value = args.takeFirst();
        } else {
            return false;
        }
    }
    if (args.size() != 2 || args[0].startsWith('-') || args[1].startsWith('-'))
        return false;
    options->input = args[0];
    options->output = args[1];
    // Linework goes into a drawing (written in ASCII) or GIS layers.
    GisFormat format = GisFormat::GeoPackage;
    const QString suffix = QFileInfo(options->output).suffix();
    if (options->linework &&
        (options->gb18030 || (suffix.toLower() != "dxf" && !gis_format_for_suffix(suffix, &format))))
        return false;
    return true;
}

// Why OUTPUT was not written, with what a failed write left there.
QString write_failure(const QString& output, bool existed, const LayerReport& layer, const QString& message)
{
    QString reason = layer.failed() ? finding_in_english(layer_refusal(layer)) : message;
    // A write that failed on the way (not a refusal before it) says what it left.
    if (!layer.failed() || layer.failure == FileFinding::WriteFailed || layer.failure == FileFinding::CannotOpen) {
        static const char* const kLeft[] = {"; the file as it was is kept", "; no file was made", ""};
        reason += kLeft[int(after_failed_write(output, existed))];
    }
    return QString("ktconvert: cannot write %1: %2").arg(output, reason);
}

// The failures of reading INPUT that leave nothing to write; false when the read gave points.
bool tell_read_failure(const QString& input, const QString& output, const PointFileConversion& result)
{
    if (result.outcome == PointFileConversion::UnknownInputFormat ||
        result.outcome == PointFileConversion::InputUnreadable) {
        say(stderr, QString("ktconvert: cannot read %1: %2")
                        .arg(input, finding_in_english(read_refusal(result.read, result.layer_read, result.reason))));
        return true;
    }
    if (result.outcome == PointFileConversion::NoPoints) {
        say(stderr, QString("ktconvert: no point read from %1; %2 not written").arg(input, output));
        return true;
    }
    return false;
}

// --linework: the points of INPUT joined by the code list, drawn into OUTPUT.dxf or written as GIS
// layers with their lines and areas.
int convert_with_linework(const Options& options, bool existed)
{
    // The user's code list is the one ktlink edits, in ktlink's configuration folder.
    QCoreApplication::setApplicationName(QStringLiteral("ktlink"));
    const QString codes_file = code_list_file_to_read(runtime_folder());
    CodeList codes;
    CodeListError error;
    if (!read_code_list_file(codes_file, &codes, &error)) {
        say(stderr, QString("ktconvert: %1: %2").arg(codes_file, code_list_error_text(error)));
        return 1;
    }
    QStringList points;
    const PointFileConversion read = read_point_file(options.input, &points, options.crs, options.columns);
    tell_findings(options.input, read_findings(read.read, read.layer_read));
    if (tell_read_failure(options.input, options.output, read))
        return 1;
    const LineworkBuilder linework = linework_of_point_lines(codes, points);
    for (const LineworkIssue& issue : linework.issues())
        say(stderr, QString("ktconvert: %1: %2").arg(options.input, linework_issue_text(issue)));
    // Points, lines and areas written: GIS layers through the point writers, a drawing through GDAL's
    // DXF driver.
    int written = 0, lines = 0, areas = 0;
    const QString suffix = QFileInfo(options.output).suffix();
    if (suffix.toLower() != "dxf") {
        FileOperation files;
        files.crs = options.crs;
        files.linework = &linework;
        if (!files.writefile_byextension(options.output, suffix, points, false)) {
            say(stderr, write_failure(options.output, existed, files.last_layer, files.last_error));
            return 1;
        }
        tell_findings(options.output, write_findings(files.last_layer));
        written = files.last_layer.written;
        lines = files.last_layer.linework_lines;
        areas = files.last_layer.linework_areas;
    } else {
        LineworkDrawingReport drawn;
        if (!write_linework_drawing(options.output, points, linework, &drawn)) {
            say(stderr, write_failure(options.output, existed, LayerReport(), drawn.error));
            return 1;
        }
        if (drawn.without_coordinates > 0)
            say(stderr, QString("ktconvert: %1: %2 points without numeric N and E not drawn")
                            .arg(options.input)
                            .arg(drawn.without_coordinates));
        written = drawn.points;
        lines = drawn.lines;
        areas = drawn.areas;
    }
    say(stderr, QString("ktconvert: read %1 points from %2, wrote %3 points, %4 lines and %5 areas to %6")
                    .arg(read.points_read)
                    .arg(options.input)
                    .arg(written)
                    .arg(lines)
                    .arg(areas)
                    .arg(options.output));
    return 0;
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
    if (!options.crs.isEmpty()) {
        const CrsInfo crs = describe_crs(options.crs);
        if (!crs.is_valid()) {
            say(stderr, QString("ktconvert: unknown coordinate system \"%1\"").arg(options.crs));
            return 1;
        }
        options.crs = crs.id();
    }

    // What stood at the output before, for what a failed write leaves.
    const bool existed = QFileInfo(output).exists() || QFileInfo(output).isSymLink();
    if (options.linework)
        return convert_with_linework(options, existed);
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
