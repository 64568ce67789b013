// Builders of the messages the PC sends to a KT90: fixed command texts, job creation, data records.
#include "config/dictionaryanalysis.h"
#include "data/fieldtext.h"

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

QString DictionaryAnalysis::getneirongbytype(int type)
{
    switch (type) {
    case 10:
        return "CONF/182";
    case 11:
        return "CONF/136";
    case 12:
        return "CONF/137";
    case 13:
        return "GET//WI13";
    case 14:
        return "CODE/CONF/LIST";
    case 15:
        return "JOB/CONF/LIST";
    case 16:
        return "FORM/CONF/LIST";
    case 17:
        return "HAL/CONF/LIST";
    case 18:
        return "VAL/CONF/LIST";
    case 20:
    case 30:
        return "FORM/SET/0";
    case 21:
        return "JOB/SND/COORD/";
    case 22:
        return "JOB/SET/";
    case 31:
        return "JOB/RCV/COORDS/";
    case 32:
        return "JOB/RCV/OBSERV/";
    default:
        return QString();
    }
}

QByteArray DictionaryAnalysis::getKT90packmsgbytype(int type, QString ysstr, QString value, bool flag)
{
    switch (type) {
    case 1:
        return "a" + kCrLf;
    case 2:
        return "c" + kCrLf;
    case 3:
        return "?" + kCrLf;
    case 4:
        return "\x1a" + kCrLf;
    case 20:
        return "FORM/SET/0" + kCrLf;
    case 22:
        return latin1_bytes("JOB/SET/" + value + "/" + job_number_digits(ysstr)) + kCrLf;
    case 23: {
        bool ok = false;
        const int length = ysstr.toInt(&ok);
        if (!ok || length != value.size())
            return QByteArray();
        return latin1_bytes(value) + kCrLf;
    }
    default:
        break;
    }
    if (ysstr.isEmpty() && !(flag && !value.isEmpty()))
        return QByteArray();
    return latin1_bytes(flag ? ysstr + value : ysstr) + kCrLf;
}

QByteArray DictionaryAnalysis::getKT90packmsg(int type, QString value, bool flag)
{
    if (type == 1 || type == 2 || type == 3)
        return getKT90packmsgbytype(type, "", value, flag);
    return getKT90packmsgbytype(type, getneirongbytype(type), value, flag);
}

QByteArray DictionaryAnalysis::getKT90packmsgPCtoYC(int type, QString xuhao, QString value, bool flag)
{
    switch (type) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 20:
        return getKT90packmsgbytype(type, "", value, flag);
    case 21:
        return getKT90packmsgbytype(21, getneirongbytype(21), xuhao, flag);
    case 22:
    case 23:
        return getKT90packmsgbytype(type, xuhao, value, flag);
    default:
        return QByteArray();
    }
}
