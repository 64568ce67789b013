// Item layout of the point table, at most every 100 ms while rows stream in.
#include "table/pointtable.h"

#include <QTimerEvent>

namespace
{

constexpr int kLayoutIntervalMs = 100;

} // namespace

PointTable::PointTable(QWidget* parent) : QTableWidget(parent) {}

void PointTable::doItemsLayout()
{
    // Laying out the view measures the row header anew each time: once per row of a transfer, that
    // would cost far more than the row itself. A layout soon after the last one waits for its turn.
    if (last_layout_.isValid() && last_layout_.elapsed() < kLayoutIntervalMs) {
        if (!deferred_layout_.isActive())
            deferred_layout_.start(int(kLayoutIntervalMs - last_layout_.elapsed()), Qt::PreciseTimer, this);
        return;
    }
    deferred_layout_.stop();
    last_layout_.start();
    QTableWidget::doItemsLayout();
}

void PointTable::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != deferred_layout_.timerId()) {
        QTableWidget::timerEvent(event);
        return;
    }
    deferred_layout_.stop();
    doItemsLayout();
}
