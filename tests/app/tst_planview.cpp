// The plan view: coordinates read from rows, the grid index, the view transform and label culling
// against known answers; the widget rendered offscreen, selection shared with the table, live updates
// during a pty receive, rows without numeric coordinates left out, PNG and SVG written and read back.
#include "comm/kt2040_frames.h"
#include "data/labelplacer.h"
#include "data/plangrid.h"
#include "data/planpoints.h"
#include "data/plantransform.h"
#include "plan/planview.h"
#include "support/app/linkedwindow.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "window/commandkeys.h"

#include <QDomDocument>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <set>

Q_DECLARE_METATYPE(PlanKind)

namespace
{

const QColor kPointColour(29, 53, 87);
const QStringList kTexts = {"%1 points", "%1 left out", "Fit",  "Codes", "PNG", "SVG", "",
                            "",          "failed %1",   "%1 m", "N",     "plan"};

void add_row(QTableWidget* table, const QStringList& cells)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int c = 0; c < cells.size(); ++c)
        table->setItem(row, c, new QTableWidgetItem(cells[c]));
}

// Name, code, N, E, Z rows of the coordinate layout: P1 at E 0 N 0, P2 at E 200 N 100, two rows
// without numeric coordinates, P5 at E 100 N 50.
void fill_known_set(QTableWidget* table)
{
    table->setColumnCount(5);
    add_row(table, {"P1", "A", "0", "0", "1"});
    add_row(table, {"P2", "B", "100", "200", "1"});
    add_row(table, {"P3", "C", "abc", "5", "1"});
    add_row(table, {"P4", "D", "", "5", "1"});
    add_row(table, {"P5", "E", "50", "100", "1"});
}

QImage rendered(PlanView& plan)
{
    QImage image(plan.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    plan.render_plan(&painter, image.size());
    return image;
}

} // namespace

