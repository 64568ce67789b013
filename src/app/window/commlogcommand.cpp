// The communication log in the window: the setting, the menu's check item, and the traffic handed to
// it; menu items that are settings shown checked or not.
#include "comm/commlog.h"
#include "config/runtimefiles.h"
#include "config/settingwriter.h"
#include "data/datafolder.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QIcon>
#include <QMenuBar>
#include <QStatusBar>

namespace
{

QIcon check_box_icon(const QString& icon_path)
{
    QIcon icon;
    icon.addFile(icon_path + "/checkoff.png", QSize(), QIcon::Normal, QIcon::Off);
    icon.addFile(icon_path + "/checkon.png", QSize(), QIcon::Normal, QIcon::On);
    return icon;
}

} // namespace

QString MainWindow::settings_file() const
{
    return config_file_to_write(exe_path);
}

void MainWindow::set_comm_log(bool on)
{
    if (on && !comm_log)
        comm_log = std::make_unique<CommLog>(comm_log_folder());
    else if (!on)
        comm_log.reset();
    comm_log_failed = false;
    set_menu_check("CommLog", on);
}

void MainWindow::set_menu_check(const QString& key, bool on)
{
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (action->data().toString().compare(key, Qt::CaseInsensitive) == 0) {
            action->setCheckable(true);
            action->setChecked(on);
            // The style marks a checked item that has an icon by a sunken frame alone, which the
            // window's colours hide: a box that shows its check mark when on says it plainly.
            if (action->icon().availableSizes().isEmpty()) // no picture of its own
                action->setIcon(check_box_icon(icon_path));
        }
    }
}

void MainWindow::program_commlog()
{
    const bool on = !comm_log;
    set_comm_log(on);
    const QStringList texts = get_parametretitle("CommLogMsg");
    QString error;
    if (!replace_setting(settings_file(), "commlog", on ? "1" : "0", &error))
        show_statemsg(texts.value(3).arg(settings_file(), error), Status::Message);
    else
        show_statemsg(on ? texts.value(0).arg(comm_log_folder()) : texts.value(1), Status::Message);
}

void MainWindow::log_traffic(bool received, const QByteArray& bytes)
{
    if (comm_log->write(received, portname, bytes) || comm_log_failed)
        return;
    comm_log_failed = true;
    statusBar()->showMessage(get_parametretitle("CommLogMsg").value(2).arg(comm_log->error()));
}
