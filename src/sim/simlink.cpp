// Opening, reading and writing ktsim's line, and logging its traffic.
#include "simlink.h"

#include <QDateTime>
#include <QSerialPort>
#include <QSocketNotifier>

QByteArray log_line(const QByteArray& time, const char* direction, const QByteArray& bytes)
{
    QByteArray text = bytes;
    for (char& c : text) {
        if (uchar(c) < 0x20 || uchar(c) > 0x7E)
            c = '.';
    }
    return time + ' ' + direction + ' ' + bytes.toHex(' ') + "  |" + text + "|\n";
}

SimLink::SimLink(QObject* parent) : QObject(parent) {}

SimLink::~SimLink()
{
    delete notifier_;
    close_pty_pair(pty_);
}

bool SimLink::open_pty(QString* error)
{
    pty_ = open_pty_pair();
    if (pty_.master < 0) {
        *error = "cannot open a pseudo-terminal: " + pty_.error;
        return false;
    }
    port_name_ = pty_.slave_name;
    notifier_ = new QSocketNotifier(pty_.master, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SimLink::read_pty_bytes);
    return true;
}

bool SimLink::open_port(const QString& name, int baud, QString* error)
{
    serial_ = new QSerialPort(name, this);
    serial_->setBaudRate(baud);
    serial_->setDataBits(QSerialPort::Data8);
    serial_->setParity(QSerialPort::NoParity);
    serial_->setStopBits(QSerialPort::OneStop);
    serial_->setFlowControl(QSerialPort::NoFlowControl);
    if (!serial_->open(QIODevice::ReadWrite)) {
        *error = QString("cannot open %1: %2").arg(name, serial_->errorString());
        return false;
    }
    port_name_ = name;
    connect(serial_, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = serial_->readAll();
        log("<-", bytes);
        emit received(bytes);
    });
    connect(serial_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError || e == QSerialPort::PermissionError)
            emit failed(QString("port %1 failed: %2").arg(port_name_, serial_->errorString()));
    });
    return true;
}

bool SimLink::open_log(const QString& path, QString* error)
{
    log_.setFileName(path);
    if (!log_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QString("cannot write the log %1: %2").arg(path, log_.errorString());
        return false;
    }
    return true;
}

void SimLink::log(const char* direction, const QByteArray& bytes)
{
    if (!log_.isOpen() || bytes.isEmpty())
        return;
    log_.write(log_line(QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toLatin1(), direction, bytes));
    log_.flush();
}

void SimLink::read_pty_bytes()
{
    const QByteArray bytes = read_pty(pty_);
    if (bytes.isEmpty())
        return;
    log("<-", bytes);
    emit received(bytes);
}

void SimLink::write(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    log("->", bytes);
    if (serial_) {
        serial_->write(bytes);
    } else if (!write_pty(pty_, bytes)) {
        emit failed("cannot write to the pseudo-terminal");
    }
}

void SimLink::discard_unread()
{
    if (serial_)
        return;
    discard_unread_pty(pty_);
}
