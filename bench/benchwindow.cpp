// Starting the main window for a benchmark: the selection dialog is answered as soon as it is shown.
#include "benchwindow.h"

#include "dialogs/iniparameterselectdialog.h"
#include "modal/modal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

void enter_runtime_folder()
{
    QDir::setCurrent(QStringLiteral(KT_RUN_DIR));
}

std::unique_ptr<MainWindow> start_bench_window(const QString& type)
{
    modal_script::enable(true);
    // The window's journal and its lock go to a folder of the benchmark's own, not the user's data folder.
    static QTemporaryDir data_home;
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME"))
        qputenv("XDG_DATA_HOME", QFile::encodeName(data_home.path()));
    auto* poll = new QTimer(qApp);
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, type] {
        auto* select = qobject_cast<IniParameterSelectDialog*>(QApplication::activeModalWidget());
        if (!select || !select->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        select->choose_type(type);
    });
    poll->start();
    auto window = std::make_unique<MainWindow>();
    if (!window->exe_success_flag)
        return nullptr;
    window->show();
    QApplication::processEvents();
    return window;
}
