// A small tmpfs of a test's own (read-only, full or without device files as its options say). Needs
// root (mount); ok() is false when it cannot be had.
#ifndef MOUNT_H
#define MOUNT_H

#include <QString>

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

#endif // MOUNT_H
