// KT20/KT40 transfers over a pty, the instrument played byte for byte: receiving and sending in both
// frame sets, chunks and noise, the end frames, the Bluetooth time-out and the paced waits.
#include "config/prompts.h"
#include "support/app/linkedwindow.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>

namespace
{

const QByteArray kAck = QByteArray::fromHex("aa81");
const QByteArray kEnd = QByteArray::fromHex("aa82");
const QByteArray kRequest("\x01J\r");

QString prompts(MainWindow& w, int a, int b, const QString& between = "")
{
    return w.getpopup_prompt(a) + between + w.getpopup_prompt(b);
}

QString counted(MainWindow& w, int prompt, int done, int total)
{
    return prompts(w, Prompt::Connected, prompt) + QString("%1/%2").arg(done).arg(total);
}

// Rows of a name, a code and N, E, Z, placed in the columns of the table's layout.
void fill_table(MainWindow& w, int rows)
{
    const bool observation = w.tableWidget->columnCount() == 15;
    const QList<int> columns = observation ? QList<int>{2, 6, 3, 4, 5} : QList<int>{0, 1, 2, 3, 4};
    for (int r = 0; r < rows; ++r) {
        w.tableWidget->insertRow(r);
        const QStringList cells = {QString("POINTNAME%1").arg(r), QString::number(r), "1234.5", "-12.345", ""};
        for (int c = 0; c < cells.size(); ++c)
            w.tableWidget->setItem(r, columns[c], new QTableWidgetItem(cells[c]));
    }
}

} // namespace

