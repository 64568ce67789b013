// ktsim: plays a KT-family total station on a serial port or a pseudo-terminal, so that ktlink can
// be tried and tested without an instrument.
#include "simdata.h"
#include "simlink.h"
#include "simoptions.h"
#include "simserver.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

namespace
{

std::atomic<bool> stop_requested{false};

extern "C" void request_stop(int)
{
    stop_requested = true;
}

void print_line(const QString& text)
{
    const QByteArray bytes = (text + '\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    SimOptions options;
    QString error;
    bool help = false;
    if (!parse_sim_options(args, &options, &error, &help)) {
        say(error + " (ktsim --help shows the usage)");
        return 2;
    }
    if (help) {
        std::fputs(kSimUsage, stdout);
        return 0;
    }

    QList<kt2040::InstrumentRecord> records;
    JobFolders jobs;
    const kt2040::FrameSet set = kt2040::frame_set_of(options.type);
    QStringList notes;
    if (!options.points.isEmpty() && !load_points(options.points, set, &records, &error, &notes)) {
        say(error);
        return 1;
    }
    if (!options.measured.isEmpty()) {
        if (!load_measured(options.measured, &records, &error, &notes)) {
            say(error);
            return 1;
        }
        if (!error.isEmpty())
            notes << error;
    }
    for (const QString& note : qAsConst(notes))
        say(note);
    if (!options.jobs.isEmpty()) {
        if (!jobs.load(options.jobs, &error)) {
            say(error);
            return 1;
        }
        for (const QString& note : qAsConst(jobs.notes))
            say(note);
        for (const QString& skipped : jobs.skipped)
            say(QString("folder %1 skipped: a job folder is named NN_NAME, NN from 1 to 16").arg(skipped));
    }

    SimLink link;
    const bool opened = options.pty ? link.open_pty(&error) : link.open_port(options.port, options.baud, &error);
    if (!opened || (!options.log.isEmpty() && !link.open_log(options.log, &error))) {
        say(error);
        return 1;
    }
    if (options.pty)
        print_line("port: " + link.port_name());
    say(QString("%1 on %2, %3")
            .arg(options.type, link.port_name(),
                 options.type == "KT90" ? QString("%1 jobs").arg(jobs.jobs().size())
                                        : QString("%1 records to send").arg(records.size())));

    SimServer server(options, &link, records, &jobs);
    int status = 0;
    const auto fail = [&](const QString& why) {
        say(why);
        status = 1;
        app.quit();
    };
    QObject::connect(&server, &SimServer::failed, &app, fail);
    QObject::connect(&link, &SimLink::failed, &app, fail);

    std::signal(SIGINT, request_stop);
    std::signal(SIGTERM, request_stop);
    QTimer stop_watch;
    QObject::connect(&stop_watch, &QTimer::timeout, &app, [&] {
        if (stop_requested)
            app.quit();
    });
    stop_watch.start(100);

    // Enter offers the data again; "noise N" writes N random bytes to the line. The reader blocks on
    // standard input until ktsim ends.
    std::thread([&server] {
        std::string line;
        while (std::getline(std::cin, line)) {
            const QString text = QString::fromStdString(line).trimmed();
            const int noise = text.startsWith("noise ") ? text.mid(6).toInt() : -1;
            QMetaObject::invokeMethod(
                &server, [&server, noise] { noise >= 0 ? server.noise(noise) : server.rearm(); }, Qt::QueuedConnection);
        }
    }).detach();

    QTimer::singleShot(0, &server, &SimServer::start);
    app.exec();
    if (status == 0)
        say("ended");
    std::fflush(stdout);
    // The reader thread may still block on standard input: end without unwinding it.
    std::_Exit(status);
}
