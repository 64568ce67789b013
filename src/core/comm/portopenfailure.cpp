// Choosing and filling the message for a serial port that did not open.
#include "comm/portopenfailure.h"

QString port_open_failure_text(QSerialPort::SerialPortError error, const QString& port, const QString& reason,
                               const QString& general, const QStringList& permission_texts, bool port_group_host)
{
    const int entry = port_group_host ? 0 : 1;
    if (error == QSerialPort::PermissionError && entry < permission_texts.size() && !permission_texts[entry].isEmpty())
        return permission_texts[entry].arg(port, reason);
    return general.arg(port, reason);
}
