// Finding the runtime folder, the configuration file to read and to write, and writable folders.
#include "config/runtimefiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QXmlStreamReader>

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

QString user_config_file()
{
    return user_config_folder() + kConfigFile;
}

QString shipped_config_file(const QString& runtime)
{
    return runtime + "/config" + kConfigFile;
}

ConfigDamage config_damage(const QString& file)
{
    ConfigDamage damage;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        damage.reason = in.errorString();
        return damage;
    }
    // Streamed: a huge comment costs no memory.
    QXmlStreamReader xml(&in);
    bool root = false;
    while (!xml.atEnd() && !xml.hasError()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && !root) {
            root = true;
            if (xml.name() != QLatin1String("CONFIG"))
                xml.raiseError(QString("the document element is %1, not CONFIG").arg(xml.name().toString()));
        }
    }
    if (!xml.hasError() && !root)
        xml.raiseError("no document element");
    if (xml.hasError()) {
        damage.reason = xml.errorString();
        if (damage.reason.endsWith(QLatin1Char('.'))) // the message ends its own sentence
            damage.reason.chop(1);
        damage.line = xml.lineNumber();
        damage.column = xml.columnNumber();
    }
    return damage;
}

QString config_file_to_read(const QString& runtime)
{
    const QString user = user_config_file();
    if (QFileInfo(user).isFile() && !config_damage(user).damaged())
        return user;
    const QString shipped = shipped_config_file(runtime);
    // A missing shipped file reads as no setting at all, as before.
    return !QFileInfo(shipped).isFile() || !config_damage(shipped).damaged() ? shipped : QString();
}

QString config_file_to_write(const QString& runtime)
{
    const QString user = user_config_file();
    if (QFileInfo(user).isFile())
        return user;
    const QString shipped = shipped_config_file(runtime);
    const bool there = QFileInfo(shipped).isFile();
    const bool sound = !there || !config_damage(shipped).damaged();
    if (sound && is_writable_folder(runtime + "/config"))
        return shipped;
    if (user_config_folder().isEmpty() || !QDir().mkpath(user_config_folder()))
        return QString();
    if (there && sound) {
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