class TestKt2040Link : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void kt40_receive()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        w.program_receivedata();
        QCOMPARE(link.state(), prompts(w, Prompt::Connected, Prompt::Receiving));
        link.pty.send(sample::kt40_header);
        QCOMPARE(link.pty.receive(2), kAck);
        QCOMPARE(w.ui->lineEdit->text() + " " + link.progress(), QString("JOB 0/2"));
        QVERIFY(w.Commontimer->isActive());
        for (int n = 1; n <= 2; ++n) {
            link.pty.send(sample::kt40_record);
            QCOMPARE(link.pty.receive(2), kAck);
            QCOMPARE(link.state(), counted(w, 18, n, 2));
        }
        QVERIFY(!w.Commontimer->isActive());
        link.pty.send(kEnd);
        QCOMPARE(link.pty.receive(2), kEnd);
        QCOMPARE(link.progress(), QString("2/2"));
        QCOMPARE(link.row(1), QString("PT1|CODEm|1234.567|-12.345|100.000"));
        QVERIFY(!w.InformationTransmissionjFlag);
        QCOMPARE(link.state(), prompts(w, Prompt::Connected, Prompt::AllReceived, "   "));
    }

    void kt20kt40_receive_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<QByteArray>>("records");
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<int>("prompt");
        QTest::addColumn<QString>("last_row");
        const QList<QByteArray> measured = {sample::station, sample::file_header, sample::backsight, sample::measured};
        QTest::newRow("coordinates") << "KT20_KT40" << 0 << QList<QByteArray>{sample::coordinate}
                                     << QByteArray("\x01Q\r") << 20 << "||PT1|1234.5000|-12.3450|0.0000|CODE||||||||";
        QTest::newRow("KT85R coordinates")
            << "KT85R" << 0 << QList<QByteArray>{sample::coordinate} << QByteArray("\x01Q\r") << 20
            << "||PT1|1234.5000|-12.3450|0.0000|CODE||||||||";
        QTest::newRow("measured data, error end")
            << "KT20_KT40" << 1 << measured << QByteArray("\x05\x45\r") << 25
            << "Measured point|JOB1 |MP1|1000.0000|2000.0000|100.0000|C3|1.5000||123\u00B045'12\"|"
               "90\u00B000'00\"|123.4560|-1.2340|123.4500|1.8000";
    }

    void kt20kt40_receive()
    {
        QFETCH(QString, type);
        QFETCH(int, mode);
        QFETCH(QList<QByteArray>, records);
        QFETCH(QByteArray, end);
        QFETCH(int, prompt);
        QFETCH(QString, last_row);
        LinkedWindow link(type);
        MainWindow& w = *link.w;
        w.ZuobiaoLeixing = mode;
        w.program_receivedata();
        const QByteArray start = mode == 0 ? kRequest : QByteArray("\x05J\r");
        link.pty.send(start);
        QCOMPARE(link.pty.receive(3), start);
        for (const QByteArray& record : records) {
            link.pty.send(record);
            QCOMPARE(link.pty.receive(10), record.left(9) + '\r');
        }
        QCOMPARE(link.progress(), mode == 0 ? QString("3/10") : QString("4/5"));
        QCOMPARE(link.row(w.tableWidget->rowCount() - 1), last_row);
        if (mode == 1) // a station before any file header has no job name
            QCOMPARE(link.row(0).section('|', 0, 2), QString("Station||STN1"));
        link.pty.send(end);
        QCOMPARE(link.pty.drain(30), QByteArray());
        QVERIFY(!w.InformationTransmissionjFlag);
        QCOMPARE(link.state(), prompts(w, Prompt::Connected, prompt, "   "));
    }

    void chunks_and_noise_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("KT40 record in pieces") << "KT40" << sample::kt40_record << kAck;
        QTest::newRow("coordinate record in pieces")
            << "KT20_KT40" << sample::coordinate << sample::coordinate.left(9) + '\r';
        QTest::newRow("KT40 stray bytes") << "KT40" << QByteArray::fromHex("0055ffaa13") + sample::kt40_header << kAck;
        QTest::newRow("KT40 record start in a long burst")
            << "KT40" << '\x90' + QByteArray(300, 'x') + sample::kt40_header << kAck;
        QTest::newRow("broken request") << "KT20_KT40" << QByteArray("\x01\x7f\x05") + kRequest << kRequest;
    }

    void chunks_and_noise()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, answer);
        LinkedWindow link(type);
        for (int at = 0; at < bytes.size(); at += 7) {
            QCOMPARE(link.pty.drain(2), QByteArray());
            link.pty.send(bytes.mid(at, 7));
        }
        QCOMPARE(link.pty.receive(answer.size()), answer);
        QCOMPARE(link.pty.drain(30), QByteArray());
        QVERIFY(link.w->commbuf.isEmpty());
    }

    void bluetooth_time_out_repeats_the_last_answer_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("wait"); // wait for the timer itself, or call its slot
        QTest::newRow("KT40") << "KT40" << sample::kt40_header << kAck << true;
        QTest::newRow("KT20_KT40") << "KT20_KT40" << kRequest << kRequest << false;
    }

    void bluetooth_time_out_repeats_the_last_answer()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, answer);
        QFETCH(bool, wait);
        LinkedWindow link(type, false);
        MainWindow& w = *link.w;
        w.portlist_desc = QStringList{w.portname, "Serial over Bluetooth"};
        w.CommunicationMode = LinkMode::Bluetooth;
        w.program_commconnect();
        link.pty.send(start);
        QCOMPARE(link.pty.receive(answer.size()), answer);
        QCOMPARE(w.Commontimer->interval(), 3000);
        QSignalSpy fired(w.Commontimer, &QTimer::timeout);
        if (wait)
            QVERIFY(fired.wait(5000));
        else
            w.CommontimerTimerout();
        QCOMPARE(link.pty.receive(answer.size()), answer);
        QVERIFY(!w.Commontimer->isActive()); // once per arming
        QVERIFY(w.CommontimerFlag);
        // By cable the time-out sends nothing and keeps running.
        w.CommunicationMode = LinkMode::Cable;
        w.Commontimer->start(3000);
        w.CommontimerTimerout();
        QCOMPARE(link.pty.drain(30), QByteArray());
        QVERIFY(w.Commontimer->isActive());
    }

    void kt40_send_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("two rows") << 2;
        QTest::newRow("empty table") << 0;
    }

    void kt40_send()
    {
        QFETCH(int, rows);
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        fill_table(w, rows);
        w.program_senddata();
        QCOMPARE(link.pty.receive(6), QByteArray::fromHex("aa8000") + char(rows) + kEnd);
        for (int r = 0; r < rows; ++r) {
            link.pty.send(kAck);
            QCOMPARE(link.pty.receive(68), "\x90  00000" + QByteArray::number(r + 1) + " POINTNA" + QByteArray(8, ' ') +
                                               "1234.5       -12.345" + QByteArray(15, ' ') +
                                               QByteArray::number(r).leftJustified(7) + '\xB0');
            QCOMPARE(link.state(), counted(w, 17, r + 1, rows));
        }
        link.pty.send(kAck);
        QCOMPARE(link.pty.receive(2), kEnd);
        QCOMPARE(link.state(), prompts(w, Prompt::Connected, Prompt::AllSent, "   "));
        link.pty.send(kEnd);
        QCOMPARE(link.pty.drain(30), QByteArray());
        QVERIFY(!w.InformationTransmissionjFlag);
        // Now a send is refused only while a transfer runs.
        w.program_receivedata();
        w.program_senddata();
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].title + modal_script::shown()[0].text,
                 prompts(w, Prompt::ProgramName, Prompt::TransferRunning));
    }

    void kt20kt40_send_data()
    {
        QTest::addColumn<QString>("type");
        QTest::newRow("KT20_KT40") << "KT20_KT40";
        QTest::newRow("KT85R") << "KT85R";
    }

    void kt20kt40_send()
    {
        QFETCH(QString, type);
        LinkedWindow link(type);
        MainWindow& w = *link.w;
        fill_table(w, 2);
        w.program_senddata();
        w.tableWidget->item(0, 2)->setText("CHANGED"); // the records were fixed when the send began
        QElapsedTimer clock;
        clock.start();
        link.pty.send(kRequest);
        QCOMPARE(link.pty.receive(3), kRequest); // the echo first, the record half a second later
        QCOMPARE(link.pty.receive(63),
                 '\x02' + QByteArray("00010002POINTNA0      000001234.500000000-12.345000000000.000\r"));
        QVERIFY(clock.elapsed() >= 450);
        QVERIFY(w.CommontimerFlag); // the echo may still be lost
        clock.restart();
        link.pty.send(kRequest);
        QCOMPARE(link.pty.receive(63).left(23), '\x02' + QByteArray("00020002POINTNA1      "));
        QVERIFY(clock.elapsed() >= 270);
        QVERIFY(!w.CommontimerFlag); // the second request shows the echo arrived
        QCOMPARE(link.state(), counted(w, 17, 2, 2));
        link.pty.send(kRequest); // every record is sent: nothing more
        QCOMPARE(link.pty.drain(400), QByteArray());
        link.pty.send("\x01Q\r");
        QCOMPARE(link.pty.drain(30), QByteArray());
        QVERIFY(!w.InformationTransmissionjFlag);
        QVERIFY(!w.Commontimer->isActive());
        QCOMPARE(link.state(), w.getpopup_prompt(Prompt::AllSent));
    }

    // Qt announces no bytes during a pause; what came meanwhile is judged when it ends, and a send
    // ended meanwhile sends nothing more.
    void end_or_pulled_cable_during_a_pause_data()
    {
        QTest::addColumn<bool>("hang_up");
        QTest::newRow("end frame") << false;
        QTest::newRow("pulled cable") << true;
    }

    void end_or_pulled_cable_during_a_pause()
    {
        QFETCH(bool, hang_up);
        LinkedWindow link("KT20_KT40");
        MainWindow& w = *link.w;
        fill_table(w, 2);
        w.program_senddata();
        QTimer::singleShot(100, [&] {
            if (hang_up)
                link.pty.hang_up();
            else
                link.pty.send("\x01Q\r");
        });
        link.pty.send(kRequest);
        QTRY_VERIFY(!w.InformationTransmissionjFlag);
        PtyInstrument::spin(100);
        QCOMPARE(link.state(), w.getpopup_prompt(hang_up ? Prompt::NotConnected : Prompt::AllSent));
        QCOMPARE(w.KT20_KT40_curnum, 0);
        QVERIFY(w.commbuf.isEmpty());
    }
};

KT_TEST_MAIN(TestKt2040Link)
#include "tst_kt2040_link.moc"
