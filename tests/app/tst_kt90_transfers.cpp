// The KT90 listing and downloads byte for byte over a pseudo-terminal, started by the tree gestures:
// the rebuilt instrument tree, replies split and joined, the bounded buffer, downloads into a temporary
// folder, names from the instrument made safe, and how a failed write and an unopenable port are handled.
// Uploads: tst_kt90_uploads.
#include "comm/kt90_conversation.h"
#include "config/prompts.h"
#include "data/localtext.h"
#include "dialogs/comfiledownsettingdialog.h"
#include "support/app/kt90fixture.h"
#include "support/app/kt90script.h"
#include "support/app/windowdriver.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_comfiledownsettingdialog.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMimeData>
#include <QProgressDialog>
#include <QTreeWidget>

class TestKt90Transfers : public QObject, public Kt90Fixture
{
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

    void listing_data()
    {
        QTest::addColumn<QStringList>("jobs");
        QTest::addColumn<QStringList>("tree");

        QTest::newRow("named and free jobs")
            << QStringList{"ROAD,3,12,40", ",4,0,0"}
            << QStringList{"Jobs on the instrument",   "  JobList 3:ROAD",    "    FixPoints:12",
                           "    MeasurementPoints:40", "  JobList 4:<empty>", "    FixPoints:0",
                           "    MeasurementPoints:0"};
        QTest::newRow("no jobs") << QStringList() << QStringList{"Jobs on the instrument"};
        QTest::newRow("short, long and cut lines")
            << QStringList{"AB,5,1", "A,8,1,2,3,4", "ROADWAY,7,12,40,9", "LONGJOBNAME,6,1,2"}
            << QStringList{"Jobs on the instrument",  "  JobList 8:A",       "    FixPoints:1",
                           "    MeasurementPoints:2", "  JobList 7:ROADWAY", "    FixPoints:12",
                           "    MeasurementPoints:4"};
        QTest::newRow("a name in the instrument's code page")
            << QStringList{"测试,9,1,2"}
            << QStringList{"Jobs on the instrument", "  JobList 9:测试", "    FixPoints:1", "    MeasurementPoints:2"};
    }

    void listing()
    {
        QFETCH(QStringList, jobs);
        QFETCH(QStringList, tree);
        // A subtree from an earlier listing is replaced as a whole.
        new QTreeWidgetItem(port_, {"stale"});
        w_->doublecheckself(port_, 0);
        QVERIFY(w_->progDlg);
        QCOMPARE(w_->KT90SendModel, 0);
        const QList<Exchange> exchanges = listing_exchanges(jobs, {"TXT,2", "GSI16,5"});
        play(*pty_, exchanges.mid(0, exchanges.size() - 1));
        QCOMPARE(pty_->receive(kReady.size()), kReady);
        QCOMPARE(w_->currentValue, 99);
        pty_->send(kEnd);
        QTRY_COMPARE(w_->KT90SendType, 0);
        QVERIFY(!w_->progDlg);
        QCOMPARE(dump(port_), tree);
        QCOMPARE(w_->KT90_FCLBuf, (QStringList{"TXT,2", "GSI16,5"}));
        QCOMPARE(w_->KT90_HCLBuf, QStringList{"H1"});
        QCOMPARE(w_->KT90_VCLBuf, QStringList{"V1"});
        for (const QString& line : w_->KT90_JCLBuf)
            QVERIFY(line.size() <= 14);
        QCOMPARE(pty_->drain(50), QByteArray());
    }

    void replies_split_and_joined()
    {
        w_->doublecheckself(port_, 0);
        w_->doublecheckself(port_, 0); // a wait is shown: nothing happens
        QCOMPARE(pty_->receive_all(), crlf("a"));
        pty_->send("?");
        QCOMPARE(pty_->drain(50), QByteArray());
        QCOMPARE(w_->commbuf, QByteArray("?"));
        pty_->send("\r\n");
        QCOMPARE(pty_->receive_all(), crlf("c"));
        // An empty line is too short to be a reply: it waits and is joined with the next one.
        pty_->send("\r\n");
        QCOMPARE(pty_->drain(50), QByteArray());
        QCOMPARE(w_->commbuf, QByteArray("\r\n"));
        // Two replies in one read are one reply, a line where "?" is expected: the listing waits.
        pty_->send(kReady + kReady);
        QCOMPARE(pty_->drain(50), QByteArray());
        QVERIFY(w_->commbuf.isEmpty());
        pty_->send(kReady);
        QCOMPARE(pty_->receive_all(), crlf("CONF/182"));
    }

