// The ktconvert program: every format into every other, its usage and exit codes, and an output
// that cannot be written completely leaving the old file in place.
#include "data/fileoperation.h"
#include "support/core/geotest.h"
#include "support/core/ktconvertrun.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextCodec>

namespace
{

const char* const kSuffixes[] = {"ndad", "txt", "csv", "edad", "ndat", "gdat", "svf", "pts", "dxf"};

// The bytes of `text` in `codec`, without a byte order mark.
QByteArray encoded(const char* codec, const QString& text)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return QTextCodec::codecForName(codec)->fromUnicode(text.constData(), text.size(), &state);
}

const QString kExample = QString::fromUtf8("测点1,树,100.5,200.25,3.5\nP2,墙角,1,2,3\n");
// Points of EPSG:4547 (CGCS2000, 3-degree zone at 114°E), N before E.
const QString kProjected = QString::fromUtf8("测点1,树,3380000.5,500200.25,3.5\nP2,K,3380010,500210,3\n");

// A workbook of the rows of argv[2] (a JSON list of lists) made with openpyxl; or of an object:
// "rows" after a hidden sheet of "hidden" rows, "formats" giving cells their number formats.
const char* const kMakeWorkbook = R"(
import json, sys
from openpyxl import Workbook
book = Workbook()
made = json.loads(sys.argv[2])
if isinstance(made, list):
    made = {"rows": made}
sheet = book.active
if "hidden" in made:
    sheet.title, sheet.sheet_state = "old", "hidden"
    for row in made["hidden"]:
        sheet.append(row)
    sheet = book.create_sheet("points")
    book.active = 1
for row in made["rows"]:
    sheet.append(row)
for cell, code in made.get("formats", {}).items():
    sheet[cell].number_format = code
book.save(sys.argv[1])
)";
// A point of Paris in GeoJSON: far outside the area of EPSG:4547 (China, 112.5 to 115.5 degrees east).
const QString kParis = "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":"
                       "{\"name\":\"Paris\"},\"geometry\":{\"type\":\"Point\",\"coordinates\":[2.35,48.85]}}]}";
