// Sending the point table over a pty, the instrument played byte for byte: the KT40 frame set with
// its acknowledgements, the paced KT20_KT40 send with its requests and end frames.
#include "ktest.h"
#include "linkedwindow.h"

#include <QElapsedTimer>
#include <QTableWidget>
#include <QTimer>

using namespace instrument;

namespace
{

const QByteArray kAck = QByteArray::fromHex("aa81");
const QByteArray kEnd = QByteArray::fromHex("aa82");
const QByteArray kRequest("\x01J\r");

void fill_table(MainWindow& w, const QList<QStringList>& rows)
{
    w.tableWidget->setRowCount(0);
    for (const QStringList& cells : rows) {
        const int r = w.tableWidget->rowCount();
        w.tableWidget->insertRow(r);
        for (int c = 0; c < cells.size(); ++c)
            w.tableWidget->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}

QString sending(MainWindow& w, int done, int total)
{
    return w.getpopup_prompt(15) + w.getpopup_prompt(17) + QString("%1/%2").arg(done).arg(total);
}

// An observation-layout row holding a point: name, N, E, Z, code in columns 2 to 6.
QStringList point(const QString& name, const QString& n, const QString& e, const QString& z, const QString& code)
{
    return {"", "", name, n, e, z, code};
}

QByteArray record(const QByteArray& text)
{
    return '\x02' + text + '\r';
}

} // namespace

class TestKt2040Send : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void kt40_send()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        fill_table(w, {{"POINT1234", "CODE", "1234.567", "-12.345", "100"}, {"P2"}});
        w.program_senddata();
        QCOMPARE(link.pty.receive(6), QByteArray::fromHex("aa800002aa82"));
        QCOMPARE(link.state(), sending(w, 0, 2));

        link.pty.send(kAck);
        QCOMPARE(link.pty.receive(68),
                 kt40_record(1, "POINT12", "CODE", "1234.567", "-12.345", "100").replace(0, 1, "\x90"));
        QCOMPARE(link.state(), sending(w, 1, 2));
        link.pty.send(kAck);
        QCOMPARE(link.pty.receive(68), kt40_record(2, "P2", "", "", "", ""));
        link.pty.send(kAck);
        QCOMPARE(link.pty.receive(2), kEnd);
        QCOMPARE(link.state(), w.getpopup_prompt(15) + "   " + w.getpopup_prompt(19));
        QVERIFY(w.InformationTransmissionjFlag);
        link.pty.send(kEnd);
        QCOMPARE(link.pty.drain(30), QByteArray());
        QVERIFY(!w.InformationTransmissionjFlag);
        QCOMPARE(w.CommunicationDirection, 0);
    }

    void kt40_empty_table()
    {
        LinkedWindow link("KT40");
        link.w->program_senddata();
        QCOMPARE(link.pty.receive(6), QByteArray::fromHex("aa800000aa82"));
        link.pty.send(kAck);
        QCOMPARE(link.pty.receive(2), kEnd);
    }

    void send_during_a_transfer_is_refused()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        w.program_receivedata();
        w.program_senddata();
        const auto shown = modal_script::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, QString("information"));
        QCOMPARE(shown[0].title, w.getpopup_prompt(5));
        QCOMPARE(shown[0].text, w.getpopup_prompt(21));
        QCOMPARE(w.CommunicationDirection, 0);
        QCOMPARE(link.pty.drain(30), QByteArray());
    }

    void kt20kt40_send_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<int>("prompt");
        QTest::newRow("KT20_KT40") << "KT20_KT40" << QByteArray("\x01Q\r") << 19;
        QTest::newRow("KT85R shares the frame set, end with error") << "KT85R"
                                                                    << QByteArray("\x01"
                                                                                  "E\r")
                                                                    << 25;
    }

    void kt20kt40_send()
    {
        QFETCH(QString, type);
        QFETCH(QByteArray, end);
        QFETCH(int, prompt);
        LinkedWindow link(type);
        MainWindow& w = *link.w;
        fill_table(w, {point("POINTNAME", "1234.5", "-12.345", "", "C1"), point("P2", "1", "2", "3", ""),
                       point("P3", "0", "0", "0", "")});
        w.program_senddata();
        // The records are fixed when the send starts.
        w.tableWidget->item(0, 2)->setText("CHANGED");
        QCOMPARE(link.pty.drain(30), QByteArray());

        // The echo comes first, the record no sooner than half a second after the request.
        QElapsedTimer clock;
        clock.start();
        link.pty.send(kRequest);
        QCOMPARE(link.pty.receive(3), kRequest);
        QCOMPARE(link.pty.receive(63), record("00010003POINTNAC1     000001234.500000000-12.345000000000.000"));
        QVERIFY(clock.elapsed() >= 450);
        QCOMPARE(link.state(), sending(w, 1, 3));

        clock.restart();
        link.pty.send(kRequest);
        QCOMPARE(link.pty.receive(63), record("00020003P2            000000001.000000000002.000000000003.000"));
        QVERIFY(clock.elapsed() >= 270);
        link.pty.send(kRequest);
        QCOMPARE(link.pty.receive(63).mid(1, 8), QByteArray("00030003"));
        // Every record is sent: a further request is answered with nothing.
        link.pty.send(kRequest);
        QCOMPARE(link.pty.drain(400), QByteArray());
        QCOMPARE(link.state(), sending(w, 3, 3));

        link.pty.send(end);
        QCOMPARE(link.pty.drain(30), QByteArray());
        QVERIFY(!w.InformationTransmissionjFlag);
        QVERIFY(!w.Commontimer->isActive());
        QCOMPARE(link.state(), w.getpopup_prompt(prompt));
    }

    void kt20kt40_empty_table_echoes_only()
    {
        LinkedWindow link("KT20_KT40");
        link.w->program_senddata();
        link.pty.send(kRequest);
        QCOMPARE(link.pty.receive(3), kRequest);
        QCOMPARE(link.pty.drain(700), QByteArray());
    }

    // Qt announces no bytes during a pause; an end frame that came meanwhile still ends the send.
    void an_end_during_a_pause_ends_the_send()
    {
        LinkedWindow link("KT20_KT40");
        MainWindow& w = *link.w;
        fill_table(w, {point("P1", "1", "1", "1", ""), point("P2", "2", "2", "2", "")});
        w.program_senddata();
        QTimer::singleShot(100, [&] { link.pty.send("\x01Q\r"); });
        link.pty.send(kRequest);
        QCOMPARE(link.pty.receive(3), kRequest);
        QTRY_VERIFY(!w.InformationTransmissionjFlag);
        QCOMPARE(link.state(), w.getpopup_prompt(19));
        QVERIFY(w.commbuf.isEmpty());
    }

    void a_cable_pulled_during_a_pause_ends_the_send()
    {
        LinkedWindow link("KT20_KT40");
        MainWindow& w = *link.w;
        fill_table(w, {point("P1", "1", "1", "1", "")});
        w.program_senddata();
        QTimer::singleShot(100, [&] { link.pty.hang_up(); });
        link.pty.send(kRequest);
        QTRY_VERIFY(!w.serial->isOpen());
        PtyInstrument::spin(100);
        // The record step after the pause found the send ended and left the state alone.
        QCOMPARE(w.KT20_KT40_curnum, 0);
        QVERIFY(!w.InformationTransmissionjFlag);
        QCOMPARE(link.state(), w.getpopup_prompt(16));
    }
};

KT_TEST_MAIN(TestKt2040Send)
#include "tst_kt2040_send.moc"
