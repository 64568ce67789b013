// Redraws of the main window while a transfer streams records in: every record changes the table
// and the status texts, and laying out and drawing the window costs far more than handling a
// record. The first record is shown at once; records that follow within 100 ms of a shown one hold
// the window's layout and drawing until 100 ms have passed, and are then shown together. What the
// widgets hold is never held back, only their layout and drawing.
#ifndef REDRAWPACING_H
#define REDRAWPACING_H

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>

class QMainWindow;

class RedrawPacing : public QObject
{
public:
    explicit RedrawPacing(QMainWindow* window);

    // A record has changed what the window shows.
    void record_shown();
    // Whether the window's layout and drawing are held now.
    bool holding() const { return release_.isActive(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void hold();
    void release();

    QMainWindow* window_;
    QElapsedTimer last_shown_;
    QBasicTimer release_;
    QList<QPointer<QObject>> held_layouts_;
};

#endif // REDRAWPACING_H
