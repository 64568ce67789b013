// Fault drills: the cable pulled in the middle of a transfer, saves that cannot be written, and runtime
// files that are empty, cut short, binary or huge. Each must be told, keep what the user has, and leave
// the program responsive.
#include "comm/kt90_conversation.h"
#include "config/dictionaryanalysis.h"
#include "config/prompts.h"
#include "modal/modal.h"
#include "support/app/kt90script.h"
#include "support/app/linkedwindow.h"
#include "support/app/windowdriver.h"
#include "support/core/mount.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTableWidget>

namespace
{

// After the cable is pulled: reported once, the port closed, the transfer state reset, and the event
// loop free (the port's error does not repeat in a busy loop, a timer still fires on time).
void expect_port_lost(MainWindow& w)
{
    QSignalSpy errors(w.serial, &QSerialPort::errorOccurred);
    QTRY_VERIFY(!w.serial->isOpen());
    bool fired = false;
    QTimer::singleShot(50, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY(fired);
    PtyInstrument::spin(300);
    QVERIFY(errors.count() <= 2);
    QVERIFY(!w.InformationTransmissionjFlag);
    QVERIFY(w.commbuf.isEmpty());
    QCOMPARE(w.KT90SendType, 0);
    int lost = 0;
    for (const modal_script::Shown& shown : modal_script::shown())
        lost += shown.text.startsWith(w.getpopup_prompt(Prompt::ConnectionLost).section("%1", 0, 0)) ? 1 : 0;
    QCOMPARE(lost, 1);
    QCOMPARE(w.ui->label_4->text(), w.getpopup_prompt(Prompt::NotConnected));
}

} // namespace

class TestFaultDrills : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void cable_pulled_during_a_kt40_receive()
    {
        LinkedWindow link("KT40");
        link.w->program_receivedata();
        link.pty.send(QByteArray::fromHex("aa80") + "JOB1 " + QByteArray::fromHex("0005aa82"));
        QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81", 2));
        for (int i = 0; i < 2; ++i) {
            link.pty.send(sample::kt40_record);
            QCOMPARE(link.pty.receive(2), QByteArray("\xAA\x81", 2));
        }
        link.pty.send(sample::kt40_record.left(30)); // the third record, cut off
        link.pty.hang_up();
        expect_port_lost(*link.w);
        QCOMPARE(link.w->tableWidget->rowCount(), 2);
    }

    void cable_pulled_during_a_kt2040_send()
    {
        LinkedWindow link("KT20_KT40");
        for (int r = 0; r < 3; ++r) {
            link.w->tableWidget->insertRow(r);
            for (int c = 0; c < 15; ++c)
                link.w->tableWidget->setItem(r, c, new QTableWidgetItem(QString::number(r + c)));
        }
        link.w->program_senddata();
        link.pty.send("\x01J\r");
        QCOMPARE(link.pty.receive(3), QByteArray("\x01J\r"));
        QCOMPARE(link.pty.receive(63).size(), 63); // the first record, after its pause
        link.pty.send("\x01J\r");                  // the second is being paced
        PtyInstrument::spin(50);
        link.pty.hang_up();
        expect_port_lost(*link.w);
        QCOMPARE(link.w->tableWidget->rowCount(), 3);
        QCOMPARE(link.w->KT20_KT40_curnum, 0);
    }

    void cable_pulled_during_a_kt90_download()
    {
        std::unique_ptr<WorkDir> dir;
        auto w = start_kt90_window(dir);
        PtyInstrument pty;
        w->portname = pty.port_name();
        w->comm_open();
        QVERIFY(w->serial->isOpen());
        w->KT90SendModel = kt90::Conversation::Download;
        w->KT90_PointType = "JOB/RCV/COORDS/";
        w->KT90_DataTypeNum = "2";
        w->KT90_DataFileNum = "3";
        w->KT90_SaveFilename = dir->file("job.txt");
        w->progflag = 2;
        w->wait_start(WaitKind::JobCopy);
        w->KT90SendType = kt90::Message::Open;
        w->serial->write(w->dictionA->getKT90packmsg(kt90::Message::Open, "", false));
        play(pty, {{crlf("a"), kReady},
                   {crlf("c"), kReady},
                   {crlf("FORM/SET/02"), crlf("OK")},
                   {crlf("JOB/RCV/COORDS/3"), crlf("P,1,4,0")},
                   {kReady, crlf("1,A,1,2,3")}});
        QCOMPARE(pty.receive(3), kReady);
        pty.hang_up();
        expect_port_lost(*w);
        QVERIFY(!w->progDlg);
        QVERIFY(!w->KT90_StartSave);
        QCOMPARE(w->KT90_DataBuf, QStringList{"1,A,1,2,3"}); // what came is still there
        QVERIFY(!QFileInfo::exists(dir->file("job.txt")));
    }

