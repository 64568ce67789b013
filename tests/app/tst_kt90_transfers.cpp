// The KT90 job copies byte for byte over a pseudo-terminal, started by the tree gestures: downloads
// into a temporary folder, uploads into new and existing jobs, and how bad names, a failed write and
// a bad record are handled.
#include "config/prompts.h"
#include "data/localtext.h"
#include "dialogs/comfiledownsettingdialog.h"
#include "modal/modal.h"
#include "support/app/kt90script.h"
#include "support/app/kt90trees.h"
#include "support/app/windowdriver.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_comfiledownsettingdialog.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMimeData>
#include <QProgressDialog>
#include <QSerialPort>
#include <QTreeWidget>

class TestKt90Transfers : public QObject, protected Kt90Trees
{
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

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

    // A job named in Chinese goes to a Chinese folder under its own name (the file system's UTF-8, not
    // GBK), and a file there is an upload's source: file names are never converted through GBK.
    void chinese_folder_and_job_names()
    {
        list_jobs({QString::fromUtf8("测量一,3,12,40")}, {"TXT,2"});
        const QString folder = pc_folder(QString::fromUtf8("数据 目录"));
        QCOMPARE(w_->model->fileName(w_->model->index(folder)), QString::fromUtf8("数据 目录"));
        QTreeWidget* tree = w_->ui->treeWidget;
        tree->setCurrentItem(find_node(tree, "FixPoints:12"), 0);
        SettingsSeen seen;
        answer_settings(&seen, "txt");
        w_->tree_popmenu_action(action("KT90copyfromYCtoPC"));
        w_->currentindex = w_->model->index(folder);
        w_->tree_popmenu_action(action("KT90copytoYCtoPC"));
        QCOMPARE(seen.to, folder);
        QCOMPARE(seen.name, QString::fromUtf8("测量一"));
        play(*pty_, {{crlf("a"), kReady},
                     {crlf("c"), kReady},
                     {crlf("FORM/SET/02"), crlf("OK")},
                     {crlf("JOB/RCV/COORDS/3"), crlf("P,1,1,0")}});
        QCOMPARE(pty_->receive(3), kReady);
        pty_->send(crlf(to_local_text(QString::fromUtf8("1,点,1,2,3"))));
        QCOMPARE(pty_->receive(3), kReady);
        pty_->send(kEnd);
        QTRY_COMPARE(w_->KT90SendType, 0);
        const QString path = folder + QString::fromUtf8("/测量一.txt");
        QCOMPARE(w_->ui->label_4->text(), w_->getpopup_prompt(Prompt::JobSaved).arg(path));
        QVERIFY(QDir(folder).entryList(QDir::Files).contains(QString::fromUtf8("测量一.txt")));
        QCOMPARE(QFile::encodeName(path), path.toUtf8());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), to_local_text(QString::fromUtf8("1,点,1,2,3\n"))); // the contents stay GBK

        const QString source = folder + QString::fromUtf8("/上传 点.txt");
        const QStringList records{QString(97, 'A'), QString(97, 'B')};
        dir_->write(QString::fromUtf8("数据 目录/上传 点.txt"), (records.join('\n') + '\n').toLatin1());
        w_->ui->treeView->setCurrentIndex(w_->model->index(source));
        w_->tree_popmenu_action(action("KT90copyfromPCtoYC"));
        QCOMPARE(w_->PopMenuCopyFromPCtoYCFileMsg, source);
        QCOMPARE(w_->PopMenuCopyFromPCtoYCFileName, QString::fromUtf8("上传 点"));
        QCOMPARE(w_->PopMenuCopyFromPCtoYCFileData, records);
        QVERIFY(w_->tree2totree1_flag);
    }

    void upload_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("new_job");

        QTest::newRow("new job, from its points leaf") << "FixPoints:0" << true;
        QTest::newRow("existing job, from its node") << "JobList 3:ROAD" << false;
    }

    void upload()
    {
        QFETCH(QString, target);
        QFETCH(bool, new_job);
        list_jobs({"ROAD,3,12,40", ",4,0,0"}, {"TXT,2"});
        const QString folder = pc_folder("data");
        const QStringList records{QString(97, 'A'), QString(97, 'B'), QString(97, 'C')};
        dir_->write("data/up.txt", (records.join('\n') + '\n').toLatin1());
        QTreeWidget* tree = w_->ui->treeWidget;
        w_->ui->treeView->setCurrentIndex(w_->model->index(folder + "/up.txt"));
        w_->tree_popmenu_action(action("KT90copyfromPCtoYC"));
        QVERIFY(w_->tree2totree1_flag);
        QCOMPARE(w_->PopMenuCopyFromPCtoYCFileData, records);

        tree->setCurrentItem(find_node(tree, target), 0);
        SettingsSeen seen;
        answer_settings(&seen, QString(), QString(), [new_job] {
            if (new_job)
                answer_name_prompt("NEW");
        });
        w_->currentindex = w_->model->index(folder + "/up.txt");
        w_->tree_popmenu_action(action("KT90copytoPCtoYC"));
        QCOMPARE(seen.jobs, (QStringList{"JobList 3:ROAD", "JobList 4:<empty>"}));

        const QByteArray job = new_job ? "4" : "3";
        QList<Exchange> exchanges{{crlf("a"), kReady}, {crlf("c"), kReady}};
        if (new_job)
            exchanges.append({crlf("JOB/SET/NEW/4"), kReady});
        exchanges += QList<Exchange>{{crlf("FORM/SET/0"), kReady}, {crlf("JOB/SND/COORD/" + job), kReady}};
        for (const QString& record : records)
            exchanges.append({crlf(record.toLatin1()), kReady});
        exchanges.append({kEnd, kReady});
        QStringList read_back{"ROAD,3,12,40", "NEW,4,3,0"};
        for (int n = 5; n <= 18; ++n)
            read_back << QString(",%1,0,0").arg(n);
        exchanges += list_exchanges("JOB/CONF/LIST", read_back).mid(0, 16);
        exchanges += QList<Exchange>{{kReady, kReady}, {crlf("c"), kReady}};
        QCOMPARE(exchanges.size(), records.size() + (new_job ? 24 : 23));

        play(*pty_, exchanges.mid(0, 6));
        QCOMPARE(pty_->receive(exchanges[6].expect.size()), exchanges[6].expect);
        QCOMPARE(w_->currentValue, (new_job ? 2 : 3) * 100 / 21); // records sent of N + 18
        pty_->send(exchanges[6].reply);
        play(*pty_, exchanges.mid(7, exchanges.size() - 9));
        QCOMPARE(pty_->receive(3), kReady);
        QCOMPARE(w_->currentValue, 99);
        QVERIFY(w_->progDlg);
        if (new_job) {
            pty_->send(kReady);
            QCOMPARE(pty_->receive(3), crlf("c"));
            QVERIFY(!w_->progDlg);
            pty_->send(kReady); // the last reply ends the upload
        } else {
            // The last reply comes while the step that rebuilds the job nodes still runs: Qt does not
            // announce it, and it is handled when that step returns.
            QMetaObject::Connection early;
            early = connect(tree->model(), &QAbstractItemModel::rowsInserted, this, [&] {
                disconnect(early);
                pty_->send(kReady);
                QVERIFY(QTest::qWaitFor([&] { return w_->serial->bytesAvailable() > 0; }));
            });
            pty_->send(kReady);
            QCOMPARE(pty_->receive(3), crlf("c"));
        }
        QTRY_COMPARE(w_->KT90SendType, 0);
        QCOMPARE(w_->PCtoYCsendnum, 0);
        QVERIFY(!w_->tree2totree1_flag && !w_->tree1totree2_flag);
        QVERIFY(w_->PopMenuCopyFromPCtoYCFileData.isEmpty());
        QCOMPARE(w_->KT90_JCLBuf.size(), 16);
        QTreeWidgetItem* job_list = find_node(tree, "Jobs on the instrument");
        QCOMPARE(job_list->childCount(), 16);
        QCOMPARE(dump(job_list).mid(3, 3), (QStringList{"JobList 4:NEW", "  FixPoints:3", "  MeasurementPoints:0"}));
        QCOMPARE(pty_->drain(50), QByteArray());
    }

    void upload_stops_at_a_bad_record()
    {
        list_jobs({"ROAD,3,12,40"}, {"TXT,2"});
        const QString folder = pc_folder("data");
        dir_->write("data/up.txt", QByteArray(97, 'A') + "\n" + QByteArray(50, 'B') + "\n");
        w_->KT90PopMenuPCtoYC_Copy(nullptr, 0, w_->model->index(folder + "/up.txt"), 0);
        SettingsSeen seen;
        answer_settings(&seen, QString());
        w_->KT90PopMenuPCtoYC_Copy(find_node(w_->ui->treeWidget, "JobList 3:ROAD"), 0, QModelIndex(), 1);
        play(*pty_, {{crlf("a"), kReady},
                     {crlf("c"), kReady},
                     {crlf("FORM/SET/0"), kReady},
                     {crlf("JOB/SND/COORD/3"), kReady},
                     {crlf(QByteArray(97, 'A')), kReady}});
        QCOMPARE(pty_->drain(100), QByteArray());
        QVERIFY(w_->progDlg);

        // A file whose first record is not 97 characters is no upload source at all.
        dir_->write("data/short.txt", QByteArray(96, 'A') + "\n");
        w_->KT90PopMenuPCtoYC_Copy(nullptr, 0, w_->model->index(folder + "/short.txt"), 0);
        QVERIFY(!w_->tree2totree1_flag);
        QVERIFY(w_->PopMenuCopyFromPCtoYCFileName.isEmpty());
    }
};

KT_TEST_MAIN(TestKt90Transfers)
#include "tst_kt90_transfers.moc"
