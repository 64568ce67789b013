// The KT90 listing byte for byte over a pseudo-terminal, started by the tree gesture: the rebuilt
// instrument tree, replies split over reads or joined, a babbling line, and a port that cannot be
// opened.
#include "comm/kt90_conversation.h"
#include "modal/modal.h"
#include "support/app/kt90script.h"
#include "support/app/kt90trees.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QFileSystemModel>
#include <QProgressDialog>
#include <QSerialPort>
#include <QTreeWidget>

class TestKt90Listing : public QObject, protected Kt90Trees
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
};

KT_TEST_MAIN(TestKt90Listing)
#include "tst_kt90_listing.moc"
