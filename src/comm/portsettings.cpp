// The port settings command (not built yet).
#include "mainwindow.h"

void MainWindow::program_portsetiing() {}
