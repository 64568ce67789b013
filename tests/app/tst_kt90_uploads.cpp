// KT90 uploads byte for byte over a pseudo-terminal: into a new and into an existing job with the job
// list read back, an upload stopped at a bad record, and Chinese folder and job names both ways.
#include "config/prompts.h"
#include "data/localtext.h"
#include "support/app/kt90fixture.h"
#include "support/app/kt90script.h"
#include "support/app/windowdriver.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QProgressDialog>
#include <QTreeWidget>

class TestKt90Uploads : public QObject, public Kt90Fixture
{
    Q_OBJECT

private slots:
    void init() { start(); }
    void cleanup() { stop(); }

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

KT_TEST_MAIN(TestKt90Uploads)
#include "tst_kt90_uploads.moc"
