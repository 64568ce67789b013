// Coordinate systems: the database search, describing a system, transformations against values that
// cs2cs gave once (PROJ 9.1), and the area-of-use test.
#include "crs/crs.h"
#include "crs/crstransform.h"

#include <QTest>

class TestCrs : public QObject
{
    Q_OBJECT

private slots:
    void search_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("at_most");   // most results expected
        QTest::addColumn<QString>("first"); // id of the first result; empty: no result

        QTest::newRow("code") << "4547" << 200 << "EPSG:4547";
        QTest::newRow("authority and code") << "EPSG:4547" << 1 << "EPSG:4547";
        QTest::newRow("authority in lower case") << " epsg : 32650 " << 1 << "EPSG:32650";
        QTest::newRow("other authority") << "ESRI:102142" << 1 << "ESRI:102142";
        QTest::newRow("CGCS2000 zone by central meridian") << "CGCS2000 114E" << 200 << "EPSG:4547";
        QTest::newRow("UTM zone: WGS 84 first") << "UTM 50N" << 200 << "EPSG:32650";
        QTest::newRow("underscores as in ESRI names") << "utm_zone_50n" << 200 << "EPSG:32650";
        QTest::newRow("whole name first") << "Xian 1980" << 200 << "EPSG:4610";
        QTest::newRow("no such name") << "Atlantis 2099" << 0 << "";
        QTest::newRow("blank") << "   " << 0 << "";
        QTest::newRow("unknown code") << "EPSG:99999999" << 0 << "";
        QTest::newRow("no other planets") << "IAU_2015:49900" << 0 << "";
    }

    void search()
    {
        QFETCH(QString, query);
        QFETCH(QString, first);
        QFETCH(int, at_most);
        QVERIFY2(CrsCatalog::all().size() > 5000, qPrintable(CrsCatalog::error()));
        const QVector<CrsInfo> found = CrsCatalog::search(query);
        QVERIFY(found.size() <= at_most);
        QCOMPARE(found.isEmpty() ? QString() : found.first().id(), first);
    }

    void search_gives_area_and_kind()
    {
        const CrsInfo crs = CrsCatalog::search("CGCS2000 114E").value(0);
        QCOMPARE(crs.name, QString("CGCS2000 / 3-degree Gauss-Kruger CM 114E"));
        QCOMPARE(crs.kind, CrsInfo::Projected);
        QVERIFY(crs.area.startsWith("China") && crs.bounds.valid);
        QCOMPARE(crs.bounds.west, 112.5);
        QCOMPARE(crs.bounds.east, 115.5);
        QCOMPARE(CrsCatalog::search("Xian 1980").first().kind, CrsInfo::Geographic);
        QCOMPARE(CrsCatalog::search("UTM", 5).size(), 5);
    }

    void describe_data()
    {
        QTest::addColumn<QString>("definition");
        QTest::addColumn<int>("kind"); // -1: not valid
        QTest::addColumn<QString>("name_start");

        QTest::newRow("projected") << "EPSG:4547" << int(CrsInfo::Projected) << "CGCS2000 / 3-degree";
        QTest::newRow("geographic") << "EPSG:4326" << int(CrsInfo::Geographic) << "WGS 84";
        QTest::newRow("vertical is no plane system") << "EPSG:5773" << int(CrsInfo::Other) << "EGM96";
        QTest::newRow("unknown code") << "EPSG:99999999" << -1 << "";
        QTest::newRow("not a system") << "EPSG:9807" << -1 << "";
        QTest::newRow("garbage") << "no system at all" << -1 << "";
        QTest::newRow("definition without code") << "+proj=utm +zone=50 +datum=WGS84" << -1 << "";
    }

    void describe()
    {
        QFETCH(QString, definition);
        QFETCH(int, kind);
        const CrsInfo crs = describe_crs(definition);
        QCOMPARE(crs.is_valid(), kind >= 0);
        QCOMPARE(crs.id(), kind >= 0 ? definition : QString());
        if (crs.is_valid()) {
            QCOMPARE(int(crs.kind), kind);
            QFETCH(QString, name_start);
            QVERIFY2(crs.name.startsWith(name_start), qPrintable(crs.name));
            QVERIFY(!crs.area.isEmpty());
        }
    }

    void to_wgs84_data()
    {
        QTest::addColumn<QString>("crs");
        QTest::addColumn<double>("north");
        QTest::addColumn<double>("east");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");

        // cs2cs -f %.12f EPSG:4547 EPSG:4326 (input north east) and EPSG:32650 (input east north).
        QTest::newRow("4547 on the central meridian")
            << "EPSG:4547" << 3380000.0 << 500000.0 << 30.540214835972 << 114.000000000000;
        QTest::newRow("4547 west") << "EPSG:4547" << 3456789.123 << 412345.678 << 31.229544392707 << 113.080001921212;
        QTest::newRow("4547 south east") << "EPSG:4547" << 2500000.5 << 600000.25 << 22.594882767713
                                         << 114.972486620184;
        QTest::newRow("32650") << "EPSG:32650" << 4400000.0 << 450000.0 << 39.748440371395 << 116.416381341127;
        QTest::newRow("32650 east") << "EPSG:32650" << 4512345.678 << 612345.432 << 40.754400764819 << 118.330885106968;
        QTest::newRow("32650 equator") << "EPSG:32650" << 0.0 << 500000.0 << 0.0 << 117.0;
    }

    void to_wgs84()
    {
        QFETCH(QString, crs);
        QFETCH(double, north);
        QFETCH(double, east);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        CrsTransform transform;
        QVERIFY2(transform.open(crs, kWgs84), qPrintable(transform.error()));
        double x = east, y = north, z = 12.5;
        QVERIFY(transform.forward(&x, &y, &z));
        QVERIFY2(qAbs(x - longitude) < 1e-8, qPrintable(QString::number(x, 'f', 12)));
        QVERIFY2(qAbs(y - latitude) < 1e-8, qPrintable(QString::number(y, 'f', 12)));
        QCOMPARE(z, 12.5);
        QVERIFY(transform.inverse(&x, &y));
        QVERIFY(qAbs(x - east) < 1e-5 && qAbs(y - north) < 1e-5);
    }

    void between_projected_systems()
    {
        // cs2cs -f %.6f EPSG:4547 EPSG:32650: north east in, east north out.
        CrsTransform transform;
        QVERIFY(transform.open("EPSG:4547", "EPSG:32650"));
        double x = 412345.678, y = 3456789.123;
        QVERIFY(transform.forward(&x, &y));
        QVERIFY2(qAbs(x - 126536.977007) < 1e-5 && qAbs(y - 3461671.838658) < 1e-5,
                 qPrintable(QString("%1 %2").arg(x, 0, 'f', 6).arg(y, 0, 'f', 6)));
    }

    void open_refused_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::newRow("unknown source") << "EPSG:99999999" << QString(kWgs84);
        QTest::newRow("not a system") << "EPSG:9807" << QString(kWgs84);
        QTest::newRow("unknown target") << "EPSG:4547" << QString("nothing");
    }

    void open_refused()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        CrsTransform transform;
        QVERIFY(!transform.open(source, target));
        QVERIFY(!transform.is_open());
        QVERIFY(!transform.error().isEmpty());
        double x = 1, y = 2;
        QVERIFY(!transform.forward(&x, &y));
        QCOMPARE(x, 1.0);
    }

    void area_of_use_data()
    {
        QTest::addColumn<QString>("crs");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<bool>("inside");

        QTest::newRow("4547 inside") << "EPSG:4547" << 500000.0 << 3380000.0 << true;
        QTest::newRow("4547 east of the band") << "EPSG:4547" << 900000.0 << 3380000.0 << false;
        QTest::newRow("4547 south of China") << "EPSG:4547" << 500000.0 << 1000000.0 << false;
        QTest::newRow("32650 inside") << "EPSG:32650" << 450000.0 << 4400000.0 << true;
        QTest::newRow("32650 west of the zone") << "EPSG:32650" << 126536.977 << 3461671.839 << false;
        QTest::newRow("32650 southern hemisphere") << "EPSG:32650" << 500000.0 << -100000.0 << false;
        QTest::newRow("4326 anywhere") << "EPSG:4326" << -170.0 << -80.0 << true;
        QTest::newRow("area across 180, inside") << "EPSG:3832" << 0.0 << 0.0 << true;
        QTest::newRow("area across 180, outside") << "EPSG:3832" << -6000000.0 << 0.0 << false;
        QTest::newRow("no transformation possible") << "EPSG:4547" << 1e30 << 1e30 << false;
        QTest::newRow("unknown system: nothing is outside") << "EPSG:99999999" << 0.0 << 0.0 << true;
    }

    void area_of_use()
    {
        QFETCH(QString, crs);
        QFETCH(double, x);
        QFETCH(double, y);
        AreaOfUse area;
        QCOMPARE(area.open(crs), crs != "EPSG:99999999");
        QTEST(area.contains(x, y), "inside");
    }
};

QTEST_GUILESS_MAIN(TestCrs)
#include "tst_crs.moc"
