// The message shown when the serial port does not open: the general one, or, when the system refused
// for want of permission, one that tells the user how to get it.
#ifndef PORTOPENFAILURE_H
#define PORTOPENFAILURE_H

#include <QSerialPort>
#include <QString>
#include <QStringList>

// True where serial ports belong to a group the user must join (Linux: dialout).
#ifdef Q_OS_LINUX
constexpr bool kPortGroupHost = true;
#else
constexpr bool kPortGroupHost = false;
#endif

// `general` (the prompt "%1 port, %2 reason") filled with `port` and `reason`, unless the open failed
// with PermissionError: then entry 0 of `permission_texts` where ports belong to a group
// (`port_group_host`), else entry 1, filled the same way. A missing entry gives the general text.
QString port_open_failure_text(QSerialPort::SerialPortError error, const QString& port, const QString& reason,
                               const QString& general, const QStringList& permission_texts,
                               bool port_group_host = kPortGroupHost);

#endif // PORTOPENFAILURE_H
