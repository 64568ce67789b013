// ktsim's serve loop: the bytes of the line go to the instrument of the chosen type, its answers go
// back at its pace, and what ktlink sends ends up on standard output or in the --out file.
#ifndef SIMSERVER_H
#define SIMSERVER_H

#include "simdata.h"
#include "simlink.h"
#include "simoptions.h"

#include <QObject>
#include <QTimer>
#include <memory>

class SimServer : public QObject
{
    Q_OBJECT
public:
    // `link` is open; `records` the KT20/KT40 data, `jobs` the KT90 folders (loaded).
    SimServer(const SimOptions& options, SimLink* link, const QList<kt2040::InstrumentRecord>& records,
              JobFolders* jobs, QObject* parent = nullptr);

    void start();
    // Enter on standard input: offer the data again.
    void rearm();
    // "noise N" on standard input: N random bytes on the line, as a bad cable or a wrong baud rate gives.
    void noise(int count);

signals:
    // A failure that ends ktsim with status 1.
    void failed(const QString& why);

private:
    void on_received(const QByteArray& bytes);
    void apply(const kt2040::InstrumentAction& action);
    void write_now(const QByteArray& bytes, int wait_ms, bool drop_unread);
    void write_points(const QStringList& lines);

    SimOptions options_;
    SimLink* link_;
    JobFolders* jobs_;
    std::unique_ptr<kt2040::Instrument> kt2040_;
    std::unique_ptr<kt90::Instrument> kt90_;
    QTimer wait_;  // the instrument's answer or offer time
    QTimer pause_; // the pause before a record
    QByteArray paused_;
    int paused_wait_ = -1;
    bool paused_drops_ = false;
};

// A line for the operator on standard error, in the console's encoding.
void say(const QString& text);

#endif // SIMSERVER_H