const QString kInsideAndOut = "A,,3380000,500000,1\nB,,100,9000000,2\n";
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
            << "ktconvert: %1: 1 commas in values replaced by \";\"\nktconvert: %1: 1 points without a name: no "
               "point-number text and no text at their position\n" +
                   read_two
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
        QTest::newRow("a system without its value") << QStringList{"a.txt", "b.kml", "--crs"} << 2;
        QTest::newRow("a system twice") << QStringList{"--crs", "EPSG:4547", "--crs", "EPSG:4547", "a.txt", "b.kml"}
                                        << 2;
        QTest::newRow("columns without files") << QStringList{"--columns", "A,B,C,D,E"} << 2;
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
        QTest::newRow("unknown input suffix") << "in.xyz" << point << "out.txt"
                                              << "ktconvert: cannot read %1: no file format has the suffix \"xyz\"";
        QTest::newRow("no input suffix") << "in" << point << "out.txt"
                                         << "ktconvert: cannot read %1: no file format has the suffix \"\"";
        QTest::newRow("unknown output suffix") << "in.txt" << point << "out.xyz"
                                               << "ktconvert: cannot write %2: no file format has the suffix \"xyz\"";
        QTest::newRow("empty input") << "in.txt" << QByteArray("") << "out.dxf"
                                     << "ktconvert: no point read from %1; %2 not written";
        QTest::newRow("lines too short for the format")
            << "in.gdat" << QByteArray("1,P1,1,2,3\n\n") << "out.txt"
            << "ktconvert: %1: 1 lines skipped: fewer than 6 fields\nktconvert: no point read from %1; %2 not written";
        QTest::newRow("drawing without points")
            << "in.dxf" << QByteArray("0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n") << "out.pts"
            << "ktconvert: no point read from %1; %2 not written";
        QTest::newRow("a line too long") << "in.txt"
                                         << "P1,K,1,2,3\n" + QByteArray(1 << 21, 'x') << "out.dxf"
                                         << "ktconvert: cannot read %1: line 2 is longer than 1048576 bytes";
        // GDAL's failed statement named, not quoted (5,779 characters of SQL).
        QTest::newRow("a GeoPackage name too long for its journal")
            << "in.txt" << point << QString(250, 'a') + ".gpkg"
            << "ktconvert: cannot write %2: sqlite3_exec failed: unable to open database file; no file was made";
        QTest::newRow("output folder missing") << "in.txt" << point << "no/out.txt"
                                               << "ktconvert: cannot write %2: No such file or directory; no file "
                                                  "was made";
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

    // Suffixes in any letter case; Chinese folder and file names as the system names them (UTF-8), not
    // through GBK.
    void suffixes_and_chinese_names_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("upper-case suffixes") << "POINTS.TXT"
                                             << "OUT.GDAT";
        QTest::newRow("Chinese folder and names")
            << QString::fromUtf8("测量/坐标.gdat") << QString::fromUtf8("输出.txt");
        QTest::newRow("spaces too") << QString::fromUtf8("测量 数据/坐标 点.Gdat")
                                    << QString::fromUtf8("成果 表/输出 点.PTS");
    }

    void suffixes_and_chinese_names()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        WorkDir dir(false);
        FileOperation files;
        QDir().mkpath(QFileInfo(dir.file(input)).path());
        QDir().mkpath(QFileInfo(dir.file(output)).path());
        QVERIFY(files.writefile_byextension(dir.file(input), QFileInfo(input).suffix(), kExample.trimmed().split('\n'),
                                            false));
        // Relative names, as typed in a terminal in the folder.
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QString(KT_RUN_DIR) + "/ktconvert", {input, output});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 QString("ktconvert: read 2 points from %1, wrote 2 points to %2\n").arg(input, output));
        // What ls shows: the names' UTF-8 bytes.
        const QFileInfo written(dir.file(output));
        QVERIFY(QDir(written.path()).entryList(QDir::Files).contains(written.fileName()));
        QCOMPARE(QFile::encodeName(dir.file(output)), dir.file(output).toUtf8());
        QCOMPARE(files.readfile_byextension(dir.file(output), written.suffix()), kExample.trimmed().split('\n'));
    }

    // GIS and LandXML files as GDAL's Python reader, pyproj and xmllint find them.
    void geo_outputs_data()
    {
        QTest::addColumn<QString>("output");
        for (const char* output : {"out.gpkg", "out.shp", "out.geojson", "out.kml", "out.xml"})
            QTest::newRow(output) << output;
    }

    void geo_outputs()
    {
        QFETCH(QString, output);
        WorkDir dir(false);
        dir.write("points.txt", kProjected.toUtf8());
        const Run run = ktconvert({"--crs", "EPSG:4547", dir.file("points.txt"), dir.file(output)});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err,
                 QString("ktconvert: %1 read as UTF-8\nktconvert: read 2 points from %1, wrote 2 points to %2\n")
                     .arg(dir.file("points.txt"), dir.file(output)));
        if (output.endsWith(".xml")) {
            QVERIFY(!run_judge("xmllint",
                               {"--noout", "--schema", QString(KT_SOURCE_DIR) + "/tests/data/standards/LandXML-1.2.xsd",
                                dir.file(output)})
                         .isNull());
            const QString xml = QString::fromUtf8(dir.read(output));
            QVERIFY(xml.contains(
                QString::fromUtf8("<CgPoint name=\"测点1\" code=\"树\">3380000.5 500200.25 3.5</CgPoint>")));
            QVERIFY(xml.contains("epsgCode=\"4547\""));
            return;
        }
        const QJsonObject layer = judge_gis_layer(dir.file(output), kProjected.trimmed().split('\n'), "EPSG:4547");
        const bool wgs84 = output.endsWith("kml") || output.endsWith("geojson");
        // WGS 84, with heights for GeoJSON (EPSG:4979).
        QVERIFY(
            QStringList(wgs84 ? QStringList{"4326", "4979"} : QStringList{"4547"}).contains(layer["epsg"].toString()));
        const QJsonArray features = layer["features"].toArray();
        QCOMPARE(features.size(), 2);
        QCOMPARE(features[0].toObject()["attributes"].toObject()["name"].toString(), QString::fromUtf8("测点1"));
        for (int i = 0; i < 2; ++i) {
            const QJsonArray at = features[i].toObject()["point"].toArray();
            const QJsonArray expected = wgs84 ? layer["expected"].toArray()[i].toArray()
                                              : QJsonArray{i ? 500210 : 500200.25, i ? 3380010 : 3380000.5};
            // Where PROJ puts each point, to a millionth of a millimetre's worth of degrees.
            QVERIFY(qAbs(at[0].toDouble() - expected[0].toDouble()) < 1e-9);
            QVERIFY(qAbs(at[1].toDouble() - expected[1].toDouble()) < 1e-9);
        }
    }

    // %1 the input, %2 the output. `make`: the input's content, or "workbook:" and its rows as JSON.
    void geo_refusals_and_counts_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("make");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("written"); // the output as point lines, one a line

        const QString read_two = "ktconvert: read 2 points from %1, wrote 2 points to %2\n";
        QTest::newRow("GeoJSON needs a system") << QStringList{} << "p.txt" << kProjected << "out.geojson" << 1
                                                << "ktconvert: cannot write %2: GeoJSON "
                                                   "and KML hold WGS 84 longitude and latitude: give the points' "
                                                   "system with --crs\n"
                                                << QString();
        QTest::newRow("an unknown system") << QStringList{"--crs", "EPSG:999999"} << "p.txt" << kProjected << "out.kml"
                                           << 1 << "ktconvert: unknown coordinate system \"EPSG:999999\"\n"
                                           << QString();
        QTest::newRow("a GeoPackage without a system")
            << QStringList{} << "p.txt" << kProjected << "out.gpkg" << 0
            << "ktconvert: %1 read as UTF-8\nktconvert: %2: written without a coordinate system (no --crs given)\n" +
                   read_two
            << QString();
        QTest::newRow("outside the area of use")
            << QStringList{"--crs", "EPSG:4547"} << "p.ndad"
            << "A,,3380000,500000,\nB,,100,9000000,\n"
            << "out.gpkg" << 0 << "ktconvert: %2: 1 points lie outside the area of use of EPSG:4547\n" + read_two
            << QString();
        // Every output gets the warning when a system is chosen, the text formats and the drawing too.
        const QString outside = "ktconvert: %2: 1 points lie outside the area of use of EPSG:4547\n";
        for (const char* text : {"out.txt", "out.pts", "out.dxf"}) {
            QTest::newRow(qPrintable(QString("outside the area of use, %1").arg(text)))
                << QStringList{"--crs", "EPSG:4547"} << "p.ndad" << kInsideAndOut << text << 0 << outside + read_two
                << (QString(text) == "out.txt" ? "A,,3380000,500000,1\nB,,100,9000000,2" : QString());
        }
        QTest::newRow("inside the area of use, no system chosen")
            << QStringList{} << "p.ndad" << kInsideAndOut << "out.txt" << 0 << read_two << QString();
        QTest::newRow("GeoJSON of Paris into a Chinese system, as text")
            << QStringList{"--crs", "EPSG:4547"} << "paris.geojson" << kParis << "out.txt" << 0
            << "ktconvert: %1: points transformed from EPSG:4326 into EPSG:4547\n" + outside +
                   "ktconvert: read 1 points from %1, wrote 1 points to %2\n"
            << QString();
        QTest::newRow("LandXML that is not well-formed")
            << QStringList{} << "p.xml"
            << "<LandXML><CgPoints>"
            << "out.txt" << 1
            << "ktconvert: cannot read %1: not well-formed XML at line 1, column 19: Premature end of document.\n"
            << QString();
        QTest::newRow("a workbook's header names the columns")
            << QStringList{} << "w.xlsx"
            << QString::fromUtf8(
                   "workbook:[[\"点名\",\"编码\",\"N\",\"E\",\"Z\"],[\"A\",\"K\",1.5,2,3],[\"B\",\"\",4,5.25,6]]")
            << "out.txt" << 0 << read_two << "A,K,1.5,2,3\nB,,4,5.25,6";
        QTest::newRow("X and Y are never guessed")
            << QStringList{} << "w.xlsx"
            << "workbook:[[\"Name\",\"X\",\"Y\"],[\"A\",1,2],[\"B\",3,4]]"
            << "out.txt" << 1
            << "ktconvert: cannot read %1: no columns named N and E in the header row: give them with --columns "
               "name,code,N,E,Z\n"
            << QString();
        QTest::newRow("columns by header text") << QStringList{"--columns", "name,,x,y,"} << "w.xlsx"
                                                << "workbook:[[\"Name\",\"X\",\"Y\"],[\"A\",1,2],[\"B\",3,4]]"
                                                << "out.txt" << 0 << read_two << "A,,1,2,\nB,,3,4,";
        QTest::newRow("columns by letter, no header") << QStringList{"--columns", "A,,C,B,D"} << "w.ods"
                                                      << "workbook:[[\"A\",2,1,0.5],[\"B\",4,3,\"\"]]"
                                                      << "out.txt" << 0 << read_two << "A,,1,2,0.5\nB,,3,4,";
        QTest::newRow("a hidden sheet and heights shown as dates")
            << QStringList{} << "w.xlsx"
            << "workbook:{\"hidden\":[[\"old\",1,2]],\"rows\":[[\"Name\",\"N\",\"E\",\"Z\"],[\"A\",1.5,2,"
               "42.15],[\"B\",4,5.25,6]],\"formats\":{\"D2\":\"yyyy/mm/dd\",\"B3\":\"mm-dd-yy\",\"A2\":"
               "\"yyyy\"}}"
            << "out.txt" << 0
            << "ktconvert: %1: points read from layer \"points\", the first with points of 2 layers\n"
               "ktconvert: %1: 1 hidden sheets skipped (\"old\"): the first visible sheet was read\n"
               "ktconvert: %1: 2 coordinates or heights shown as dates in the workbook were read as their numbers\n" +
                   read_two
            << "A,,1.5,2,42.15\nB,,4,5.25,6";
        QTest::newRow("a column that is not there")
            << QStringList{"--columns", "name,,north,east,"} << "w.xlsx"
            << "workbook:[[\"Name\",\"X\",\"Y\"],[\"A\",1,2]]"
            << "out.txt" << 1
            << "ktconvert: cannot read %1: --columns: \"north\" names no column (five items: name,code,N,E,Z, each a "
               "header text or a letter)\n"
            << QString();
    }

    void geo_refusals_and_counts()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, input);
        QFETCH(QString, make);
        QFETCH(QString, output);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QString, written);
        WorkDir dir(false);
        if (make.startsWith("workbook:")) {
            // openpyxl writes xlsx; LibreOffice-style ods comes from GDAL's own driver.
            const QString book = input.endsWith(".ods") ? dir.file("made.xlsx") : dir.file(input);
            QVERIFY(!run_python(kMakeWorkbook, {book, make.mid(9)}).isNull());
            if (input.endsWith(".ods"))
                QVERIFY(!run_judge("ogr2ogr", {"-f", "ODS", dir.file(input), book}).isNull());
        } else {
            dir.write(input, make.toUtf8());
        }
        const Run run = ktconvert(options + QStringList{dir.file(input), dir.file(output)});
        QCOMPARE(run.err, QString(err).replace("%1", dir.file(input)).replace("%2", dir.file(output)));
        QCOMPARE(run.status, status);
        if (!written.isNull()) {
            FileOperation files;
            QCOMPARE(files.readfile(dir.file(output)), written.split('\n'));
        }
        if (status != 0)
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
        QCOMPARE(run.err,
                 "ktconvert: cannot write " + dir.file("out.dxf") + ": File too large; the file as it was is kept\n");
        QCOMPARE(dir.read("out.dxf"), QByteArray("old drawing\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"in.ndad", "out.dxf"}));
    }
};

KT_CORE_TEST_MAIN(TestKtconvert)
#include "tst_ktconvert.moc"
