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

// Reads the data files the options name and says what their readers met; false with the error said
// when one cannot be used.
bool load_data(const SimOptions& options, QList<kt2040::InstrumentRecord>* records, JobFolders* jobs)
{
    const kt2040::FrameSet set = kt2040::frame_set_of(options.type);
    QString error;
    QStringList notes;
    if (!options.points.isEmpty() && !load_points(options.points, set, records, &error, &notes)) {
        say(error);
        return false;
    }
    if (!options.measured.isEmpty()) {
        if (!load_measured(options.measured, records, &error, &notes)) {
            say(error);
            return false;
        }
        if (!error.isEmpty())
            notes << error;
    }
    for (const QString& note : qAsConst(notes))
        say(note);
    if (options.jobs.isEmpty())
        return true;
    if (!jobs->load(options.jobs, &error)) {
        say(error);
        return false;
    }
    for (const QString& note : qAsConst(jobs->notes))
        say(note);
    for (const QString& skipped : jobs->skipped)
        say(QString("folder %1 skipped: a job folder is named NN_NAME, NN from 1 to 16").arg(skipped));
    return true;
}

// Opens the port or the pseudo-terminal (and the log) and says what is played on it; false with the
// error said when it cannot be opened.
bool open_line(const SimOptions& options, SimLink* link, int records, int jobs)
{
    QString error;
    const bool opened = options.pty ? link->open_pty(&error) : link->open_port(options.port, options.baud, &error);
    if (!opened || (!options.log.isEmpty() && !link->open_log(options.log, &error))) {
        say(error);
        return false;
    }
    if (options.pty)
        print_line("port: " + link->port_name());
    say(QString("%1 on %2, %3")
            .arg(options.type, link->port_name(),
                 options.type == "KT90" ? QString("%1 jobs").arg(jobs) : QString("%1 records to send").arg(records)));
    return true;
}

// Enter offers the data again; "noise N" writes N random bytes to the line. The reader blocks on
// standard input until ktsim ends.
void read_operator_lines(SimServer* server)
{
    std::thread([server] {
        std::string line;
        while (std::getline(std::cin, line)) {
            const QString text = QString::fromStdString(line).trimmed();
            const int noise = text.startsWith("noise ") ? text.mid(6).toInt() : -1;
            QMetaObject::invokeMethod(
                server, [server, noise] { noise >= 0 ? server->noise(noise) : server->rearm(); }, Qt::QueuedConnection);
        }
    }).detach();
}

// SIGINT and SIGTERM end the event loop: the handler sets a flag that `watch` looks at.
void quit_on_signals(QCoreApplication* app, QTimer* watch)
{
    std::signal(SIGINT, request_stop);
    std::signal(SIGTERM, request_stop);
    QObject::connect(watch, &QTimer::timeout, app, [app] {
        if (stop_requested)
            app->quit();
    });
    watch->start(100);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SimOptions options;
    QString error;
    bool help = false;
    if (!parse_sim_options(app.arguments().mid(1), &options, &error, &help)) {
        say(error + " (ktsim --help shows the usage)");
        return 2;
    }
    if (help) {
        std::fputs(kSimUsage, stdout);
        return 0;
    }
    QList<kt2040::InstrumentRecord> records;
    JobFolders jobs;
    if (!load_data(options, &records, &jobs))
        return 1;
    SimLink link;
    if (!open_line(options, &link, records.size(), jobs.jobs().size()))
        return 1;

    SimServer server(options, &link, records, &jobs);
    int status = 0;
    const auto fail = [&](const QString& why) {
        say(why);
        status = 1;
        app.quit();
    };
    QObject::connect(&server, &SimServer::failed, &app, fail);
    QObject::connect(&link, &SimLink::failed, &app, fail);
    QTimer stop_watch;
    quit_on_signals(&app, &stop_watch);
    read_operator_lines(&server);

    QTimer::singleShot(0, &server, &SimServer::start);
    app.exec();
    if (status == 0)
        say("ended");
    std::fflush(stdout);
    // The reader thread may still block on standard input: end without unwinding it.
    std::_Exit(status);
}
