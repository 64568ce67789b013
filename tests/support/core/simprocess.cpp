// Starting and stopping ktsim for the end-to-end tests.
#include "support/core/simprocess.h"

#include <QTest>

#include <fcntl.h>
#include <unistd.h>

namespace
{

QString ktsim_path()
{
    return QString(KT_RUN_DIR) + "/ktsim";
}

} // namespace

SimProcess::SimProcess(const QStringList& args)
{
    process_.start(ktsim_path(), args + QStringList{"--pty"});
    if (!process_.waitForStarted(30000))
        return;
    QTest::qWaitFor(
        [this] {
            collect();
            return out_.contains('\n') || process_.state() == QProcess::NotRunning;
        },
        30000);
    const int end = out_.indexOf('\n');
    if (end < 0 || !out_.startsWith("port: "))
        return;
    port_ = QString::fromUtf8(out_.mid(6, end - 6));
    out_.remove(0, end + 1);
    held_slave_ = ::open(port_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
}

SimProcess::~SimProcess()
{
    stop();
    if (held_slave_ >= 0)
        ::close(held_slave_);
}

void SimProcess::collect()
{
    out_ += process_.readAllStandardOutput();
    err_ += process_.readAllStandardError();
}

QString SimProcess::out()
{
    collect();
    return QString::fromLocal8Bit(out_);
}

QString SimProcess::err()
{
    collect();
    return QString::fromUtf8(err_);
}

bool SimProcess::wait_for_message(const QString& text, int timeout_ms)
{
    return QTest::qWaitFor([&] { return err().contains(text); }, timeout_ms);
}

int SimProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    process_.terminate();
    if (!QTest::qWaitFor([this] { return process_.state() == QProcess::NotRunning; }, 30000)) {
        process_.kill();
        process_.waitForFinished(5000);
        return -1;
    }
    collect();
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

void SimProcess::type_line(const QByteArray& line)
{
    if (running())
        process_.write(line + '\n');
}

void SimProcess::kill()
{
    if (!running())
        return;
    process_.kill();
    process_.waitForFinished(30000);
    collect();
}

int run_ktsim(const QStringList& args, QString* err, int timeout_ms)
{
    QProcess process;
    process.start(ktsim_path(), args);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeout_ms)) {
        process.kill();
        process.waitForFinished(5000);
        *err = QString::fromUtf8(process.readAllStandardError());
        return -1;
    }
    *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
