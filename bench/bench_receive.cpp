// Receiving records over a pty into the point table, the instrument answering at once: "kt40" plays a
// KT40 header, the records and the end frame; "kt20kt40" a KT20_KT40 coordinate start request, the
// records and the end frame; a third argument "log" turns the communication log on. The recovery journal
// is written as in every receive. Prints the exchange's wall time, the CPU time of the program's (GUI)
// thread and the bytes that went both ways.
#include "benchwindow.h"
#include "comm/kt2040_frames.h"
#include "ptyline.h"

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>

#include <cstdio>
#include <ctime>

namespace
{

double thread_cpu_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Point i: name, code, N, E, Z, varied so that no two records are alike.
QStringList point(int i)
{
    return {QStringLiteral("P%1").arg(i), QStringLiteral("C%1").arg(i % 50),
            QString::number(3456000.0 + i * 0.125, 'f', 3), QString::number(512000.0 - i * 0.25, 'f', 3),
            QString::number(100.0 + (i % 1000) * 0.01, 'f', 3)};
}

std::vector<PtyLine::Step> kt40_script(int records)
{
    const QByteArray ack = kt2040::kt40_ack();
    QByteArray header = QByteArray("\xAA\x80", 2) + "BENCH ";
    header.append(char((records >> 8) & 0xFF)).append(char(records & 0xFF)).append("\xAA\x82", 2);
    std::vector<PtyLine::Step> steps{{header, ack}};
    for (int i = 0; i < records; ++i)
        steps.push_back({kt2040::kt40_record(i, point(i)), ack});
    steps.push_back({kt2040::kt40_end(), kt2040::kt40_end()});
    return steps;
}

std::vector<PtyLine::Step> kt20kt40_script(int records)
{
    const QByteArray request("\x01J\r", 3);
    std::vector<PtyLine::Step> steps{{request, request}};
    for (int i = 0; i < records; ++i) {
        // The observation layout's columns: 2 name, 6 code, 3 N, 4 E, 5 Z.
        const QStringList p = point(i);
        QStringList cells;
        for (int c = 0; c < 15; ++c)
            cells << QString();
        cells[2] = p[0];
        cells[6] = p[1];
        cells[3] = p[2];
        cells[4] = p[3];
        cells[5] = p[4];
        const QByteArray frame = kt2040::kt20kt40_record(kt2040::kt20kt40_record_text(i, records, cells));
        steps.push_back({frame, kt2040::record_ack(frame)});
    }
    steps.push_back({QByteArray("\x01Q\r", 3), QByteArray()});
    return steps;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const bool kt40 = args.value(0) == "kt40";
    const int records = args.value(1).toInt();
    // Options after the count: "log" turns the communication log on, "noplan" hides the plan.
    const QStringList options = args.mid(2);
    const bool log = options.contains("log");
    const bool bad_option =
        std::any_of(options.begin(), options.end(), [](const QString& o) { return o != "log" && o != "noplan"; });
    if ((!kt40 && args.value(0) != "kt20kt40") || records <= 0 || records > 0xFFFF || bad_option) {
        std::fputs("usage: bench_receive kt40|kt20kt40 RECORDS [log] [noplan]\n", stderr);
        return 2;
    }
    // The journal and the log go to a data folder of this run.
    QTemporaryDir data_home;
    qputenv("XDG_DATA_HOME", data_home.path().toUtf8());
    enter_runtime_folder();
    const auto w = start_bench_window(kt40 ? "KT40" : "KT20_KT40");
    if (!w) {
        std::fputs("bench_receive: the window did not start\n", stderr);
        return 1;
    }
    // "noplan" hides the plan beside the table, to tell its share of the receive.
    if (options.contains("noplan") && w->plan_view)
        w->toggle_plan_view();

    PtyLine line;
    w->portname = line.port_name();
    w->CommunicationMode = LinkMode::Cable;
    w->program_commconnect();
    if (!line.is_open() || !w->serial->isOpen()) {
        std::fputs("bench_receive: the pty could not be opened\n", stderr);
        return 1;
    }
    w->set_comm_log(log);
    w->ZuobiaoLeixing = kt2040::Coordinates;
    w->program_receivedata();

    std::vector<PtyLine::Step> steps = kt40 ? kt40_script(records) : kt20kt40_script(records);
    const double cpu_start = thread_cpu_seconds();
    line.play(std::move(steps), [] { QMetaObject::invokeMethod(qApp, "quit", Qt::QueuedConnection); });
    app.exec();
    const double cpu = thread_cpu_seconds() - cpu_start;

    if (!line.error().isEmpty()) {
        std::fprintf(stderr, "bench_receive: %s\n", qPrintable(line.error()));
        return 1;
    }
    // The last frame of a KT20_KT40 receive has no answer: let it arrive before the rows are counted.
    QApplication::processEvents();
    const int rows = w->tableWidget->rowCount();
    if (rows != records) {
        std::fprintf(stderr, "bench_receive: %d rows in the table, %d records sent\n", rows, records);
        return 1;
    }
    std::printf("seconds=%.6f cpu=%.6f bytes=%lld rows=%d\n", line.seconds(), cpu,
                line.bytes_written() + line.bytes_read(), rows);
    return 0;
}
