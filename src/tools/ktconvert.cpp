// ktconvert: converts a coordinate file into another format, both chosen by file suffix, through the
// program's own readers (every encoding they tell) and writers (GBK, or GB18030 when asked).
#include "data/convertfile.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextCodec>
#include <cstdio>

namespace
{

const char kUsage[] = "usage: ktconvert INPUT OUTPUT\n"
                      "       ktconvert --gb18030 INPUT OUTPUT\n"
                      "\n"
                      "Reads the points of INPUT and writes them to OUTPUT; the suffix of each file names its\n"
                      "format (compared exactly: \".TXT\" is not \"txt\"):\n"
                      "  ndad, txt, csv   every line as it stands (name,code,N,E,Z)\n"
                      "  edad, ndat       name,code,E,N,Z\n"
                      "  gdat             number,name,N,E,Z,code\n"
                      "  svf              number,name,code,N,E,Z\n"
                      "  pts              name,E,N,Z,code\n"
                      "  dxf              DXF drawing: points with their names and heights\n"
                      "INPUT is read in the encoding it was written in: a byte order mark names it, else\n"
                      "valid UTF-8 is UTF-8, zero bytes tell UTF-16, anything else is GBK; a drawing names\n"
                      "its own. Lines end in LF, CR LF or CR; a line longer than 1 MiB is refused.\n"
                      "OUTPUT is written in GBK, and not at all when a point holds a character GBK cannot\n"
                      "hold; --gb18030 writes GB18030, which holds every character and is GBK for GBK text.\n"
                      "An existing OUTPUT is replaced only when the whole file has been written.\n"
                      "\n"
                      "Exit status: 0 converted; 1 INPUT cannot be read, a suffix names no format, no point\n"
                      "was read, or OUTPUT cannot be written; 2 wrong usage.\n";

QTextCodec* console_codec = nullptr;

void say(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = console_codec->fromUnicode(text + '\n');
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// What reading met that changes what the user gets: an encoding other than GBK, bytes that could
// not be decoded, commas replaced in a drawing's values.
void tell_read_report(const QString& input, const FileOperation::ReadReport& read)
{
    if (read.notable_encoding())
        say(stderr, QString("ktconvert: %1 read as %2").arg(input, read.encoding_name));
    if (read.undecodable_bytes > 0)
        say(stderr, QString("ktconvert: %1: %2 bytes are not valid %3 and were read as U+FFFD")
                        .arg(input)
                        .arg(read.undecodable_bytes)
                        .arg(read.encoding_name));
    if (read.commas_replaced > 0)
        say(stderr, QString("ktconvert: %1: %2 commas in values replaced by \"%3\"")
                        .arg(input)
                        .arg(read.commas_replaced)
                        .arg(QLatin1Char(FileOperation::kDxfCommaStandIn)));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The arguments and the console use the system's encoding; file text uses the program's.
    console_codec = QTextCodec::codecForLocale();
    QStringList args = app.arguments().mid(1);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("GBK"));

    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool gb18030 = args.size() == 3 && args[0] == "--gb18030";
    if (gb18030)
        args.removeFirst();
    const bool option = !args.isEmpty() && (args[0].startsWith('-') || args.last().startsWith('-'));
    if (args.size() != 2 || option) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString& input = args[0];
    const QString& output = args[1];

    const PointFileConversion result =
        convert_point_file(input, output, gb18030 ? OutputEncoding::Gb18030 : OutputEncoding::Gbk);
    tell_read_report(input, result.read);
    switch (result.outcome) {
    case PointFileConversion::Done:
        say(stderr, QString("ktconvert: read %1 points from %2, wrote %3 points to %4")
                        .arg(result.points_read)
                        .arg(input)
                        .arg(result.points_written)
                        .arg(output));
        return 0;
    case PointFileConversion::UnknownInputFormat:
    case PointFileConversion::InputUnreadable:
        say(stderr, QString("ktconvert: cannot read %1: %2").arg(input, result.reason));
        break;
    case PointFileConversion::NoPoints:
        say(stderr, QString("ktconvert: no point read from %1; %2 not written").arg(input, output));
        break;
    case PointFileConversion::UnknownOutputFormat:
    case PointFileConversion::OutputUnwritable:
        say(stderr, QString("ktconvert: cannot write %1: %2").arg(output, result.reason));
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
