// A main window of one instrument type in a temporary working folder, its port the slave of a pty
// the test plays the instrument on.
#ifndef LINKEDWINDOW_H
#define LINKEDWINDOW_H

#include "support/core/kt2040_samples.h"
#include "support/core/ptyinstrument.h"
#include "support/core/workdir.h"
#include "window/mainwindow.h"

#include <memory>

struct LinkedWindow {
    // Starts the window with English texts and, when `connect`, connects it by cable.
    explicit LinkedWindow(const QString& type, bool connect = true);
    WorkDir dir;
    PtyInstrument pty;
    std::unique_ptr<MainWindow> w;

    QString row(int r) const; // a table row's texts joined by "|"
    QString state() const;    // the state text of the status line
    QString progress() const;
};

#endif // LINKEDWINDOW_H
