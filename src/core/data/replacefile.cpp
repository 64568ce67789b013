// Save files for regular files, straight writes for devices and pipes.
#include "data/replacefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool writes_through(const QString& path)
{
    QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath(); // empty for a link that names nothing
        if (target.isEmpty())
            return false;
        info = QFileInfo(target);
    }
    return info.exists() && !info.isFile() && !info.isDir();
}

std::unique_ptr<QFileDevice> replacement_file(const QString& path)
{
    if (writes_through(path))
        return std::make_unique<QFile>(path);
    return std::make_unique<QSaveFile>(path);
}

bool commit_replacement(QFileDevice& file, QString* error)
{
    if (auto* save = qobject_cast<QSaveFile*>(&file)) {
        if (save->commit())
            return true;
    } else {
        const bool flushed = file.flush();
        file.close();
        if (flushed && file.error() == QFileDevice::NoError)
            return true;
    }
    *error = file.errorString();
    return false;
}

void cancel_replacement(QFileDevice& file)
{
    // A save file is never closed (it would be put in place): given up, its temporary file goes with it.
    if (auto* save = qobject_cast<QSaveFile*>(&file))
        save->cancelWriting();
    else
        file.close();
}

bool write_all(QIODevice& file, const char* data, qint64 size, QString* error)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 written = file.write(data + done, size - done);
        if (written <= 0) {
            *error = file.errorString();
            return false;
        }
        done += written;
    }
    return true;
}

AfterFailedWrite after_failed_write(const QString& path, bool existed)
{
    if (writes_through(path))
        return AfterFailedWrite::WrittenThrough;
    return existed ? AfterFailedWrite::OldFileKept : AfterFailedWrite::NoFile;
}
