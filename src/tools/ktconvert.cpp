// ktconvert: converts a coordinate file into another format, both chosen by file suffix, through the
// program's own readers and writers and in its text encoding (GBK).
#include "data/convertfile.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextCodec>
#include <cstdio>

namespace
{

const char kUsage[] = "usage: ktconvert INPUT OUTPUT\n"
                      "\n"
                      "Reads the points of INPUT and writes them to OUTPUT; the suffix of each file names its\n"
                      "format (compared exactly: \".TXT\" is not \"txt\"):\n"
                      "  ndad, txt, csv   every line as it stands (name,code,N,E,Z)\n"
                      "  edad, ndat       name,code,E,N,Z\n"
                      "  gdat             number,name,N,E,Z,code\n"
                      "  svf              number,name,code,N,E,Z\n"
                      "  pts              name,E,N,Z,code\n"
                      "  dxf              DXF drawing: points with their names and heights\n"
                      "Text is read and written in GBK. An existing OUTPUT is replaced only when the whole\n"
                      "file has been written.\n"
                      "\n"
                      "Exit status: 0 converted; 1 INPUT cannot be read, a suffix names no format, no point\n"
                      "was read, or OUTPUT cannot be written; 2 wrong usage.\n";

QTextCodec* console_codec = nullptr;

void say(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = console_codec->fromUnicode(text + '\n');
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The arguments and the console use the system's encoding; file text uses the program's.
    console_codec = QTextCodec::codecForLocale();
    const QStringList args = app.arguments().mid(1);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("GBK"));

    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const bool option = !args.isEmpty() && (args[0].startsWith('-') || args.last().startsWith('-'));
    if (args.size() != 2 || option) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString& input = args[0];
    const QString& output = args[1];

    const PointFileConversion result = convert_point_file(input, output);
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
    }
    return 1;
}
