// The workbook export's writer without its dialog: INPUT's first line holds the titles, the other
// lines are observation lines; they become sheet "Data" of OUTPUT, as the export writes it.
#include "data/exportsheet.h"
#include "data/fileoperation.h"
#include "data/workbook.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fputs("usage: bench_export INPUT OUTPUT.xlsx\n", stderr);
        return 2;
    }
    FileOperation files;
    QStringList lines = files.readfile(args[0]);
    if (lines.isEmpty()) {
        std::fprintf(stderr, "bench_export: nothing read from %s\n", qPrintable(args[0]));
        return 1;
    }
    const QStringList titles = lines.takeFirst().split(QLatin1Char(','));
    Workbook book("Data");
    write_title_row(book, titles);
    write_observation_rows(book, titles.size(), lines);
    if (!book.save(args[1])) {
        std::fprintf(stderr, "bench_export: %s\n", qPrintable(book.error()));
        return 1;
    }
    return 0;
}
