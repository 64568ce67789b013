// The drawing with linework read back by ezdxf (layers and colours, polylines with their vertices in
// order and closed flags, symbols, labels) and by GDAL's ogrinfo; the line and area layers of each GIS
// format read back by GDAL's Python reader with their attributes.
#include "gis/lineworkdrawing.h"
#include "gis/lineworklayers.h"
#include "support/core/geotest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
// GDAL's headers are not on the test's include path; the test makes the datasets the linework goes into.
#include <gdal/gdal.h>
#include <gdal/ogr_api.h>
#include <gdal/ogr_srs_api.h>

namespace
{

const QStringList kPoints{
    "S1,STN,3520100.000,512300.000,42.150",
    "M01,WALL,3520111.952,512231.013,41.598",
    "M02,CURB1,3520142.845,512275.234,43.994",
    "M03,CURB2,3520147.153,512284.970,41.076",
    "M04,WALL,3520117.351,512279.527,40.191",
    "M05,CURB1,3520177.937,512298.300,42.248",
    "M06,CURB2,3520183.655,512304.701,40.560",
    "H1,HOUSE,3520200,512200,45",
    "H2,HOUSE,3520200,512210,45.1",
    "H3,HOUSE,3520210,512210,45.2",
    "H4,HOUSE*,3520210,512200,45.3",
    "T\"1\\,TREE,3520050.5,512250.25,", // no height; a quote and a backslash in the name
    QString::fromUtf8("点2,LAMP,3520060,512260,40.5"),
    "X1,WALL,abc,512000,40", // no coordinates: neither drawn nor on the wall
    "F1,FENCE,3520000,512000,40",
    "F2,FENCE,3520010,512000,41",
    "F3,FENCE*,3520010,512010,42",
};

LineworkBuilder sample_linework()
{
    CodeList codes;
    CodeListError error;
    read_code_list_file(KT_SOURCE_DIR "/dist/config/codes.xml", &codes, &error);
    return linework_of_point_lines(codes, kPoints);
}

// Texts beyond Latin-1 are \U+XXXX escapes, which CAD programs read in every string of the drawing
// and this ezdxf leaves as they stand: decoded here.
const char* const kDxfJudge = R"py(
import json, re, sys, ezdxf
def text(t): return re.sub(r"\\U\+([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), t)
doc = ezdxf.readfile(sys.argv[1])
out = {"layers": {l.dxf.name: l.dxf.color for l in doc.layers}, "polylines": [], "inserts": [], "texts": {},
       "points": 0, "blocks": [b.name for b in doc.blocks if not b.name.startswith("*")],
       "audit": len(doc.audit().errors), "codepage": doc.header.get("$DWGCODEPAGE")}
for e in doc.modelspace():
    kind = e.dxftype()
    if kind == "POLYLINE":
        out["polylines"].append({"layer": e.dxf.layer, "closed": e.is_closed, "colour": e.dxf.color,
                                 "vertices": [list(v.dxf.location) for v in e.vertices]})
    elif kind == "INSERT":
        out["inserts"].append([e.dxf.name, e.dxf.layer] + list(e.dxf.insert))
    elif kind == "MTEXT":
        out["texts"].setdefault(e.dxf.layer, []).append([text(e.plain_text()), e.dxf.insert[2], e.dxf.char_height])
    elif kind == "POINT":
        out["points"] += 1
print(json.dumps(out))
)py";

const char* const kLayersJudge = R"(
import json, sys
from osgeo import ogr
ogr.UseExceptions()
ds = ogr.Open(sys.argv[1])
out = {}
for layer in ds:
    features = []
    for f in layer:
        g = f.GetGeometryRef()
        a = {k.lower(): v for k, v in f.items().items()}
        features.append({"type": g.GetGeometryName(), "z": bool(g.Is3D()), "code": a.get("code"),
                         "string": a.get("string"), "first": a.get("first"), "last": a.get("last"),
                         "name": a.get("name"), "wkt": g.ExportToIsoWkt()})
    out[layer.GetName()] = {"type": ogr.GeometryTypeToName(layer.GetGeomType()), "features": features}
print(json.dumps(out))
)";

QJsonObject judge(const char* script, const QString& path)
{
    return QJsonDocument::fromJson(run_python(script, {path})).object();
}

} // namespace

