// The ktconvert program: every format into every other, its usage and exit codes, and an output
// that cannot be written completely leaving the old file in place.
#include "data/fileoperation.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QFile>
#include <QProcess>
#include <QTextCodec>

namespace
{

const char* const kSuffixes[] = {"ndad", "txt", "csv", "edad", "ndat", "gdat", "svf", "pts", "dxf"};

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run ktconvert(const QStringList& args, const QString& shell_prefix = QString())
{
    QProcess process;
    const QString program = QString(KT_RUN_DIR) + "/ktconvert";
    if (shell_prefix.isEmpty()) {
        process.start(program, args);
    } else {
        // "$0" is the program, "$@" its arguments, after the shell has set limits.
        process.start("/bin/sh", QStringList{"-c", shell_prefix + "; exec \"$0\" \"$@\"", program} + args);
    }
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The bytes of `text` in `codec`, without a byte order mark.
QByteArray encoded(const char* codec, const QString& text)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return QTextCodec::codecForName(codec)->fromUnicode(text.constData(), text.size(), &state);
}

const QString kExample = QString::fromUtf8("测点1,树,100.5,200.25,3.5\nP2,墙角,1,2,3\n");
const QString kExampleGdat = QString::fromUtf8("1,测点1,100.5,200.25,3.5,树\n2,P2,1,2,3,墙角\n");

} // namespace

