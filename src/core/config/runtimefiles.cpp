// Finding the runtime folder, the configuration file to read and to write, and writable folders.
#include "config/runtimefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace
{

const char kUiTextFile[] = "/config/parameter.xml";
const char kConfigFile[] = "/config.xml";

} // namespace

QStringList runtime_folder_candidates()
{
    const QString exe_dir = QCoreApplication::applicationDirPath();
    return {exe_dir, QDir::cleanPath(exe_dir + "/../share/ktlink"), QDir::currentPath()};
}

QString find_runtime_folder(const QStringList& candidates)
{
    for (const QString& folder : candidates) {
        if (QFileInfo(folder + kUiTextFile).isFile())
            return QFileInfo(folder).absoluteFilePath();
    }
    return candidates.isEmpty() ? QDir::currentPath() : QFileInfo(candidates.last()).absoluteFilePath();
}

QString runtime_folder()
{
    return find_runtime_folder(runtime_folder_candidates());
}

QString user_config_folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString config_file_to_read(const QString& runtime)
{
    const QString user = user_config_folder() + kConfigFile;
    return QFileInfo(user).isFile() ? user : runtime + "/config" + kConfigFile;
}

QString config_file_to_write(const QString& runtime)
{
    const QString user = user_config_folder() + kConfigFile;
    if (QFileInfo(user).isFile())
        return user;
    const QString shipped = runtime + "/config" + kConfigFile;
    if (is_writable_folder(runtime + "/config"))
        return shipped;
    if (user_config_folder().isEmpty() || !QDir().mkpath(user_config_folder()))
        return QString();
    if (QFileInfo(shipped).isFile()) {
        if (!QFile::copy(shipped, user))
            return QString();
        // The copy keeps the shipped file's permissions, read-only in an install.
        QFile::setPermissions(user, QFile::permissions(user) | QFile::WriteOwner | QFile::WriteUser);
    }
    return user;
}

bool is_writable_folder(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + "/.ktlink-XXXXXX");
    return probe.open();
}

QString writable_folder(const QString& folder)
{
    if (is_writable_folder(folder))
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir().mkpath(documents))
        return documents;
    return QDir::homePath();
}
