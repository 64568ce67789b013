// A raw pseudo-terminal pair whose master is driven by a script on its own thread.
#include "ptyline.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace
{

// How long the instrument waits for an answer before it gives up.
constexpr int kAnswerTimeoutMs = 5000;

void make_raw(int fd)
{
    termios raw{};
    tcgetattr(fd, &raw);
    cfmakeraw(&raw);
    tcsetattr(fd, TCSANOW, &raw);
}

} // namespace

PtyLine::PtyLine()
{
    int master = -1;
    int slave = -1;
    char name[256] = {0};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
        return;
    make_raw(master);
    make_raw(slave);
    master_ = master;
    // The slave stays open here too, so the master sees no hang-up while the program opens it.
    slave_keep_ = slave;
    slave_name_ = QString::fromLocal8Bit(name);
}

PtyLine::~PtyLine()
{
    if (thread_.joinable())
        thread_.join();
    if (slave_keep_ >= 0)
        ::close(slave_keep_);
    if (master_ >= 0)
        ::close(master_);
}

void PtyLine::play(std::vector<Step> steps, std::function<void()> done)
{
    thread_ = std::thread([this, steps = std::move(steps), done = std::move(done)] {
        run(steps);
        done();
    });
}

void PtyLine::run(const std::vector<Step>& steps)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    QByteArray answer;
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        if (!write_all(step.send)) {
            error_ = QStringLiteral("step %1: write failed: %2").arg(i).arg(QString::fromLocal8Bit(strerror(errno)));
            return;
        }
        if (!read_exactly(step.answer.size(), &answer)) {
            error_ =
                QStringLiteral("step %1: %2 of %3 answer bytes came").arg(i).arg(answer.size()).arg(step.answer.size());
            return;
        }
        if (answer != step.answer) {
            error_ = QStringLiteral("step %1: answer %2, expected %3")
                         .arg(i)
                         .arg(QString::fromLatin1(answer.toHex(' ')), QString::fromLatin1(step.answer.toHex(' ')));
            return;
        }
    }
    seconds_ = std::chrono::duration<double>(Clock::now() - start).count();
}

bool PtyLine::write_all(const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    written_ += done;
    return true;
}

bool PtyLine::read_exactly(int count, QByteArray* bytes)
{
    bytes->resize(count);
    int done = 0;
    while (done < count) {
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, kAnswerTimeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || !(p.revents & POLLIN))
            break;
        const ssize_t n = ::read(master_, bytes->data() + done, size_t(count - done));
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break;
        done += int(n);
    }
    read_ += done;
    bytes->resize(done);
    return done == count;
}
