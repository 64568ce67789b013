// The ktconvert program: every format into every other, its usage and exit codes, and an output
// that cannot be written completely leaving the old file in place.
#include "data/fileoperation.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QFile>
#include <QProcess>

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
