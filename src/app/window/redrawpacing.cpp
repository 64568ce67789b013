// Holding the main window's layout and drawing while records stream in, releasing them every 100 ms.
#include "window/redrawpacing.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimerEvent>
#include <QWidget>

namespace
{

constexpr int kIntervalMs = 100;

} // namespace

RedrawPacing::RedrawPacing(QMainWindow* window) : QObject(window), window_(window) {}

void RedrawPacing::record_shown()
{
    if (release_.isActive())
        return; // shown with the others when the window is released
    if (!last_shown_.isValid() || last_shown_.elapsed() >= kIntervalMs) {
        last_shown_.start();
        return;
    }
    hold();
}

void RedrawPacing::hold()
{
    release_.start(int(kIntervalMs - last_shown_.elapsed()), Qt::PreciseTimer, this);
    // A changed status text asks its layout to run again. A layout sees its widget's events before
    // the widget's own filters do, so the requests are held at the application.
    qApp->installEventFilter(this);
    window_->setUpdatesEnabled(false);
}

void RedrawPacing::release()
{
    release_.stop();
    last_shown_.start();
    qApp->removeEventFilter(this);
    // Layouts first (posted events run before the redraw), then one redraw of the whole window.
    for (const QPointer<QObject>& widget : qAsConst(held_layouts_)) {
        if (widget)
            QCoreApplication::postEvent(widget, new QEvent(QEvent::LayoutRequest));
    }
    held_layouts_.clear();
    window_->setUpdatesEnabled(true);
}

bool RedrawPacing::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::LayoutRequest || !release_.isActive() || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != window_)
        return false;
    if (!held_layouts_.contains(watched))
        held_layouts_.append(watched);
    return true;
}

void RedrawPacing::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == release_.timerId())
        release();
    else
        QObject::timerEvent(event);
}
