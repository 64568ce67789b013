// The recent files list.
#include "data/recentfiles.h"

#include <QDir>

QStringList add_recent_file(const QStringList& files, const QString& path)
{
    const QString file = QDir::cleanPath(path);
    QStringList list{file};
    for (const QString& each : files) {
        if (QDir::cleanPath(each) != file && list.size() < kRecentFiles)
            list << each;
    }
    return list;
}

QStringList recent_files_from_setting(const QString& setting)
{
    QStringList files;
    for (const QString& line : setting.split(QLatin1Char('\n'))) {
        const QString path = line.trimmed();
        if (!path.isEmpty() && files.size() < kRecentFiles)
            files << path;
    }
    return files;
}

QString recent_files_setting(const QStringList& files)
{
    return files.join(QLatin1Char('\n'));
}
