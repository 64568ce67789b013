// Opening a coordinate file: "table" opens it into the point table of a shown KT40 window through the
// open command (the file dialog answered by the scripted seam) and lets the window lay out and paint
// once; "reader" only reads its point lines with readfile_byextension. Prints the seconds taken and
// the points read.
#include "benchwindow.h"
#include "data/fileoperation.h"
#include "modal/modal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTableWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    if (args.size() != 2 || (mode != "table" && mode != "reader")) {
        std::fputs("usage: bench_tableopen table|reader FILE\n", stderr);
        return 2;
    }
    const QString path = QFileInfo(args[1]).absoluteFilePath();
    enter_runtime_folder();

    QElapsedTimer clock;
    int points = 0;
    if (mode == "reader") {
        FileOperation files;
        clock.start();
        points = files.readfile_byextension(path, QFileInfo(path).suffix()).size();
    } else {
        const auto w = start_bench_window("KT40");
        if (!w) {
            std::fputs("bench_tableopen: the window did not start\n", stderr);
            return 1;
        }
        modal_script::queue_file(path);
        clock.start();
        w->program_fileopen();
        QApplication::processEvents();
        points = w->tableWidget->rowCount();
    }
    const double seconds = double(clock.nsecsElapsed()) * 1e-9;
    if (points == 0) {
        std::fprintf(stderr, "bench_tableopen: no point read from %s\n", qPrintable(path));
        return 1;
    }
    std::printf("seconds=%.6f points=%d\n", seconds, points);
    return 0;
}
