// The transfer progress dialog (not built yet).
#include "mainwindow.h"

void MainWindow::wait_start(int flag)
{
    Q_UNUSED(flag);
}

void MainWindow::wait_stop() {}

void MainWindow::updateProgressDialog() {}
