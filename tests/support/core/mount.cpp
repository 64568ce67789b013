// Mounting and unmounting a test's tmpfs with mount(8).
#include "support/core/mount.h"

#include <QDir>
#include <QProcess>

Mount::Mount(const QString& folder, const QString& options) : folder_(folder)
{
    QDir().mkpath(folder);
    mounted_ = QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", folder}) == 0;
}

Mount::~Mount()
{
    if (mounted_)
        QProcess::execute("umount", {folder_});
}

bool Mount::remount(const QString& options) const
{
    return QProcess::execute("mount", {"-o", "remount," + options, folder_}) == 0;
}
