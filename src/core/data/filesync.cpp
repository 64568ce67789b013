// FlushFileBuffers on Windows, fsync elsewhere.
#include "data/filesync.h"

#include <QFileDevice>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

bool sync_to_disk(QFileDevice& file, QString* error)
{
    if (!file.flush()) {
        *error = file.errorString();
        return false;
    }
    const int fd = file.handle();
    if (fd < 0) {
        *error = QStringLiteral("no file handle");
        return false;
    }
#ifdef Q_OS_WIN
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle)) {
        *error = QStringLiteral("FlushFileBuffers failed (%1)").arg(GetLastError());
        return false;
    }
#else
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    // A file system without fsync (a pipe, a special file) has nothing to push.
    if (result != 0 && errno != EINVAL && errno != EROFS) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
#endif
    return true;
}