class TestLineworkFiles : public QObject
{
    Q_OBJECT

private slots:
    void drawing_read_back_by_ezdxf_and_ogrinfo()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("road.dxf");
        LineworkDrawingReport report;
        QVERIFY2(write_linework_drawing(path, kPoints, sample_linework(), &report), qPrintable(report.error));
        QCOMPARE(report.points, 16);
        QCOMPARE(report.without_coordinates, 1);
        QCOMPARE(report.without_height, 1);
        QCOMPARE(report.symbols, 3);
        QCOMPARE(report.lines, 4);
        QCOMPARE(report.areas, 1);

        const QJsonObject dxf = judge(kDxfJudge, path);
        QCOMPARE(dxf["audit"].toInt(-1), 0);
        const QJsonObject layers = dxf["layers"].toObject();
        const struct {
            const char* name;
            int colour;
        } wanted_layers[] = {
            {"Point", 7}, {"PointNumber", 3}, {"Level", 3}, {"Code", 4},    {"WALL", 1}, {"CURB", 3},
            {"HOUSE", 7}, {"FENCE", 6},       {"TREE", 3},  {"CONTROL", 4}, {"POND", 4}}; // every code of the list has
                                                                                          // its layer, used or not
        for (const auto& layer : wanted_layers)
            QCOMPARE(layers[layer.name].toInt(), layer.colour);

        // Polylines in the order the lines were started, vertices (E, N, Z) in row order, colour by layer.
        const QJsonArray polylines = dxf["polylines"].toArray();
        const QStringList wanted{
            "WALL open 512231.013,3520111.952,41.598 512279.527,3520117.351,40.191",
            "CURB open 512275.234,3520142.845,43.994 512298.3,3520177.937,42.248",
            "CURB open 512284.97,3520147.153,41.076 512304.701,3520183.655,40.56",
            "HOUSE closed 512200,3520200,45 512210,3520200,45.1 512210,3520210,45.2 512200,3520210,45.3",
            "FENCE closed 512000,3520000,40 512000,3520010,41 512010,3520010,42",
        };
        QStringList got;
        for (const QJsonValue& value : polylines) {
            const QJsonObject line = value.toObject();
            QStringList text{line["layer"].toString(), line["closed"].toBool() ? "closed" : "open"};
            for (const QJsonValue& vertex : line["vertices"].toArray()) {
                const QJsonArray v = vertex.toArray();
                text << QStringLiteral("%1,%2,%3")
                            .arg(v[0].toDouble(), 0, 'g', 12)
                            .arg(v[1].toDouble(), 0, 'g', 12)
                            .arg(v[2].toDouble(), 0, 'g', 12);
            }
            got << text.join(' ');
            QCOMPARE(line["colour"].toInt(), 256); // BYLAYER
        }
        QCOMPARE(got, wanted);

