// Builders of the messages the PC sends to a KT90: fixed command texts, job creation, data records.
#include "comm/kt90_commands.h"

#include "data/fieldtext.h"

namespace kt90
{

namespace
{

const QByteArray kCrLf("\r\n");

// The digits of a job number in a job creation: 0..9 as one digit, 10..17 as two, capped at 17.
QString job_number_digits(const QString& number_text)
{
    bool ok = false;
    int n = number_text.toInt(&ok);
    if (!ok || n <= 0)
        return "0";
    if (n <= 9)
        return QString::number(n);
    if (n <= 17)
        return "1" + QString::number(n - 10);
    return "17";
}

} // namespace

QByteArray build_message(int type, const QString& text, const QString& value, bool append)
{
    switch (type) {
    case Message::Open:
        return "a" + kCrLf;
    case Message::Continue:
        return "c" + kCrLf;
    case Message::Next:
        return "?" + kCrLf;
    case Message::EndOfData:
        return "\x1a" + kCrLf;
    case Message::UploadFormat:
        return latin1_bytes(command_text(Message::UploadFormat)) + kCrLf;
    case Message::CreateJob:
        return latin1_bytes(command_text(Message::CreateJob) + value + "/" + job_number_digits(text)) + kCrLf;
    case Message::DataRecord: {
        bool ok = false;
        const int length = text.toInt(&ok);
        if (!ok || length != value.size())
            return QByteArray();
        return latin1_bytes(value) + kCrLf;
    }
    default:
        break;
    }
    if (text.isEmpty() && !(append && !value.isEmpty()))
        return QByteArray();
    return latin1_bytes(append ? text + value : text) + kCrLf;
}

QByteArray listing_message(int type, const QString& value, bool append)
{
    if (type == Message::Open || type == Message::Continue || type == Message::Next)
        return build_message(type, QString(), value, append);
    return build_message(type, command_text(type), value, append);
}

QByteArray upload_message(int type, const QString& number, const QString& value, bool append)
{
    switch (type) {
    case Message::Open:
    case Message::Continue:
    case Message::Next:
    case Message::EndOfData:
    case Message::UploadFormat:
        return build_message(type, QString(), value, append);
    case Message::SendCoordinates:
        return build_message(type, command_text(type), number, append);
    case Message::CreateJob:
    case Message::DataRecord:
        return build_message(type, number, value, append);
    default:
        return QByteArray();
    }
}

} // namespace kt90
