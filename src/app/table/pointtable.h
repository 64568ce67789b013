// The point table widget: a QTableWidget whose item layout (header widths, scroll ranges, a full
// redraw) runs at most every 100 ms when it is asked for in quick succession, as every row of a
// transfer asks for it; a single change is laid out at once.
#ifndef POINTTABLE_H
#define POINTTABLE_H

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QTableWidget>

class PointTable : public QTableWidget
{
public:
    explicit PointTable(QWidget* parent = nullptr);

    void doItemsLayout() override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QElapsedTimer last_layout_;
    QBasicTimer deferred_layout_;
};

#endif // POINTTABLE_H
