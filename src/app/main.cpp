// The program's entry point: qMain is what Qt's Windows start-up code calls.
#include "window/entry.h"

#include <QApplication>

int qMain(int argc, char** argv)
{
    QApplication app(argc, argv);
    return run_ktlink(app);
}

int main(int argc, char** argv)
{
    return qMain(argc, argv);
}
