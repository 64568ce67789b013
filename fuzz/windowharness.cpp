// The main window the window-path targets drive: the GUI application first, then the working folder.
#include "windowharness.h"

#include "dialogs/iniparameterselectdialog.h"
#include "harness.h"
#include "modal/modal.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QMap>
#include <QTimer>
#include <cstdlib>

MainWindow& fuzz_window(const QString& type)
{
    static QMap<QString, MainWindow*> windows;
    if (MainWindow* w = windows.value(type)) {
        // No event loop runs between inputs: what the last one gave to deleteLater (progress dialogs,
        // replaced tree items) is deleted here, or it piles up under the window for the whole run.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return *w;
    }
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    fuzz_environment();
    modal_script::enable(true);
    auto* poll = new QTimer();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, type] {
        auto* dialog = qobject_cast<IniParameterSelectDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll->stop();
        dialog->choose_type(type);
    });
    poll->start(1);
    auto* w = new MainWindow();
    delete poll;
    if (!w->exe_success_flag)
        std::abort();
    w->first_record_pause_ms = 0;
    w->record_pause_ms = 0;
    windows.insert(type, w);
    return *w;
}
