// The serial link over a pty: the Bluetooth description questions, a port that cannot be opened (for
// want of permission too), and a port that disappears while a transfer runs.
#include "comm/portopenfailure.h"
#include "config/prompts.h"
#include "support/app/linkedwindow.h"
#include "support/core/mount.h"
#include "support/ui/ktest.h"

#include <QAction>
#include <QTableWidget>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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
                     w.getpopup_prompt(Prompt::PortType) + w.getpopup_prompt(question).arg(w.portname));
        const bool opens = question < 0 || yes;
        QCOMPARE(w.serial->isOpen(), opens);
        QCOMPARE(disconnect_enabled(w), opens);
        // Declining leaves the transfer state as it was; connecting resets it.
        QCOMPARE(w.commbuf, opens ? QByteArray() : QByteArray("left over"));
        QCOMPARE(w.InformationTransmissionjFlag, !opens);
        QCOMPARE(link.state(), w.getpopup_prompt(opens ? Prompt::Connected : Prompt::NotConnected));

        if (opens) {
            w.program_commdisconnect();
            QVERIFY(!w.serial->isOpen() && !disconnect_enabled(w));
            QCOMPARE(link.state(), w.getpopup_prompt(Prompt::NotConnected));
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
        QCOMPARE(link.state(), w.getpopup_prompt(Prompt::NotConnected));
        verify_port_message(w, 26);
        w.portname = link.pty.port_name();
        w.program_commconnect();
        QVERIFY(w.serial->isOpen());
    }

    void open_failure_texts_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QStringList>("permission_texts");
        QTest::addColumn<bool>("port_group_host");
        QTest::addColumn<QString>("expected");
        const QStringList both = {"group %1 %2", "in use %1 %2"};
        QTest::newRow("refused, Linux") << int(QSerialPort::PermissionError) << both << true << "group P R";
        QTest::newRow("refused, Windows") << int(QSerialPort::PermissionError) << both << false << "in use P R";
        QTest::newRow("no such port") << int(QSerialPort::DeviceNotFoundError) << both << true << "open P R";
        QTest::newRow("other failure") << int(QSerialPort::OpenError) << both << false << "open P R";
        QTest::newRow("refused, no texts") << int(QSerialPort::PermissionError) << QStringList() << true << "open P R";
        QTest::newRow("refused, one text elsewhere")
            << int(QSerialPort::PermissionError) << QStringList{"group %1 %2"} << false << "open P R";
        QTest::newRow("refused, empty text")
            << int(QSerialPort::PermissionError) << QStringList{"", "x"} << true << "open P R";
    }

    void open_failure_texts()
    {
        QFETCH(int, error);
        QFETCH(QStringList, permission_texts);
        QFETCH(bool, port_group_host);
        QFETCH(QString, expected);
        QCOMPARE(port_open_failure_text(QSerialPort::SerialPortError(error), "P", "R", "open %1 %2", permission_texts,
                                        port_group_host),
                 expected);
    }

    // A port the system refuses: root is refused a device file on a file system mounted without
    // devices, anyone else a pty slave without permission bits.
    void a_refused_port_names_the_dialout_group()
    {
        LinkedWindow link("KT40", false);
        MainWindow& w = *link.w;
        std::unique_ptr<Mount> mount;
        if (geteuid() == 0) {
            mount = std::make_unique<Mount>(link.dir.file("nodev"), "nodev,size=16k");
            if (!mount->ok())
                QSKIP("mounting a file system without devices failed");
            struct stat slave;
            QCOMPARE(stat(qPrintable(link.pty.port_name()), &slave), 0);
            w.portname = link.dir.file("nodev/port");
            QCOMPARE(mknod(qPrintable(w.portname), S_IFCHR | 0666, slave.st_rdev), 0);
        } else {
            w.portname = link.pty.port_name();
            QCOMPARE(chmod(qPrintable(w.portname), 0), 0);
        }
        w.program_commconnect();
        QVERIFY(!w.serial->isOpen());
        const auto shown = modal_script::shown();
        QCOMPARE(shown.size(), 1);
        const QString expected = w.get_parametretitle("SerialPermissionMsg").value(0);
        QVERIFY(expected.contains("dialout"));
        QVERIFY2(shown[0].text.startsWith(expected.left(expected.indexOf("%2")).arg(w.portname)),
                 qPrintable(shown[0].text));
        QVERIFY(shown[0].text.contains("dialout"));
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
        QCOMPARE(link.state(), w.getpopup_prompt(Prompt::NotConnected));
        verify_port_message(w, 27); // once, though Qt repeats the error while the port stays open
    }
};

KT_TEST_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
