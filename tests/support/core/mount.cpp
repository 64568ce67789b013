// Mounting and unmounting a test's tmpfs with mount(8).
#include "support/core/mount.h"

#include <QDir>
#include <QFile>
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

std::unique_ptr<Mount> failing_folder(const QString& place, const QString& folder, const QString& size,
                                      const QString& old_file, bool* mounted)
{
    *mounted = true;
    if (place == "blocked") {
        QFile file(folder);
        file.open(QIODevice::WriteOnly);
        file.write("a file, not a folder");
        return nullptr;
    }
    auto mount = std::make_unique<Mount>(folder, "size=" + size);
    if (!mount->ok()) {
        *mounted = false;
        return nullptr;
    }
    QFile old(folder + "/" + old_file);
    old.open(QIODevice::WriteOnly);
    old.write("old");
    old.close();
    if (place == "read-only")
        mount->remount("ro");
    return mount;
}
