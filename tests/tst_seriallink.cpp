// The serial link over a pty: the Bluetooth description questions, a port that cannot be opened, and
// a port that disappears while a transfer runs.
#include "ktest.h"
#include "linkedwindow.h"

#include <QAction>
#include <QTableWidget>

namespace
{

bool disconnect_enabled(MainWindow& w)
{
    return w.findChild<QAction*>("Disconnect")->isEnabled();
}

// A port message: the prompt with the port's name, then the reason Qt gives.
void verify_port_message(MainWindow& w, int prompt)
{
    const auto shown = modal_script::shown();
    QCOMPARE(shown.size(), 1);
    const QString pattern = w.getpopup_prompt(prompt);
    QVERIFY2(shown[0].text.startsWith(pattern.left(pattern.indexOf("%2")).arg(w.portname)), qPrintable(shown[0].text));
    QVERIFY2(shown[0].text.size() > pattern.arg(w.portname, "").size(), qPrintable(shown[0].text));
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
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("question"); // -1: none
        QTest::newRow("cable, plain port") << 0 << "USB serial" << false << -1;
        QTest::newRow("cable, unlisted port") << 0 << "" << false << -1;
        QTest::newRow("cable, Bluetooth port, No") << 0 << "Standard Serial over bluetooth link" << false << 24;
        QTest::newRow("cable, Bluetooth port, Yes") << 0 << "BLUETOOTH" << true << 24;
        QTest::newRow("Bluetooth, Bluetooth port") << 1 << "my BlueTooth COM" << false << -1;
        QTest::newRow("Bluetooth, unlisted port, No") << 1 << "" << false << 23;
        QTest::newRow("Bluetooth, plain port, Yes") << 1 << "USB serial" << true << 23;
    }

    void questions()
    {
        QFETCH(int, mode);
        QFETCH(QString, description);
        QFETCH(bool, yes);
        QFETCH(int, question);
        LinkedWindow link("KT40", false);
        MainWindow& w = *link.w;
        w.portlist_desc = description.isEmpty() ? QStringList() : QStringList{w.portname, description};
        w.CommunicationMode = mode;
        w.InformationTransmissionjFlag = true;
        w.commbuf = "left over";
        if (yes)
            modal_script::queue_answer(QMessageBox::Yes);
        w.program_commconnect();
        const auto shown = modal_script::shown();
        QCOMPARE(shown.size(), question < 0 ? 0 : 1);
        if (question >= 0)
            QCOMPARE(shown[0].title + shown[0].text,
                     w.getpopup_prompt(22) + w.getpopup_prompt(question).arg(w.portname));
        const bool opens = question < 0 || yes;
        QCOMPARE(w.serial->isOpen(), opens);
        QCOMPARE(disconnect_enabled(w), opens);
        // Declining leaves the transfer state as it was; connecting resets it.
        QCOMPARE(w.commbuf, opens ? QByteArray() : QByteArray("left over"));
        QCOMPARE(w.InformationTransmissionjFlag, !opens);
        QCOMPARE(link.state(), w.getpopup_prompt(opens ? 15 : 16));

        if (opens) {
            w.program_commdisconnect();
            QVERIFY(!w.serial->isOpen() && !disconnect_enabled(w));
            QCOMPARE(link.state(), w.getpopup_prompt(16));
        }
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
        if (on_demand)
            w.comm_open();
        else
            w.program_commconnect();
        QVERIFY(!w.serial->isOpen());
        QVERIFY(!disconnect_enabled(w));
        QCOMPARE(link.state(), w.getpopup_prompt(16));
        verify_port_message(w, 26);
        w.portname = link.pty.port_name();
        w.program_commconnect();
        QVERIFY(w.serial->isOpen());
    }

    void a_lost_port_is_closed_and_reported_and_rows_stay()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        w.program_receivedata();
        link.pty.send(sample::kt40_header);
        QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81"));
        link.pty.send(sample::kt40_record);
        QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81"));
        link.pty.send(sample::kt40_record.left(30));
        link.pty.hang_up();
        QTRY_VERIFY(!w.serial->isOpen());
        PtyInstrument::spin(50);
        QVERIFY(!w.InformationTransmissionjFlag);
        QVERIFY(w.commbuf.isEmpty());
        QVERIFY(!disconnect_enabled(w));
        QCOMPARE(w.tableWidget->rowCount(), 1);
        QCOMPARE(link.state(), w.getpopup_prompt(16));
        verify_port_message(w, 27); // once, though Qt repeats the error while the port stays open
    }
};

KT_TEST_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
