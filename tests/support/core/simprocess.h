// The real ktsim program on a pseudo-terminal, started by a test: its port, its messages and its end.
#ifndef SIMPROCESS_H
#define SIMPROCESS_H

#include <QProcess>
#include <QString>
#include <QStringList>

class SimProcess
{
public:
    // Starts build/run/ktsim with `args` and --pty, and waits for its "port: " line.
    explicit SimProcess(const QStringList& args);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The pty's slave, empty when ktsim did not start.
    QString port() const { return port_; }
    // Standard output after the port line, and standard error, so far.
    QString out();
    QString err();
    // Runs the event loop until standard error holds `text` (at most `timeout_ms`).
    bool wait_for_message(const QString& text, int timeout_ms = 30000);
    // Asks ktsim to end, as Ctrl-C does; its exit code, or -1 when it did not end by itself.
    int stop();
    // A line on ktsim's standard input: "" offers the data again, "noise N" writes N random bytes.
    void type_line(const QByteArray& line);
    // Ends ktsim at once (SIGKILL), as a pulled cable ends the line.
    void kill();
    bool running() const { return process_.state() != QProcess::NotRunning; }

private:
    void collect();
    QProcess process_;
    QString port_;
    // The pty's slave, held open by the test as long as this object lives: a killed ktsim's pty number
    // is not given to another program's pty meanwhile, so a window that opens the old name again finds
    // no device instead of a stranger's line (tests of other processes run beside this one).
    int held_slave_ = -1;
    QByteArray out_, err_;
};

// Runs ktsim with `args` to its end (standard input closed); exit code and standard error.
int run_ktsim(const QStringList& args, QString* err, int timeout_ms = 30000);

#endif // SIMPROCESS_H