    void receive_buffer_is_bounded()
    {
        w_->doublecheckself(port_, 0);
        QCOMPARE(pty_->receive_all(), crlf("a"));
        for (int i = 0; i < 20; ++i) {
            pty_->send(QByteArray(8192, 'x'));
            PtyInstrument::spin(5);
            QVERIFY2(w_->commbuf.size() <= kt90::kReceiveCap + 8192, qPrintable(QString::number(w_->commbuf.size())));
        }
        // The tail of the babble ends at the next CR LF as a line with no rule; then the listing goes on.
        pty_->send("\r\n");
        QCOMPARE(pty_->drain(50), QByteArray());
        pty_->send(kReady);
        QCOMPARE(pty_->receive_all(), crlf("c"));
    }

    void port_that_cannot_be_opened()
    {
        // Listing: the failure is reported once and no wait is left for replies that cannot come.
        auto* bad = new QTreeWidgetItem(w_->ui->treeWidget, {dir_->file("no-such-tty")});
        w_->doublecheckself(bad, 0);
        QVERIFY(!w_->serial->isOpen());
        QVERIFY(!w_->progDlg);
        QCOMPARE(w_->KT90SendType, 0);
        QCOMPARE(modal_script::shown().size(), 1);
        QVERIFY(modal_script::shown().first().text.startsWith("Could not open port " + bad->text(0) + ": "));

        // Download from a leaf under that port: the same.
        QTreeWidgetItem* leaf = recorded_leaf(bad, "ROAD,3,12,40", "TXT,2");
        modal_script::clear();
        SettingsSeen seen;
        answer_settings(&seen, "txt");
        w_->KT90PopMenuYCtoPC_Copy(leaf, 0, w_->model->index(pc_folder("data")), 1);
        QCOMPARE(seen.from, bad->text(0));
        QVERIFY(!w_->progDlg);
        QCOMPARE(w_->KT90SendType, 0);
        QCOMPARE(modal_script::shown().last().kind, QString("warning"));
        QVERIFY(modal_script::shown().last().text.startsWith("Could not open port "));
    }

    void download_data()
    {
        // how: gesture ("menu", "drop on folder", "drop on file"), leaf, command, header
        QTest::addColumn<QStringList>("how");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("progress"); // after each line

        const QStringList coords{"menu", "FixPoints:12", "JOB/RCV/COORDS/3", "P,1,12,0"};
        QTest::newRow("coordinates by menu")
            << coords << QStringList{"1,C,1.000,2.000,3.000", QString(120, '7'), "3"} << QList<int>{8, 16, 25};
        QTest::newRow("count reached stays at 99") << QStringList{"menu", "FixPoints:12", "JOB/RCV/COORDS/3", "P,1,2,0"}
                                                   << QStringList{"a", "b", "c"} << QList<int>{50, 99, 99};
        QTest::newRow("observations take field 3")
            << QStringList{"drop on folder", "MeasurementPoints:40", "JOB/RCV/OBSERV/3", "P,1,12,0"}
            << QStringList{"o1", "o2"} << QList<int>{0, 0};
        QTest::newRow("non-numeric count")
            << QStringList{"drop on file", "FixPoints:12", "JOB/RCV/COORDS/3", "P,1,many,0"} << QStringList{"a"}
            << QList<int>{0};
        QTest::newRow("header of three fields") << QStringList{"menu", "FixPoints:12", "JOB/RCV/COORDS/3", "P,1,12"}
                                                << QStringList{"a", "b"} << QList<int>{0, 0};
        QTest::newRow("bytes above 0x7F are written back as received")
            << QStringList{"menu", "FixPoints:12", "JOB/RCV/COORDS/3", "P,1,1,0"}
            << QStringList{"12,测点,1.000,2.000,3.000"} << QList<int>{99};
    }

    void download()
    {
        QFETCH(QStringList, how);
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, progress);
        const QString gesture = how[0], leaf = how[1];
        const QByteArray command = how[2].toLatin1(), header = how[3].toLatin1();
        list_jobs({"ROAD,3,12,40"}, {"TXT,2", "GSI16,5"});
        const QString folder = pc_folder("data");
        dir_->write("data/other.gsi", "x\n");
        QTreeWidget* tree = w_->ui->treeWidget;
        tree->setCurrentItem(find_node(tree, leaf), 0);

