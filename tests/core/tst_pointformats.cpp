// Coordinate file formats by suffix: the column orders both ways, sequence numbers, raw suffixes,
// exact suffix matching, and the files FileOperation reads and writes.
#include "data/fileoperation.h"
#include "data/linefields.h"
#include "data/pointformats.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QFile>

class TestPointFormats : public QObject
{
    Q_OBJECT

private slots:
    void read_line_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("file_line");
        QTest::addColumn<QString>("point_line"); // "-": skipped

        QTest::newRow("edad") << "edad"
                              << "P1,K,200,100,5"
                              << "P1,K,100,200,5";
        QTest::newRow("ndat") << "ndat"
                              << "P1,K,200,100,5,extra"
                              << "P1,K,100,200,5";
        QTest::newRow("gdat") << "gdat"
                              << "7,P1,100,200,5,K"
                              << "P1,K,100,200,5";
        QTest::newRow("svf") << "svf"
                             << "7,P1,K,100,200,5"
                             << "P1,K,100,200,5";
        QTest::newRow("pts") << "pts"
                             << "P1,200,100,5,K"
                             << "P1,K,100,200,5";
        QTest::newRow("empty code") << "edad"
                                    << "P1,,200,100,5"
                                    << "P1,,100,200,5";
        QTest::newRow("edad too short") << "edad"
                                        << "P1,K,200,100"
                                        << "-";
        QTest::newRow("gdat needs six") << "gdat"
                                        << "7,P1,100,200,5"
                                        << "-";
        QTest::newRow("svf needs six") << "svf"
                                       << "7,P1,K,100,200"
                                       << "-";
        QTest::newRow("pts too short") << "pts"
                                       << "P1,200,100,5"
                                       << "-";
        QTest::newRow("ndad raw") << "ndad"
                                  << "a"
                                  << "a";
        QTest::newRow("txt raw keeps empty") << "txt"
                                             << ""
                                             << "";
        QTest::newRow("csv raw") << "csv"
                                 << "1,2,3,4,5,6,7,8,9,10"
                                 << "1,2,3,4,5,6,7,8,9,10";
        QTest::newRow("upper-case TXT is txt") << "TXT"
                                               << "P1,K,1,2,3"
                                               << "P1,K,1,2,3";
        QTest::newRow("upper-case PTS is pts") << "PTS"
                                               << "P1,2,1,3,K"
                                               << "P1,K,1,2,3";
        QTest::newRow("mixed-case Gdat is gdat") << "Gdat"
                                                 << "7,P1,1,2,3,K"
                                                 << "P1,K,1,2,3";
        QTest::newRow("dxf is not a line format") << "dxf"
                                                  << "P1,K,1,2,3"
                                                  << "-";
        QTest::newRow("no suffix") << ""
                                   << "P1,K,1,2,3"
                                   << "-";
    }

    void read_line()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, file_line);
        QFETCH(QString, point_line);
        QString point;
        const bool converted = PointFormat::for_suffix(suffix).point_line(file_line, &point);
        QCOMPARE(converted, point_line != "-");
        if (converted)
            QCOMPARE(point, point_line);
    }

    void write_line_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("point_line");
        QTest::addColumn<QString>("file_line"); // "-": skipped

        QTest::newRow("edad") << "edad"
                              << "P1,K,100,200,5"
                              << "P1,K,200,100,5";
        QTest::newRow("ndat drops extra fields") << "ndat"
                                                 << "P1,K,100,200,5,x,y"
                                                 << "P1,K,200,100,5";
        QTest::newRow("gdat") << "gdat"
                              << "P1,K,100,200,5"
                              << "3,P1,100,200,5,K";
        QTest::newRow("svf") << "svf"
                             << "P1,K,100,200,5"
                             << "3,P1,K,100,200,5";
        QTest::newRow("pts") << "pts"
                             << "P1,K,100,200,5"
                             << "P1,200,100,5,K";
        QTest::newRow("four fields skipped") << "pts"
                                             << "P1,K,100,200"
                                             << "-";
        QTest::newRow("raw passes short lines") << "txt"
                                                << "x"
                                                << "x";
        QTest::newRow("unknown") << "gdatx"
                                 << "P1,K,100,200,5"
                                 << "-";
    }

    void write_line()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, point_line);
        QFETCH(QString, file_line);
        QString line;
        const bool converted = PointFormat::for_suffix(suffix).file_line(point_line, 3, &line);
        QCOMPARE(converted, file_line != "-");
        if (converted)
            QCOMPARE(line, file_line);
    }

    void sequence_numbers_count_skipped_lines()
    {
        FileOperation files;
        const QStringList points{"A,a,1,2,3", "B,b,4,5", "C,c,7,8,9"};
        QCOMPARE(files.getsavedata("gdat", points), (QStringList{"1,A,1,2,3,a", "3,C,7,8,9,c"}));
        QCOMPARE(files.getsavedata("svf", points), (QStringList{"1,A,a,1,2,3", "3,C,c,7,8,9"}));
        QCOMPARE(files.getsavedata("xyz", points), QStringList());
        QString line;
        QVERIFY(PointFormat::for_suffix("gdat").file_line("A,a,1,2,3", 1234567890, &line));
        QCOMPARE(line, QString("1234567890,A,1,2,3,a"));
        QVERIFY(PointFormat::for_suffix("svf").file_line("A,a,1,2,3", 10, &line));
        QCOMPARE(line, QString("10,A,a,1,2,3"));
        QCOMPARE(files.getloaddata("gdat", {"1,A,1,2,3,a", "short", "3,C,7,8,9,c"}),
                 (QStringList{"A,a,1,2,3", "C,c,7,8,9"}));
        QCOMPARE(files.getloaddata("TXT", {"A,a,1,2,3"}), QStringList{"A,a,1,2,3"});
        QCOMPARE(files.getloaddata("xyz", {"A,a,1,2,3"}), QStringList());
    }

    // Every suffix written and read back through real files gives the point lines again.
    void file_round_trip_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("first_file_line");
        for (const char* suffix : {"ndad", "txt", "csv"})
            QTest::newRow(suffix) << suffix << "P1,K1,100.5,200.25,5";
        QTest::newRow("edad") << "edad"
                              << "P1,K1,200.25,100.5,5";
        QTest::newRow("ndat") << "ndat"
                              << "P1,K1,200.25,100.5,5";
        QTest::newRow("gdat") << "gdat"
                              << "1,P1,100.5,200.25,5,K1";
        QTest::newRow("svf") << "svf"
                             << "1,P1,K1,100.5,200.25,5";
        QTest::newRow("pts") << "pts"
                             << "P1,200.25,100.5,5,K1";
    }

    void file_round_trip()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, first_file_line);
        WorkDir dir(false);
        const QString path = dir.file("points." + suffix);
        const QStringList points{"P1,K1,100.5,200.25,5", "点2,,-3,4,0", "P3,树,1e3,x,"};
        FileOperation files;
        QVERIFY(files.writefile_byextension(path, suffix, points, false));
        QCOMPARE(files.readfile(path).value(0), first_file_line);
        QCOMPARE(files.readfile_byextension(path, suffix), points);
        QVERIFY(files.last_read_ok);
        // Written in the program's encoding: GBK.
        QVERIFY(dir.read("points." + suffix).contains(QTextCodec::codecForName("GBK")->fromUnicode("点2")));
    }

    void raw_suffixes_pass_every_line()
    {
        WorkDir dir(false);
        dir.write("obs.txt", "STN,S1,,,,,1,2,3,\n\nshort\n");
        FileOperation files;
        QCOMPARE(files.readfile_byextension(dir.file("obs.txt"), "txt"),
                 (QStringList{"STN,S1,,,,,1,2,3,", "", "short"}));
    }

    void unknown_suffix_reads_and_writes_nothing()
    {
        WorkDir dir(false);
        dir.write("p.xyz", "P1,K,1,2,3\n");
        FileOperation files;
        QCOMPARE(files.readfile_byextension(dir.file("p.xyz"), "xyz"), QStringList());
        QVERIFY(files.last_read_ok);
        QVERIFY(!files.writefile_byextension(dir.file("q.xyz"), "xyz", {"P1,K,1,2,3"}, false));
        QVERIFY(files.last_error.contains("xyz"));
        QVERIFY(!QFile::exists(dir.file("q.xyz")));
    }

    void unreadable_file_is_told()
    {
        FileOperation files;
        for (const char* suffix : {"txt", "gdat", "dxf", "xyz"}) {
            files.last_read_ok = true;
            QCOMPARE(files.readfile_byextension(QString("/nonexistent/p.") + suffix, suffix), QStringList());
            QVERIFY2(!files.last_read_ok, suffix);
            QVERIFY(!files.last_error.isEmpty());
        }
    }

    void writes_replace_append_and_fail()
    {
        WorkDir dir(false);
        const QString path = dir.file("p.ndad");
        FileOperation files;
        QVERIFY(files.writefile(path, {"a", "b"}, false));
        QVERIFY(files.writefile(path, {"c"}, true));
        QCOMPARE(files.readfile(path), (QStringList{"a", "b", "c"}));
        QVERIFY(files.writefile(path, {"d"}, false));
        QCOMPARE(files.readfile(path), QStringList{"d"});
        // No lines: the file is not touched, nor created.
        QVERIFY(files.writefile_byextension(path, "ndad", {}, false));
        QCOMPARE(files.readfile(path), QStringList{"d"});
        QVERIFY(files.writefile_byextension(dir.file("none.gdat"), "gdat", {"too,short"}, false));
        QVERIFY(!QFile::exists(dir.file("none.gdat")));
        // A write that cannot happen says so and why.
        QVERIFY(!files.writefile_byextension(dir.file("missing/p.gdat"), "gdat", {"P,K,1,2,3"}, false));
        QVERIFY(!files.last_error.isEmpty());
        QVERIFY(!files.writefile(dir.file("missing/p.txt"), {"x"}, true));
    }

    void binary_and_long_lines_do_not_break_reading()
    {
        WorkDir dir(false);
        QByteArray binary;
        for (int i = 0; i < 70000; ++i)
            binary.append(char((i * 7919) % 256));
        binary.append(QByteArray(300000, 'x')).append(",a,b,c,d\n");
        dir.write("junk.pts", binary);
        FileOperation files;
        const QStringList points = files.readfile_byextension(dir.file("junk.pts"), "pts");
        QVERIFY(files.last_read_ok);
        for (const QString& point : points)
            QVERIFY(LineFields(point, 6).count() == 5);
    }
};

KT_CORE_TEST_MAIN(TestPointFormats)
#include "tst_pointformats.moc"
