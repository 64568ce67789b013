// ktconvert --linework: coded points drawn with their lines, read back by ezdxf; what could not be
// joined told on standard error; a user's code list that is refused; outputs that are no drawing.
#include "support/core/geotest.h"
#include "support/core/ktest_core.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace
{

// Per polyline (3D lines; areas are flat) its layer, closed flag and vertices; per insert its block and
// layer.
const char* const kDrawingJudge = R"py(
import json, sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
out = {"polylines": [], "inserts": [], "points": 0}
for e in doc.modelspace():
    kind = e.dxftype()
    if kind == "POLYLINE":
        out["polylines"].append({"layer": e.dxf.layer, "closed": e.is_closed,
                                 "vertices": [list(v.dxf.location) for v in e.vertices]})
    elif kind == "LWPOLYLINE":
        out["polylines"].append({"layer": e.dxf.layer, "closed": e.closed,
                                 "vertices": [list(v) for v in e.vertices()]})
    elif kind == "INSERT":
        out["inserts"].append([e.dxf.name, e.dxf.layer])
    elif kind == "POINT":
        out["points"] += 1
print(json.dumps(out))
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
        QTest::addColumn<QString>("drawing");  // per polyline "LAYER:vertices[:closed]", then the inserts

        const QStringList wall_told{"wrote 4 points, 1 lines and 0 areas to"};
        QTest::newRow("walls and a lamp") << QStringList{"--linework"} << "out.dxf" << QByteArray(kWallAndLamp)
                                          << QByteArray() << 0 << wall_told << "WALL:3 LAMP@LAMP";
        QTest::newRow("upper-case suffix, a house")
            << QStringList{"--linework"} << "OUT.DXF"
            << QByteArray("H1,HOUSE,0,0,1\nH2,HOUSE,5,0,1\nH3,HOUSE,5,5,1\nH4,HOUSE,0,5,1\n") << QByteArray() << 0
            << QStringList{"wrote 4 points, 0 lines and 1 areas to"} << "HOUSE:4:closed";
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
        QTest::newRow("a GeoPackage output") << QStringList{"--linework"} << "out.gpkg" << QByteArray(kWallAndLamp)
                                             << QByteArray() << 2 << QStringList{"usage: ktconvert"} << QString();
        QTest::newRow("with GB18030") << QStringList{"--linework", "--gb18030"} << "out.dxf" << QByteArray(kWallAndLamp)
                                      << QByteArray() << 2 << QStringList{"usage: ktconvert"} << QString();
        QTest::newRow("twice") << QStringList{"--linework", "--linework"} << "out.dxf" << QByteArray(kWallAndLamp)
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

        const QJsonObject judged = QJsonDocument::fromJson(run_python(kDrawingJudge, {dir.filePath(output)})).object();
        QCOMPARE(judged["points"].toInt(), input.count('\n'));
        QStringList seen;
        for (const QJsonValue& line : judged["polylines"].toArray()) {
            const QJsonObject polyline = line.toObject();
            seen << QString("%1:%2%3")
                        .arg(polyline["layer"].toString())
                        .arg(polyline["vertices"].toArray().size())
                        .arg(polyline["closed"].toBool() ? ":closed" : "");
        }
        for (const QJsonValue& insert : judged["inserts"].toArray())
            seen << insert[0].toString() + "@" + insert[1].toString();
        QCOMPARE(seen.join(' '), drawing);
        // The walls' vertices in row order, with their heights.
        if (drawing.startsWith("WALL:3")) {
            const QJsonArray vertices = judged["polylines"][0]["vertices"].toArray();
            QCOMPARE(vertices[1].toArray(), (QJsonArray{0.0, 10.0, 2.0})); // x is E, y is N
            QCOMPARE(vertices[2].toArray(), (QJsonArray{10.0, 10.0, 3.0}));
        }
    }
};

KT_CORE_TEST_MAIN(TestKtconvertLinework)
#include "tst_ktconvert_linework.moc"
