// ktsim's end of the line: a serial port or the master of a pseudo-terminal, with the byte log.
#ifndef SIMLINK_H
#define SIMLINK_H

#include "simpty.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>

class QSerialPort;
class QSocketNotifier;

class SimLink : public QObject
{
    Q_OBJECT
public:
    explicit SimLink(QObject* parent = nullptr);
    ~SimLink() override;

    // Opens the line; false with `error` set when it cannot be opened.
    bool open_pty(QString* error);
    bool open_port(const QString& name, int baud, QString* error);
    // Starts logging every byte both ways; false with `error` set when the file cannot be written.
    bool open_log(const QString& path, QString* error);

    // The name ktlink opens: the pty's slave, or the port.
    QString port_name() const { return port_name_; }
    void write(const QByteArray& bytes);
    // Drops what was written and not yet read on ktlink's side (a stale offer nobody took).
    void discard_unread();

signals:
    void received(const QByteArray& bytes);
    void failed(const QString& why);

private:
    void log(const char* direction, const QByteArray& bytes);
    void read_pty_bytes();

    PtyPair pty_;
    QSocketNotifier* notifier_ = nullptr;
    QSerialPort* serial_ = nullptr;
    QString port_name_;
    QFile log_;
};

// One log line: time stamp, direction, the bytes in hex and as text (dots for unprintable bytes).
QByteArray log_line(const QByteArray& time, const char* direction, const QByteArray& bytes);

#endif // SIMLINK_H
