// A program for the journal tests: a window of the type given in the working folder given, with rows
// typed in, connected to the port given (the instrument's transfer then runs), until it is killed. It
// prints "ready" once it has typed its rows and listens.
//     windowchild FOLDER APPLICATION-NAME TYPE PORT|- TYPED-ROWS
#include "modal/modal.h"
#include "support/app/pointentry.h"
#include "support/app/windowdriver.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 6)
        return 2;
    QCoreApplication::setApplicationName(QString::fromLocal8Bit(argv[2]));
    modal_script::enable(true);
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    std::unique_ptr<MainWindow> w = start_window(QString::fromLocal8Bit(argv[3]));
    if (!w || !w->exe_success_flag)
        return 3;
    for (int i = 0; i < QByteArray(argv[5]).toInt(); ++i)
        type_new_point(*w, {QString("T%1").arg(i + 1), "TYPED", QString::number(1000 + i), "2000", "30"});
    const QString port = QString::fromLocal8Bit(argv[4]);
    if (port != "-") {
        w->portname = port;
        w->portlist_desc = QStringList{port, "pseudo-terminal"};
        w->program_commconnect();
        if (!w->serial->isOpen())
            return 4;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
