// A pseudo-terminal pair in raw mode, driven from the test.
#include "support/core/ptyinstrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyInstrument::PtyInstrument()
{
    int master = -1;
    int slave = -1;
    char name[256] = {0};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    termios raw{};
    tcgetattr(master, &raw);
    cfmakeraw(&raw);
    tcsetattr(master, TCSANOW, &raw);
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    master_ = master;
    // The slave stays open here too, so the master sees no hang-up between the program's opens.
    slave_keep_ = slave;
    slave_name_ = QString::fromLocal8Bit(name);
}

PtyInstrument::~PtyInstrument()
{
    hang_up();
}

void PtyInstrument::hang_up()
{
    if (slave_keep_ >= 0)
        ::close(slave_keep_);
    slave_keep_ = -1;
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

void PtyInstrument::spin(int ms)
{
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (ms > 0)
            usleep(1000);
    } while (clock.elapsed() < ms);
}

void PtyInstrument::send(const QByteArray& bytes)
{
    if (master_ < 0)
        return;
    int done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += int(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            spin(1);
        }
    }
    spin(0);
}

void PtyInstrument::read_into_pending(int wait_ms)
{
    if (master_ < 0)
        return;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, wait_ms) <= 0 || !(p.revents & POLLIN))
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        pending_.append(buffer, int(n));
    }
}

QByteArray PtyInstrument::receive(int count, int timeout_ms)
{
    QElapsedTimer clock;
    clock.start();
    while (pending_.size() < count && clock.elapsed() < timeout_ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        read_into_pending(2);
    }
    const QByteArray out = pending_.left(count);
    pending_.remove(0, out.size());
    return out;
}

QByteArray PtyInstrument::receive_all(int quiet_ms, int timeout_ms)
{
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer quiet;
    quiet.start();
    int seen = pending_.size();
    while (clock.elapsed() < timeout_ms && quiet.elapsed() < quiet_ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        read_into_pending(2);
        if (pending_.size() != seen) {
            seen = pending_.size();
            quiet.restart();
        }
    }
    const QByteArray out = pending_;
    pending_.clear();
    return out;
}

QByteArray PtyInstrument::drain(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        read_into_pending(2);
    }
    const QByteArray out = pending_;
    pending_.clear();
    return out;
}
