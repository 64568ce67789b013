// Point table commands (not built yet).
#include "mainwindow.h"

void MainWindow::program_fileopen() {}
void MainWindow::program_filesaveas() {}
void MainWindow::program_new() {}
void MainWindow::program_edit() {}
void MainWindow::program_delete() {}
void MainWindow::program_clear() {}

QString MainWindow::get_map_data(QString sour, QMap<QString, QString> map)
{
    return map.value(sour);
}
