// ktconvert --linework: coded points drawn with their lines, read back by ezdxf; what could not be
// joined told on standard error; a user's code list that is refused; outputs that are no drawing; a
// GeoPackage with its line and area layers read back by GDAL.
#include "support/core/geotest.h"
#include "support/core/ktest_core.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace
{

// One word per entity that shows linework: a polyline as LAYER:E,N,Z;...[:closed] (vertices in
// order; areas are LWPOLYLINEs), a symbol as BLOCK@LAYER, in the order of the file; then the number
// of points.
const char* const kDrawingJudge = R"py(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
seen, points = [], 0
for e in doc.modelspace():
    kind = e.dxftype()
    if kind in ("POLYLINE", "LWPOLYLINE"):
        where = e.points() if kind == "POLYLINE" else e.vertices_in_wcs()
        seen.append(e.dxf.layer + ":" + ";".join("%g,%g,%g" % tuple(v) for v in where)
                    + (":closed" if e.is_closed else ""))
    elif kind == "INSERT":
        seen.append(e.dxf.name + "@" + e.dxf.layer)
    points += kind == "POINT"
print(" ".join(seen + [str(points)]))
)py";

const char kWallAndLamp[] = "P1,WALL,0,0,1\nP2,WALL,10,0,2\nP3,WALL,10,10,3\nL1,LAMP,5,5,1\n";

} // namespace

class TestKtconvertLinework : public QObject
{
    Q_OBJECT

private slots:
    void linework_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("user_codes"); // the user's code list; empty: the shipped one
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("told"); // on standard error, each
        QTest::addColumn<QString>("drawing");  // as kDrawingJudge sees it, less the count

        const QStringList wall_told{"wrote 4 points, 1 lines and 0 areas to"};
        QTest::newRow("walls and a lamp") << QStringList{"--linework"} << "out.dxf" << QByteArray(kWallAndLamp)
                                          << QByteArray() << 0 << wall_told << "LAMP@LAMP WALL:0,0,1;0,10,2;10,10,3";
        QTest::newRow("upper-case suffix, a house")
            << QStringList{"--linework"} << "OUT.DXF"
            << QByteArray("H1,HOUSE,0,0,1\nH2,HOUSE,5,0,1\nH3,HOUSE,5,5,1\nH4,HOUSE,0,5,1\n") << QByteArray() << 0
            << QStringList{"wrote 4 points, 0 lines and 1 areas to"} << "HOUSE:0,0,1;0,5,1;5,5,1;5,0,1:closed";
        QTest::newRow("what could not be joined")
            << QStringList{"--linework"} << "out.dxf" << QByteArray("A,WALL,0,0,1\nB,XYZ,1,1,1\nC,LAMP,2,2,2\n")
            << QByteArray() << 0
            << QStringList{"in.txt: line of one point WALL: row 1", "in.txt: code not in the list XYZ: row 2",
                           "wrote 3 points, 0 lines and 0 areas to"}
            << "LAMP@LAMP";
        QTest::newRow("a user's list that is refused")
            << QStringList{"--linework"} << "out.dxf" << QByteArray(kWallAndLamp) << QByteArray("<CODELIST>\n<code")
            << 1 << QStringList{"codes.xml: The code list is not well-formed XML", "(line 2, column"} << QString();
        QTest::newRow("a text output") << QStringList{"--linework"} << "out.txt" << QByteArray(kWallAndLamp)
                                       << QByteArray() << 2 << QStringList{"usage: ktconvert"} << QString();
        QTest::newRow("with GB18030") << QStringList{"--linework", "--gb18030"} << "out.dxf" << QByteArray(kWallAndLamp)
                                      << QByteArray() << 2 << QStringList{"usage: ktconvert"} << QString();
    }

    void linework()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, output);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, user_codes);
        QFETCH(int, status);
        QFETCH(QStringList, told);
        QFETCH(QString, drawing);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile in(dir.filePath("in.txt"));
        QVERIFY(in.open(QIODevice::WriteOnly) && in.write(input) == input.size());
        in.close();
        // The user's configuration folder is the test's own: the shipped list unless the row gives one.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        if (!user_codes.isEmpty()) {
            QVERIFY(QDir().mkpath(dir.filePath("config/ktlink")));
            QFile codes(dir.filePath("config/ktlink/codes.xml"));
            QVERIFY(codes.open(QIODevice::WriteOnly) && codes.write(user_codes) == user_codes.size());
        }
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QString(KT_RUN_DIR) + "/ktconvert", options + QStringList{in.fileName(), dir.filePath(output)});
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QCOMPARE(process.exitCode(), status);
        for (const QString& text : told)
            QVERIFY2(err.contains(text), qPrintable(err));
        QCOMPARE(QFile::exists(dir.filePath(output)), !drawing.isEmpty());
        if (drawing.isEmpty())
            return;

        QCOMPARE(QString::fromUtf8(run_python(kDrawingJudge, {dir.filePath(output)})).trimmed(),
                 QString("%1 %2").arg(drawing).arg(input.count('\n')));
    }

    void geopackage_with_line_and_area_layers()
    {
        QTemporaryDir dir;
        QFile in(dir.filePath("in.txt"));
        const QByteArray points = QByteArray(kWallAndLamp) + "H1,HOUSE,0,0,1\nH2,HOUSE,5,0,1\nH3,HOUSE,5,5,1\n";
        QVERIFY(in.open(QIODevice::WriteOnly) && in.write(points) == points.size());
        in.close();
        QProcess process;
        process.start(QString(KT_RUN_DIR) + "/ktconvert",
                      {"--linework", "--crs", "EPSG:4547", in.fileName(), dir.filePath("site.gpkg")});
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == 0 && err.contains("wrote 7 points, 1 lines and 1 areas to"), qPrintable(err));
        const QByteArray layers = run_python(R"(
import sys
from osgeo import ogr
ds = ogr.Open(sys.argv[1])
print(" ".join("%s:%d" % (l.GetName(), l.GetFeatureCount()) for l in ds))
)",
                                             {dir.filePath("site.gpkg")});
        QCOMPARE(layers.trimmed(), QByteArray("site:7 site_lines:1 site_areas:1"));
    }
};

KT_CORE_TEST_MAIN(TestKtconvertLinework)
#include "tst_ktconvert_linework.moc"
