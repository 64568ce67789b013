// Reading GIS files made elsewhere (by GDAL's Python writer, or written by hand as other programs
// write them): which layer is taken, what is left out and counted, the chosen system, the refusals;
// damaged files refused whole, files of another kind under a GIS suffix, no reader on the network.
#include "gis/gisreader.h"
#include "support/core/geotest.h"

#include <QFile>
#include <QTcpServer>
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

    // The file of a row: a copy of one in tests/data/geo, or made by GDAL's Python writer when the
    // name before the suffix is one of its kinds ("one layer.gpkg").
    QString make(const QString& source)
    {
        const QString path = dir_.filePath(QString(QTest::currentDataTag()).replace(' ', '_') + "-" + source);
        if (source.startsWith("garbage"))
            return write_bytes(path, "P1,K,1,2,3\n") ? path : QString();
        if (source.startsWith("vrt."))
            return write_bytes(path, "<OGRVRTDataSource><OGRVRTLayer name=\"p\"><SrcDataSource>" + kData.toUtf8() +
                                         "placemarks.kml</SrcDataSource></OGRVRTLayer></OGRVRTDataSource>")
                       ? path
                       : QString();
        if (QFile::exists(kData + source))
            return QFile::copy(kData + source, path) ? path : QString();
        const QString kind = source.section('.', 0, 0);
        return run_judge(KT_PYTHON, {kData + "make_layers.py", path, kind}).isNull() ? QString() : path;
    }

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("crs");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("layer");
        QTest::addColumn<QList<int>>("counts"); // layers, other geometries, empty geometries

        const QStringList stations{"S1,,3456789.123,412345.678,88.25", "S2,,3380000,500000,"};
        // Longitudes and latitudes from cs2cs for EPSG:4547 (3380000, 500000), (3456789.123, 412345.678).
        QTest::newRow("lines, polygons and empty left out")
            << "mixed.geojson" << int(GisPoints::Ok) << "EPSG:4547"
            << QStringList{"A,K,3380000,500000,", "M1,,3456789.123,412345.678,"} << "mixed" << QList<int>{1, 3, 1};
        QTest::newRow("longitude and latitude with no system")
            << "mixed.geojson" << int(GisPoints::GeographicWithoutCrs) << "" << QStringList() << ""
            << QList<int>{1, 0, 0};
        // The same datum: no transformation, the stored numbers as they are.
        QTest::newRow("into a geographic system")
            << "mixed.geojson" << int(GisPoints::Ok) << "EPSG:4326"
            << QStringList{"A,K,30.540214835972,114,", "M1,,31.229544392707,113.080001921212,"} << "mixed"
            << QList<int>{1, 3, 1};
        QTest::newRow("first point layer of two")
            << "two layers.gpkg" << int(GisPoints::Ok) << "EPSG:4547" << stations << "stations" << QList<int>{2, 0, 0};
        QTest::newRow("into another projected system")
            << "one layer.gpkg" << int(GisPoints::Ok) << "EPSG:32650"
            << QStringList{"S1,,3461671.8387,126536.977,88.25", "S2,,3382479.2054,212172.8565,"} << "stations"
            << QList<int>{1, 0, 0};
        QTest::newRow("projected layer, no system chosen")
            << "one layer.gpkg" << int(GisPoints::Ok) << "" << stations << "stations" << QList<int>{1, 0, 0};
        QTest::newRow("shapefile without a system read as it stands")
            << "no system.shp" << int(GisPoints::Ok) << "EPSG:32650" << stations << "system" << QList<int>{1, 0, 0};
        QTest::newRow("KML of another program")
            << "placemarks.kml" << int(GisPoints::Ok) << "EPSG:4547" << QStringList{"K1,wall,3380000,500000,55.5"} << ""
            << QList<int>{1, 0, 0};
        QTest::newRow("no point layer") << "lines only.gpkg" << int(GisPoints::NoPointLayer) << "EPSG:4547"
                                        << QStringList() << "" << QList<int>{1, 0, 0};
        QTest::newRow("not a GIS file") << "garbage.gpkg" << int(GisPoints::CannotOpen) << "EPSG:4547" << QStringList()
                                        << "" << QList<int>{0, 0, 0};
        // Damaged part way: what came before the damage is not the file.
        QTest::newRow("GeoPackage with damaged pages") << "damaged.gpkg" << int(GisPoints::CannotOpen) << "EPSG:4547"
                                                       << QStringList() << "" << QList<int>{1, 0, 0};
        QTest::newRow("shapefile with its table cut")
            << "cut.shp" << int(GisPoints::CannotOpen) << "EPSG:4547" << QStringList() << "" << QList<int>{1, 0, 0};
        // Only the driver of the suffix opens a file: a virtual dataset under a GIS suffix is refused.
        for (const char* suffix : {"geojson", "kml", "gpkg"})
            QTest::newRow(qPrintable(QString("virtual dataset as .%1").arg(suffix)))
                << QString("vrt.%1").arg(suffix) << int(GisPoints::CannotOpen) << "EPSG:4547" << QStringList() << ""
                << QList<int>{0, 0, 0};
        QTest::newRow("unknown chosen system") << "one layer.gpkg" << int(GisPoints::UnknownCrs) << "EPSG:99999999"
                                               << QStringList() << "" << QList<int>{1, 0, 0};
    }

    void read()
    {
        QFETCH(QString, source);
        QFETCH(QString, crs);
        QFETCH(QList<int>, counts);
        const QString path = make(source);
        QVERIFY(!path.isEmpty());
        const GisPoints points = read_gis_file(path, crs);
        QTEST(int(points.status), "status");
        QTEST(points.lines, "lines");
        QFETCH(QString, layer);
        QVERIFY2(layer.isEmpty() || points.layer.endsWith(layer), qPrintable(points.layer));
        QCOMPARE(points.layer_count, counts.at(0));
        QCOMPARE(points.other_geometries, counts.at(1));
        QCOMPARE(points.empty_geometries, counts.at(2));
        // A file that cannot be read always says why.
        QVERIFY(points.status != GisPoints::CannotOpen || !points.message.isEmpty());
    }

    void no_network()
    {
        // A virtual dataset whose source is an address, and the address itself: nothing reaches it.
        QTcpServer listener;
        QVERIFY(listener.listen(QHostAddress::LocalHost));
        const QByteArray address = "/vsicurl/http://127.0.0.1:" + QByteArray::number(listener.serverPort()) + "/p.kml";
        const QString vrt = dir_.filePath("remote.geojson");
        QVERIFY(write_bytes(vrt, "<OGRVRTDataSource><OGRVRTLayer name=\"p\"><SrcDataSource>" + address +
                                     "</SrcDataSource></OGRVRTLayer></OGRVRTDataSource>"));
        for (const QString& path : {vrt, QString::fromUtf8(address)}) {
            const GisPoints points = read_gis_file(path, "EPSG:4547");
            QCOMPARE(int(points.status), int(GisPoints::CannotOpen));
        }
        QVERIFY(!listener.waitForNewConnection(200));
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
