// ktconvert: converts a coordinate file into another format, both chosen by file suffix, through the
// program's own readers (every encoding they tell) and writers (GBK, or GB18030 when asked), the
// LandXML and GIS formats in the points' coordinate system, workbooks by their columns.
#include "crs/crs.h"
#include "data/convertfile.h"
#include "data/filefindings.h"
#include "data/replacefile.h"
#include "formats/geoformats.h"
#include "survey/duplicates.h"

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
                      "       ktconvert [--gb18030] [--crs AUTHORITY:CODE] [--columns NAME,CODE,N,E,Z]\n"
                      "                 [--duplicates first|last|average|rename [--tolerance METRES]] INPUT OUTPUT\n"
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
                      "--duplicates resolves the points that share a name (only name,code,N,E,Z lines with\n"
                      "numbers for N and E take part): first or last keeps one of each group, average keeps\n"
                      "the mean of N, E and Z with the first point's code where the group lies within\n"
                      "--tolerance (0.02 m unless given) across and in height, rename gives the later points\n"
                      "the name and \"_2\", \"_3\"... (skipping names the file holds). Groups beyond the\n"
                      "tolerance are left as they are and named on standard error.\n"
                      "An existing OUTPUT is replaced only when the whole file has been written.\n"
                      "\n"
                      "Exit status: 0 converted; 1 INPUT cannot be read, a suffix names no format, no point\n"
                      "was read, the system is unknown, or OUTPUT cannot be written; 2 wrong usage; 3\n"
                      "converted, with groups left as they were by --duplicates average.\n";

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
    QString crs;
    QString columns;
    QString duplicates; // first, last, average or rename; empty: points as they are
    QString tolerance;
    QString input;
    QString output;
};

const char* const kDuplicateChoices[] = {"first", "last", "average", "rename"};
const duplicates::Choice kChoiceOf[] = {duplicates::Choice::KeepFirst, duplicates::Choice::KeepLast,
                                        duplicates::Choice::Average, duplicates::Choice::Rename};

int duplicate_choice(const QString& text)
{
    for (int i = 0; i < 4; ++i) {
        if (text == QLatin1String(kDuplicateChoices[i]))
            return i;
    }
    return -1;
}

// A choice that is known, and a tolerance (a number of metres, not negative) only with it.
bool valid_duplicates(const Options& options)
{
    if (options.duplicates.isEmpty())
        return options.tolerance.isEmpty();
    bool ok = true;
    const double tolerance = options.tolerance.isEmpty() ? 0 : options.tolerance.toDouble(&ok);
    return duplicate_choice(options.duplicates) >= 0 && ok && tolerance >= 0 && std::isfinite(tolerance);
}

// Resolves the points of `lines` that share a name; the groups left beyond the tolerance are named.
// Lines that are not five-field points pass as they are.
int resolve_duplicate_lines(const Options& options, QStringList* lines)
{
    duplicates::Rows rows;
    for (const QString& line : *lines) {
        const QStringList fields = line.split(',');
        rows << (fields.size() == 5 ? fields : QStringList());
    }
    const duplicates::Layout layout = duplicates::coordinate_layout(kt2040::FrameSet::None);
    const QList<duplicates::Group> groups = duplicates::find_groups(rows, layout);
    duplicates::Options choice;
    if (!options.tolerance.isEmpty())
        choice.tolerance = options.tolerance.toDouble();
    const duplicates::Result result = duplicates::resolve(
        rows, layout, groups, duplicates::for_every_group(groups, kChoiceOf[duplicate_choice(options.duplicates)]),
        choice);
    QStringList kept;
    for (int i = 0; i < result.rows.size(); ++i) {
        const int row = result.kept[i];
        kept << (rows[row].isEmpty() ? lines->at(row) : result.rows[i].join(','));
    }
    *lines = kept;
    for (int g : result.beyond)
        say(stderr,
            QString("ktconvert: %1: %2 points %3 m apart across and %4 m in height, beyond %5 m; left as they are")
                .arg(groups[g].name)
                .arg(groups[g].rows.size())
                .arg(groups[g].horizontal, 0, 'f', 3)
                .arg(groups[g].vertical, 0, 'f', 3)
                .arg(choice.tolerance, 0, 'f', 3));
    say(stderr, QString("ktconvert: names shared by more than one point: %1; points removed: %2, groups averaged: %3, "
                        "points renamed: %4, groups left as they are: %5")
                    .arg(groups.size())
                    .arg(result.removed)
                    .arg(result.averaged)
                    .arg(result.renamed.size())
                    .arg(result.beyond.size()));
    return int(result.beyond.size());
}

// False for wrong usage.
bool parse_options(QStringList args, Options* options)
{
    while (!args.isEmpty() && args[0].startsWith("--")) {
        const QString option = args.takeFirst();
        if (option == "--gb18030" && !options->gb18030) {
            options->gb18030 = true;
        } else if ((option == "--crs" || option == "--columns") && !args.isEmpty()) {
            QString& value = option == "--crs" ? options->crs : options->columns;
            if (!value.isEmpty() || args[0].isEmpty())
                return false;
            value = args.takeFirst();
        } else if ((option == "--duplicates" || option == "--tolerance") && !args.isEmpty()) {
            QString& value = option == "--duplicates" ? options->duplicates : options->tolerance;
            if (!value.isEmpty() || args[0].isEmpty())
                return false;
            value = args.takeFirst();
        } else {
            return false;
        }
    }
    if (!valid_duplicates(*options))
        return false;
    if (args.size() != 2 || args[0].startsWith('-') || args[1].startsWith('-'))
        return false;
    options->input = args[0];
    options->output = args[1];
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
    int left = 0;
    LineRework rework;
    if (!options.duplicates.isEmpty())
        rework = [&](QStringList* lines) { left = resolve_duplicate_lines(options, lines); };
    const PointFileConversion result =
        convert_point_file(input, output, options.gb18030 ? OutputEncoding::Gb18030 : OutputEncoding::Gbk, options.crs,
                           options.columns, rework);
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
