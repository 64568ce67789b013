// Where the program's runtime files are: the folder holding config/ and icon/, the configuration file
// the user's own choices are read from and written to, and a writable folder for the user's files.
#ifndef RUNTIMEFILES_H
#define RUNTIMEFILES_H

#include <QString>
#include <QStringList>

// The folders that may hold config/ and icon/, in the order they are tried: beside the executable (the
// Windows layout and the build's run folder), the installed data folder <exe dir>/../share/ktlink (so a
// relocated install works), then the current directory.
QStringList runtime_folder_candidates();

// The first of `candidates` that holds config/parameter.xml, as an absolute path; the last candidate
// when none does, so a missing file is reported from there as before.
QString find_runtime_folder(const QStringList& candidates);

// find_runtime_folder(runtime_folder_candidates()).
QString runtime_folder();

// The user's own configuration folder (QStandardPaths::AppConfigLocation).
QString user_config_folder();

// The user's copy of the configuration file and the shipped <runtime>/config/config.xml.
QString user_config_file();
QString shipped_config_file(const QString& runtime);

// Why a configuration file cannot be read: not well-formed XML, not a CONFIG document, or not readable;
// where the reader stopped (lines and columns from 1; 0 when it could not be opened).
struct ConfigDamage {
    QString reason; // empty: the file is sound
    qint64 line = 0;
    qint64 column = 0;
    bool damaged() const { return !reason.isEmpty(); }
};
ConfigDamage config_damage(const QString& file);

// The configuration file to read: the user's copy when there is one and it is sound, else the shipped
// file, which holds the defaults; empty when that is damaged too (the program's own defaults).
QString config_file_to_read(const QString& runtime);

// The configuration file a user choice is written to: the user's copy when there is one (a damaged one
// too: the setting writer refuses it, so it is never overwritten); else the shipped file when it is
// sound and its folder can be written; else a new user's copy, made from a sound shipped file first
// so the other settings are kept. Empty when no file can be had.
QString config_file_to_write(const QString& runtime);

// True when a file can be created in `folder` (tried, not judged from permission bits, which neither
// root nor Windows folders report truly).
bool is_writable_folder(const QString& folder);

// The folder the user's own files go to by default: `folder` when it can be written, else the user's
// documents folder (an installed program folder is read-only).
QString writable_folder(const QString& folder);

#endif // RUNTIMEFILES_H
