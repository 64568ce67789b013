// Drawing the plan of a coordinate file: "plan" reads the file's point lines, fills a point table with
// them and draws a full (fitted) view of their plan into an image, the first draw reading every row
// into the plan; "redraw" then draws the same view again and again (as a pan or zoom does) and reports
// the median draw. With a code list, the plan joins the points' codes and draws the linework under
// them. Prints the seconds taken, the points drawn and the lines and areas joined.
#include "data/fileoperation.h"
#include "data/pointrows.h"
#include "plan/planview.h"
#include "survey/codelist.h"
#include "survey/linework.h"
#include "table/tablerows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    if (args.size() < 2 || args.size() > 3 || (mode != "plan" && mode != "redraw")) {
        std::fputs("usage: bench_plan plan|redraw FILE [CODES.xml]\n", stderr);
        return 2;
    }
    const QString path = QFileInfo(args[1]).absoluteFilePath();
    FileOperation files;
    QTableWidget table;
    table.setColumnCount(5);
    fill_table(&table, point_line_shape(TableLayout::Coordinate),
               files.readfile_byextension(path, QFileInfo(path).suffix()));
    PlanView plan(&table, coordinate_plan_columns(), {});
    if (args.size() == 3) {
        CodeList codes;
        CodeListError error;
        if (!read_code_list_file(args[2], &codes, &error)) {
            std::fprintf(stderr, "bench_plan: %s\n", qPrintable(code_list_error_text(error)));
            return 1;
        }
        plan.set_code_list(codes);
        plan.set_show_linework(true);
    }
    plan.resize(1000, 800);
    QImage image(plan.size(), QImage::Format_RGB32);

    const auto draw = [&] {
        QPainter painter(&image);
        plan.render_plan(&painter, image.size());
    };
    QElapsedTimer clock;
    clock.start();
    draw(); // reads every row into the plan, then draws
    double seconds = double(clock.nsecsElapsed()) * 1e-9;
    if (mode == "redraw") {
        std::vector<double> draws;
        for (int i = 0; i < 15; ++i) {
            clock.start();
            draw();
            draws.push_back(double(clock.nsecsElapsed()) * 1e-9);
        }
        std::nth_element(draws.begin(), draws.begin() + draws.size() / 2, draws.end());
        seconds = draws[draws.size() / 2];
    }
    const int points = int(plan.plan_points().points.size());
    if (points == 0) {
        std::fprintf(stderr, "bench_plan: no point drawn from %s\n", qPrintable(path));
        return 1;
    }
    std::printf("seconds=%.6f points=%d lines=%d areas=%d\n", seconds, points, plan.linework().drawable_lines(),
                plan.linework().drawable_areas());
    return 0;
}
