// The serial link over a pty: the Bluetooth description questions, connect and disconnect, a port
// that cannot be opened, and a port that disappears while a transfer runs.
#include "ktest.h"
#include "linkedwindow.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QTableWidget>
#include <QTimer>

using namespace instrument;

namespace
{

bool disconnect_enabled(MainWindow& w)
{
    return w.findChild<QAction*>("Disconnect")->isEnabled();
}

// A port message: the prompt with the port's name, then Qt's reason for the failure.
void verify_port_message(MainWindow& w, int prompt, const QString& text)
{
    const QString pattern = w.getpopup_prompt(prompt);
    const QString before_reason = pattern.left(pattern.indexOf("%2")).arg(w.portname);
    QVERIFY2(text.startsWith(before_reason), qPrintable(text));
    QVERIFY2(text.size() > pattern.arg(w.portname, "").size(), qPrintable(text));
}

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void questions_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("answer"); // 0: none queued (No)
        QTest::addColumn<int>("question");
        QTest::addColumn<bool>("opens");

        QTest::newRow("cable, plain port") << 0 << "USB serial" << 0 << -1 << true;
        QTest::newRow("cable, unlisted port") << 0 << "" << 0 << -1 << true;
        QTest::newRow("cable, Bluetooth port, No") << 0 << "Standard Serial over bluetooth link" << 0 << 24 << false;
        QTest::newRow("cable, Bluetooth port, Yes") << 0 << "BLUETOOTH" << int(QMessageBox::Yes) << 24 << true;
        QTest::newRow("Bluetooth, Bluetooth port") << 1 << "my BlueTooth COM" << 0 << -1 << true;
        QTest::newRow("Bluetooth, unlisted port, No") << 1 << "" << 0 << 23 << false;
        QTest::newRow("Bluetooth, plain port, Yes") << 1 << "USB serial" << int(QMessageBox::Yes) << 23 << true;
    }

    void questions()
    {
        QFETCH(int, mode);
        QFETCH(QString, description);
        QFETCH(int, answer);
        QFETCH(int, question);
        QFETCH(bool, opens);
        LinkedWindow link("KT40", false);
        MainWindow& w = *link.w;
        w.portlist_desc = description.isEmpty() ? QStringList() : QStringList{w.portname, description};
        w.CommunicationMode = mode;
        w.InformationTransmissionjFlag = true;
        w.commbuf = "left over";
        modal_script::clear();
        if (answer)
            modal_script::queue_answer(QMessageBox::StandardButton(answer));
        w.program_commconnect();

        const auto shown = modal_script::shown();
        QCOMPARE(shown.size(), question < 0 ? 0 : 1);
        if (question >= 0) {
            QCOMPARE(shown[0].title, w.getpopup_prompt(22));
            QCOMPARE(shown[0].text, w.getpopup_prompt(question).arg(w.portname));
        }
        QCOMPARE(w.serial->isOpen(), opens);
        QCOMPARE(disconnect_enabled(w), opens);
        // Declining changes nothing; connecting resets the transfer state.
        QCOMPARE(w.InformationTransmissionjFlag, !opens);
        QCOMPARE(w.commbuf, opens ? QByteArray() : QByteArray("left over"));
        QCOMPARE(link.state(), w.getpopup_prompt(opens ? 15 : 16));
    }

    void connect_and_disconnect_twice_change_nothing_more()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        QVERIFY(w.serial->isOpen());
        w.show_statemsg("marker", 1);
        w.program_commconnect();
        QCOMPARE(link.state(), QString("marker"));

        w.CommontimerFlag = true;
        w.Commontimer->start(3000);
        w.InformationTransmissionjFlag = true;
        w.program_commdisconnect();
        QVERIFY(!w.serial->isOpen());
        QVERIFY(!w.Commontimer->isActive());
        QVERIFY(!w.CommontimerFlag);
        QVERIFY(!w.InformationTransmissionjFlag);
        QVERIFY(!disconnect_enabled(w));
        QCOMPARE(link.state(), w.getpopup_prompt(16));
        w.show_statemsg("marker", 1);
        w.program_commdisconnect();
        QCOMPARE(link.state(), QString("marker"));
        QVERIFY(modal_script::shown().isEmpty());
    }

    // Bytes are judged on the whole buffer gathered since the last frame, for every type but KT90.
    void chunks_are_judged_together()
    {
        LinkedWindow link("KT40");
        const QByteArray header = kt40_header("JOB", 2);
        link.pty.send(header.left(3));
        QCOMPARE(link.pty.drain(50), QByteArray());
        QCOMPARE(link.w->commbuf, header.left(3));
        link.pty.send(header.mid(3));
        QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81"));
        QVERIFY(link.w->commbuf.isEmpty());
    }

    void kt90_bytes_do_not_reach_the_kt40_protocol()
    {
        LinkedWindow link("KT90");
        link.pty.send(kt40_header("JOB", 2));
        QCOMPARE(link.pty.drain(100), QByteArray());
    }

    void a_port_that_cannot_open_is_reported_data()
    {
        QTest::addColumn<bool>("on_demand");
        QTest::newRow("connect") << false;
        QTest::newRow("comm_open") << true;
    }

    void a_port_that_cannot_open_is_reported()
    {
        QFETCH(bool, on_demand);
        LinkedWindow link("KT40", false);
        MainWindow& w = *link.w;
        w.portname = link.dir.file("no-such-port");
        w.portlist_desc.clear();
        if (on_demand)
            w.comm_open();
        else
            w.program_commconnect();
        QVERIFY(!w.serial->isOpen());
        QVERIFY(!disconnect_enabled(w));
        QCOMPARE(link.state(), w.getpopup_prompt(16));
        const auto shown = modal_script::shown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, QString("warning"));
        verify_port_message(w, 26, shown[0].text);

        // The same window connects once the port exists.
        w.portname = link.pty.port_name();
        w.program_commconnect();
        QVERIFY(w.serial->isOpen());
    }

    void a_lost_port_is_closed_and_reported_and_rows_stay()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        w.ZuobiaoLeixing = 0;
        w.program_receivedata();
        link.pty.send(kt40_header("JOB", 3));
        QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81"));
        link.pty.send(kt40_record(1, "P1", "C", "1.0", "2.0", "3.0"));
        QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81"));
        link.pty.send(kt40_record(2, "P2", "C", "1.0", "2.0", "3.0").left(30));
        link.pty.hang_up();
        QTRY_VERIFY(!w.serial->isOpen());
        PtyInstrument::spin(50);

        QVERIFY(!w.InformationTransmissionjFlag);
        QVERIFY(w.commbuf.isEmpty());
        QVERIFY(!w.Commontimer->isActive());
        QVERIFY(!disconnect_enabled(w));
        QCOMPARE(w.tableWidget->rowCount(), 1);
        QCOMPARE(link.row(0).first(), QString("P1"));
        QCOMPARE(link.state(), w.getpopup_prompt(16));
        const auto shown = modal_script::shown();
        QCOMPARE(shown.size(), 1); // once, though the port kept failing until it was closed
        verify_port_message(w, 27, shown[0].text);
    }
};

KT_TEST_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
