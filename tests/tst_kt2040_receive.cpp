// Receiving over a pty, the instrument played byte for byte: the KT40 frame set, KT20_KT40 coordinates
// and measured data, chunked delivery, noise, the end frames and the Bluetooth time-out.
#include "ktest.h"
#include "linkedwindow.h"
#include "ui_mainwindow.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>

using namespace instrument;

namespace
{

const QByteArray kAck = QByteArray::fromHex("aa81");
const QByteArray kEnd = QByteArray::fromHex("aa82");

QString both(MainWindow& w, int first, int second, const char* pattern = "%1%2")
{
    return QString(pattern).arg(w.getpopup_prompt(first), w.getpopup_prompt(second));
}

QString receiving(MainWindow& w, int done, int total)
{
    return both(w, 15, 18) + QString("%1/%2").arg(done).arg(total);
}

} // namespace

class TestKt2040Receive : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void kt40_transfer()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        w.ZuobiaoLeixing = 0;
        w.program_receivedata();
        QCOMPARE(link.state(), both(w, 15, 18));

        link.pty.send(QByteArray::fromHex("aa80") + "JOB 1 " + QByteArray::fromHex("0002aa82"));
        QCOMPARE(link.pty.receive(2), kAck);
        QCOMPARE(w.ui->lineEdit->text(), QString("JOB"));
        QCOMPARE(link.progress(), QString("0/2"));
        QVERIFY(w.Commontimer->isActive());
        QCOMPARE(w.Commontimer->interval(), 3000);

        link.pty.send("\x90  000001 " + QByteArray("P\0 1   ", 7) + "  1234.567m   " + right("-12.345 m", 14) +
                      right("0m", 14) + " C1     \xB0");
        QCOMPARE(link.pty.receive(2), kAck);
        QVERIFY(!w.Commontimer->isActive());
        QCOMPARE(link.state(), receiving(w, 1, 2));
        QCOMPARE(link.progress(), QString("1/2"));
        link.pty.send(kt40_record(2, "P2", "", "1", "2", "3"));
        QCOMPARE(link.pty.receive(2), kAck);
        link.pty.send(kEnd);
        QCOMPARE(link.pty.receive(2), kEnd);
        QCOMPARE(link.pty.drain(50), QByteArray());

        QCOMPARE(w.tableWidget->rowCount(), 2);
        QCOMPARE(link.row(0), (QStringList{"P1", "C1", "1234.567", "-12.345", "0"}));
        QCOMPARE(link.row(1), (QStringList{"P2", "", "1", "2", "3"}));
        QVERIFY(!w.InformationTransmissionjFlag);
        QCOMPARE(link.state(), both(w, 15, 20, "%1   %2"));
    }

    void kt40_header_without_records_ends_clean()
    {
        LinkedWindow link("KT40");
        link.pty.send(kt40_header("", 0));
        QCOMPARE(link.pty.receive(2), kAck);
        link.pty.send(kEnd);
        QCOMPARE(link.pty.receive(2), kEnd);
        QVERIFY(!link.w->Commontimer->isActive());
        QVERIFY(!link.w->CommontimerFlag);
    }

    void coordinates_data()
    {
        QTest::addColumn<QString>("type");
        QTest::newRow("KT20_KT40") << "KT20_KT40";
        QTest::newRow("KT85R shares the frame set") << "KT85R";
    }

    void coordinates()
    {
        QFETCH(QString, type);
        LinkedWindow link(type);
        MainWindow& w = *link.w;
        w.ZuobiaoLeixing = 0;
        w.program_receivedata();
        link.pty.send("\x01J\r");
        QCOMPARE(link.pty.receive(3), QByteArray("\x01J\r"));
        QVERIFY(w.CommontimerFlag);

        const QByteArray first = coordinate_record(3, 10, "PT1", "CODE", "1234.5", "-12.345", "7");
        link.pty.send(first);
        QCOMPARE(link.pty.receive(10), first.left(9) + '\r');
        QVERIFY(!w.CommontimerFlag);
        QCOMPARE(link.progress(), QString("3/10"));
        QCOMPARE(link.state(), receiving(w, 3, 10));
        QCOMPARE(link.row(0), (QStringList{"", "", "PT1", "1234.5000", "-12.3450", "7.0000", "CODE", "", "", "", "", "",
                                           "", "", ""}));
        // Every column has an item, empty ones included.
        QVERIFY(w.tableWidget->item(0, 14));

        link.pty.send("\x01Q\r");
        QCOMPARE(link.pty.drain(50), QByteArray());
        QVERIFY(!w.InformationTransmissionjFlag);
        QCOMPARE(link.state(), both(w, 15, 20, "%1   %2"));
        // The transfer is over: a send starts without a reconnect.
        w.program_senddata();
        QVERIFY(modal_script::shown().isEmpty());
        QCOMPARE(w.CommunicationDirection, 1);
    }

    void measured_data_data()
    {
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<int>("prompt");
        QTest::newRow("end") << QByteArray("\x05Q\r") << 20;
        QTest::newRow("end with error") << QByteArray("\x05"
                                                      "E\r")
                                        << 25;
    }

    void measured_data()
    {
        QFETCH(QByteArray, end);
        QFETCH(int, prompt);
        LinkedWindow link("KT20_KT40");
        MainWindow& w = *link.w;
        w.ZuobiaoLeixing = 1;
        w.program_receivedata();
        link.pty.send("\x05J\r");
        QCOMPARE(link.pty.receive(3), QByteArray("\x05J\r"));

        const QList<QByteArray> records = {
            station_record(1, 5, "S0", "", "1.5", "1", "2", "3"), // before any file header: no job name
            file_header(2, 5, "JOB1"),
            station_record(3, 5, "STN1", "C", "1.5", "1000", "2000", "100"),
            backsight_record(4, 5, "BK1", "", "0900000"),
            measured_record(5, 5, "MP1", "C3",
                            {"1234512", "0900000", "123.456", "-1.234", "123.45", "1.5", "1.8", "1", "2", "3"}),
        };
        for (const QByteArray& record : records) {
            link.pty.send(record);
            QCOMPARE(link.pty.receive(10), '\x06' + record.mid(1, 8) + '\r');
        }
        QCOMPARE(w.KT20_KT40_filename, QString("JOB1 "));
        QCOMPARE(w.tableWidget->rowCount(), 4);
        QCOMPARE(link.row(0).mid(0, 3), (QStringList{"Station", "", "S0"}));
        QCOMPARE(link.row(1), (QStringList{"Station", "JOB1 ", "STN1", "1000.0000", "2000.0000", "100.0000", "C",
                                           "1.5000", "", "", "", "", "", "", ""}));
        QCOMPARE(link.row(2), (QStringList{"Backsight", "JOB1 ", "BK1", "", "", "", "", "", "090\u00B000'00\"", "", "",
                                           "", "", "", ""}));
        QCOMPARE(link.row(3),
                 (QStringList{"Measured point", "JOB1 ", "MP1", "1.0000", "2.0000", "3.0000", "C3", "1.5000", "",
                              "123\u00B045'12\"", "090\u00B000'00\"", "123.4560", "-1.2340", "123.4500", "1.8000"}));
        QCOMPARE(link.progress(), QString("5/5"));

        link.pty.send(end);
        QCOMPARE(link.pty.drain(50), QByteArray());
        QVERIFY(!w.InformationTransmissionjFlag);
        QCOMPARE(link.state(), both(w, 15, prompt, "%1   %2"));
    }

    void record_labels_follow_the_ui_texts()
    {
        LinkedWindow link("KT20_KT40", false);
        link.w->CoordinateType.remove("STN");
        link.w->program_commconnect();
        link.w->ZuobiaoLeixing = 1;
        link.pty.send(station_record(1, 1, "S", "", "", "", "", ""));
        QCOMPARE(link.pty.receive(10).size(), 10);
        QCOMPARE(link.row(0).first(), QString());
    }

    // A frame split over many reads is judged once it is whole, and answered once.
    void chunked_delivery_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("answer");
        QTest::newRow("KT40 record") << "KT40" << kt40_record(1, "P1", "C", "1", "2", "3") << 2;
        QTest::newRow("coordinate record") << "KT20_KT40" << coordinate_record(1, 1, "P1", "C", "1", "2", "3") << 10;
    }

    void chunked_delivery()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, frame);
        QFETCH(int, answer);
        LinkedWindow link(type);
        for (int at = 0; at < frame.size(); at += 7) {
            link.pty.send(frame.mid(at, 7));
            link.pty.spin(2);
            if (at + 7 < frame.size())
                QCOMPARE(link.pty.drain(5), QByteArray());
        }
        QCOMPARE(link.pty.receive(answer).size(), answer);
        QCOMPARE(link.pty.drain(30), QByteArray());
        QCOMPARE(link.w->tableWidget->rowCount(), 1);
    }

    void noise_before_a_frame_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("noise");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QByteArray>("answer");
        const QByteArray header = kt40_header("J", 1);
        const QByteArray request("\x01J\r");
        QTest::newRow("KT40, stray bytes") << "KT40" << QByteArray::fromHex("0055ffaa13") << header << kAck;
        QTest::newRow("KT40, a record start buried in a long burst")
            << "KT40" << QByteArray(1, '\x90') + QByteArray(300, 'x') << header << kAck;
        QTest::newRow("KT20_KT40, broken request") << "KT20_KT40" << QByteArray("\x01\x7f\x05") << request << request;
        QTest::newRow("KT20_KT40, a record start buried in a long burst")
            << "KT20_KT40" << QByteArray(1, '\x02') + QByteArray(70, 'x') << request << request;
    }

    void noise_before_a_frame()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, noise);
        QFETCH(QByteArray, frame);
        QFETCH(QByteArray, answer);
        LinkedWindow link(type);
        link.pty.send(noise);
        link.pty.spin(20);
        link.pty.send(frame);
        QCOMPARE(link.pty.receive(answer.size()), answer);
        QVERIFY(link.w->commbuf.isEmpty());
    }

    void bluetooth_time_out_repeats_the_last_answer_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("real_timer"); // one row waits for the timer itself, the others call its slot
        QTest::newRow("KT40") << "KT40" << 0 << kt40_header("J", 1) << kAck << true;
        QTest::newRow("coordinates") << "KT20_KT40" << 0 << QByteArray("\x01J\r") << QByteArray("\x01J\r") << false;
        QTest::newRow("measured data") << "KT20_KT40" << 1 << QByteArray("\x05J\r") << QByteArray("\x05J\r") << false;
    }

    void bluetooth_time_out_repeats_the_last_answer()
    {
        QFETCH(QString, type);
        QFETCH(int, mode);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, answer);
        QFETCH(bool, real_timer);
        LinkedWindow link(type, false);
        MainWindow& w = *link.w;
        w.portlist_desc = QStringList{w.portname, "Serial over Bluetooth"};
        w.CommunicationMode = 1;
        w.program_commconnect();
        QVERIFY(w.serial->isOpen());
        w.ZuobiaoLeixing = mode;
        link.pty.send(start);
        QCOMPARE(link.pty.receive(answer.size()), answer);
        QVERIFY(w.Commontimer->isActive());

        QCOMPARE(w.Commontimer->interval(), 3000);
        if (real_timer) {
            QSignalSpy fired(w.Commontimer, &QTimer::timeout);
            QVERIFY(fired.wait(5000));
        } else {
            w.CommontimerTimerout();
        }
        QCOMPARE(link.pty.receive(answer.size()), answer);
        // Once per arming: the timer is stopped, still armed for the first record.
        QVERIFY(!w.Commontimer->isActive());
        QVERIFY(w.CommontimerFlag);

        // By cable the time-out waits for the instrument and sends nothing.
        w.CommunicationMode = 0;
        w.Commontimer->start(3000);
        w.CommontimerTimerout();
        QCOMPARE(link.pty.drain(30), QByteArray());
        QVERIFY(w.Commontimer->isActive());
    }

    void receive_command_during_a_transfer_does_nothing()
    {
        LinkedWindow link("KT20_KT40");
        MainWindow& w = *link.w;
        w.program_receivedata();
        w.KT20_KT40_filename = "JOB";
        w.show_statemsg("marker", 1);
        w.program_receivedata();
        QCOMPARE(w.KT20_KT40_filename, QString("JOB"));
        QCOMPARE(link.state(), QString("marker"));
    }
};

KT_TEST_MAIN(TestKt2040Receive)
#include "tst_kt2040_receive.moc"
