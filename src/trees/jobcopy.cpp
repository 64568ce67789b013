// Job copies between instrument and PC (not built yet).
#include "mainwindow.h"

void MainWindow::KT90PopMenuYCtoPC_Copy(QTreeWidgetItem* item, int column, QModelIndex index, int flag)
{
    Q_UNUSED(item);
    Q_UNUSED(column);
    Q_UNUSED(index);
    Q_UNUSED(flag);
}

void MainWindow::KT90PopMenuPCtoYC_Copy(QTreeWidgetItem* item, int column, QModelIndex index, int flag)
{
    Q_UNUSED(item);
    Q_UNUSED(column);
    Q_UNUSED(index);
    Q_UNUSED(flag);
}

void MainWindow::KT90PCtoYCDataChushihua() {}
