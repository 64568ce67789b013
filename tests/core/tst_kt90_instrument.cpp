// The KT90 instrument's replies to the PC's messages: lists line by line, downloads in both formats,
// uploads stored into their job, messages split over reads or joined in one, and unknown messages.
#include "comm/kt90_instrument.h"
#include "support/core/ktest_core.h"

using namespace kt90;

namespace
{

Instrument road()
{
    Job job;
    job.number = 3;
    job.name = "ROAD";
    job.fixed = QStringList{"P1   C1   1.000 2.000 3.000", "P2   C2   4.000 5.000 6.000"};
    job.observations = QStringList{"M1 1234512"};
    return Instrument({job}, {"TREE"});
}

} // namespace

class TestKt90Instrument : public QObject
{
    Q_OBJECT

private slots:
    void replies_data()
    {
        QTest::addColumn<QByteArrayList>("messages");
        QTest::addColumn<QByteArray>("replies");

        QTest::newRow("openers and a query")
            << QByteArrayList{"a\r\n", "c\r\n", "GET//WI13\r\n"} << QByteArray("?\r\n?\r\nWI13,KTSIM\r\n");
        QTest::newRow("code list to its end")
            << QByteArrayList{"CODE/CONF/LIST\r\n", "?\r\n", "?\r\n"} << QByteArray("TREE\r\n\x1a\r\n\x1a\r\n");
        QTest::newRow("job list: all 16 slots") << QByteArrayList{"JOB/CONF/LIST\r\n", "?\r\n", "?\r\n"}
                                                << QByteArray(",1,0,0\r\n,2,0,0\r\nROAD,3,2,1\r\n");
        QTest::newRow("formats") << QByteArrayList{"FORM/CONF/LIST\r\n", "?\r\n", "?\r\n"}
                                 << QByteArray("DAT,1\r\nCSV,2\r\n\x1a\r\n");
        QTest::newRow("download as stored")
            << QByteArrayList{"FORM/SET/01\r\n", "JOB/RCV/COORDS/3\r\n", "?\r\n", "?\r\n", "?\r\n"}
            << QByteArray("OK\r\nROAD,3,2,1\r\nP1   C1   1.000 2.000 3.000\r\nP2   C2   4.000 5.000 6.000\r\n\x1a\r\n");
        QTest::newRow("observations comma-separated")
            << QByteArrayList{"FORM/SET/02\r\n", "JOB/RCV/OBSERV/3\r\n", "?\r\n", "?\r\n"}
            << QByteArray("OK\r\nROAD,3,2,1\r\nM1,1234512\r\n\x1a\r\n");
        QTest::newRow("download of no job")
            << QByteArrayList{"JOB/RCV/COORDS/40\r\n", "?\r\n"} << QByteArray(",40,0,0\r\n\x1a\r\n");
        QTest::newRow("split and joined messages")
            << QByteArrayList{"a\r", "\nc\r\n?\r\n"} << QByteArray("?\r\n?\r\n\x1a\r\n");
        QTest::newRow("unknown message") << QByteArrayList{"JOB/DEL/3\r\n"} << QByteArray("ERR\r\n");
    }

    void replies()
    {
        QFETCH(QByteArrayList, messages);
        QFETCH(QByteArray, replies);
        Instrument kt90 = road();
        QByteArray got;
        for (const QByteArray& m : messages)
            got += kt90.on_bytes(m).send;
        QCOMPARE(got, replies);
    }

    void upload_into_a_new_job()
    {
        Instrument kt90 = road();
        const QString record(kRecordLength, 'A');
        QCOMPARE(kt90.on_bytes("JOB/SET/NEW/5\r\n").changed_job, 5);
        QByteArray got;
        for (const QByteArray& m : {QByteArray("FORM/SET/0\r\n"), QByteArray("JOB/SND/COORD/5\r\n"),
                                    record.toLatin1() + "\r\n", QByteArray("short\r\n")})
            got += kt90.on_bytes(m).send;
        QCOMPARE(got, QByteArray("OK\r\n?\r\n?\r\n?\r\n"));
        const InstrumentReply end = kt90.on_bytes("\x1a\r\n");
        QCOMPARE(end.send, QByteArray("OK\r\n"));
        QCOMPARE(end.changed_job, 5);
        QCOMPARE(kt90.job(5)->name, QString("NEW"));
        QCOMPARE(kt90.job(5)->fixed, (QStringList{record, "short"}));
        QCOMPARE(end.notes, QStringList{"job 5 (NEW) received 2 records"});
        QCOMPARE(kt90.job_lines().size(), kJobSlots);
        QCOMPARE(kt90.job_lines()[4], QString("NEW,5,2,0"));
        // A job slot that does not exist takes nothing.
        QCOMPARE(kt90.on_bytes("JOB/SND/COORD/17\r\n").send, QByteArray("ERR\r\n"));
        QCOMPARE(kt90.on_bytes("JOB/SET/X/0\r\n").changed_job, 0);
    }
};

KT_CORE_TEST_MAIN(TestKt90Instrument)
#include "tst_kt90_instrument.moc"