        SettingsSeen seen;
        answer_settings(&seen, "txt");
        if (gesture == "menu") {
            w_->tree_popmenu_action(action("KT90copyfromYCtoPC"));
            QCOMPARE(w_->PopMenuCopyFromYCtoPC,
                     (QStringList{pty_->port_name(), "Jobs on the instrument", "JobList 3:ROAD", leaf}));
            w_->currentindex = w_->model->index(folder);
            w_->tree_popmenu_action(action("KT90copytoYCtoPC"));
        } else {
            const QPoint at = row_point(gesture == "drop on file" ? folder + "/other.gsi" : folder);
            QMimeData mime;
            QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            w_->drag_enter_from(tree, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            w_->drop_from(tree, &drop);
            QVERIFY(!w_->tree1totree2_flag);
        }
        QCOMPARE(seen.from, pty_->port_name());
        QCOMPARE(seen.to, folder);
        QCOMPARE(seen.name, QString("ROAD"));
        QVERIFY(w_->progDlg);

        play(*pty_, {{crlf("a"), kReady},
                     {crlf("c"), kReady},
                     {crlf("FORM/SET/02"), crlf("OK")},
                     {crlf(command), crlf(header)}});
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(pty_->receive(3), kReady);
            if (i > 0)
                QCOMPARE(w_->currentValue, progress[i - 1]);
            pty_->send(crlf(to_local_text(lines[i])));
        }
        QCOMPARE(pty_->receive(3), kReady);
        QCOMPARE(w_->currentValue, progress.last());
        pty_->send(kEnd);
        QTRY_COMPARE(w_->KT90SendType, 0);
        QVERIFY(!w_->progDlg);
        QVERIFY(w_->KT90_DataBuf.isEmpty());
        const QString path = folder + "/ROAD.txt";
        QCOMPARE(w_->KT90_SaveFilename, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        // The file holds the bytes the instrument sent, line by line.
        QCOMPARE(file.readAll(), to_local_text(lines.join('\n') + '\n'));
        QCOMPARE(w_->ui->label_4->text(), w_->getpopup_prompt(Prompt::JobSaved).arg(path));
        QVERIFY(modal_script::shown().isEmpty() || modal_script::shown().last().kind == "question");
    }

    void download_write_failure_is_reported()
    {
        QTreeWidgetItem* leaf = recorded_leaf(port_, "ROAD,3,12,40", "TXT,2");
        const QString folder = pc_folder("data");
        QDir().mkpath(folder + "/ROAD.txt"); // a folder where the file should go
        SettingsSeen seen;
        answer_settings(&seen, "txt");
        w_->KT90PopMenuYCtoPC_Copy(leaf, 0, w_->model->index(folder), 1);
        modal_script::clear();
        play(*pty_, {{crlf("a"), kReady},
                     {crlf("c"), kReady},
                     {crlf("FORM/SET/02"), crlf("OK")},
                     {crlf("JOB/RCV/COORDS/3"), crlf("P,1,1,0")},
                     {kReady, crlf("1,,1,2,3")},
                     {kReady, kEnd}});
        QTRY_COMPARE(w_->KT90SendType, 0);
        QCOMPARE(modal_script::shown().size(), 1);
        const modal_script::Shown warning = modal_script::shown().first();
        QCOMPARE(warning.kind, QString("warning"));
        const QString head = QString("Could not write the file %1/ROAD.txt: ").arg(folder);
        QVERIFY2(warning.text.startsWith(head) && warning.text.size() > head.size(), qPrintable(warning.text));
        QVERIFY(QFileInfo(folder + "/ROAD.txt").isDir());
        QVERIFY(w_->KT90_DataBuf.isEmpty());
    }

    void download_that_cannot_start_is_reported()
    {
        // A format line without its number: the download has nothing to ask for.
        QTreeWidgetItem* leaf = recorded_leaf(port_, "ROAD,3,12,40", "TXT");
        const QString folder = pc_folder("data");
        SettingsSeen seen;
        answer_settings(&seen, "txt");
        modal_script::clear();
        w_->KT90PopMenuYCtoPC_Copy(leaf, 0, w_->model->index(folder), 1);
        // The dialog's own confirmation, then the warning.
        QVERIFY(!modal_script::shown().isEmpty());
        QCOMPARE(modal_script::shown().last().kind, QString("warning"));
        QCOMPARE(modal_script::shown().last().text, w_->getpopup_prompt(Prompt::DownloadNotStarted));
        QCOMPARE(w_->KT90SendType, 0);
        QCOMPARE(pty_->receive_all(), QByteArray());
    }

