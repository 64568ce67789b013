// The list of files recently opened or written, newest first, as the File menu offers them and as
// one setting of config.xml holds them (one path a line).
#ifndef RECENTFILES_H
#define RECENTFILES_H

#include <QString>
#include <QStringList>

constexpr int kRecentFiles = 8;

// `files` with `path` first, an earlier entry for the same file removed, at most kRecentFiles.
QStringList add_recent_file(const QStringList& files, const QString& path);
// The list a setting holds (blank lines and entries beyond kRecentFiles left out), and the setting.
QStringList recent_files_from_setting(const QString& setting);
QString recent_files_setting(const QStringList& files);

#endif // RECENTFILES_H
