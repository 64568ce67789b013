// KT20/KT40 sending (not built yet).
#include "mainwindow.h"

void MainWindow::program_senddata() {}

void MainWindow::InformationAnalysis_pack(int row)
{
    Q_UNUSED(row);
}

void MainWindow::InformationAnalysis_send(QByteArray qba)
{
    Q_UNUSED(qba);
}
