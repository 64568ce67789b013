// Known answers of the KT90 message builders, through each of the three entry points.
#include "dictionaryanalysis.h"
#include "ktest.h"

class TestKt90Commands : public QObject
{
    Q_OBJECT

    DictionaryAnalysis dict{QString()};

private slots:
    void messages_data()
    {
        QTest::addColumn<QString>("builder"); // "msg", "pctoyc" or "bytype"
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("first"); // value (msg), xuhao (pctoyc) or ysstr (bytype)
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<QByteArray>("bytes");

        const QString record97(97, 'R');
        QTest::newRow("a ignores its arguments") << "msg" << 1 << "x"
                                                 << "" << true << QByteArray("a\r\n");
        QTest::newRow("c") << "msg" << 2 << ""
                           << "" << false << QByteArray("c\r\n");
        QTest::newRow("?") << "msg" << 3 << "5"
                           << "" << true << QByteArray("?\r\n");
        QTest::newRow("end of data") << "pctoyc" << 4 << "9"
                                     << "x" << true << QByteArray("\x1a\r\n");
        QTest::newRow("type 4 from the listing builder") << "msg" << 4 << ""
                                                         << "" << false << QByteArray("\x1a\r\n");
        QTest::newRow("CONF/182") << "msg" << 10 << ""
                                  << "" << false << QByteArray("CONF/182\r\n");
        QTest::newRow("CONF/136") << "msg" << 11 << ""
                                  << "" << false << QByteArray("CONF/136\r\n");
        QTest::newRow("CONF/137") << "msg" << 12 << ""
                                  << "" << false << QByteArray("CONF/137\r\n");
        QTest::newRow("GET//WI13") << "msg" << 13 << ""
                                   << "" << false << QByteArray("GET//WI13\r\n");
        QTest::newRow("code list") << "msg" << 14 << ""
                                   << "" << false << QByteArray("CODE/CONF/LIST\r\n");
        QTest::newRow("job list, parameter not sent") << "msg" << 15 << "7"
                                                      << "" << false << QByteArray("JOB/CONF/LIST\r\n");
        QTest::newRow("format list") << "msg" << 16 << ""
                                     << "" << false << QByteArray("FORM/CONF/LIST\r\n");
        QTest::newRow("HAL list") << "msg" << 17 << ""
                                  << "" << false << QByteArray("HAL/CONF/LIST\r\n");
        QTest::newRow("VAL list") << "msg" << 18 << ""
                                  << "" << false << QByteArray("VAL/CONF/LIST\r\n");
        QTest::newRow("format 3 follows the 0") << "msg" << 30 << "3"
                                                << "" << true << QByteArray("FORM/SET/03\r\n");
        QTest::newRow("format without number") << "msg" << 30 << ""
                                               << "" << true << QByteArray("FORM/SET/0\r\n");
        QTest::newRow("coordinates of job 5") << "msg" << 31 << "5"
                                              << "" << true << QByteArray("JOB/RCV/COORDS/5\r\n");
        QTest::newRow("observations of job 12") << "msg" << 32 << "12"
                                                << "" << true << QByteArray("JOB/RCV/OBSERV/12\r\n");
        QTest::newRow("unlisted type") << "msg" << 19 << "x"
                                       << "" << true << QByteArray("x\r\n");
        QTest::newRow("unlisted type, nothing to send") << "msg" << 19 << "x"
                                                        << "" << false << QByteArray();
        QTest::newRow("format selection of the upload") << "pctoyc" << 20 << "4"
                                                        << "x" << true << QByteArray("FORM/SET/0\r\n");
        QTest::newRow("announce job 3") << "pctoyc" << 21 << "3"
                                        << "" << true << QByteArray("JOB/SND/COORD/3\r\n");
        QTest::newRow("announce, flag false") << "pctoyc" << 21 << "3"
                                              << "" << false << QByteArray("JOB/SND/COORD/\r\n");
        QTest::newRow("job ROAD 12") << "pctoyc" << 22 << "12"
                                     << "ROAD" << false << QByteArray("JOB/SET/ROAD/12\r\n");
        QTest::newRow("job number capped at 17") << "pctoyc" << 22 << "25"
                                                 << "ROAD" << false << QByteArray("JOB/SET/ROAD/17\r\n");
        QTest::newRow("job number 18") << "pctoyc" << 22 << "18"
                                       << "R" << false << QByteArray("JOB/SET/R/17\r\n");
        QTest::newRow("job number 17") << "pctoyc" << 22 << "17"
                                       << "R" << false << QByteArray("JOB/SET/R/17\r\n");
        QTest::newRow("job number 10") << "pctoyc" << 22 << "10"
                                       << "R" << false << QByteArray("JOB/SET/R/10\r\n");
        QTest::newRow("job number 9") << "pctoyc" << 22 << "9"
                                      << "R" << false << QByteArray("JOB/SET/R/9\r\n");
        QTest::newRow("job number empty") << "pctoyc" << 22 << ""
                                          << "R" << false << QByteArray("JOB/SET/R/0\r\n");
        QTest::newRow("job number not a number") << "pctoyc" << 22 << "x1"
                                                 << "R" << false << QByteArray("JOB/SET/R/0\r\n");
        QTest::newRow("job number negative") << "pctoyc" << 22 << "-4"
                                             << "R" << false << QByteArray("JOB/SET/R/0\r\n");
        QTest::newRow("name outside Latin-1")
            << "pctoyc" << 22 << "1" << QString::fromUtf8("A测B") << false << QByteArray("JOB/SET/A\0B/1\r\n", 15);
        QTest::newRow("name in Latin-1") << "pctoyc" << 22 << "1" << QString::fromUtf8("Ü") << false
                                         << QByteArray("JOB/SET/\xdc/1\r\n");
        QTest::newRow("record of 97") << "pctoyc" << 23 << "97" << record97 << true << (record97.toLatin1() + "\r\n");
        QTest::newRow("record of 96") << "pctoyc" << 23 << "97" << record97.left(96) << true << QByteArray();
        QTest::newRow("record of 98") << "pctoyc" << 23 << "97" << (record97 + "R") << true << QByteArray();
        QTest::newRow("start-up query from the upload builder") << "pctoyc" << 10 << ""
                                                                << "" << false << QByteArray();
        QTest::newRow("type 20 ignores its arguments") << "bytype" << 20 << "x"
                                                       << "y" << true << QByteArray("FORM/SET/0\r\n");
        QTest::newRow("default rule, value only with flag") << "bytype" << 99 << ""
                                                            << "v" << true << QByteArray("v\r\n");
        QTest::newRow("default rule, empty") << "bytype" << 99 << ""
                                             << "v" << false << QByteArray();
    }

    void messages()
    {
        QFETCH(QString, builder);
        QFETCH(int, type);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, flag);
        QFETCH(QByteArray, bytes);
        QByteArray built;
        if (builder == "msg")
            built = dict.getKT90packmsg(type, first, flag);
        else if (builder == "pctoyc")
            built = dict.getKT90packmsgPCtoYC(type, first, second, flag);
        else
            built = dict.getKT90packmsgbytype(type, first, second, flag);
        QCOMPARE(built, bytes);
    }

    void command_texts()
    {
        QCOMPARE(dict.getneirongbytype(20), dict.getneirongbytype(30));
        QCOMPARE(dict.getneirongbytype(22), QString("JOB/SET/"));
        for (int type : {0, 1, 2, 3, 4, 19, 23, 33, -1})
            QVERIFY2(dict.getneirongbytype(type).isEmpty(), qPrintable(QString::number(type)));
    }
};

KT_TEST_MAIN(TestKt90Commands)
#include "tst_kt90_commands.moc"
