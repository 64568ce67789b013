// GIS point layers: each format written and read back by this library and by GDAL's Python reader
// (system, attribute names and types, values; longitude and latitude against pyproj), files without a
// system, refusals, failed writes that leave the old files, and the reader's choices and counts.
#include "gis/gisreader.h"
#include "gis/giswriter.h"
#include "support/core/geotest.h"
#include "support/core/mount.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace
{

const QStringList kPoints{
    "P1,CODE,3380000.123,500000.456,12.5",
    QString::fromUtf8("点2,树,3380100.5,500100.25,"),      // no Z
    QString(80, QChar(0x70B9)) + ",,3380200,500200,-3.75", // no code; a name of 240 bytes in UTF-8
};

struct Written {
    bool done = false;
    GisWriter::Failure failure = GisWriter::None;
    int written = 0, skipped = 0, outside = 0, changed = 0;
};

Written write_points(const QString& path, GisFormat format, const QStringList& lines, const QString& crs)
{
    Written result;
    GisWriter writer(path, format, PointFields::point_line());
    if (writer.open(crs)) {
        for (const QString& line : lines)
            writer.write(split_point_line(line));
        result.done = writer.finish();
    }
    result.failure = writer.failure();
    result.written = writer.written();
    result.skipped = writer.skipped();
    result.outside = writer.outside_area();
    result.changed = writer.changed_values();
    return result;
}

GisFormat format_of(const QString& suffix)
{
    GisFormat format = GisFormat::GeoPackage;
    gis_format_for_suffix(suffix, &format);
    return format;
}

// Point lines equal, coordinates within `tolerance`.
bool same_points(const QStringList& actual, const QStringList& expected, double tolerance)
{
    if (actual.size() != expected.size())
        return false;
    for (int i = 0; i < actual.size(); ++i) {
        const QStringList a = split_point_line(actual.at(i)), e = split_point_line(expected.at(i));
        if (a.size() != 5 || a.at(0) != e.at(0) || a.at(1) != e.at(1) || a.at(4).toDouble() != e.at(4).toDouble() ||
            qAbs(a.at(2).toDouble() - e.at(2).toDouble()) > tolerance ||
            qAbs(a.at(3).toDouble() - e.at(3).toDouble()) > tolerance) {
            qWarning() << "point" << i << actual.at(i) << "expected" << expected.at(i);
            return false;
        }
    }
    return true;
}

} // namespace

class TestGisFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

