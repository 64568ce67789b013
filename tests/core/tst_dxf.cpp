// The DXF drawing writer line by line, the DXF point reader on our own drawings, on hand-made and
// broken ones and on drawings ezdxf writes, and ezdxf's verdict on ours.
#include "data/fileoperation.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QProcess>
#include <QTextCodec>

namespace
{

QStringList header(const QString& xmin, const QString& ymin, const QString& zmin, const QString& xmax,
                   const QString& ymax, const QString& zmax)
{
    return {"  0", "SECTION", "  2", "HEADER", "  9", "$DWGCODEPAGE", "  3", "ANSI_936", "  9", "$EXTMIN",
            " 10", xmin,      " 20", ymin,     " 30", zmin,           "  9", "$EXTMAX",  " 10", xmax,
            " 20", ymax,      " 30", zmax,     "  9", "$LIMMIN",      " 10", xmin,       " 20", ymin,
            "  9", "$LIMMAX", " 10", xmax,     " 20", ymax,           "  0", "ENDSEC"};
}

QStringList tables_and_blocks()
{
    QStringList lines{"  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2", "LAYER", " 70", "  4"};
    for (const auto& layer :
         {qMakePair(QString("Point"), QString("  7")), qMakePair(QString("PointNumber"), QString("  3")),
          qMakePair(QString("Level"), QString("  3")), qMakePair(QString("Code"), QString("  4"))})
        lines << "  0"
              << "LAYER"
              << "  2" << layer.first << " 70"
              << " 64"
              << " 62" << layer.second << "  6"
              << "CONTINUOUS";
    lines << "  0"
          << "ENDTAB"
          << "  0"
          << "ENDSEC";
    lines << "  0"
          << "SECTION"
          << "  2"
          << "BLOCKS"
          << "  0"
          << "ENDSEC";
    return lines;
}

QStringList point_entities(const QString& x, const QString& y, const QString& z, const QString& number)
{
    return {"  0",         "POINT", "  8", "Point", " 10", x,     " 20", y,     " 30", z,      "  0",  "TEXT", "  8",
            "PointNumber", " 10",   x,     " 20",   y,     " 30", z,     " 40", "  0", "  1",  number, "  0",  "TEXT",
            "  8",         "Level", " 10", x,       " 20", y,     " 30", "  0", " 40", " 0.1", "  1",  z};
}

// A point without a height: the point at Z 0 with its number, and no height label.
QStringList flat_point_entities(const QString& x, const QString& y, const QString& number)
{
    return point_entities(x, y, "0.000", number).mid(0, 24);
}

QStringList entities(const QStringList& points)
{
    return QStringList{"  0", "SECTION", "  2", "ENTITIES"} + points + QStringList{"  0", "ENDSEC", "  0", "EOF"};
}

// A drawing of one point named by `name` (bytes as they stand), with a header holding `version` and
// `code_page` when they are not empty (no header at all when both are).
QByteArray named_point(const QByteArray& version, const QByteArray& code_page, const QByteArray& name)
{
    QByteArray bytes;
    if (!version.isEmpty() || !code_page.isEmpty()) {
        bytes += "999\nwritten by hand\n  0\nSECTION\n  2\nHEADER\n";
        if (!version.isEmpty())
            bytes += "  9\n$ACADVER\n  1\n" + version + "\n";
        if (!code_page.isEmpty())
            bytes += "  9\n$DWGCODEPAGE\n  3\n" + code_page + "\n";
        bytes += "  0\nENDSEC\n";
    }
    return bytes +
           "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\nPoint\n 10\n1\n 20\n2\n 30\n3\n  0\nTEXT\n"
           "  8\nPointNumber\n  1\n" +
           name + "\n  0\nENDSEC\n  0\nEOF\n";
}

QByteArray encoded(const char* codec, const QString& text)
{
    return QTextCodec::codecForName(codec)->fromUnicode(text);
}

// Runs a Python script with the Debian interpreter that has ezdxf; its standard output.
QString python(const QString& script, const QStringList& args)
{
    QProcess process;
    process.start(KT_PYTHON, QStringList{"-c", script} + args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning().noquote() << process.readAllStandardError();
        return QString("python failed");
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class TestDxf : public QObject
{
    Q_OBJECT

private slots:
    void drawing_text_line_by_line()
    {
        FileOperation files;
        // Names stand as they are, trimmed; a short line is not drawn, nor one whose N or E is not a
        // number (never at 0); a Z that is no number gives no height label.
        const QStringList lines = files.getsaveCADdata(
            {"12,K1,100,200,5", "too,short", " P 7 ,K2,1234.5678,-5,x", ",,1,2,3", "N,,1e400,5,1", "E,,5,,1"});
        const QStringList expected =
            header("-5.000", "1.000", "0.000", "200.000", "1234.568", "5.000") + tables_and_blocks() +
            entities(point_entities("200.000", "100.000", "5.000", "12") +
                     flat_point_entities("-5.000", "1234.568", "P 7") + point_entities("2.000", "1.000", "3.000", ""));
        QCOMPARE(lines, expected);
    }

    void extents_data()
    {
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<QStringList>("extents"); // xmin ymin zmin xmax ymax zmax

        QTest::newRow("no points") << QStringList()
                                   << QStringList{"0.000", "0.000", "0.000", "0.000", "0.000", "0.000"};
        QTest::newRow("one point is both ends")
            << QStringList{"A,,10.0004,20.0006,-3"}
            << QStringList{"20.001", "10.000", "-3.000", "20.001", "10.000", "-3.000"};
        QTest::newRow("short lines are not drawn") << QStringList{"A,,1,2", "B,,5,6,7", "C,,8"}
                                                   << QStringList{"6.000", "5.000", "7.000", "6.000", "5.000", "7.000"};
        // Points whose N or E is not a number are not drawn, so they widen nothing.
        QTest::newRow("not numbers left out, spaces ignored")
            << QStringList{"A,, 1.5 ,abc,-2", "B,,nan,inf,1", "C,,3, 4 ,x"}
            << QStringList{"4.000", "3.000", "0.000", "4.000", "3.000", "0.000"};
    }

    void extents()
    {
        QFETCH(QStringList, points);
        QFETCH(QStringList, extents);
        FileOperation files;
        const QStringList lines = files.getsaveCADdata_HEAD(points, {});
        QCOMPARE(lines, header(extents[0], extents[1], extents[2], extents[3], extents[4], extents[5]));
    }

    void sections_of_an_empty_drawing()
    {
        FileOperation files;
        QCOMPARE(files.getsaveCADdata({}),
                 header("0.000", "0.000", "0.000", "0.000", "0.000", "0.000") + tables_and_blocks() + entities({}));
    }

    void own_drawing_reads_back()
    {
        WorkDir dir(false);
        FileOperation files;
        QVERIFY(files.writefile_byextension(dir.file("p.dxf"), "dxf",
                                            {"12,K1,100,200,5", "点7,K,1,2,3", "short,1", ",K,4,5,6"}, false));
        QCOMPARE(files.readfile_byextension(dir.file("p.dxf"), "dxf"),
                 (QStringList{"12,,100.000,200.000,5.000", "点7,,1.000,2.000,3.000", ",,4.000,5.000,6.000"}));
        // Named by their point-number texts, an empty one too: nothing is looked for at their positions.
        QCOMPARE(files.last_read.dxf_named_by_texts + files.last_read.dxf_unnamed, qint64(0));
        QVERIFY(files.dxfin == nullptr);
    }

    void reader_data()
    {
        QTest::addColumn<QByteArray>("drawing");
        QTest::addColumn<QStringList>("points");

        QTest::newRow("codes without spaces")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n1.5\n20\n2.5\n30\n3.5\n"
                          "0\nTEXT\n8\nPointNumber\n1\nA1\n0\nENDSEC\n0\nEOF\n")
            << QStringList{"A1,,2.5,1.5,3.5"};
        QTest::newRow("values as they stand, trimmed")
            << QByteArray("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nPOINT\r\n  8\r\nPoint\r\n 10\r\n 1e3 \r\n"
                          " 20\r\n-0\r\n 30\r\nabc\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n")
            << QStringList{",,-0,1e3,abc"};
        QTest::newRow("only the first entities section")
            << QByteArray("0\nSECTION\n2\nHEADER\n0\nPOINT\n8\nPoint\n10\n9\n0\nENDSEC\n"
                          "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n1\n0\nENDSEC\n"
                          "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n2\n0\nENDSEC\n0\nEOF\n")
            << QStringList{",,,1,"};
        QTest::newRow("a point on another layer than Point keeps its coordinates")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\n0\n10\n1\n20\n2\n0\nPOINT\n8\nPoint\n20\n5\n"
                          "0\nENDSEC\n0\nEOF\n")
            << QStringList{",,2,1,", ",,5,,"};
        QTest::newRow("POINT inside the coordinates starts the next point")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n1\n99\nPOINT\n8\nPoint\n10\n2\n"
                          "0\nENDSEC\n0\nEOF\n")
            << QStringList{",,,1,", ",,,2,"};
        QTest::newRow("the last point number wins, later codes replace earlier")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n1\n10\n4\n0\nTEXT\n8\nPointNumber\n"
                          "1\nfirst\n0\nTEXT\n8\nLevel\n1\n9.9\n0\nTEXT\n8\nPointNumber\n1\nsecond\n0\nLINE\n"
                          "8\n0\n0\nENDSEC\n0\nEOF\n")
            << QStringList{"second,,,4,"};
        QTest::newRow("cut short inside a point: the point is kept")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n1\n20\n2\n30\n3\n")
            << QStringList{",,2,1,"};
        QTest::newRow("cut short after the group code")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n1\n20") << QStringList{",,,1,"};
        QTest::newRow("no entities section")
            << QByteArray("0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nEOF\n") << QStringList();
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("CR line ends") << QByteArray(
                                             "0\rSECTION\r2\rENTITIES\r0\rPOINT\r8\rPoint\r10\r1.5\r20\r2.5\r0\rEOF\r")
                                      << QStringList{",,2.5,1.5,"};
        QTest::newRow("layer names are case-sensitive")
            << QByteArray("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPOINTNUMBER\n1\nx\n8\npoint\n10\n1\n0\nEOF\n")
            << QStringList{",,,1,"};
    }

    void reader()
    {
        QFETCH(QByteArray, drawing);
        QFETCH(QStringList, points);
        WorkDir dir(false);
        dir.write("d.dxf", drawing);
        FileOperation files;
        QCOMPARE(files.readDXFfile(dir.file("d.dxf")), points);
        QVERIFY(files.last_read_ok);
    }

    void reads_the_encoding_the_drawing_names_data()
    {
        QTest::addColumn<QByteArray>("drawing");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("encoding");
        const QString cedian = QString::fromUtf8("测点1");
        QTest::newRow("no header, GBK") << named_point("", "", encoded("GBK", cedian)) << cedian << "GBK";
        QTest::newRow("no header, UTF-8") << named_point("", "", cedian.toUtf8()) << cedian << "UTF-8";
        QTest::newRow("ANSI_936") << named_point("AC1015", "ANSI_936", encoded("GBK", cedian)) << cedian << "GBK";
        QTest::newRow("ANSI_936, bytes valid UTF-8 too")
            << named_point("AC1015", "ANSI_936", "\xC3\xA9") << QTextCodec::codecForName("GBK")->toUnicode("\xC3\xA9")
            << "GBK";
        QTest::newRow("AC1021 is UTF-8 whatever the page")
            << named_point("AC1021", "ANSI_1252", cedian.toUtf8()) << cedian << "UTF-8";
        QTest::newRow("AC1032 is UTF-8") << named_point("AC1032", "", cedian.toUtf8()) << cedian << "UTF-8";
        const QString cafe = QString::fromUtf8("Café,ß");
        QTest::newRow("ANSI_1252") << named_point("AC1015", "ANSI_1252", encoded("windows-1252", cafe))
                                   << QString::fromUtf8("Café;ß") << "windows-1252";
        const QString tochka = QString::fromUtf8("Точка");
        QTest::newRow("ANSI_1251") << named_point("AC1009", "ANSI_1251", encoded("windows-1251", tochka)) << tochka
                                   << "windows-1251";
        const QString greek = QString::fromUtf8("Σημείο");
        QTest::newRow("ANSI_1253") << named_point("AC1015", "ansi_1253", encoded("windows-1253", greek)) << greek
                                   << "windows-1253";
        const QString japanese = QString::fromUtf8("測点");
        QTest::newRow("ANSI_932") << named_point("AC1015", "ANSI_932", encoded("Shift_JIS", japanese)) << japanese
                                  << "Shift_JIS";
        const QString big5 = QString::fromUtf8("測點");
        QTest::newRow("ANSI_950") << named_point("AC1018", "ANSI_950", encoded("Big5", big5)) << big5 << "Big5";
        const QString korean = QString::fromUtf8("측점");
        QTest::newRow("ANSI_949") << named_point("AC1015", "ANSI_949", encoded("windows-949", korean)) << korean
                                  << "windows-949";
        QTest::newRow("characters escaped in a code page")
            << named_point("AC1009", "ANSI_1252", "\\U+6d4b\\U+70B91\\U+0001f600x\\U+D83D\\U+DE00\\U+zz")
            << QString::fromUtf8("测点1\xF0\x9F\x98\x80x\xF0\x9F\x98\x80\\U+zz") << "ASCII"; // nothing above 0x7F
        QTest::newRow("a byte order mark beats the page")
            << "\xEF\xBB\xBF" + named_point("AC1015", "ANSI_936", cedian.toUtf8()) << cedian << "UTF-8";
        QTest::newRow("a page nobody knows: the bytes decide")
            << named_point("AC1015", "ANSI_99999", cedian.toUtf8()) << cedian << "UTF-8";
    }

    void reads_the_encoding_the_drawing_names()
    {
        QFETCH(QByteArray, drawing);
        QFETCH(QString, name);
        QFETCH(QString, encoding);
        WorkDir dir(false);
        dir.write("d.dxf", drawing);
        FileOperation files;
        QCOMPARE(files.readDXFfile(dir.file("d.dxf")), QStringList{name + ",,2,1,3"});
        QCOMPARE(files.last_read.encoding_name, encoding);
        QCOMPARE(files.last_read.undecodable_bytes, qint64(0));
        QCOMPARE(files.last_read.commas_replaced, qint64(name.count(';')));
    }

    // A comma would split the point line: in a name or a coordinate it becomes ";", counted.
    void commas_in_values_are_replaced()
    {
        WorkDir dir(false);
        dir.write("d.dxf", "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n10\n1,5\n20\n2\n0\nTEXT\n8\n"
                           "PointNumber\n1\nA,B,C\n0\nPOINT\n8\nPoint\n10\n7\n0\nEOF\n");
        FileOperation files;
        QCOMPARE(files.readfile_byextension(dir.file("d.dxf"), "dxf"), (QStringList{"A;B;C,,2,1;5,", ",,,7,"}));
        QCOMPARE(files.last_read.commas_replaced, qint64(3));
        QCOMPARE(FileOperation::kDxfCommaStandIn, ';');
    }

    void a_line_too_long_refuses_the_drawing()
    {
        WorkDir dir(false);
        dir.write("d.dxf", named_point("", "", QByteArray(TextFileReader::kLongestLine + 1, 'x')));
        FileOperation files;
        QVERIFY(files.readDXFfile(dir.file("d.dxf")).isEmpty());
        QVERIFY(!files.last_read_ok);
        QCOMPARE(files.last_error, QString("line 20 is longer than 1048576 bytes"));
    }

    void binary_junk_reads_without_harm()
    {
        WorkDir dir(false);
        QByteArray junk("0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nPoint\n");
        for (int i = 0; i < 200000; ++i)
            junk.append(char((i * 2654435761u) >> 24));
        dir.write("junk.dxf", junk);
        FileOperation files;
        const QStringList points = files.readDXFfile(dir.file("junk.dxf"));
        QVERIFY(!points.isEmpty());
        QVERIFY(files.readDXFfile(dir.file("absent.dxf")).isEmpty());
        QVERIFY(!files.last_read_ok);
    }

    // ezdxf opens our drawing without audit errors and finds every point, number and height.
    void ezdxf_reads_our_drawing()
    {
        WorkDir dir(false);
        FileOperation files;
        QVERIFY(files.writefile_byextension(dir.file("ours.dxf"), "dxf",
                                            {"12,K1,100,200,5", "测站7,K,1234.5678,-5.25,0.1", "P9,,x,1,2"}, false));
        const QString script = R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
audit = doc.audit()
print("errors", len(audit.errors), doc.encoding)
for e in doc.modelspace():
    if e.dxftype() == "POINT":
        print("POINT", e.dxf.layer, "%.3f %.3f %.3f" % tuple(e.dxf.location))
    else:
        print("TEXT", e.dxf.layer, "%.3f %.3f %.3f" % tuple(e.dxf.insert), e.dxf.height, e.dxf.text)
)";
        const QStringList expected{
            "errors 0 gbk",
            "POINT Point 200.000 100.000 5.000",
            "TEXT PointNumber 200.000 100.000 5.000 0.0 12",
            "TEXT Level 200.000 100.000 0.000 0.1 5.000",
            "POINT Point -5.250 1234.568 0.100",
            "TEXT PointNumber -5.250 1234.568 0.100 0.0 测站7",
            "TEXT Level -5.250 1234.568 0.000 0.1 0.100",
        };
        QCOMPARE(python(script, {dir.file("ours.dxf")}).split('\n'), expected);
    }

    // Drawings another program writes: ezdxf in the old and the newer DXF versions.
    void reads_drawings_ezdxf_writes_data()
    {
        QTest::addColumn<QString>("version");
        QTest::newRow("R12") << "R12";
        QTest::newRow("R2000") << "R2000";
        QTest::newRow("R2010") << "R2010";
    }

    void reads_drawings_ezdxf_writes()
    {
        QFETCH(QString, version);
        WorkDir dir(false);
        const QString script = R"(
import sys, ezdxf
doc = ezdxf.new(sys.argv[2])
for name in ("Point", "PointNumber", "Level"):
    doc.layers.add(name)
msp = doc.modelspace()
msp.add_line((0, 0), (5, 5))
for name, x, y, z in (("A1", 10.5, 20.25, 3.0), ("B2", -1.0, 0.0, 99.125)):
    msp.add_point((x, y, z), dxfattribs={"layer": "Point"})
    msp.add_text(name, dxfattribs={"layer": "PointNumber", "insert": (x, y, z), "height": 0.0})
    msp.add_text("%.3f" % z, dxfattribs={"layer": "Level", "insert": (x, y, 0), "height": 0.1})
msp.add_circle((1, 1), 2)
doc.saveas(sys.argv[1])
print("ok")
)";
        QCOMPARE(python(script, {dir.file("theirs.dxf"), version}), QString("ok"));
        FileOperation files;
        const QStringList points = files.readfile_byextension(dir.file("theirs.dxf"), "dxf");
        QCOMPARE(points.size(), 2);
        const auto fields = [](const QString& line) {
            const QStringList f = line.split(',');
            return QStringList{f[0], f[1], QString::number(f[2].toDouble()), QString::number(f[3].toDouble()),
                               QString::number(f[4].toDouble())};
        };
        QCOMPARE(fields(points[0]), (QStringList{"A1", "", "20.25", "10.5", "3"}));
        QCOMPARE(fields(points[1]), (QStringList{"B2", "", "0", "-1", "99.125"}));
    }

    // Drawings of other CAD programs: points on their own layers, names as texts or as attributes of
    // blocks at the points' positions, heights as texts there too, written after or before the points.
    void reads_points_other_programs_write_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("names"); // how the drawing names its points
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<QString>("layers"); // of the names found
        QTest::addColumn<int>("unnamed");
        const QStringList named{"101,,20.25,10.5,12.5", "K;2,,0,-1,99.125", "P3,,7,3,0"};
        for (const char* version : {"R12", "R2000"}) {
            QTest::addRow("%s, TEXT on NAMES", version) << version << "texts" << named << "NAMES" << 0;
            QTest::addRow("%s, ATTRIB in INSERT", version) << version << "attributes" << named << "0" << 0;
        }
        QTest::newRow("no texts at the points")
            << "R2000"
            << "none" << QStringList{",,20.25,10.5,12.5", ",,0,-1,99.125", ",,7,3,0"} << "" << 3;
    }

    void reads_points_other_programs_write()
    {
        QFETCH(QString, version);
        QFETCH(QString, names);
        QFETCH(QStringList, points);
        QFETCH(QString, layers);
        QFETCH(int, unnamed);
        WorkDir dir(false);
        const QString script = R"(
import sys, ezdxf
from ezdxf.enums import TextEntityAlignment
doc = ezdxf.new(sys.argv[2])
msp = doc.modelspace()
block = doc.blocks.new("SURVEYPT")
block.add_circle((0, 0), 0.2)
block.add_attdef("H", (0.5, -0.5))
block.add_attdef("PT", (0.5, 0.5))
pts = (("101", 10.5, 20.25, 12.5, "0"), ("K,2", -1.0, 0.0, 99.125, "TOPO"), ("P3", 3.0, 7.0, 0.0, "TOPO"))
for name, x, y, z, layer in pts:
    msp.add_point((x, y, z), dxfattribs={"layer": layer})
for name, x, y, z, layer in pts:
    if sys.argv[3] == "texts":
        msp.add_text("%.3f" % z, dxfattribs={"layer": "HEIGHTS", "insert": (x, y)})
        text = msp.add_text(name, dxfattribs={"layer": "NAMES", "height": 0.5})
        text.set_placement((x, y), align=TextEntityAlignment.MIDDLE_CENTER if name == "P3" else None)
    elif sys.argv[3] == "attributes":
        msp.add_blockref("SURVEYPT", (x, y, z), dxfattribs={"layer": "PTS"}).add_auto_attribs({"H": "%.3f" % z, "PT": name})
doc.saveas(sys.argv[1])
print("ok")
)";
        QCOMPARE(python(script, {dir.file("theirs.dxf"), version, names}), QString("ok"));
        FileOperation files;
        QStringList read;
        for (const QString& line : files.readfile_byextension(dir.file("theirs.dxf"), "dxf")) {
            QStringList f = line.split(',');
            for (int i = 2; i < 5; ++i)
                f[i] = QString::number(f[i].toDouble());
            read << f.join(',');
        }
        QCOMPARE(read, points);
        QCOMPARE(files.last_read.dxf_name_layers, layers);
        QCOMPARE(files.last_read.dxf_named_by_texts, qint64(layers.isEmpty() ? 0 : points.size()));
        QCOMPARE(files.last_read.dxf_unnamed, qint64(unnamed));
    }

    // Names beyond ASCII as ezdxf writes them: escaped in the old versions' code page, UTF-8 from
    // AC1021 on; a comma in a name replaced.
    void reads_names_ezdxf_writes_data() { reads_drawings_ezdxf_writes_data(); }

    void reads_names_ezdxf_writes()
    {
        QFETCH(QString, version);
        WorkDir dir(false);
        const QString script = R"(
import sys, ezdxf
doc = ezdxf.new(sys.argv[2])
msp = doc.modelspace()
for name, x in (("\u6d4b\u70b91", 1.0), ("A,\u5899\u89d2", 2.0), ("Caf\u00e9 \U0001F600", 3.0)):
    msp.add_point((x, 5.0, 6.0), dxfattribs={"layer": "Point"})
    msp.add_text(name, dxfattribs={"layer": "PointNumber", "insert": (x, 5.0, 6.0)})
doc.saveas(sys.argv[1])
print("ok")
)";
        QCOMPARE(python(script, {dir.file("theirs.dxf"), version}), QString("ok"));
        FileOperation files;
        QStringList names;
        for (const QString& line : files.readfile_byextension(dir.file("theirs.dxf"), "dxf"))
            names << line.split(',').value(0);
        QCOMPARE(names, (QStringList{QString::fromUtf8("测点1"), QString::fromUtf8("A;墙角"),
                                     QString::fromUtf8("Café \xF0\x9F\x98\x80")}));
        QCOMPARE(files.last_read.commas_replaced, qint64(1));
        QCOMPARE(files.last_read.undecodable_bytes, qint64(0));
    }
};

KT_CORE_TEST_MAIN(TestDxf)
#include "tst_dxf.moc"
