// Reading the dictionary file, listing the serial ports, converting setting texts; the KT90 builders
// handed on to comm/kt90_commands.h.
#include "config/dictionaryanalysis.h"

#include "comm/kt90_commands.h"

#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QSerialPortInfo>

namespace
{

// Ports the system does not list, such as the pseudo-terminal of the ktsim simulator, named in
// KTLINK_EXTRA_PORTS (separated like PATH); listed first, so the first one is the default port.
QStringList extra_ports()
{
    return QString::fromLocal8Bit(qgetenv("KTLINK_EXTRA_PORTS")).split(QDir::listSeparator(), Qt::SkipEmptyParts);
}

const char kExtraPortDescription[] = "virtual port (KTLINK_EXTRA_PORTS)";

// A setting text no line setting stands for: Qt 5's QSerialPort::Unknown... value, which Qt 6 dropped.
constexpr int kUnknownSetting = -1;

} // namespace

DictionaryAnalysis::DictionaryAnalysis(QString file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    if (!dictionaryxml.setContent(&in, false))
        return;
    const QDomElement uart = dictionaryxml.documentElement().firstChildElement("selectable").firstChildElement("uart");
    if (uart.isNull())
        return;
    uartmapdefault.insert("uart", {uart.attribute("nick"), uart.attribute("defaultdata")});
    for (QDomElement parameter = uart.firstChildElement(); !parameter.isNull();
         parameter = parameter.nextSiblingElement()) {
        QStringList stored = {parameter.attribute("nick"), parameter.attribute("defaultdata")};
        for (QDomElement value = parameter.firstChildElement(); !value.isNull(); value = value.nextSiblingElement())
            stored << value.attribute("nick") << value.text();
        uartmapdefault.insert(parameter.tagName(), stored);
    }
}

QStringList DictionaryAnalysis::getuartpara(QString uartparaname, int flag)
{
    const QStringList stored = uartmapdefault.value(uartparaname);
    if (flag != 0 && flag != 1)
        return stored;
    QStringList result;
    if (stored.size() < 2)
        return result;
    if (flag == 1)
        result << stored[0] << stored[1];
    for (int i = 3; i < stored.size(); i += 2)
        result << stored[i];
    return result;
}

QStringList DictionaryAnalysis::getcomname_list()
{
    QStringList names = extra_ports();
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    return names;
}

QStringList DictionaryAnalysis::getcomnameanddesc_list()
{
    QStringList list;
    for (const QString& name : extra_ports())
        list << name << kExtraPortDescription;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        list << info.portName() << info.description();
    return list;
}

QString port_description(const QString& portname, const QStringList& pnadlist)
{
    const int p = pnadlist.indexOf(portname);
    return (p >= 0 && p + 1 < pnadlist.size()) ? pnadlist[p + 1] : QString();
}

QString proposed_baudrate(const QString& portname, const QStringList& pnadlist, const QStringList& brlist)
{
    const int p = pnadlist.indexOf(portname);
    if (p < 0)
        return "9600";
    if (port_description(portname, pnadlist).contains("Bluetooth", Qt::CaseInsensitive) && brlist.contains("57600"))
        return "57600";
    return "9600";
}

QString DictionaryAnalysis::getcomdesc(QString portname, QStringList pnadlist)
{
    return port_description(portname, pnadlist);
}

QString DictionaryAnalysis::getcombaudrate(QString portname, QStringList pnadlist, QStringList brlist)
{
    return proposed_baudrate(portname, pnadlist, brlist);
}

int DictionaryAnalysis::getbaudrate(int baudrate)
{
    switch (baudrate) {
    case 1200:
    case 2400:
    case 4800:
    case 9600:
    case 19200:
    case 38400:
    case 57600:
    case 115200:
        return baudrate;
    default:
        return kUnknownSetting;
    }
}

int DictionaryAnalysis::getDataBit(int databit)
{
    return (databit >= 5 && databit <= 8) ? databit : kUnknownSetting;
}

int DictionaryAnalysis::getStopBits(QString stopbit)
{
    if (stopbit == "1")
        return QSerialPort::OneStop;
    if (stopbit == "1.5")
        return QSerialPort::OneAndHalfStop;
    if (stopbit == "2")
        return QSerialPort::TwoStop;
    return kUnknownSetting;
}

int DictionaryAnalysis::getParity(QString parity)
{
    if (parity.compare("n", Qt::CaseInsensitive) == 0)
        return QSerialPort::NoParity;
    if (parity == "o")
        return QSerialPort::OddParity;
    if (parity == "e")
        return QSerialPort::EvenParity;
    return kUnknownSetting;
}

QString DictionaryAnalysis::getneirongbytype(int type)
{
    return kt90::command_text(type);
}

QByteArray DictionaryAnalysis::getKT90packmsgbytype(int type, QString ysstr, QString value, bool flag)
{
    return kt90::build_message(type, ysstr, value, flag);
}

QByteArray DictionaryAnalysis::getKT90packmsg(int type, QString value, bool flag)
{
    return kt90::listing_message(type, value, flag);
}

QByteArray DictionaryAnalysis::getKT90packmsgPCtoYC(int type, QString xuhao, QString value, bool flag)
{
    return kt90::upload_message(type, xuhao, value, flag);
}
