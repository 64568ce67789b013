// Pseudo-terminals through openpty() and termios; elsewhere than on a Unix system there are none.
#include "simpty.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#if defined(Q_OS_MACOS)
#include <util.h>
#else
#include <pty.h>
#endif

PtyPair open_pty_pair()
{
    PtyPair pair;
    char name[256] = {0};
    if (openpty(&pair.master, &pair.slave, name, nullptr, nullptr) != 0) {
        pair.error = QString::fromLocal8Bit(std::strerror(errno));
        pair.master = pair.slave = -1;
        return pair;
    }
    for (int fd : {pair.master, pair.slave}) {
        termios raw{};
        tcgetattr(fd, &raw);
        cfmakeraw(&raw);
        tcsetattr(fd, TCSANOW, &raw);
    }
    fcntl(pair.master, F_SETFL, fcntl(pair.master, F_GETFL) | O_NONBLOCK);
    pair.slave_name = QString::fromLocal8Bit(name);
    return pair;
}

void close_pty_pair(PtyPair& pair)
{
    for (int* fd : {&pair.slave, &pair.master}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

QByteArray read_pty(const PtyPair& pair)
{
    QByteArray out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pair.master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, int(n));
    }
    return out;
}

bool write_pty(const PtyPair& pair, const QByteArray& bytes)
{
    int done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(pair.master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += int(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else {
            pollfd p{pair.master, POLLOUT, 0};
            // The slave's input queue is full: nobody reads it, and a stale offer is worth nothing.
            if (::poll(&p, 1, 1000) <= 0)
                return true;
        }
    }
    return true;
}

void discard_unread_pty(const PtyPair& pair)
{
    if (pair.slave >= 0)
        tcflush(pair.slave, TCIFLUSH);
}

#else

PtyPair open_pty_pair()
{
    PtyPair pair;
    pair.error = "pseudo-terminals exist only on Unix systems; use --port with a virtual port pair";
    return pair;
}

void close_pty_pair(PtyPair&) {}
QByteArray read_pty(const PtyPair&)
{
    return QByteArray();
}
bool write_pty(const PtyPair&, const QByteArray&)
{
    return false;
}
void discard_unread_pty(const PtyPair&) {}

#endif
