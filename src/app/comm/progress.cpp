// The transfer progress dialog: opened by a KT90 listing or copy, redrawn every 100 ms, closed at the
// end of the transfer or by its cancel button.
#include "window/mainwindow.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QTimer>

namespace
{

// Title, label and cancel-button text of a wait kind, or the fixed texts when the list is short.
QStringList wait_texts(const QStringList& list)
{
    if (list.size() < 3)
        return {"请稍候...", "进度", "取消"};
    return list.mid(0, 3);
}

QString wait_key(int flag)
{
    switch (flag) {
    case 1:
        return "CommDlg";
    case 2:
        return "ChuanshuDlg";
    default:
        return QString();
    }
}

// Dialog and timer may be released while their own signal or redraw is running (a reply handled
// during event processing ends the wait), so they go when control returns to the event loop.
void release_later(QObject* object)
{
    if (!object)
        return;
    if (auto* dialog = qobject_cast<QWidget*>(object))
        dialog->hide();
    object->deleteLater();
}

void stop_redraw_timer(QTimer*& timer)
{
    if (!timer)
        return;
    timer->stop();
    release_later(timer);
    timer = nullptr;
}

} // namespace

void MainWindow::wait_start(int flag)
{
    // One dialog at a time.
    if (progDlg)
        wait_stop();
    progDlg = new QProgressDialog(this);
    const QStringList texts = wait_texts(get_parametretitle(wait_key(flag)));
    progDlg->setWindowTitle(texts[0]);
    progDlg->setLabelText(texts[1]);
    progDlg->setCancelButtonText(texts[2]);
    labelhead = progDlg->labelText();
    progDlg->setWindowModality(Qt::ApplicationModal);
    progDlg->setModal(true);
    progDlg->setMinimumDuration(1);
    progDlg->setRange(0, 100);
    // The dialog's life is the transfer's: it neither resets nor hides itself at 100.
    progDlg->setAutoReset(false);
    progDlg->setAutoClose(false);
    progDlg->setMinimumSize(280, 150);
    progDlg->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    progDlg->show();
    timer = new QTimer(this);
    currentValue = 0;
    progDlg->setValue(0);
    QCoreApplication::processEvents();
    if (!progDlg || !timer)
        return; // the transfer ended while the dialog was being shown
    connect(timer, &QTimer::timeout, this, &MainWindow::updateProgressDialog);
    timer->start(100);
}

void MainWindow::wait_stop()
{
    stop_redraw_timer(timer);
    QProgressDialog* dialog = progDlg;
    progDlg = nullptr;
    if (dialog) {
        dialog->setValue(currentValue);
        QCoreApplication::processEvents();
    }
    currentValue = 0;
    release_later(dialog);
}

void MainWindow::updateProgressDialog()
{
    if (!progDlg)
        return;
    // A cancelled dialog is not drawn again: setValue would show it once more.
    if (!progDlg->wasCanceled()) {
        progDlg->setValue(currentValue);
        QCoreApplication::processEvents();
    }
    if (!progDlg || !progDlg->wasCanceled())
        return;
    // Cancel closes the dialog only; the transfer goes on and finds no wait to stop.
    stop_redraw_timer(timer);
    currentValue = 0;
    release_later(progDlg);
    progDlg = nullptr;
}
