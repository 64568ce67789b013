// Observation lines of the point table (not built yet).
#include "mainwindow.h"

QStringList MainWindow::get_data_form_KT20KT40UI()
{
    return QStringList();
}
