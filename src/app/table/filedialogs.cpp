// Where the file dialogs start, their filters, and the recent files of the File menu, kept in
// config.xml through the setting writer.
#include "applog.h"
#include "config/prompts.h"
#include "config/runtimefiles.h"
#include "config/settingwriter.h"
#include "config/xml_analysis.h"
#include "data/filefilters.h"
#include "data/pointrows.h"
#include "data/recentfiles.h"
#include "modal/modal.h"
#include "table/filetexts.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

QString MainWindow::file_dialog_folder() const
{
    if (!last_folder.isEmpty() && QFileInfo(last_folder).isDir())
        return last_folder;
    return writable_folder(exe_path);
}

QStringList MainWindow::save_filters()
{
    const bool observations = table_layout(InstrumentType) == TableLayout::Observation;
    return get_parametretitle(observations ? "KT20KT40FileType" : "FileType");
}

QString MainWindow::open_filter()
{
    // Workbooks open too, through the import dialog, though they are not saved as such.
    const QStringList filters = save_filters()
                                << get_parametretitle("TableMessages").value(TableText::ImportFilters + 2);
    const QString all = get_parametretitle("FileCommandMsg").value(FileText::AllSupported);
    return (QStringList{all_supported_filter(all, filters)} + filters).join(";;");
}

void MainWindow::load_file_settings()
{
    xml_analysis xml;
    const QString file = config_file_to_read(exe_path);
    last_folder = xml.get_config(file, "lastfolder").trimmed();
    recent_files = recent_files_from_setting(xml.get_config(file, "recentfiles"));
    coordinate_system = xml.get_config(file, "crs").trimmed();
    recent_coordinate_systems = recent_files_from_setting(xml.get_config(file, "recentcrs"));
}

void MainWindow::remember_file(const QString& path, bool recent)
{
    const QString folder = QFileInfo(path).absolutePath();
    const QStringList files = recent ? add_recent_file(recent_files, QFileInfo(path).absoluteFilePath()) : recent_files;
    QString error;
    if (folder != last_folder) {
        last_folder = folder;
        replace_setting(settings_file(), "lastfolder", last_folder, &error);
    }
    if (files != recent_files) {
        recent_files = files;
        replace_setting(settings_file(), "recentfiles", recent_files_setting(recent_files), &error);
        build_recent_files_menu();
    }
    if (!error.isEmpty())
        qCWarning(lcApp) << "file settings not stored:" << error;
}

void MainWindow::build_recent_files_menu()
{
    QAction* item = menu_item("RecentFiles");
    if (!item)
        return;
    QMenu* menu = item->menu();
    if (!menu) {
        menu = new QMenu(this);
        item->setMenu(menu);
    }
    // Later: the list is rebuilt from the triggered handler of one of its own items.
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->deleteLater();
    }
    for (int i = 0; i < recent_files.size(); ++i) {
        const QString path = recent_files[i];
        // "&1 /path": a digit to choose it by; the action carries no command key.
        QAction* action = menu->addAction(QString("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(action, &QAction::triggered, this, [this, path] {
            if (!QFileInfo(path).isFile()) {
                show_warning(this, getpopup_prompt(Prompt::ProgramName),
                             get_parametretitle("FileCommandMsg").value(FileText::RecentMissing).arg(path));
                recent_files.removeAll(path);
                QString error;
                replace_setting(settings_file(), "recentfiles", recent_files_setting(recent_files), &error);
                build_recent_files_menu();
                return;
            }
            if (settle_unsaved_rows())
                open_point_file(path);
        });
    }
    if (recent_files.isEmpty())
        menu->addAction(get_parametretitle("FileCommandMsg").value(FileText::NoRecentFiles))->setEnabled(false);
}
