// KT20/KT40 receive framing (not built yet).
#include "mainwindow.h"

void MainWindow::InformationAnalysis(QByteArray qba)
{
    Q_UNUSED(qba);
}

void MainWindow::InformationAnalysis_receive(QByteArray qba)
{
    Q_UNUSED(qba);
}

void MainWindow::InformationAnalysis_unpack(QByteArray cksj, int type)
{
    Q_UNUSED(cksj);
    Q_UNUSED(type);
}

void MainWindow::program_receivedata() {}

void MainWindow::CommontimerTimerout() {}