class TestKtconvert : public QObject
{
    Q_OBJECT

private slots:
    void every_format_to_every_other_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        for (const char* from : kSuffixes) {
            for (const char* to : kSuffixes)
                QTest::newRow(qPrintable(QString("%1 to %2").arg(from, to))) << from << to;
        }
    }

    void every_format_to_every_other()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        WorkDir dir(false);
        // Three decimals, so a drawing gives the same numbers back.
        const QStringList points{"P1,K1,100.000,200.000,5.000", "点2,树,-1.500,2.250,0.000"};
        const QString input = dir.file("in." + from);
        const QString output = dir.file("out." + to);
        FileOperation files;
        QVERIFY(files.writefile_byextension(input, from, points, false));

        const Run run = ktconvert({input, output});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString("ktconvert: read 2 points from %1, wrote 2 points to %2\n").arg(input, output));
        QStringList expected = points;
        if (from == "dxf" || to == "dxf")
            expected = QStringList{"P1,,100.000,200.000,5.000", "点2,,-1.500,2.250,0.000"}; // no code in a drawing
        QCOMPARE(files.readfile_byextension(output, to), expected);
    }

    void raw_lines_pass_and_short_lines_are_not_points()
    {
        WorkDir dir(false);
        dir.write("in.txt", "P1,K,1,2,3\nshort\n\nSTN,S,1,2,3,4,5,6,7,8\n");
        Run run = ktconvert({dir.file("in.txt"), dir.file("out.csv")});
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.contains("read 2 points"));
        QCOMPARE(dir.read("out.csv"), QByteArray("P1,K,1,2,3\nshort\n\nSTN,S,1,2,3,4,5,6,7,8\n"));
        run = ktconvert({dir.file("in.txt"), dir.file("out.gdat")});
        QCOMPARE(dir.read("out.gdat"), QByteArray("1,P1,1,2,3,K\n4,STN,1,2,3,S\n"));
    }

    // Whatever the input's encoding and line ends, the output is GBK; what the reading met is said
    // before the count (%1 the input, %2 the output).
    void reads_what_other_programs_write_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QByteArray>("gdat");
        const QString read_two = "ktconvert: read 2 points from %1, wrote 2 points to %2\n";
        const QByteArray example_gdat = encoded("GBK", kExampleGdat);
        QTest::newRow("UTF-8") << "u8.txt" << kExample.toUtf8() << "ktconvert: %1 read as UTF-8\n" + read_two
                               << example_gdat;
        QTest::newRow("UTF-8 with a mark")
            << "u8.txt"
            << "\xEF\xBB\xBF" + kExample.toUtf8() << "ktconvert: %1 read as UTF-8\n" + read_two << example_gdat;
        QTest::newRow("GBK") << "gbk.ndad" << encoded("GBK", kExample) << read_two << example_gdat;
        QTest::newRow("UTF-16 without a mark") << "u16.csv" << encoded("UTF-16LE", kExample)
                                               << "ktconvert: %1 read as UTF-16LE\n" + read_two << example_gdat;
        QTest::newRow("UTF-16BE, CR only") << "u16.txt"
                                           << "\xFE\xFF" + encoded("UTF-16BE", QString(kExample).replace('\n', '\r'))
                                           << "ktconvert: %1 read as UTF-16BE\n" + read_two << example_gdat;
        QTest::newRow("CR only, five points")
            << "cr.txt" << QByteArray("A,K,1,2,3\rB,K,4,5,6\r\rC,K,7,8,9\r\nD,K,1,1,1\nE,K,2,2,2\r")
            << "ktconvert: read 5 points from %1, wrote 5 points to %2\n"
            << QByteArray("1,A,1,2,3,K\n2,B,4,5,6,K\n4,C,7,8,9,K\n5,D,1,1,1,K\n6,E,2,2,2,K\n");
        QTest::newRow("bytes neither UTF-8 nor GBK")
            << "bad.txt" << QByteArray("P\xFF,K,1,2,3\nQ,K\x81,4,5,6\n")
            << "ktconvert: %1: 2 bytes are not valid GBK and were read as U+FFFD\n" + read_two
            << QByteArray("1,P?,1,2,3,K\n2,Q,4,5,6,K?\n");
        QTest::newRow("a drawing's comma in a name")
            << "d.dxf"
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n1\n20\n2\n30\n3\n0\nTEXT\n8\n"
                          "PointNumber\n1\nA,B\n0\nPOINT\n8\nPoint\n10\n4\n20\n5\n30\n6\n0\nENDSEC\n0\nEOF\n")
            << "ktconvert: %1: 1 commas in values replaced by \";\"\n" + read_two
            << QByteArray("1,A;B,2,1,3,\n2,,5,4,6,\n");
    }

    void reads_what_other_programs_write()
    {
        QFETCH(QString, input);
        QFETCH(QByteArray, content);
        QFETCH(QString, messages);
        QFETCH(QByteArray, gdat);
        WorkDir dir(false);
        dir.write(input, content);
        const Run run = ktconvert({dir.file(input), dir.file("out.gdat")});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, messages.arg(dir.file(input), dir.file("out.gdat")));
        QCOMPARE(dir.read("out.gdat"), gdat);
    }

    // A character GBK cannot hold stops the write (the old output kept) unless GB18030 is asked for.
    void characters_beyond_gbk()
    {
        WorkDir dir(false);
        const QString points = QString::fromUtf8("P1,K,1,2,3\n\xF0\xA0\x80\x80,\xF0\x9F\x98\x80,4,5,6\n");
        dir.write("in.txt", points.toUtf8());
        dir.write("out.svf", "old\n");
        Run run = ktconvert({dir.file("in.txt"), dir.file("out.svf")});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, QString::fromUtf8("ktconvert: %1 read as UTF-8\nktconvert: cannot write %2: 2 characters GBK "
                                            "cannot hold, the first \"\xF0\xA0\x80\x80\" in line 2, field 2; "
                                            "--gb18030 writes them\n")
                              .arg(dir.file("in.txt"), dir.file("out.svf")));
        QCOMPARE(dir.read("out.svf"), QByteArray("old\n"));
        run = ktconvert({"--gb18030", dir.file("in.txt"), dir.file("out.svf")});
        QCOMPARE(run.status, 0);
        QCOMPARE(dir.read("out.svf"), encoded("GB18030", QString::fromUtf8("1,P1,K,1,2,3\n2,\xF0\xA0\x80\x80,"
                                                                           "\xF0\x9F\x98\x80,4,5,6\n")));
        FileOperation files;
        QCOMPARE(files.readfile_byextension(dir.file("out.svf"), "svf"), points.trimmed().split('\n'));
        QCOMPARE(files.last_read.encoding_name, QString("GB18030"));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("-h") << QStringList{"-h"} << 0;
        QTest::newRow("no arguments") << QStringList{} << 2;
        QTest::newRow("one") << QStringList{"a.txt"} << 2;
        QTest::newRow("three") << QStringList{"a.txt", "b.txt", "c.txt"} << 2;
        QTest::newRow("unknown option") << QStringList{"--fast", "a.txt"} << 2;
        QTest::newRow("help with files") << QStringList{"--help", "a.txt"} << 2;
        QTest::newRow("GB18030, one file") << QStringList{"--gb18030", "a.txt"} << 2;
        QTest::newRow("GB18030 last") << QStringList{"a.txt", "b.txt", "--gb18030"} << 2;
    }

    void usage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        const Run run = ktconvert(args);
        QCOMPARE(run.status, status);
        const QString& text = status == 0 ? run.out : run.err;
        QVERIFY(text.startsWith("usage: ktconvert INPUT OUTPUT\n"));
        QVERIFY((status == 0 ? run.err : run.out).isEmpty());
    }

    void failures_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QByteArray>("content"); // null: no input file
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");

        const QByteArray point("P1,K,1,2,3\n");
        QTest::newRow("missing input") << "none.txt" << QByteArray() << "out.txt"
                                       << "ktconvert: cannot read %1: No such file or directory";
        QTest::newRow("upper-case input suffix") << "in.TXT" << point << "out.txt"
                                                 << "ktconvert: cannot read %1: no file format has the suffix \"TXT\"";
        QTest::newRow("no input suffix") << "in" << point << "out.txt"
                                         << "ktconvert: cannot read %1: no file format has the suffix \"\"";
        QTest::newRow("unknown output suffix") << "in.txt" << point << "out.xyz"
                                               << "ktconvert: cannot write %2: no file format has the suffix \"xyz\"";
        QTest::newRow("empty input") << "in.txt" << QByteArray("") << "out.dxf"
                                     << "ktconvert: no point read from %1; %2 not written";
        QTest::newRow("lines too short for the format") << "in.gdat" << QByteArray("1,P1,1,2,3\n\n") << "out.txt"
                                                        << "ktconvert: no point read from %1; %2 not written";
        QTest::newRow("drawing without points")
            << "in.dxf" << QByteArray("0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n") << "out.pts"
            << "ktconvert: no point read from %1; %2 not written";
        QTest::newRow("a line too long") << "in.txt"
                                         << "P1,K,1,2,3\n" + QByteArray(1 << 21, 'x') << "out.dxf"
                                         << "ktconvert: cannot read %1: line 2 is longer than 1048576 bytes";
        QTest::newRow("output folder missing") << "in.txt" << point << "no/out.txt"
                                               << "ktconvert: cannot write %2: No such file or directory";
    }

    void failures()
    {
        QFETCH(QString, input);
        QFETCH(QByteArray, content);
        QFETCH(QString, output);
        QFETCH(QString, message);
        WorkDir dir(false);
        if (!content.isNull())
            dir.write(input, content);
        const Run run = ktconvert({dir.file(input), dir.file(output)});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, QString(message).replace("%1", dir.file(input)).replace("%2", dir.file(output)) + "\n");
        QVERIFY(!QFile::exists(dir.file(output)));
    }

    // The file size limit stops the write halfway: the old output stays as it was.
    void cut_off_write_keeps_the_old_output()
    {
        WorkDir dir(false);
        QByteArray many;
        for (int i = 0; i < 5000; ++i)
            many += QByteArray("P") + QByteArray::number(i) + ",K,1000.25,2000.5,30.125\n";
        dir.write("in.ndad", many);
        dir.write("out.dxf", "old drawing\n");
        const Run run = ktconvert({dir.file("in.ndad"), dir.file("out.dxf")}, "trap '' XFSZ; ulimit -f 64");
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, "ktconvert: cannot write " + dir.file("out.dxf") + ": File too large\n");
        QCOMPARE(dir.read("out.dxf"), QByteArray("old drawing\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"in.ndad", "out.dxf"}));
    }
};

KT_CORE_TEST_MAIN(TestKtconvert)
#include "tst_ktconvert.moc"
