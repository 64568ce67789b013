// Reading GIS files made elsewhere (by GDAL's Python writer, or written by hand as other programs
// write them): which layer is taken, what is left out and counted, the chosen system, the refusals.
#include "geo/gisreader.h"
#include "geotest.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QString kData = QStringLiteral(KT_SOURCE_DIR "/tests/data/geo/");

} // namespace

class TestGisReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    // The file for a row: a copy of one in tests/data/geo, or made by GDAL's Python writer.
    QString make(const QString& file, const QString& content)
    {
        const QString path = dir_.filePath(QString(QTest::currentDataTag()).replace(' ', '_') + "-" + file);
        if (content == "garbage")
            return write_bytes(path, "P1,K,1,2,3\n") ? path : QString();
        if (QFile::exists(kData + content))
            return QFile::copy(kData + content, path) ? path : QString();
        return run_judge(KT_PYTHON, {kData + "make_layers.py", path, content}).isNull() ? QString() : path;
    }

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("crs");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("layer");
        QTest::addColumn<QList<int>>("counts"); // layers, other geometries, empty geometries

        // Longitudes and latitudes from cs2cs for EPSG:4547 (3380000, 500000), (3456789.123, 412345.678).
        QTest::newRow("lines, polygons and empty left out")
            << "mixed.geojson"
            << "mixed.geojson"
            << "EPSG:4547" << int(GisPoints::Ok) << QStringList{"A,K,3380000,500000,", "M1,,3456789.123,412345.678,"}
            << "mixed" << QList<int>{1, 3, 1};
        QTest::newRow("longitude and latitude with no system")
            << "mixed.geojson"
            << "mixed.geojson"
            << "" << int(GisPoints::GeographicWithoutCrs) << QStringList() << "" << QList<int>{1, 0, 0};
        // The same datum: no transformation, the stored numbers as they are.
        QTest::newRow("into a geographic system")
            << "mixed.geojson"
            << "mixed.geojson"
            << "EPSG:4326" << int(GisPoints::Ok)
            << QStringList{"A,K,30.540214835972,114,", "M1,,31.229544392707,113.080001921212,"} << "mixed"
            << QList<int>{1, 3, 1};
        QTest::newRow("first point layer of two")
            << "two.gpkg"
            << "two layers"
            << "EPSG:4547" << int(GisPoints::Ok)
            << QStringList{"S1,,3456789.123,412345.678,88.25", "S2,,3380000,500000,"} << "stations"
            << QList<int>{2, 0, 0};
        QTest::newRow("into another projected system")
            << "one.gpkg"
            << "one layer"
            << "EPSG:32650" << int(GisPoints::Ok)
            << QStringList{"S1,,3461671.8387,126536.977,88.25", "S2,,3382479.2054,212172.8565,"} << "stations"
            << QList<int>{1, 0, 0};
        QTest::newRow("projected layer, no system chosen")
            << "one.gpkg"
            << "one layer"
            << "" << int(GisPoints::Ok) << QStringList{"S1,,3456789.123,412345.678,88.25", "S2,,3380000,500000,"}
            << "stations" << QList<int>{1, 0, 0};
        QTest::newRow("shapefile without a system read as it stands")
            << "plain.shp"
            << "no system"
            << "EPSG:32650" << int(GisPoints::Ok)
            << QStringList{"S1,,3456789.123,412345.678,88.25", "S2,,3380000,500000,"} << "plain" << QList<int>{1, 0, 0};
        QTest::newRow("KML of another program")
            << "placemarks.kml"
            << "placemarks.kml"
            << "EPSG:4547" << int(GisPoints::Ok) << QStringList{"K1,wall,3380000,500000,55.5"} << ""
            << QList<int>{1, 0, 0};
        QTest::newRow("no point layer") << "lines.gpkg"
                                        << "lines only"
                                        << "EPSG:4547" << int(GisPoints::NoPointLayer) << QStringList() << ""
                                        << QList<int>{1, 0, 0};
        QTest::newRow("not a GIS file") << "text.gpkg"
                                        << "garbage"
                                        << "EPSG:4547" << int(GisPoints::CannotOpen) << QStringList() << ""
                                        << QList<int>{0, 0, 0};
        QTest::newRow("unknown chosen system")
            << "one.gpkg"
            << "one layer"
            << "EPSG:99999999" << int(GisPoints::UnknownCrs) << QStringList() << "" << QList<int>{1, 0, 0};
    }

    void read()
    {
        QFETCH(QString, file);
        QFETCH(QString, content);
        QFETCH(QString, crs);
        QFETCH(QList<int>, counts);
        const QString path = make(file, content);
        QVERIFY(!path.isEmpty());
        const GisPoints points = read_gis_file(path, crs);
        QTEST(int(points.status), "status");
        QTEST(points.lines, "lines");
        QFETCH(QString, layer);
        if (!layer.isEmpty())
            QVERIFY2(points.layer.endsWith(layer.section('-', -1)), qPrintable(points.layer));
        QCOMPARE(points.layer_count, counts.at(0));
        QCOMPARE(points.other_geometries, counts.at(1));
        QCOMPARE(points.empty_geometries, counts.at(2));
    }

    void layer_system_reported()
    {
        const QString path = dir_.filePath("system.gpkg");
        QVERIFY(!run_judge(KT_PYTHON, {kData + "make_layers.py", path, "one layer"}).isNull());
        const GisPoints points = read_gis_file(path, QString());
        QCOMPARE(points.layer_crs, QString("EPSG:4547"));
        QVERIFY(points.layer_has_crs && !points.transformed);
        const QString plain = dir_.filePath("system.shp");
        QVERIFY(!run_judge(KT_PYTHON, {kData + "make_layers.py", plain, "one layer"}).isNull());
        QCOMPARE(read_gis_file(plain, QString()).layer_crs, QString("EPSG:4547")); // from the .prj
    }
};

QTEST_GUILESS_MAIN(TestGisReader)
#include "tst_gisreader.moc"
