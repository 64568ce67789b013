// Whole-file writes that keep what stands at the path. A file is replaced through a save file: the old
// one stays until the new one is complete, and a link to a regular file keeps the link and replaces the
// file it names. A device, a pipe or a socket (at the path, or at the end of the links it names) is
// written straight through instead, so its node is never replaced by a regular file.
#ifndef REPLACEFILE_H
#define REPLACEFILE_H

#include <QFileDevice>
#include <QString>
#include <memory>

// Whether a whole-file write of `path` goes straight into what stands there.
bool writes_through(const QString& path);

// The file a whole-file write of `path` opens: a QSaveFile, or where the write goes through, a QFile.
std::unique_ptr<QFileDevice> replacement_file(const QString& path);
// Ends a write begun on replacement_file(): commits a save file, closes a plain file; false, with
// `error` set to the system's words, when that fails.
bool commit_replacement(QFileDevice& file, QString* error);
// Gives up a write: a save file leaves the old file as it was.
void cancel_replacement(QFileDevice& file);

// Writes all `size` bytes: a short write (a disk filling up) is followed by another, which fails with
// the system's reason. False, with `error` set, on failure.
bool write_all(QIODevice& file, const char* data, qint64 size, QString* error);

// What stands at `path` after a whole-file write of it failed, for the message that says so.
enum class AfterFailedWrite {
    OldFileKept,    // the file that stood there, as it was
    NoFile,         // nothing: no file stood there
    WrittenThrough, // a device or a pipe, which holds what reached it
};
// `existed` tells whether something stood at `path` before the write.
AfterFailedWrite after_failed_write(const QString& path, bool existed);

#endif // REPLACEFILE_H
