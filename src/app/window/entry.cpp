// The steps of the entry point after the application object is made.
#include "window/entry.h"

#include "window/mainwindow.h"

#include <QApplication>

int run_ktlink(QApplication& app)
{
    MainWindow w;
    w.show();
    if (w.exe_success_flag)
        return app.exec();
    w.close();
    return w.parametre_list.isEmpty() ? 1 : 0;
}
