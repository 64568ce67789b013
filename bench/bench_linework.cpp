// The drawing with linework without the window: the point lines of INPUT (name,code,N,E,Z), joined
// by the code list CODES, drawn into OUTPUT.dxf as the save with linework draws them. Prints the
// seconds each step took as key=value.
#include "gis/lineworkdrawing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3) {
        std::fputs("usage: bench_linework CODES.xml INPUT OUTPUT.dxf\n", stderr);
        return 2;
    }
    CodeList codes;
    CodeListError error;
    if (!read_code_list_file(args[0], &codes, &error)) {
        std::fprintf(stderr, "bench_linework: %s\n", qPrintable(code_list_error_text(error)));
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    QFile input(args[1]);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "bench_linework: %s\n", qPrintable(input.errorString()));
        return 1;
    }
    const QStringList lines = QString::fromLatin1(input.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const qint64 read = clock.nsecsElapsed();
    LineworkBuilder linework(codes);
    linework.add_point_lines(lines);
    const qint64 joined = clock.nsecsElapsed();
    LineworkDrawingReport report;
    if (!write_linework_drawing(args[2], lines, linework, &report)) {
        std::fprintf(stderr, "bench_linework: %s\n", qPrintable(report.error));
        return 1;
    }
    const qint64 drawn = clock.nsecsElapsed();
    std::printf("read=%.4f join=%.4f draw=%.4f lines=%d areas=%d symbols=%d\n", read / 1e9, (joined - read) / 1e9,
                (drawn - joined) / 1e9, report.lines, report.areas, report.symbols);
    return 0;
}
