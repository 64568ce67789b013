// The job report of the point lines of INPUT (name,code,N,E,Z) written as OUTPUT.pdf, its texts from
// the runtime folder RUNTIME's parameter.xml (English). Prints the seconds of building and writing,
// the pages and the bytes as key=value.
#include "config/xml_analysis.h"
#include "report/reportpages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3) {
        std::fputs("usage: bench_report RUNTIME INPUT OUTPUT.pdf\n", stderr);
        return 2;
    }
    QStringList texts;
    for (const QStringList& row : xml_analysis().get_parameter("English", args[0])) {
        if (row.value(0) == "ReportTexts")
            texts << row.mid(1);
    }
    QElapsedTimer clock;
    clock.start();
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "bench_report: %s\n", qPrintable(file.errorString()));
        return 1;
    }
    ReportInput input;
    for (const QString& line : QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts))
        input.rows << line.split(',');
    input.captions = QStringList{"Name", "Code", "N", "E", "Z"};
    input.table_columns = {0, 1, 2, 3, 4};
    input.plan_columns = coordinate_plan_columns();
    input.suspect_columns = coordinate_suspect_columns();
    input.job = QFileInfo(args[1]).completeBaseName();
    input.crs = "EPSG:4547";
    const JobReport report = build_job_report(input, texts);
    const qint64 built = clock.nsecsElapsed();
    QString error;
    int pages = 0;
    if (!write_report_pdf(report, args[2], {}, &error, &pages)) {
        std::fprintf(stderr, "bench_report: %s\n", qPrintable(error));
        return 1;
    }
    const qint64 written = clock.nsecsElapsed();
    std::printf("build=%.4f write=%.4f pages=%d bytes=%lld\n", built / 1e9, (written - built) / 1e9, pages,
                QFileInfo(args[2]).size());
    return 0;
}
