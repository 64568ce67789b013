// Writing in a temporary folder beside the target and moving the files into place.
#include "gis/stagedoutput.h"

#include "data/replacefile.h"
#include "geologging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

const QString kOld = QStringLiteral(".old");

} // namespace

StagedOutput::StagedOutput(const QString& target, const QStringList& companions)
    : target_(target), through_(writes_through(target)), companions_(companions)
{
    QFileInfo info(target);
    // A link to a regular file: the file it names is replaced beside itself, the link stays.
    if (info.isSymLink() && QFileInfo(info.canonicalFilePath()).isFile())
        info = QFileInfo(info.canonicalFilePath());
    folder_ = info.absolutePath();
    name_ = info.fileName();
    if (info.isDir()) {
        error_ = QStringLiteral("%1 is a folder").arg(QDir::toNativeSeparators(target));
        return;
    }
    // In the target's folder, so that the moves are renames on one file system.
    staging_ = std::make_unique<QTemporaryDir>(QDir(folder_).filePath(QStringLiteral(".ktlink-XXXXXX")));
    if (!staging_->isValid()) {
        error_ = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder_), staging_->errorString());
        staging_.reset();
    }
}

QString StagedOutput::path() const
{
    return staging_ ? QDir(staging_->path()).filePath(name_) : QString();
}

bool StagedOutput::move_back(const QStringList& names, const QString& from, const QString& to)
{
    bool all = true;
    for (const QString& name : names) {
        if (!QFile::rename(QDir(from).filePath(name), QDir(to).filePath(name))) {
            all = false;
            qCWarning(lcGeo) << "could not move back" << name << "from" << from << "to" << to;
        }
    }
    return all;
}

bool StagedOutput::commit()
{
    if (!staging_)
        return false;
    if (through_ && !write_through())
        return false;
    const QString staging = staging_->path();
    const QStringList written = QDir(staging).entryList(QDir::Files | QDir::Hidden);
    const QString old_folder = QDir(staging).filePath(kOld);
    if (!QDir().mkpath(old_folder)) {
        error_ = QStringLiteral("%1: cannot make a folder").arg(QDir::toNativeSeparators(old_folder));
        return false;
    }
    QStringList replaced = (through_ ? QStringList() : QStringList{name_}) + companions_ + written;
    replaced.removeDuplicates();
    QStringList moved_old;
    for (const QString& name : replaced) {
        const QFileInfo old(QDir(folder_).filePath(name));
        if (!old.exists() && !old.isSymLink())
            continue;
        if (old.isDir() || !QFile::rename(old.filePath(), QDir(old_folder).filePath(name))) {
            error_ = QStringLiteral("%1 cannot be replaced").arg(QDir::toNativeSeparators(old.filePath()));
            move_back(moved_old, old_folder, folder_);
            return false;
        }
        moved_old << name;
    }
    QStringList moved_new;
    for (const QString& name : written) {
        if (!QFile::rename(QDir(staging).filePath(name), QDir(folder_).filePath(name))) {
            error_ = QStringLiteral("%1 cannot be written").arg(QDir::toNativeSeparators(QDir(folder_).filePath(name)));
            move_back(moved_new, folder_, staging);
            move_back(moved_old, old_folder, folder_);
            return false;
        }
        moved_new << name;
    }
    return true;
}

bool StagedOutput::write_through()
{
    // The device or pipe takes the finished file's bytes; its node stays, and the file is written.
    QFile staged(path());
    QFile target(target_);
    QString error;
    bool done = staged.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    while (done && !staged.atEnd()) {
        const QByteArray block = staged.read(1 << 20);
        done = !block.isEmpty() && write_all(target, block.constData(), block.size(), &error);
    }
    if (!done)
        error_ = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(target_),
                                              error.isEmpty() ? target.errorString() : error);
    staged.close();
    return done && staged.remove();
}
