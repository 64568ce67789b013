// KT90 message handling (not built yet).
#include "mainwindow.h"

void MainWindow::ReadDataKT90() {}

void MainWindow::InformationAnalysis_KT90(QByteArray qba)
{
    Q_UNUSED(qba);
}

void MainWindow::InformationAnalysis_unpack_KT90(QString msg)
{
    Q_UNUSED(msg);
}
