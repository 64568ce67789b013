// The transfer wait dialog: its texts by kind, redraw, cancel, the final value, and a wait ended from
// inside its own redraw.
#include "support/app/kt90script.h"
#include "support/app/windowdriver.h"
#include "support/core/workdir.h"
#include "support/ui/ktest.h"
#include "window/mainwindow.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

class TestProgress : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<MainWindow> w_;

    void start(bool short_list = false)
    {
        w_ = start_kt90_window(dir_, [short_list](WorkDir& dir) {
            if (short_list)
                dir.replace("config/parameter.xml", "<item Data=\"Reading the jobs on the instrument...\"/>", "");
        });
    }

private slots:
    void cleanup()
    {
        w_.reset();
        dir_.reset();
    }

    void texts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("short_list");
        QTest::addColumn<QStringList>("texts"); // title, label, cancel button

        const QStringList fixed{"请稍候...", "进度", "取消"};
        QTest::newRow("listing") << 1 << false
                                 << QStringList{"Please wait", "Reading the jobs on the instrument...", "Cancel"};
        QTest::newRow("transfer") << 2 << false << QStringList{"Please wait", "Transferring job data...", "Cancel"};
        QTest::newRow("unknown kind") << 0 << false << fixed;
        QTest::newRow("two texts only") << 1 << true << fixed;
    }

    void texts()
    {
        QFETCH(int, kind);
        QFETCH(bool, short_list);
        QFETCH(QStringList, texts);
        start(short_list);
        w_->wait_start(kind);
        QVERIFY(w_->progDlg && w_->progDlg->isVisible());
        QCOMPARE(w_->progDlg->windowTitle(), texts[0]);
        QCOMPARE(w_->progDlg->labelText(), texts[1]);
        QCOMPARE(w_->labelhead, texts[1]);
        QCOMPARE(w_->progDlg->findChild<QPushButton*>()->text(), texts[2]);
        QCOMPARE(w_->progDlg->windowModality(), Qt::ApplicationModal);
        w_->wait_stop();
    }

    void redraw_and_cancel()
    {
        start();
        w_->wait_start(WaitKind::Listing);
        w_->currentValue = 40;
        QTRY_COMPARE(w_->progDlg->value(), 40);
        QPointer<QProgressDialog> dialog = w_->progDlg;
        dialog->findChild<QPushButton*>()->click();
        QTRY_VERIFY(!w_->progDlg);
        QCOMPARE(w_->currentValue, 0);
        QVERIFY(!w_->timer);
        QTRY_VERIFY(dialog.isNull());
    }

    void final_value_is_shown()
    {
        start();
        w_->wait_start(WaitKind::JobCopy);
        w_->currentValue = 100;
        QPointer<QProgressDialog> dialog = w_->progDlg;
        w_->wait_stop();
        QCOMPARE(dialog->value(), 100);
        QVERIFY(dialog->isHidden());
        QVERIFY(!w_->progDlg && !w_->timer);
        QCOMPARE(w_->currentValue, 0);
        QTRY_VERIFY(dialog.isNull());
    }

    void one_dialog_at_a_time()
    {
        start();
        w_->wait_start(WaitKind::Listing);
        QPointer<QProgressDialog> first = w_->progDlg;
        w_->wait_start(WaitKind::JobCopy);
        QVERIFY(w_->progDlg != first.data());
        QTRY_VERIFY(first.isNull());
        w_->wait_stop();
    }

    void wait_ended_during_redraw()
    {
        // A reply handled while the redraw processes events may end the wait.
        start();
        w_->wait_start(WaitKind::Listing);
        QTimer::singleShot(0, w_.get(), [this] { w_->wait_stop(); });
        w_->currentValue = 10;
        w_->updateProgressDialog();
        QVERIFY(!w_->progDlg && !w_->timer);
        w_->updateProgressDialog();
    }
};

KT_TEST_MAIN(TestProgress)
#include "tst_progress.moc"
