// The communication dictionary: serial-line choices and defaults from the dictionary file, the ports
// present with their descriptions, the proposed baud rate, the converters from setting texts to
// serial port settings, and the builders of the KT90 messages.
#ifndef DICTIONARYANALYSIS_H
#define DICTIONARYANALYSIS_H

#include <QByteArray>
#include <QDomDocument>
#include <QMap>
#include <QString>
#include <QStringList>

class DictionaryAnalysis
{
public:
    explicit DictionaryAnalysis(QString file);

    QDomDocument dictionaryxml;
    QMap<QString, QStringList> uartmapdefault;

    // Choices of one serial parameter; flag 1: nick, default, values; flag 0: values; else stored list.
    QStringList getuartpara(QString uartparaname, int flag);
    QStringList getcomname_list();
    QStringList getcomnameanddesc_list();
    QString getcomdesc(QString portname, QStringList pnadlist);
    QString getcombaudrate(QString portname, QStringList pnadlist, QStringList brlist);

    int getbaudrate(int baudrate);
    int getDataBit(int databit);
    int getStopBits(QString stopbit);
    int getParity(QString parity);

    // The KT90 message builders of comm/kt90_commands.h, which need no dictionary.
    QString getneirongbytype(int type);
    QByteArray getKT90packmsgbytype(int type, QString ysstr, QString value, bool flag);
    QByteArray getKT90packmsg(int type, QString value, bool flag);
    QByteArray getKT90packmsgPCtoYC(int type, QString xuhao, QString value, bool flag);
};

// The description that follows `portname` in a flat name-and-description list, or "".
QString port_description(const QString& portname, const QStringList& pnadlist);
// The baud rate proposed for a port: "57600" for a Bluetooth port when offered, else "9600".
QString proposed_baudrate(const QString& portname, const QStringList& pnadlist, const QStringList& brlist);

#endif // DICTIONARYANALYSIS_H
