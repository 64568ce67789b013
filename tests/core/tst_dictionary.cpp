// The communication dictionary: parsing the choices, the proposed baud rate and the converters.
#include "config/dictionaryanalysis.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QSerialPort>

class TestDictionary : public QObject
{
    Q_OBJECT

private slots:
    void choices_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("flag");
        QTest::addColumn<QStringList>("choices");

        const QByteArray parity = "<d><selectable><uart nick=\"u\" defaultdata=\"x\">"
                                  "<parity nick=\"Parity\" defaultdata=\"n\"><v nick=\"none\">n</v>"
                                  "<w nick=\"odd\">o</w><v nick=\"empty\"></v></parity>"
                                  "</uart></selectable></d>";
        QTest::newRow("flag 1: nick, default, values")
            << parity << "parity" << 1 << QStringList{"Parity", "n", "n", "o", ""};
        QTest::newRow("flag 0: values") << parity << "parity" << 0 << QStringList{"n", "o", ""};
        QTest::newRow("other flag: stored list")
            << parity << "parity" << 7 << QStringList{"Parity", "n", "none", "n", "odd", "o", "empty", ""};
        QTest::newRow("uart element keeps its two attributes") << parity << "uart" << 7 << QStringList{"u", "x"};
        QTest::newRow("absent key") << parity << "baudrate" << 1 << QStringList();
        QTest::newRow("later parameter replaces earlier")
            << QByteArray("<d><selectable><uart><stopbit defaultdata=\"1\"><v>1</v></stopbit>"
                          "<stopbit defaultdata=\"2\"><v>2</v></stopbit></uart></selectable></d>")
            << "stopbit" << 1 << QStringList{"", "2", "2"};
        QTest::newRow("only the first selectable and uart count")
            << QByteArray("<d><x/><selectable><other/><uart><databit defaultdata=\"8\"><v>8</v></databit></uart>"
                          "<uart><databit defaultdata=\"7\"/></uart></selectable>"
                          "<selectable><uart><parity/></uart></selectable></d>")
            << "databit" << 1 << QStringList{"", "8", "8"};
        QTest::newRow("no uart element") << QByteArray("<d><selectable/></d>") << "uart" << 7 << QStringList();
        QTest::newRow("malformed file") << QByteArray("<d><selectable>") << "uart" << 7 << QStringList();
        QTest::newRow("binary file") << QByteArray("\x00\xff\xfe<\x01", 5) << "uart" << 7 << QStringList();
    }

    void choices()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, key);
        QFETCH(int, flag);
        QFETCH(QStringList, choices);
        WorkDir dir(false);
        dir.write("dict.xml", xml);
        DictionaryAnalysis dictionary(dir.file("dict.xml"));
        QCOMPARE(dictionary.getuartpara(key, flag), choices);
    }

    void missing_file_gives_empty_choices()
    {
        DictionaryAnalysis dictionary("/nonexistent/dictionary.xml");
        QVERIFY(dictionary.uartmapdefault.isEmpty());
        QVERIFY(dictionary.getuartpara("baudrate", 1).isEmpty());
    }

    void shipped_dictionaries()
    {
        WorkDir dir;
        for (const char* file : {"config/dictionary.xml", "config/dictionary_english.xml"}) {
            DictionaryAnalysis dictionary(file);
            QCOMPARE(dictionary.getuartpara("baudrate", 0),
                     (QStringList{"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
            QCOMPARE(dictionary.getuartpara("databit", 0), (QStringList{"5", "6", "7", "8"}));
            QCOMPARE(dictionary.getuartpara("parity", 0), (QStringList{"n", "o", "e"}));
            QCOMPARE(dictionary.getuartpara("stopbit", 0), (QStringList{"1", "1.5", "2"}));
            QCOMPARE(dictionary.getuartpara("baudrate", 1).value(1), QString("9600"));
            QCOMPARE(dictionary.getuartpara("databit", 1).value(1), QString("8"));
            QCOMPARE(dictionary.getuartpara("parity", 1).value(1), QString("n"));
            QCOMPARE(dictionary.getuartpara("stopbit", 1).value(1), QString("1"));
        }
    }

    void proposed_baud_rate_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<QStringList>("rates");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("description");

        const QStringList rates = {"baud", "9600", "1200", "9600", "57600"};
        const QStringList ports = {"COM1", "USB Serial", "COM5", "Standard Serial over bluetooth link", "COM7", ""};
        QTest::newRow("bluetooth in any case") << "COM5" << ports << rates << "57600"
                                               << "Standard Serial over bluetooth link";
        QTest::newRow("bluetooth without 57600 offered")
            << "COM5" << ports << QStringList{"b", "9600", "9600"} << "9600"
            << "Standard Serial over bluetooth link";
        QTest::newRow("57600 as the default entry counts") << "COM5" << ports << QStringList{"b", "57600"} << "57600"
                                                           << "Standard Serial over bluetooth link";
        QTest::newRow("cable port") << "COM1" << ports << rates << "9600"
                                    << "USB Serial";
        QTest::newRow("port without description") << "COM7" << ports << rates << "9600"
                                                  << "";
        QTest::newRow("unknown port") << "COM9" << ports << rates << "9600"
                                      << "";
        QTest::newRow("empty list") << "COM1" << QStringList() << rates << "9600"
                                    << "";
        QTest::newRow("name last in a cut list") << "COM3" << QStringList{"COM1", "x", "COM3"} << rates << "9600"
                                                 << "";
    }

    void proposed_baud_rate()
    {
        QFETCH(QString, port);
        QFETCH(QStringList, ports);
        QFETCH(QStringList, rates);
        QFETCH(QString, rate);
        QFETCH(QString, description);
        DictionaryAnalysis dictionary("");
        QCOMPARE(dictionary.getcombaudrate(port, ports, rates), rate);
        QCOMPARE(dictionary.getcomdesc(port, ports), description);
    }

    void converters_data()
    {
        QTest::addColumn<QString>("converter");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");

        for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
            QTest::addRow("baud %d", rate) << "baud" << QString::number(rate) << rate;
        QTest::newRow("baud 300") << "baud"
                                  << "300" << -1;
        QTest::newRow("baud 14400") << "baud"
                                    << "14400" << -1;
        QTest::newRow("baud empty") << "baud"
                                    << "" << -1;
        for (int bits = 5; bits <= 8; ++bits)
            QTest::addRow("data bits %d", bits) << "databit" << QString::number(bits) << bits;
        QTest::newRow("data bits 4") << "databit"
                                     << "4" << -1;
        QTest::newRow("data bits 9") << "databit"
                                     << "9" << -1;
        QTest::newRow("stop 1") << "stopbit"
                                << "1" << int(QSerialPort::OneStop);
        QTest::newRow("stop 1.5") << "stopbit"
                                  << "1.5" << int(QSerialPort::OneAndHalfStop);
        QTest::newRow("stop 2") << "stopbit"
                                << "2" << int(QSerialPort::TwoStop);
        QTest::newRow("stop 1.0") << "stopbit"
                                  << "1.0" << -1;
        QTest::newRow("parity n") << "parity"
                                  << "n" << int(QSerialPort::NoParity);
        QTest::newRow("parity N") << "parity"
                                  << "N" << int(QSerialPort::NoParity);
        QTest::newRow("parity o") << "parity"
                                  << "o" << int(QSerialPort::OddParity);
        QTest::newRow("parity e") << "parity"
                                  << "e" << int(QSerialPort::EvenParity);
        QTest::newRow("parity O") << "parity"
                                  << "O" << -1;
        QTest::newRow("parity E") << "parity"
                                  << "E" << -1;
        QTest::newRow("parity empty") << "parity"
                                      << "" << -1;
    }

    void converters()
    {
        QFETCH(QString, converter);
        QFETCH(QString, text);
        QFETCH(int, value);
        DictionaryAnalysis dictionary("");
        int result = 0;
        if (converter == "baud")
            result = dictionary.getbaudrate(text.toInt());
        else if (converter == "databit")
            result = dictionary.getDataBit(text.toInt());
        else if (converter == "stopbit")
            result = dictionary.getStopBits(text);
        else
            result = dictionary.getParity(text);
        QCOMPARE(result, value);
    }
};

KT_CORE_TEST_MAIN(TestDictionary)
#include "tst_dictionary.moc"