    void saves_that_cannot_be_written_data()
    {
        QTest::addColumn<QString>("place"); // where the file goes
        QTest::newRow("a file stands where the folder should be") << "blocked";
        QTest::newRow("read-only file system") << "read-only";
        QTest::newRow("full disk") << "full";
    }

    void saves_that_cannot_be_written()
    {
        QFETCH(QString, place);
        WorkDir dir;
        dir.set_language("English");
        auto w = start_window("KT40");
        for (int r = 0; r < 400; ++r) {
            w->tableWidget->insertRow(r);
            const QStringList cells = {QString("POINT%1").arg(r), "CODE", "1234567.890", "7654321.098", "123.456"};
            for (int c = 0; c < cells.size(); ++c)
                w->tableWidget->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
        const QByteArray old_points = "OLD,,1,2,3\n";
        QString path;
        std::unique_ptr<Mount> mount;
        if (place == "blocked") {
            dir.write("points", "a file, not a folder\n");
            path = dir.file("points/points.ndad");
        } else {
            const QString folder = dir.file("mnt");
            mount = std::make_unique<Mount>(folder, "size=16k");
            if (!mount->ok())
                QSKIP("mounting a small file system needs root");
            path = folder + "/points.ndad";
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(old_points);
            old.close();
            if (place == "read-only")
                QVERIFY(mount->remount("ro"));
        }
        modal_script::queue_file(path);
        w->program_filesaveas();
        const QList<modal_script::Shown> shown = modal_script::shown();
        QCOMPARE(shown.last().kind, QString("warning"));
        QVERIFY2(shown.last().text.startsWith(w->getpopup_prompt(Prompt::FileNotWritten).arg(path, "")),
                 qPrintable(shown.last().text));
        QVERIFY(shown.last().text.size() >
                w->getpopup_prompt(Prompt::FileNotWritten).arg(path, "").size()); // and the reason
        if (place != "blocked")
            QCOMPARE(read_file(path, "<missing>"), old_points);
        QCOMPARE(w->tableWidget->rowCount(), 400);
    }

    void runtime_files_that_are_broken_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("told");

        const QStringList contents = {"empty", "cut short", "binary", "10 MB"};
        for (const QString& content : contents) {
            const bool huge = content == "10 MB";
            QTest::addRow("UI texts, %s", qPrintable(content)) << "config/parameter.xml" << content << huge << !huge;
            QTest::addRow("configuration, %s", qPrintable(content)) << "config/config.xml" << content << true << !huge;
            QTest::addRow("dictionary, %s", qPrintable(content)) << "config/dictionary.xml" << content << true << false;
        }
    }

    void runtime_files_that_are_broken()
    {
        QFETCH(QString, file);
        QFETCH(QString, content);
        QFETCH(bool, starts);
        QFETCH(bool, told);
        WorkDir dir;
        const QByteArray shipped = dir.read(file);
        QByteArray bytes;
        if (content == "cut short") {
            bytes = shipped.left(shipped.size() / 2);
        } else if (content == "binary") {
            for (int i = 0; i < 4096; ++i)
                bytes.append(char((i * 131 + 7) % 256));
        } else if (content == "10 MB") {
            // The shipped file with ten megabytes of comment in front of its document element.
            const int at = shipped.indexOf('>', shipped.indexOf("?>") + 2) + 1;
            bytes = shipped.left(at) + "<!--" + QByteArray(10 * 1024 * 1024, 'x') + "-->" + shipped.mid(at);
        }
        dir.write(file, bytes);
        auto w = start_window("KT40");
        QCOMPARE(w->exe_success_flag, starts);
        bool information = false;
        for (const modal_script::Shown& shown : modal_script::shown())
            information = information || shown.kind == "information";
        QCOMPARE(information, told);
        if (starts && file.endsWith("dictionary.xml")) {
            QVERIFY(w->dictionA->getuartpara("baudrate", 1).isEmpty() == (content != "10 MB"));
            QCOMPARE(w->baudrate, QString("9600"));
        }
    }
};

KT_TEST_MAIN(TestFaultDrills)
#include "tst_fault_drills.moc"