private slots:
    void write_and_read_back_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<double>("tolerance"); // metres, read back into EPSG:4547
        QTest::addColumn<QString>("epsg");     // the layer's system as GDAL identifies it
        QTest::newRow("gpkg") << "gpkg" << 0.0 << "4547";
        QTest::newRow("shp") << "shp" << 0.0 << "4547";
        QTest::newRow("geojson") << "geojson" << 1e-3 << "4326|4979";
        QTest::newRow("kml") << "kml" << 1e-3 << "4326";
    }

    void write_and_read_back()
    {
        QFETCH(QString, suffix);
        QFETCH(double, tolerance);
        const QString path = dir_.filePath("points." + suffix);
        const Written written = write_points(path, format_of(suffix), kPoints, "EPSG:4547");
        QVERIFY(written.done);
        QCOMPARE(written.written, kPoints.size());
        QCOMPARE(written.outside, 0);

        const QJsonObject seen = judge_gis_layer(path, kPoints, "EPSG:4547");
        QVERIFY(!seen.isEmpty());
        QFETCH(QString, epsg);
        QVERIFY2(epsg.split("|").contains(seen["epsg"].toString()), qPrintable(seen["epsg"].toString()));
        const QJsonObject types = seen["types"].toObject();
        QCOMPARE(types["name"].toString(), QString("String"));
        QCOMPARE(types["code"].toString(), QString("String"));
        QCOMPARE(types["z"].toString(), QString("Real"));
        QVERIFY(!types.contains("n") && !types.contains("e"));
        const QJsonArray features = seen["features"].toArray();
        QCOMPARE(features.size(), kPoints.size());
        const bool wgs84 = gis_format_is_wgs84(format_of(suffix));
        for (int i = 0; i < kPoints.size(); ++i) {
            const QStringList fields = split_point_line(kPoints.at(i));
            const QJsonObject feature = features.at(i).toObject();
            const QJsonObject attributes = feature["attributes"].toObject();
            QCOMPARE(attributes["name"].toString(), fields.at(0));
            QCOMPARE(attributes["code"].toString(), fields.at(1));
            QCOMPARE(attributes["z"].isNull(), fields.at(4).isEmpty());
            QCOMPARE(attributes["z"].toDouble(), fields.at(4).toDouble());
            const QJsonArray point = feature["point"].toArray();
            const QJsonArray expected = seen["expected"].toArray().at(i).toArray();
            if (wgs84) {
                QVERIFY2(qAbs(point.at(0).toDouble() - expected.at(0).toDouble()) < 1e-8, qPrintable(kPoints.at(i)));
                QVERIFY(qAbs(point.at(1).toDouble() - expected.at(1).toDouble()) < 1e-8);
            } else {
                QCOMPARE(point.at(0).toDouble(), fields.at(3).toDouble()); // x is E
                QCOMPARE(point.at(1).toDouble(), fields.at(2).toDouble());
            }
            if (suffix != "shp") // a shapefile's points are all 3D
                QCOMPARE(feature["dimension"].toInt(), fields.at(4).isEmpty() ? 2 : 3);
        }

        const GisPoints read = read_gis_file(path, "EPSG:4547");
        QVERIFY2(read.ok(), qPrintable(read.message));
        QCOMPARE(read.layer, QString("points"));
        QCOMPARE(read.transformed, wgs84);
        if (tolerance == 0)
            QCOMPARE(read.lines, kPoints);
        else
            QVERIFY(same_points(read.lines, kPoints, tolerance));
        if (suffix == "shp")
            QCOMPARE(read_file(dir_.filePath("points.cpg")), QByteArray("UTF-8"));
    }

    void systems_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("crs");
        QTest::addColumn<int>("failure");
        QTest::newRow("gpkg without a system") << "gpkg" << QString() << int(GisWriter::None);
        QTest::newRow("shp without a system") << "shp" << QString() << int(GisWriter::None);
        QTest::newRow("geojson needs one") << "geojson" << QString() << int(GisWriter::NoCrs);
        QTest::newRow("kml needs one") << "kml" << QString() << int(GisWriter::NoCrs);
        QTest::newRow("gpkg, unknown code") << "gpkg" << QString("EPSG:99999999") << int(GisWriter::UnknownCrs);
        QTest::newRow("kml, not a system") << "kml" << QString("EPSG:9807") << int(GisWriter::UnknownCrs);
    }

    void systems()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, crs);
        QFETCH(int, failure);
        QTemporaryDir dir;
        const QString path = dir.filePath("local." + suffix);
        const Written written = write_points(path, format_of(suffix), kPoints, crs);
        QCOMPARE(int(written.failure), failure);
        QCOMPARE(written.done, failure == GisWriter::None);
        if (!written.done) {
            QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
            return;
        }
        QVERIFY(judge_gis_layer(path, kPoints, "EPSG:4547")["epsg"].isNull());
        // Read as it stands, whatever system is chosen.
        const GisPoints read = read_gis_file(path, "EPSG:32650");
        QVERIFY(read.ok() && !read.layer_has_crs && !read.transformed);
        QCOMPARE(read.lines, kPoints);
    }

    void rows_counted_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<int>("outside");
        QTest::addColumn<int>("changed");
        QTest::newRow("inside") << "P,C,3380000,500000,1" << 0 << 0 << 0;
        QTest::newRow("east of the band") << "P,C,3380000,900000,1" << 0 << 1 << 0;
        QTest::newRow("N not a number") << "P,C,north,500000,1" << 1 << 0 << 0;
        QTest::newRow("Z not a number") << "P,C,3380000,500000,high" << 1 << 0 << 0;
        QTest::newRow("too few fields") << "P,C,3380000" << 1 << 0 << 0;
        QTest::newRow("name too long for a shapefile")
            << QString(300, QChar(0x70B9)) + ",C,3380000,500000,1" << 0 << 0 << 1;
    }

    void rows_counted()
    {
        QFETCH(QString, line);
        const Written written = write_points(dir_.filePath("counted.shp"), GisFormat::Shapefile, {line}, "EPSG:4547");
        QVERIFY(written.done);
        QTEST(written.skipped, "skipped");
        QTEST(written.outside, "outside");
        QTEST(written.changed, "changed");
    }

    void replaced_shapefile_loses_its_old_companions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("site.shp");
        QVERIFY(write_points(path, GisFormat::Shapefile, kPoints, "EPSG:4547").done);
        QVERIFY(QFile::exists(dir.filePath("site.prj")));
        QVERIFY(write_bytes(dir.filePath("site.qix"), "stale index"));
        QVERIFY(write_points(path, GisFormat::Shapefile, kPoints.mid(0, 1), QString()).done);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"site.cpg", "site.dbf", "site.shp", "site.shx"}));
        QCOMPARE(read_gis_file(path, QString()).lines, kPoints.mid(0, 1));
    }

    void failed_write_leaves_the_old_files_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("place");
        for (const char* suffix : {"gpkg", "shp", "geojson", "kml"}) {
            for (const char* place : {"blocked", "read-only", "full"})
                QTest::addRow("%s, %s", suffix, place) << suffix << place;
        }
    }

    void failed_write_leaves_the_old_files()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, place);
        QTemporaryDir work;
        const QString folder = work.filePath("mnt");
        bool mounted = false;
        const std::unique_ptr<Mount> mount = failing_folder(place, folder, "64k", "points." + suffix, &mounted);
        if (!mounted)
            QSKIP("mounting a small file system needs root");
        QStringList many;
        for (int i = 0; i < 3000; ++i)
            many << QString("POINT%1,CODE,%2,500000.456,12.345").arg(i).arg(3380000.123 + i, 0, 'f', 3);
        const Written written = write_points(folder + "/points." + suffix, format_of(suffix), many, "EPSG:4547");
        QVERIFY(!written.done);
        QVERIFY(written.failure == GisWriter::CannotCreate || written.failure == GisWriter::WriteFailed);
        if (place != "blocked") {
            QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
                     QStringList{"points." + suffix});
            QCOMPARE(read_file(folder + "/points." + suffix), QByteArray("old"));
        }
    }
};

QTEST_GUILESS_MAIN(TestGisFiles)
#include "tst_gisfiles.moc"
