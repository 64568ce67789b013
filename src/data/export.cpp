// Workbook export (not built yet).
#include "mainwindow.h"

void MainWindow::program_export() {}
