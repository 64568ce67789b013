// A small tmpfs of a test's own (read-only, full or without device files as its options say). Needs
// root (mount); ok() is false when it cannot be had.
#ifndef MOUNT_H
#define MOUNT_H

#include <QString>
#include <memory>

class Mount
{
public:
    Mount(const QString& folder, const QString& options);
    ~Mount();
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

    bool ok() const { return mounted_; }
    bool remount(const QString& options) const;

private:
    QString folder_;
    bool mounted_ = false;
};

// A folder where writes fail, for the failed-write drills. "blocked": a file stands where `folder` should
// be (no mount). "read-only" and "full": a tmpfs of `size` mounted there holding `old_file` with the
// bytes "old", remounted read-only for the first. `*mounted` is false when the mount needs root and the
// caller should skip; the mount lives as long as the returned object.
std::unique_ptr<Mount> failing_folder(const QString& place, const QString& folder, const QString& size,
                                      const QString& old_file, bool* mounted);

#endif // MOUNT_H
