// The plan's linework: joined as rows arrive exactly as from all rows at once, joined again after an
// edit, drawn in the code's colour under the points and hidden by the View setting (kept in config.xml);
// the window's drawing with linework read back by ezdxf, and its report in the window's words.
#include "plan/planview.h"
#include "support/app/tablewindow.h"
#include "support/core/geotest.h"
#include "support/ui/ktest.h"
#include "survey/linework.h"
#include "window/commandkeys.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTableWidget>

namespace
{

CodeList test_codes()
{
    CodeList codes;
    codes.append({"WALL", CodeKind::Line, "WALL", 1, "Wall", "墙"});
    codes.append({"HOUSE", CodeKind::Area, "HOUSE", 5, "House", "房屋"});
    codes.append({"LAMP", CodeKind::Point, "LAMP", 2, "Lamp", "灯"});
    return codes;
}

// Name, code, N, E, Z rows: a wall along N 0 from E 0 to E 100 and on to E 100 N 100, a house, a lamp.
const QList<QStringList> kRows = {
    {"W1", "WALL", "0", "0", "1"},     {"W2", "WALL", "0", "50", "1"},     {"H1", "HOUSE", "60", "10", "2"},
    {"W3", "WALL", "0", "100", "1"},   {"H2", "HOUSE", "60", "40", "2"},   {"L1", "LAMP", "30", "30", "1"},
    {"H3", "HOUSE*", "90", "40", "2"}, {"W4", "WALL-", "100", "100", "1"}, {"X1", "ODD", "50", "80", "1"},
};

QStringList point_lines(const QTableWidget& table)
{
    QStringList lines;
    for (int row = 0; row < table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < 5; ++column)
            cells << (table.item(row, column) ? table.item(row, column)->text() : QString());
        lines << cells.join(',');
    }
    return lines;
}

// Each line as "CODE:first..last:vertices[:closed]", in the order they were started.
QStringList lines_of(const LineworkBuilder& linework)
{
    QStringList seen;
    for (const LineworkLine& line : linework.lines())
        seen << QString("%1:%2..%3:%4%5")
                    .arg(line.code, line.first_name(), line.last_name())
                    .arg(line.vertices.size())
                    .arg(line.closed ? ":closed" : "");
    return seen;
}

void add_row(QTableWidget* table, const QStringList& cells)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int c = 0; c < cells.size(); ++c)
        table->setItem(row, c, new QTableWidgetItem(cells[c]));
}

} // namespace

class TestPlanLinework : public QObject
{
    Q_OBJECT

private slots:
    void rows_arriving_join_as_all_rows_at_once()
    {
        QTableWidget table(0, 5);
        PlanView plan(&table, coordinate_plan_columns(), {});
        plan.set_code_list(test_codes());
        for (const QStringList& row : kRows) {
            add_row(&table, row);
            // The plan reads the table when drawn: one row at a time, as during a receive.
            QCOMPARE(lines_of(plan.linework()), lines_of(linework_of_point_lines(test_codes(), point_lines(table))));
        }
        QCOMPARE(lines_of(plan.linework()), QStringList({"WALL:W1..W4:4", "HOUSE:H1..H3:3:closed"}));
        // An edit earlier in the table joins every row again: W2 becomes a lamp, the wall goes on.
        table.item(1, 1)->setText("LAMP");
        QCOMPARE(lines_of(plan.linework()), QStringList({"WALL:W1..W4:3", "HOUSE:H1..H3:3:closed"}));
        table.removeRow(2);
        QCOMPARE(lines_of(plan.linework()), QStringList({"WALL:W1..W4:3", "HOUSE:H2..H3:2:closed"}));
        QCOMPARE(plan.linework().drawable_areas(), 0); // two points make no area, and the report says so
    }

    void drawn_in_the_code_colour_and_hidden_by_the_setting()
    {
        QTableWidget table(0, 5);
        PlanView plan(&table, coordinate_plan_columns(), {});
        plan.resize(400, 400);
        plan.set_texts({"%1 points"});
        plan.set_code_list(test_codes());
        for (const QStringList& row : kRows)
            add_row(&table, row);
        plan.fit_to_points();
        const auto red_pixels = [&plan] {
            QImage image(plan.size(), QImage::Format_RGB32);
            QPainter painter(&image);
            plan.render_plan(&painter, image.size());
            painter.end();
            // Along the wall's first leg, between W1 and W2 (no point or name there).
            const QPointF from = plan.view_transform().to_screen(QPointF(15, 0));
            const QPointF to = plan.view_transform().to_screen(QPointF(35, 0));
            int red = 0;
            for (int x = int(from.x()); x <= int(to.x()); ++x) {
                for (int dy = -1; dy <= 1; ++dy) {
                    const QColor c = image.pixelColor(x, int(from.y()) + dy);
                    red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
                }
            }
            return red;
        };
        QVERIFY(red_pixels() > 10);
        plan.set_show_linework(false);
        QCOMPARE(red_pixels(), 0);
    }

    void window_setting_drawing_and_report()
    {
        TableWindow t("KT40");
        PlanView* plan = t.w->findChild<PlanView*>("planView");
        QVERIFY(plan);
        QVERIFY(plan->show_linework());
        for (const QStringList& row : kRows)
            t.add_row(row);
        // The View setting is kept for the next start.
        t.w->run_command(Command::PlanLinework);
        QVERIFY(!plan->show_linework());
        QFile settings(t.w->settings_file());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(settings.readAll().contains("<planlinework>0</planlinework>"));

        const QString path = t.dir.file("coded.dxf");
        QVERIFY(t.w->save_linework_drawing(path));
        const QByteArray judged = run_python(R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
for e in doc.modelspace():
    if e.dxftype() in ("POLYLINE", "LWPOLYLINE"):
        print(e.dxf.layer, e.dxf.color if e.dxf.hasattr("color") else "bylayer", doc.layers.get(e.dxf.layer).color,
              len(list(e.points() if e.dxftype() == "POLYLINE" else e.vertices_in_wcs())), e.is_closed)
    elif e.dxftype() == "INSERT":
        print("symbol", e.dxf.name)
)",
                                             {path});
        QCOMPARE(QString::fromUtf8(judged).trimmed().split('\n'),
                 QStringList({"symbol LAMP", "WALL bylayer 1 4 False", "HOUSE bylayer 7 3 True"}));
        // A GeoPackage holds the lines and areas as layers of their own beside the points.
        QVERIFY(t.w->save_point_file(t.dir.file("coded.gpkg")));
        const QByteArray layers = run_python(R"(
import sys
from osgeo import ogr
ds = ogr.Open(sys.argv[1])
for i in range(ds.GetLayerCount()):
    layer = ds.GetLayer(i)
    f = layer.GetNextFeature()
    print(layer.GetName(), layer.GetFeatureCount(), ogr.GeometryTypeToName(layer.GetGeomType()),
          f.GetField("code") if layer.GetName() != "coded" else "")
)",
                                             {t.dir.file("coded.gpkg")});
        QCOMPARE(
            QString::fromUtf8(layers).trimmed().split('\n'),
            QStringList({"coded 9 3D Point ", "coded_lines 1 3D Line String WALL", "coded_areas 1 3D Polygon HOUSE"}));
        // The report names the unknown code with its row, in the window's words.
        const QString report = t.w->linework_report_text();
        QVERIFY2(report.startsWith("1 lines and 1 areas") && report.contains("ODD: code not in the code list") &&
                     report.contains("(rows 9)"),
                 qPrintable(report));
    }
};

KT_TEST_MAIN(TestPlanLinework)
#include "tst_planlinework.moc"
