// Known answers of the KT90 message builders through their three entry points. The commands the
// conversations send are checked byte for byte over the pty as well; these rows hold the edges.
#include "config/dictionaryanalysis.h"
#include "support/core/ktest_core.h"

namespace
{

struct Known {
    const char* name;
    const char* builder; // "msg", "pctoyc" or "bytype"
    int type;
    const char* first;  // value (msg), xuhao (pctoyc) or ysstr (bytype)
    const char* second; // value (pctoyc, bytype), UTF-8
    bool flag;
    QByteArray bytes;
};

const QString kRecord97(97, 'R');

const Known kKnown[] = {
    {"a ignores its arguments", "msg", 1, "x", "", true, "a\r\n"},
    {"c", "msg", 2, "", "", false, "c\r\n"},
    {"?", "msg", 3, "5", "", true, "?\r\n"},
    {"end of data", "pctoyc", 4, "9", "x", true, "\x1a\r\n"},
    {"type 4 from the listing builder", "msg", 4, "", "", false, "\x1a\r\n"},
    {"list command, parameter not sent", "msg", 15, "7", "", false, "JOB/CONF/LIST\r\n"},
    {"format 3 follows the 0", "msg", 30, "3", "", true, "FORM/SET/03\r\n"},
    {"format without number", "msg", 30, "", "", true, "FORM/SET/0\r\n"},
    {"unlisted type, value with flag", "msg", 19, "x", "", true, "x\r\n"},
    {"unlisted type, nothing to send", "msg", 19, "x", "", false, ""},
    {"upload format selection ignores arguments", "pctoyc", 20, "4", "x", true, "FORM/SET/0\r\n"},
    {"announce, flag false", "pctoyc", 21, "3", "", false, "JOB/SND/COORD/\r\n"},
    {"job ROAD 12", "pctoyc", 22, "12", "ROAD", false, "JOB/SET/ROAD/12\r\n"},
    {"job number 25 capped at 17", "pctoyc", 22, "25", "ROAD", false, "JOB/SET/ROAD/17\r\n"},
    {"job number 18", "pctoyc", 22, "18", "R", false, "JOB/SET/R/17\r\n"},
    {"job number 17", "pctoyc", 22, "17", "R", false, "JOB/SET/R/17\r\n"},
    {"job number 10", "pctoyc", 22, "10", "R", false, "JOB/SET/R/10\r\n"},
    {"job number 9", "pctoyc", 22, "9", "R", false, "JOB/SET/R/9\r\n"},
    {"job number empty", "pctoyc", 22, "", "R", false, "JOB/SET/R/0\r\n"},
    {"job number not a number", "pctoyc", 22, "x1", "R", false, "JOB/SET/R/0\r\n"},
    {"job number negative", "pctoyc", 22, "-4", "R", false, "JOB/SET/R/0\r\n"},
    {"name outside Latin-1", "pctoyc", 22, "1", "A测B", false, QByteArray("JOB/SET/A\0B/1\r\n", 15)},
    {"name in Latin-1", "pctoyc", 22, "1", "Ü", false, "JOB/SET/\xdc/1\r\n"},
    {"start-up query from the upload builder", "pctoyc", 10, "", "", false, ""},
    {"type 20 ignores its arguments", "bytype", 20, "x", "y", true, "FORM/SET/0\r\n"},
    {"default rule, value only with flag", "bytype", 99, "", "v", true, "v\r\n"},
    {"default rule, empty", "bytype", 99, "", "v", false, ""},
};

} // namespace

class TestKt90Commands : public QObject
{
    Q_OBJECT

    DictionaryAnalysis dict{QString()};

    QByteArray build(const QString& builder, int type, const QString& first, const QString& second, bool flag)
    {
        if (builder == "msg")
            return dict.getKT90packmsg(type, first, flag);
        if (builder == "pctoyc")
            return dict.getKT90packmsgPCtoYC(type, first, second, flag);
        return dict.getKT90packmsgbytype(type, first, second, flag);
    }

private slots:
    void messages_data()
    {
        QTest::addColumn<QString>("builder");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<QByteArray>("bytes");
        for (const Known& k : kKnown)
            QTest::newRow(k.name) << k.builder << k.type << k.first << QString::fromUtf8(k.second) << k.flag << k.bytes;
    }

    void messages()
    {
        QFETCH(QString, builder);
        QFETCH(int, type);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, flag);
        QFETCH(QByteArray, bytes);
        QCOMPARE(build(builder, type, first, second, flag), bytes);
    }

    void records()
    {
        QCOMPARE(dict.getKT90packmsgPCtoYC(23, "97", kRecord97, true), kRecord97.toLatin1() + "\r\n");
        QCOMPARE(dict.getKT90packmsgPCtoYC(23, "97", kRecord97.left(96), true), QByteArray());
        QCOMPARE(dict.getKT90packmsgPCtoYC(23, "97", kRecord97 + "R", true), QByteArray());
    }

    void command_texts()
    {
        QCOMPARE(dict.getneirongbytype(20), dict.getneirongbytype(30));
        QCOMPARE(dict.getneirongbytype(22), QString("JOB/SET/"));
        for (int type : {0, 1, 2, 3, 4, 19, 23, 33, -1})
            QVERIFY2(dict.getneirongbytype(type).isEmpty(), qPrintable(QString::number(type)));
    }
};

KT_CORE_TEST_MAIN(TestKt90Commands)
#include "tst_kt90_commands.moc"