        QCOMPARE(dxf["points"].toInt(), 16);
        QVERIFY(dxf["blocks"].toArray().contains("TREE") && dxf["blocks"].toArray().contains("HYD"));
        QCOMPARE(dxf["inserts"].toArray(),
                 QJsonDocument::fromJson(R"([["STN","CONTROL",512300,3520100,42.15],["TREE","TREE",512250.25,
                                          3520050.5,0],["LAMP","LAMP",512260,3520060,40.5]])")
                     .array());
        const QJsonArray numbers = dxf["texts"].toObject()["PointNumber"].toArray();
        QCOMPARE(numbers.size(), 16);
        QCOMPARE(numbers[11].toArray()[0].toString(), QString("T\"1\\"));
        QCOMPARE(numbers[12].toArray()[0].toString(), QString::fromUtf8("点2"));
        const QJsonArray levels = dxf["texts"].toObject()["Level"].toArray();
        QCOMPARE(levels.size(), 15); // not for the point without height
        QCOMPARE(levels[0].toArray(), QJsonArray({"42.150", 0, 0.1}));

        // GDAL reads the same lines.
        const QString walls =
            QString::fromUtf8(run_judge("ogrinfo", {"-ro", "-q", "-where", "Layer='WALL'", path, "entities"}));
        QVERIFY2(walls.contains("LINESTRING Z (512231.013 3520111.952 41.598,512279.527 3520117.351 40.191)"),
                 qPrintable(walls));
    }

    void drawing_not_written_into_a_folder_that_is_missing()
    {
        LineworkDrawingReport report;
        QVERIFY(!write_linework_drawing("/nonexistent/folder/x.dxf", kPoints, sample_linework(), &report));
        QVERIFY(report.failed());
    }

    void gis_layers_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("GeoPackage") << "GPKG"
                                    << "gpkg";
        QTest::newRow("Shapefile") << "ESRI Shapefile"
                                   << "shp";
        QTest::newRow("GeoJSON") << "GeoJSON"
                                 << "geojson";
        QTest::newRow("KML") << "KML"
                             << "kml";
    }

    void gis_layers()
    {
        QFETCH(QString, driver);
        QFETCH(QString, suffix);
        GisFormat format = GisFormat::GeoPackage;
        QVERIFY(gis_format_for_suffix(suffix, &format));
        QTemporaryDir folder;
        const QString path = folder.filePath("road." + suffix);
        GDALAllRegister();
        GDALDatasetH dataset =
            GDALCreate(GDALGetDriverByName(driver.toLatin1()), path.toUtf8(), 0, 0, 0, GDT_Unknown, nullptr);
        QVERIFY(dataset);
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        OSRSetFromUserInput(srs, gis_format_is_wgs84(format) ? "EPSG:4326" : "EPSG:4547");
        OSRSetAxisMappingStrategy(srs, OAMS_TRADITIONAL_GIS_ORDER);
        QVERIFY(GDALDatasetCreateLayer(dataset, "road", srs, wkbPoint25D, nullptr));
        OSRRelease(srs);
        LineworkLayersReport report;
        const bool written = write_linework_layers(dataset, format, "road", "EPSG:4547", sample_linework(), &report);
        GDALClose(dataset);
        QVERIFY2(written, qPrintable(report.error));
        QCOMPARE(report.lines, 4);
        QCOMPARE(report.areas, 1);
        QCOMPARE(report.flat, 0);

        const QString judged = format == GisFormat::Shapefile ? folder.path() : path;
        const QJsonObject layers = judge(kLayersJudge, judged);
        const bool one_layer = format == GisFormat::GeoJson;
        QJsonArray lines = layers[one_layer ? "road" : "road_lines"].toObject()["features"].toArray();
        QJsonArray areas = one_layer ? QJsonArray() : layers["road_areas"].toObject()["features"].toArray();
        if (one_layer) {
            areas.append(lines.last());
            lines.removeLast();
        }
        QCOMPARE(lines.size(), 4);
        QCOMPARE(areas.size(), 1);
        if (format == GisFormat::GeoPackage) {
            QCOMPARE(layers["road_lines"].toObject()["type"].toString(), QString("3D Line String"));
            QCOMPARE(layers["road_areas"].toObject()["type"].toString(), QString("3D Polygon"));
        }
        const QJsonObject curb = lines[2].toObject();
        QCOMPARE(curb["code"].toString(), QString("CURB"));
        QCOMPARE(curb["string"].toInt(), 2);
        QCOMPARE(curb["first"].toString() + curb["last"].toString(), QString("M03M06"));
        QVERIFY(curb["z"].toBool());
        QVERIFY(lines[0].toObject()["string"].isNull());                         // no string number
        QCOMPARE(lines[3].toObject()["type"].toString(), QString("LINESTRING")); // the closed fence
        const QJsonObject house = areas[0].toObject();
        QCOMPARE(house["type"].toString(), QString("POLYGON"));
        QCOMPARE(house["first"].toString() + house["last"].toString(), QString("H1H4"));
        if (format == GisFormat::Kml)
            QCOMPARE(curb["name"].toString(), QString("CURB2"));
        if (gis_format_is_wgs84(format)) {
            // Longitude and latitude near 114.13°E, 31.80°N.
            QVERIFY2(house["wkt"].toString().startsWith("POLYGON Z ((114.128"), qPrintable(house["wkt"].toString()));
        } else {
            // The ring ends where it starts; a shapefile turns outer rings clockwise.
            const bool clockwise = format == GisFormat::Shapefile;
            QCOMPARE(house["wkt"].toString(),
                     QStringLiteral("POLYGON Z ((512200 3520200 45,%1,512210 3520210 45.2,%2,512200 3520200 45))")
                         .arg(clockwise ? "512200 3520210 45.3" : "512210 3520200 45.1",
                              clockwise ? "512210 3520200 45.1" : "512200 3520210 45.3"));
            QCOMPARE(lines[3].toObject()["wkt"].toString(),
                     QString("LINESTRING Z (512000 3520000 40,512000 3520010 41,512010 3520010 42,512000 3520000 40)"));
        }
        QCOMPARE(linework_companion_files(path, format).size(), format == GisFormat::Shapefile ? 10 : 0);
    }
};

KT_CORE_TEST_MAIN(TestLineworkFiles)
#include "tst_lineworkfiles.moc"