    void names_from_the_instrument_data()
    {
        QTest::addColumn<QStringList>("names"); // job name, format name, name offered, file written

        QTest::newRow("plain") << QStringList{"ROAD", "TXT", "ROAD", "ROAD.txt"};
        QTest::newRow("climbs out of the folder") << QStringList{"../../etc/x", "TXT", "etcx", "etcx.txt"};
        QTest::newRow("a drive path") << QStringList{"C:\\x", "TXT", "C", "C.txt"};
        QTest::newRow("forbidden characters") << QStringList{"a\\b*c?<d>|\"e", "TXT", "abcde", "abcde.txt"};
        QTest::newRow("nothing left: the job number") << QStringList{"...", "TXT", "3", "3.txt"};
        QTest::newRow("device name: the job number") << QStringList{"CON", "TXT", "3", "3.txt"};
        QTest::newRow("format with separators") << QStringList{"ROAD", "T/X\\T", "ROAD", "ROAD.txt"};
        QTest::newRow("format of dots only") << QStringList{"ROAD", "..", "ROAD", "ROAD"};
    }

    void names_from_the_instrument()
    {
        QFETCH(QStringList, names);
        const QString job = names[0], format = names[1], offered = names[2], file = names[3];
        QTreeWidgetItem* leaf = recorded_leaf(port_, job + ",3,12,40", format + ",2");
        const QString folder = pc_folder("data");
        SettingsSeen seen;
        answer_settings(&seen, QString());
        w_->KT90PopMenuYCtoPC_Copy(leaf, 0, w_->model->index(folder), 1);
        QCOMPARE(seen.name, offered);
        QCOMPARE(w_->KT90_SaveFilename, folder + "/" + file);
        QCOMPARE(w_->KT90_DataTypeNum, QString("2"));
        QCOMPARE(pty_->receive_all(), crlf("a"));

        // The download runs to its end: the file lands in the chosen folder and nowhere else.
        pty_->send(kReady);
        play(*pty_, {{crlf("c"), kReady},
                     {crlf("FORM/SET/02"), crlf("OK")},
                     {crlf("JOB/RCV/COORDS/3"), crlf("P,1,1,0")},
                     {kReady, crlf("1,A,1.000,2.000,3.000")},
                     {kReady, kEnd}});
        QTRY_COMPARE(w_->KT90SendType, 0);
        QStringList written;
        QDirIterator it(dir_->path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.contains("/config/") && !path.contains("/icon/"))
                written << path;
        }
        QCOMPARE(written, QStringList{folder + "/" + file});
        QVERIFY(!QFileInfo::exists(folder + "/" + job + ".txt") || job + ".txt" == file);
    }

    void typed_name_is_checked()
    {
        QTreeWidgetItem* leaf = recorded_leaf(port_, "ROAD,3,12,40", "TXT,2");
        const QString folder = pc_folder("data");
        bool stayed_open = false;
        answer_next_dialog([&](QDialog* dialog) {
            auto* settings = qobject_cast<ComFileDownSettingDialog*>(dialog);
            settings->ui->lineEdit_3->setText("../up");
            settings->ui->pushButton->click();
            stayed_open = settings->isVisible() && !settings->result_flag;
            settings->ui->lineEdit_3->setText("fine name");
            modal_script::queue_answer(QMessageBox::Yes);
            settings->ui->pushButton->click();
        });
        w_->KT90PopMenuYCtoPC_Copy(leaf, 0, w_->model->index(folder), 1);
        QVERIFY(stayed_open);
        const QList<modal_script::Shown> shown = modal_script::shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].kind, QString("warning"));
        QCOMPARE(shown[0].text, w_->getpopup_prompt(Prompt::BadFileName).arg("../up"));
        QCOMPARE(shown[1].text, QString("Download the data in the txt format into the file fine name?"));
        QCOMPARE(w_->KT90_SaveFilename, folder + "/fine name.txt");
    }
};

KT_TEST_MAIN(TestKt90Transfers)
#include "tst_kt90_transfers.moc"
