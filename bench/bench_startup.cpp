// The program's own start-up, ended the moment the instrument selection dialog is shown.
#include "benchwindow.h"
#include "exitonshow.h"
#include "window/entry.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    enter_runtime_folder();
    ExitOnShow exit_on_show("IniParameterSelectDialog");
    app.installEventFilter(&exit_on_show);
    run_ktlink(app);
    return 1; // the dialog was never shown
}