class TestPlanView : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void coordinates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::addColumn<double>("value");
        QTest::newRow("decimal") << "3456123.456" << true << 3456123.456;
        QTest::newRow("negative, blanks") << "  -12.5 " << true << -12.5;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("text") << "abc" << false << 0.0;
        QTest::newRow("unit letter") << "12.5m" << false << 0.0;
        QTest::newRow("decimal comma") << "12,5" << false << 0.0;
        QTest::newRow("infinite") << "inf" << false << 0.0;
        QTest::newRow("not a number") << "nan" << false << 0.0;
        QTest::newRow("overflow") << "1e999" << false << 0.0;
    }
    void coordinates()
    {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QFETCH(double, value);
        double read = 0;
        QCOMPARE(plan_coordinate(text, &read), number);
        if (number)
            QCOMPARE(read, value);
    }

    void rows_as_points_data()
    {
        QTest::addColumn<bool>("observation");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<bool>("drawn");
        QTest::addColumn<QPointF>("position");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("code");
        QTest::addColumn<PlanKind>("kind");
        const QStringList obs = {"", "JOB", "PT", "10.5", "20.25", "1", "CD", "", "", "", "", "", "", "", ""};
        auto with = [&](int column, const QString& value) {
            QStringList cells = obs;
            cells[column] = value;
            return cells;
        };
        QTest::newRow("coordinate") << false << QStringList{"A1", "K", "100", "200", "5"} << true << QPointF(200, 100)
                                    << "A1"
                                    << "K" << PlanKind::Point;
        QTest::newRow("coordinate, N not a number")
            << false << QStringList{"A1", "K", "x", "200", "5"} << false << QPointF() << ""
            << "" << PlanKind::Point;
        QTest::newRow("observation point") << true << obs << true << QPointF(20.25, 10.5) << "PT"
                                           << "CD" << PlanKind::Point;
        QTest::newRow("station") << true << with(0, "Station") << true << QPointF(20.25, 10.5) << "PT"
                                 << "CD" << PlanKind::Station;
        QTest::newRow("backsight") << true << with(0, "Backsight") << true << QPointF(20.25, 10.5) << "PT"
                                   << "CD" << PlanKind::Backsight;
        QTest::newRow("measured point label") << true << with(0, "Measured") << true << QPointF(20.25, 10.5) << "PT"
                                              << "CD" << PlanKind::Point;
        QTest::newRow("backsight without coordinates") << true << with(3, "") << false << QPointF() << ""
                                                       << "" << PlanKind::Point;
    }
    void rows_as_points()
    {
        QFETCH(bool, observation);
        QFETCH(QStringList, cells);
        QFETCH(bool, drawn);
        PlanPoint point;
        const bool made = plan_point_of_row(
            observation ? observation_plan_columns() : coordinate_plan_columns(), {"Station", "Backsight"},
            [&](int c) { return cells.value(c); }, 7, &point);
        QCOMPARE(made, drawn);
        if (!drawn)
            return;
        QTEST(point.position, "position");
        QTEST(point.name, "name");
        QTEST(point.code, "code");
        QTEST(point.kind, "kind");
        QCOMPARE(point.row, 7);
    }

    void truncating_keeps_the_count_of_earlier_rows()
    {
        // Rows 0, 2, 3 and 5 have points; 1 and 4 were left out.
        PlanPoints points;
        for (int row : {0, 2, 3, 5}) {
            PlanPoint p;
            p.row = row;
            points.points.append(p);
        }
        points.rows_left_out = 2;
        points.truncate_from_row(4);
        QCOMPARE(points.points.size(), 3);
        QCOMPARE(points.rows_left_out, 1);
        points.truncate_from_row(0);
        QCOMPARE(points.points.size(), 0);
        QCOMPARE(points.rows_left_out, 0);
    }

    void transform_fit_zoom_pan()
    {
        PlanTransform view;
        view.set_view_size(QSizeF(400, 300));
        view.fit(QRectF(QPointF(0, 0), QPointF(200, 100)), 30);
        QCOMPARE(view.scale(), 1.7); // min(340 / 200, 240 / 100)
        QCOMPARE(view.to_screen(QPointF(0, 0)), QPointF(30, 235));
        QCOMPARE(view.to_screen(QPointF(200, 100)), QPointF(370, 65));
        QCOMPARE(view.to_world(QPointF(200, 150)), QPointF(100, 50));
        // Zooming keeps the place under the cursor where it was.
        view.zoom_at(QPointF(370, 65), 2);
        QCOMPARE(view.scale(), 3.4);
        QCOMPARE(view.to_screen(QPointF(200, 100)), QPointF(370, 65));
        QCOMPARE(view.to_screen(QPointF(0, 0)), QPointF(-310, 405));
        // Panning moves what was at p to p + delta; N stays up.
        view.pan(QPointF(10, -20));
        QCOMPARE(view.to_screen(QPointF(200, 100)), QPointF(380, 45));
        // One point: a fixed extent across the view, centred.
        view.fit(QRectF(QPointF(5, 5), QPointF(5, 5)), 30, 10);
        QCOMPARE(view.to_screen(QPointF(5, 5)), QPointF(200, 150));
        QCOMPARE(view.scale(), 24.0);
        // Points on a line north to south: the N extent decides.
        view.fit(QRectF(QPointF(5, 0), QPointF(5, 120)), 30);
        QCOMPARE(view.scale(), 2.0);
    }

    void scale_bar_lengths_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("length");
        QTest::newRow("1.7 px/m, 150 px") << 1.7 << 50.0;
        QTest::newRow("1 px/m") << 1.0 << 100.0;
        QTest::newRow("0.01 px/m") << 0.01 << 10000.0;
        QTest::newRow("600 px/m") << 600.0 << 0.2;
    }
    void scale_bar_lengths()
    {
        QFETCH(double, scale);
        QTEST(scale_bar_length(scale, 150), "length");
    }

    void grid_matches_a_search_of_every_point()
    {
        QRandomGenerator rng(14);
        QVector<QPointF> positions;
        for (int i = 0; i < 3000; ++i)
            positions.append(QPointF(512000 + rng.bounded(5000.0), 3456000 + rng.bounded(2000.0)));
        positions.append(positions[17]); // a duplicate
        PlanGrid grid;
        grid.build(positions);
        for (int trial = 0; trial < 50; ++trial) {
            const QRectF area(512000 + rng.bounded(6000.0) - 500, 3456000 + rng.bounded(3000.0) - 500,
                              rng.bounded(1500.0), rng.bounded(1500.0));
            std::set<int> expected, found;
            for (int i = 0; i < positions.size(); ++i) {
                if (positions[i].x() >= area.left() && positions[i].x() <= area.right() &&
                    positions[i].y() >= area.top() && positions[i].y() <= area.bottom())
                    expected.insert(i);
            }
            grid.for_each_in(area, [&](int i) { QVERIFY(found.insert(i).second); });
            QCOMPARE(found, expected);

            const QPointF place = area.center();
            int nearest = -1;
            double best = 40.0 * 40.0;
            for (int i = 0; i < positions.size(); ++i) {
                const QPointF d = positions[i] - place;
                if (d.x() * d.x() + d.y() * d.y() <= best) {
                    best = d.x() * d.x() + d.y() * d.y();
                    nearest = i;
                }
            }
            const int got = grid.nearest(place, 40);
            QCOMPARE(got < 0, nearest < 0);
            if (got >= 0)
                QCOMPARE(positions[got], positions[nearest]);
        }
        // Outside every point, and an empty grid.
        QCOMPARE(grid.nearest(QPointF(0, 0), 100), -1);
        PlanGrid empty;
        empty.build({});
        QCOMPARE(empty.nearest(QPointF(0, 0), 100), -1);
    }

    void labels_do_not_overlap()
    {
        LabelPlacer placer(16);
        QVERIFY(placer.place(QRectF(0, 0, 40, 12)));
        QVERIFY(!placer.place(QRectF(30, 5, 40, 12)));   // overlaps the first
        QVERIFY(placer.place(QRectF(41, 0, 40, 12)));    // beside it
        QVERIFY(placer.place(QRectF(-50, -30, 20, 12))); // negative screen places
        QVERIFY(!placer.overlaps(QRectF(0, 13, 100, 12)));
        placer.reserve(QRectF(0, 0, 5, 5)); // kept whatever it covers
        QCOMPARE(placer.placed(), 4);

        // Beside a point: right and above first, then the other corners in turn; the width is measured
        // only for a corner whose square is free.
        LabelPlacer beside;
        int measured = 0;
        const auto width = [&] {
            ++measured;
            return 30.0;
        };
        QRectF rect;
        QVERIFY(beside.place_beside(QPointF(100, 100), 4, 12, width, &rect));
        QCOMPARE(rect, QRectF(104, 89, 30, 12));
        QVERIFY(beside.place_beside(QPointF(100, 100), 4, 12, width, &rect));
        QCOMPARE(rect, QRectF(104, 101, 30, 12)); // below
        QVERIFY(beside.place_beside(QPointF(100, 100), 4, 12, width, &rect));
        QCOMPARE(rect, QRectF(66, 89, 30, 12)); // left
        QVERIFY(beside.place_beside(QPointF(100, 100), 4, 12, width, &rect));
        QCOMPARE(rect, QRectF(66, 101, 30, 12));
        measured = 0;
        QVERIFY(!beside.place_beside(QPointF(100, 100), 4, 12, width, &rect));
        QCOMPARE(measured, 0);
    }

    void renders_the_known_set()
    {
        QTableWidget table;
        PlanView plan(&table, coordinate_plan_columns(), {});
        plan.set_texts(kTexts);
        plan.resize(400, 300);
        fill_known_set(&table);
        QCOMPARE(plan.status_text(), QString("3 points  2 left out"));
        QCOMPARE(plan.view_transform().scale(), 1.7);
        const QImage image = rendered(plan);
        for (const QPoint& at : {QPoint(30, 235), QPoint(370, 65), QPoint(200, 150)})
            QCOMPARE(image.pixelColor(at), kPointColour);
        QVERIFY(image.pixelColor(QPoint(100, 200)) != kPointColour);
        QCOMPARE(plan.row_at(QPoint(372, 63)), 1);
        QCOMPARE(plan.row_at(QPoint(200, 100)), -1);

        // Zoomed around P2, the view stays put as rows change; fitting follows the rows again.
        plan.zoom_at(QPointF(370, 65), 2);
        add_row(&table, {"P6", "F", "-100", "-100", "1"});
        QCOMPARE(plan.view_transform().to_screen(QPointF(200, 100)), QPointF(370, 65));
        QCOMPARE(rendered(plan).pixelColor(QPoint(370, 65)), kPointColour);
        plan.fit_to_points();
        QCOMPARE(plan.view_transform().scale(), 340.0 / 300);
        QCOMPARE(plan.view_transform().to_screen(QPointF(-100, -100)).x(), 30.0);
        // An edited cell and a removed row are read again.
        table.item(0, 2)->setText("none");
        QCOMPARE(plan.status_text(), QString("3 points  3 left out"));
        table.removeRow(2);
        QCOMPARE(plan.status_text(), QString("3 points  2 left out"));
        QCOMPARE(plan.plan_points().points.last().row, 4);
        table.setRowCount(0);
        QCOMPARE(plan.status_text(), QString("0 points"));
    }

    void window_plan_follows_the_table_both_ways()
    {
        TableWindow t("KT40");
        MainWindow& w = *t.w;
        QVERIFY(w.plan_view);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        PlanView& plan = *w.plan_view;
        QVERIFY(plan.isVisible());
        QVERIFY(plan.width() > 100 && plan.height() > 100);

        // Opening a file fills the table with its signals held: the plan still sees every row.
        t.dir.write("points.txt", "A,,10,10,0\nB,,20,30,0\nC,,x,5,0\nD,,40,20,0\n");
        modal_script::queue_file(t.dir.file("points.txt"));
        w.program_fileopen();
        QCOMPARE(w.tableWidget->rowCount(), 4);
        QCOMPARE(plan.plan_points().points.size(), 3);
        QCOMPARE(plan.status_text(), QString("3 points  1 row without numeric coordinates is not drawn"));

        w.tableWidget->selectRow(3);
        QCOMPARE(plan.selected_row(), 3);
        const QPoint b = plan.view_transform().to_screen(QPointF(30, 20)).toPoint();
        QTest::mouseClick(&plan, Qt::LeftButton, {}, b);
        QCOMPARE(plan.selected_row(), 1);
        QCOMPARE(w.tableWidget->currentRow(), 1);
        QCOMPARE(w.tableWidget->selectionModel()->selectedRows().value(0).row(), 1);

        w.program_delete(); // the selected row
        QCOMPARE(plan.plan_points().points.size(), 2);
        modal_script::queue_answer(QMessageBox::Discard); // the deletion left unsaved rows
        w.program_clear();
        QCOMPARE(plan.plan_points().points.size(), 0);

        w.run_command(Command::TogglePlan);
        QVERIFY(!plan.isVisible());
        w.run_command(Command::TogglePlan);
        QVERIFY(plan.isVisible());
    }

    void observation_layout_kinds_and_no_plan_for_kt90()
    {
        {
            TableWindow t("KT20_KT40");
            MainWindow& w = *t.w;
            QVERIFY(w.plan_view);
            const QString station = w.get_map_data("STN", w.CoordinateType);
            const QString backsight = w.get_map_data("BK", w.CoordinateType);
            QVERIFY(!station.isEmpty() && !backsight.isEmpty());
            const auto add = [&](const QString& kind, const QString& name, const QString& n, const QString& e) {
                QStringList row;
                for (int c = 0; c < 15; ++c)
                    row << QString();
                row[0] = kind;
                row[2] = name;
                row[3] = n;
                row[4] = e;
                t.add_row(row);
            };
            add(station, "S1", "1000", "2000");
            add(backsight, "B1", "1100", "2000");
            add(w.get_map_data("MP", w.CoordinateType), "M1", "", "");
            const PlanPoints& points = w.plan_view->plan_points();
            QCOMPARE(points.points.size(), 2);
            QCOMPARE(points.points[0].kind, PlanKind::Station);
            QCOMPARE(points.points[1].kind, PlanKind::Backsight);
            QCOMPARE(points.points[1].position, QPointF(2000, 1100));
            QCOMPARE(points.rows_left_out, 1);
        }
        TableWindow kt90("KT90");
        QVERIFY(!kt90.w->plan_view);
    }

    void live_updates_during_a_receive()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        QVERIFY(w.plan_view);
        const int records = 30;
        QByteArray header = QByteArray::fromHex("aa80") + "LIVE  ";
        header.append(char(0)).append(char(records)).append(QByteArray::fromHex("aa82"));
        w.program_receivedata();
        link.pty.send(header);
        QCOMPARE(link.pty.receive(2), kt2040::kt40_ack());
        for (int i = 0; i < records; ++i) {
            const QStringList cells = {QString("R%1").arg(i), "", QString::number(100 + i), QString::number(i * 2),
                                       "0"};
            link.pty.send(kt2040::kt40_record(i, cells));
            QCOMPARE(link.pty.receive(2), kt2040::kt40_ack());
            QCOMPARE(w.plan_view->plan_points().points.size(), i + 1);
            QCOMPARE(w.plan_view->plan_points().points.last().position, QPointF(i * 2, 100 + i));
        }
        link.pty.send(kt2040::kt40_end());
        QCOMPARE(link.pty.receive(2), kt2040::kt40_end());
        // All points in view, as the plan fits them while they come.
        const PlanTransform& view = w.plan_view->view_transform();
        const QRectF shown(QPointF(0, 0), QSizeF(w.plan_view->size()));
        QVERIFY(shown.contains(view.to_screen(QPointF(0, 100))));
        QVERIFY(shown.contains(view.to_screen(QPointF(58, 129))));
    }

    void exports_png_and_svg()
    {
        QTableWidget table;
        PlanView plan(&table, coordinate_plan_columns(), {});
        plan.set_texts(kTexts);
        plan.resize(400, 300);
        fill_known_set(&table);
        QTemporaryDir dir;
        const QString png = dir.filePath("plan.png"), svg = dir.filePath("plan.svg");
        QVERIFY(plan.export_png(png));
        const QImage image(png);
        QCOMPARE(image.size(), QSize(400, 300));
        QCOMPARE(image.pixelColor(QPoint(370, 65)), kPointColour);

        QVERIFY(plan.export_svg(svg));
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QDomDocument document;
        QVERIFY(document.setContent(&file));
        QCOMPARE(document.documentElement().tagName(), QString("svg"));
        QCOMPARE(document.documentElement().firstChildElement("title").text(), QString("plan"));
        QVERIFY(document.toString().contains("P2"));
        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 400, 300));

        // A folder that does not exist: nothing written, the user told.
        QVERIFY(!plan.export_png(dir.filePath("missing/plan.png")));
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown().first().text,
                 "failed " + QDir::toNativeSeparators(dir.filePath("missing/plan.png")));
    }
};

KT_TEST_MAIN(TestPlanView)
#include "tst_planview.moc"
