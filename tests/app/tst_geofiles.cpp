// The points' coordinate system and the LandXML and GIS formats through the window: the command and its
// dialog answered as a user would, the choice in config.xml and the status bar, the plan's longitude
// and latitude; Save As and Open of each format judged by GDAL's Python reader, pyproj and xmllint;
// the refusals and counts the user is told.
#include "data/tablecolumns.h"
#include "dialogs/crsdialog.h"
#include "plan/planview.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/core/geotest.h"
#include "support/ui/ktest.h"
#include "ui_crsdialog.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTableWidget>

using Rows = QList<QStringList>;

namespace
{

const Rows kPoints{{QString::fromUtf8("测点1"), QString::fromUtf8("树"), "3380000.5", "500200.25", "3.5"},
                   {"P2", "K", "3380010", "500210", "3"}};

// The first layer as GDAL's Python reader sees it, with where pyproj puts kPoints in WGS 84.
QJsonObject judge(const QString& path)
{
    QStringList lines;
    for (const QStringList& row : kPoints)
        lines << row.join(',');
    return judge_gis_layer(path, lines, "EPSG:4547");
}

// Chooses `search`'s first system (or "none" when empty) in the next coordinate system dialog.
void answer_crs_dialog(const QString& search)
{
    answer_next_dialog([search](QDialog* dialog) {
        auto* crs = qobject_cast<CrsDialog*>(dialog);
        if (!crs) {
            dialog->reject();
            return;
        }
        crs->ui->lineEdit->setText(search);
        crs->ui->tableWidget->selectRow(search.isEmpty() ? 0 : 1);
        crs->ui->pushButton->click();
    });
}

void fill(TableWindow& t, const Rows& rows)
{
    for (const QStringList& row : rows)
        t.add_row(row);
}

} // namespace

class TestGeoFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void coordinate_system_command()
    {
        TableWindow t("KT40");
        MainWindow* w = t.w.get();
        auto* system = w->findChild<QLabel*>("coordinateSystemLabel");
        auto* cursor = w->findChild<QLabel*>("cursorPositionLabel");
        QCOMPARE(system->text(), QString("Coordinate system: none (local coordinates)"));
        answer_crs_dialog("4547");
        w->program_coordinatesystem();
        QCOMPARE(w->coordinate_system, QString("EPSG:4547"));
        QCOMPARE(system->text(), QString("Coordinate system: EPSG:4547 CGCS2000 / 3-degree Gauss-Kruger CM 114E"));
        const QString config = QString::fromUtf8(t.dir.read("config/config.xml"));
        QVERIFY(config.contains("<crs>EPSG:4547</crs>"));
        QVERIFY(config.contains("<recentcrs>EPSG:4547</recentcrs>"));
        // cs2cs EPSG:4547 EPSG:4326: N 3380000, E 500000 lie at 114°E, 30.540214836°N.
        emit w->plan_view->cursor_moved(QPointF(500000, 3380000));
        QCOMPARE(cursor->text(), QString::fromUtf8("Longitude 114.0000000°  Latitude 30.5402148°"));

        // The next start shows it; "none" takes it away, and the plan shows no longitude.
        auto again = start_window("KT40");
        QCOMPARE(again->coordinate_system, QString("EPSG:4547"));
        answer_crs_dialog("");
        w->program_coordinatesystem();
        QCOMPARE(w->coordinate_system, QString());
        QCOMPARE(system->text(), QString("Coordinate system: none (local coordinates)"));
        emit w->plan_view->cursor_moved(QPointF(500000, 3380000));
        QCOMPARE(cursor->text(), QString());
        QVERIFY(QString::fromUtf8(t.dir.read("config/config.xml")).contains("<crs></crs>") ||
                QString::fromUtf8(t.dir.read("config/config.xml")).contains("<crs/>"));
    }

    void formats_written_and_read_back_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("crs");
        QTest::newRow("GeoPackage") << "p.gpkg"
                                    << "EPSG:4547";
        QTest::newRow("Shapefile") << "p.shp"
                                   << "EPSG:4547";
        QTest::newRow("GeoJSON") << "p.geojson"
                                 << "EPSG:4547";
        QTest::newRow("KML") << "p.kml"
                             << "EPSG:4547";
        QTest::newRow("LandXML") << "p.xml"
                                 << "EPSG:4547";
        QTest::newRow("LandXML, local coordinates") << "P.XML"
                                                    << "";
    }

    void formats_written_and_read_back()
    {
        QFETCH(QString, file);
        QFETCH(QString, crs);
        TableWindow t("KT40", [&](WorkDir& dir) {
            if (!crs.isEmpty())
                dir.replace("config/config.xml", "</CONFIG>", "<crs>" + crs + "</crs></CONFIG>");
        });
        fill(t, kPoints);
        const QString path = t.dir.file(file);
        modal_script::queue_file(path);
        QVERIFY(t.w->save_table_as());
        QVERIFY(shown_messages().isEmpty());
        QVERIFY(t.w->ui->label_4->text().startsWith("Saved 2 rows to " + path));
        if (file.endsWith("xml", Qt::CaseInsensitive)) {
            QVERIFY(!run_judge("xmllint", {"--noout", "--schema",
                                           QString(KT_SOURCE_DIR) + "/tests/data/standards/LandXML-1.2.xsd", path})
                         .isNull());
            const QString xml = QString::fromUtf8(t.dir.read(file));
            QVERIFY(xml.contains(QString::fromUtf8("name=\"测点1\" code=\"树\">3380000.5 500200.25 3.5</CgPoint>")));
            QCOMPARE(xml.contains("epsgCode=\"4547\""), !crs.isEmpty());
        } else {
            const QJsonObject layer = judge(path);
            const QJsonArray features = layer["features"].toArray();
            QCOMPARE(features.size(), 2);
            const QJsonObject first = features[0].toObject()["attributes"].toObject();
            QCOMPARE(first["name"].toString(), QString::fromUtf8("测点1"));
            QCOMPARE(first["code"].toString(), QString::fromUtf8("树"));
            QCOMPARE(first["z"].toDouble(), 3.5);
            const bool wgs84 = file.endsWith("kml") || file.endsWith("geojson");
            // WGS 84, with heights for GeoJSON (EPSG:4979).
            QVERIFY(QStringList(wgs84 ? QStringList{"4326", "4979"} : QStringList{"4547"})
                        .contains(layer["epsg"].toString()));
            for (int i = 0; i < 2; ++i) {
                const QJsonArray point = features[i].toObject()["point"].toArray();
                const QJsonArray expected = wgs84 ? layer["expected"].toArray()[i].toArray()
                                                  : QJsonArray{kPoints[i][3].toDouble(), kPoints[i][2].toDouble()};
                QVERIFY(qAbs(point[0].toDouble() - expected[0].toDouble()) < 1e-8);
                QVERIFY(qAbs(point[1].toDouble() - expected[1].toDouble()) < 1e-8);
            }
        }
        // Read back into the same system.
        t.w->program_clear();
        modal_script::queue_file(path);
        t.w->program_fileopen();
        const Rows rows = t.rows();
        QCOMPARE(rows.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(rows[i].mid(0, 2), kPoints[i].mid(0, 2));
            for (int c = 2; c < 5; ++c)
                QVERIFY2(qAbs(rows[i][c].toDouble() - kPoints[i][c].toDouble()) < 1e-4, qPrintable(rows[i][c]));
        }
    }

    void observation_layout_as_a_layer()
    {
        TableWindow t("KT20_KT40", [](WorkDir& dir) {
            dir.replace("config/config.xml", "</CONFIG>", "<crs>EPSG:4547</crs></CONFIG>");
        });
        t.add_row(QString::fromUtf8("MP|ROAD|P1|3380000|500000|5|K|1.5|0|123°45'30\"|090°00'00\"|12.6|0.3|12.5|1.8")
                      .split('|'));
        modal_script::queue_file(t.dir.file("o.gpkg"));
        QVERIFY(t.w->save_table_as());
        const QJsonObject layer = judge(t.dir.file("o.gpkg"));
        QCOMPARE(layer["types"].toObject().size(), 13); // every column but N and E, which are the point
        const QJsonObject attributes = layer["features"].toArray()[0].toObject()["attributes"].toObject();
        QCOMPARE(attributes["job"].toString(), QString("ROAD"));
        QCOMPARE(attributes["inst_h"].toString(), QString("1.5"));
        QCOMPARE(attributes["hz_angle"].toString(), QString::fromUtf8("123°45'30\""));
        QCOMPARE(attributes["refl_h"].toString(), QString("1.8"));
        // Read back, the points fill the point columns of the layout.
        t.w->program_clear();
        modal_script::queue_file(t.dir.file("o.gpkg"));
        t.w->program_fileopen();
        QCOMPARE(t.rows().value(0).mid(2, 5), (QStringList{"P1", "3380000", "500000", "5", "K"}));
    }

    // %1 is the file.
    void refusals_and_counts_data()
    {
        QTest::addColumn<QString>("crs");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("make"); // Python making the file, or a file's text
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("shown");

        QTest::newRow("KML without a system")
            << ""
            << "save:p.kml"
            << ""
            << ""
            << QStringList{"warning: Could not write the file %1: GeoJSON and KML hold WGS 84 longitude and latitude: "
                           "choose the points' coordinate system first"};
        QTest::newRow("GeoPackage without a system") << ""
                                                     << "save:p.gpkg"
                                                     << ""
                                                     << "Saved 2 rows to %1; written without a coordinate system "
                                                        "(none is chosen)"
                                                     << QStringList{};
        QTest::newRow("outside the area of use, told once")
            << "EPSG:4547"
            << "save:far.gpkg"
            << ""
            << "Saved 4 rows to %1"
            << QStringList{"information: Writing %1:\n2 points lie outside the area of use of EPSG:4547"};
        // A text file and a drawing hold no system, but their points are checked against the chosen one.
        const QString outside = "2 points lie outside the area of use of EPSG:4547";
        QTest::newRow("outside the area of use, text")
            << "EPSG:4547"
            << "save:far.txt"
            << ""
            << "Saved 4 rows to %1" << QStringList{"information: Writing %1:\n" + outside};
        QTest::newRow("outside the area of use, drawing")
            << "EPSG:4547"
            << "save:far.dxf"
            << ""
            << "Saved 4 rows to %1"
            << QStringList{"information: Writing %1:\nColumns this format does not keep: Code\n"
                           "2 points drawn without a height: Z is empty or not a number\n" +
                           outside};
        QTest::newRow("LandXML not well-formed")
            << ""
            << "open:bad.xml"
            << "text:<LandXML><CgPoints><CgPoint>1 2</CgPoints>"
            << ""
            << QStringList{"warning: Could not read the file %1: not well-formed XML at line 1, column 42: Opening "
                           "and ending tag mismatch."};
        QTest::newRow("another XML") << ""
                                     << "open:other.xml"
                                     << "text:<?xml version=\"1.0\"?>\n<html/>"
                                     << ""
                                     << QStringList{"warning: Could not read the file %1: not a LandXML file (its root "
                                                    "element is at line 2, column 7)"};
        QTest::newRow("longitude and latitude, no system chosen")
            << ""
            << "open:ll.geojson"
            << "text:{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":{\"name\":"
               "\"A\"},"
               "\"geometry\":{\"type\":\"Point\",\"coordinates\":[114.0,30.5]}}]}"
            << ""
            << QStringList{"warning: Could not read the file %1: the layer holds longitude and latitude (EPSG:4326) "
                           "and no coordinate system is chosen: choose the points' system first"};
        QTest::newRow("several layers, lines skipped")
            << "EPSG:4547"
            << "open:two.gpkg"
            << "python:from osgeo import ogr, osr\n"
               "import sys\n"
               "s = osr.SpatialReference(); s.ImportFromEPSG(4547)\n"
               "ds = ogr.GetDriverByName('GPKG').CreateDataSource(sys.argv[1])\n"
               "ds.CreateLayer('roads', s, ogr.wkbLineString)\n"
               "l = ds.CreateLayer('stakes', s, ogr.wkbUnknown)\n"
               "l.CreateField(ogr.FieldDefn('name', ogr.OFTString))\n"
               "for wkt in ['POINT (500000 3380000)', 'LINESTRING (0 0,1 1)']:\n"
               "    f = ogr.Feature(l.GetLayerDefn()); f.SetField('name', 'S1')\n"
               "    f.SetGeometry(ogr.CreateGeometryFromWkt(wkt)); l.CreateFeature(f)\n"
            << "Opened %1: 1 row; points read from layer \"stakes\", the first with points of the file's 2 layers"
            << QStringList{"information: Reading %1:\n1 lines, polygons or multi-point features skipped"};
        QTest::newRow("a system of its own, none chosen")
            << ""
            << "open:own.xml"
            << "text:<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\"><CoordinateSystem epsgCode=\"4547\"/>"
               "<CgPoints><CgPoint name=\"A\">1 2 3</CgPoint><CgPoint name=\"B\"/></CgPoints></LandXML>"
            << "Opened %1: 1 row"
            << QStringList{"information: Reading %1:\nthe file's coordinate system EPSG:4547 is not applied: none is "
                           "chosen, the coordinates are taken as they stand\n1 points without coordinates skipped"};
    }

    // The observation layout's lines hold N and E elsewhere (the raw formats keep the observation line).
    void observation_saves_check_the_area_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("observation line") << "far.txt";
        QTest::newRow("point line") << "far.pts";
    }

    void observation_saves_check_the_area()
    {
        QFETCH(QString, file);
        TableWindow t("KT20_KT40", [](WorkDir& dir) {
            dir.replace("config/config.xml", "</CONFIG>", "<crs>EPSG:4547</crs></CONFIG>");
        });
        for (const QStringList& point : {QStringList{"F", "100", "9000000"}, QStringList{"S", "3380000", "500000"}}) {
            QStringList cells;
            for (int column = 0; column < ObsColumn::Count; ++column)
                cells << QString();
            cells[ObsColumn::Name] = point[0];
            cells[ObsColumn::North] = point[1];
            cells[ObsColumn::East] = point[2];
            t.add_row(cells);
        }
        modal_script::clear();
        modal_script::queue_file(t.dir.file(file));
        t.w->save_table_as();
        QCOMPARE(shown_messages(), QStringList{"information: Writing " + t.dir.file(file) +
                                               ":\n1 points lie outside the area of use of EPSG:4547"});
    }

    void refusals_and_counts()
    {
        QFETCH(QString, crs);
        QFETCH(QString, file);
        QFETCH(QString, make);
        QFETCH(QString, status);
        QFETCH(QStringList, shown);
        TableWindow t("KT40", [&](WorkDir& dir) {
            if (!crs.isEmpty())
                dir.replace("config/config.xml", "</CONFIG>", "<crs>" + crs + "</crs></CONFIG>");
        });
        const QString path = t.dir.file(file.section(':', 1));
        fill(t, kPoints);
        if (path.contains("far")) {
            t.add_row({"F", "", "100", "9000000", ""});
            t.add_row({"G", "", "9000000", "100", ""});
        }
        if (make.startsWith("text:"))
            t.dir.write(file.section(':', 1), make.mid(5).toUtf8());
        else if (make.startsWith("python:"))
            QVERIFY(!run_python(make.mid(7), {path}).isNull());
        const Rows before = t.rows();
        modal_script::clear();
        modal_script::queue_file(path);
        if (file.startsWith("save:"))
            t.w->save_table_as();
        else
            t.w->program_fileopen();
        QCOMPARE(shown_messages(), QStringList(shown).replaceInStrings("%1", path));
        if (!status.isEmpty())
            QCOMPARE(t.w->ui->label_4->text(), QString(status).replace("%1", path));
        else if (file.startsWith("open:"))
            QCOMPARE(t.rows(), before); // refused: the table as it was
        else
            QVERIFY(!QFile::exists(path)); // refused: no file, not even half of one
    }
};

KT_TEST_MAIN(TestGeoFiles)
#include "tst_geofiles.moc"
