// A program for the recovery test: a KT40 window in the working folder given, connected to the pty slave
// given, receiving until it is killed. It prints "ready" once it listens. With "shown" the window is
// shown and its questions are real message boxes (for looking at it under a display).
//     receivechild FOLDER PORT APPLICATION-NAME [shown]
#include "modal/modal.h"
#include "support/app/windowdriver.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool shown = argc == 5 && QByteArray(argv[4]) == "shown";
    if (argc != 4 && !shown)
        return 2;
    // The test's application name, so the data folder is the one the test looks in.
    QCoreApplication::setApplicationName(QString::fromLocal8Bit(argv[3]));
    modal_script::enable(!shown);
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    std::unique_ptr<MainWindow> w = start_window("KT40");
    if (!w || !w->exe_success_flag)
        return 3;
    w->portname = QString::fromLocal8Bit(argv[2]);
    w->portlist_desc = QStringList{w->portname, "pseudo-terminal"};
    w->program_commconnect();
    if (!w->serial->isOpen())
        return 4;
    if (shown)
        w->show();
    w->program_receivedata();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
