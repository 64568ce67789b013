// The start-up baseline: a bare Qt program that shows one dialog, ended the moment it is shown.
#include "exitonshow.h"

#include <QApplication>
#include <QDialog>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ExitOnShow exit_on_show("QDialog");
    app.installEventFilter(&exit_on_show);
    QDialog dialog;
    dialog.exec();
    return 1;
}
