// Driving the instrument's state machines from the line, the clock and the keyboard.
#include "simserver.h"

#include "data/fileoperation.h"
#include "data/localtext.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <cstdio>

void say(const QString& text)
{
    const QByteArray bytes = ("ktsim: " + text + '\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

SimServer::SimServer(const SimOptions& options, SimLink* link, const QList<kt2040::InstrumentRecord>& records,
                     JobFolders* jobs, QObject* parent)
    : QObject(parent), options_(options), link_(link), jobs_(jobs)
{
    if (options.type == "KT90") {
        kt90_ = std::make_unique<kt90::Instrument>(jobs->jobs(), jobs->codes());
    } else {
        const QString file = options.points.isEmpty() ? options.measured : options.points;
        kt2040_ = std::make_unique<kt2040::Instrument>(
            kt2040::frame_set_of(options.type), options.measured.isEmpty() ? kt2040::Coordinates : kt2040::MeasuredData,
            records, QFileInfo(file).completeBaseName(), options.delay_ms);
    }
    wait_.setSingleShot(true);
    pause_.setSingleShot(true);
    connect(&wait_, &QTimer::timeout, this, [this] { apply(kt2040_->on_timeout()); });
    connect(&pause_, &QTimer::timeout, this, [this] { write_now(paused_, paused_wait_, paused_drops_); });
    connect(link_, &SimLink::received, this, &SimServer::on_received);
}

void SimServer::start()
{
    if (kt2040_ && !options_.manual)
        apply(kt2040_->start());
}

void SimServer::rearm()
{
    if (kt2040_)
        apply(kt2040_->rearm());
}

void SimServer::noise(int count)
{
    QByteArray bytes(qMin(count, 1 << 20), Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(QRandomGenerator::global()->bounded(256));
    link_->write(bytes);
    say(QString("noise: %1 bytes").arg(bytes.size()));
}

void SimServer::on_received(const QByteArray& bytes)
{
    if (kt2040_) {
        apply(kt2040_->on_bytes(bytes));
        return;
    }
    const kt90::InstrumentReply reply = kt90_->on_bytes(bytes);
    link_->write(reply.send);
    for (const QString& note : reply.notes)
        say(note);
    if (reply.changed_job > 0) {
        QString error;
        if (!jobs_->store(*kt90_->job(reply.changed_job), &error))
            emit failed(error);
    }
}

void SimServer::apply(const kt2040::InstrumentAction& action)
{
    for (const QString& note : action.notes)
        say(note);
    if (action.received_all)
        write_points(action.received);
    if (action.send.isEmpty()) {
        if (action.wait_ms == 0)
            wait_.stop();
        else if (action.wait_ms > 0)
            wait_.start(action.wait_ms);
        return;
    }
    wait_.stop();
    if (action.delay_ms > 0) {
        paused_ = action.send;
        paused_wait_ = action.wait_ms;
        paused_drops_ = action.drop_unread;
        pause_.start(action.delay_ms);
        return;
    }
    write_now(action.send, action.wait_ms, action.drop_unread);
}

void SimServer::write_now(const QByteArray& bytes, int wait_ms, bool drop_unread)
{
    // An offer or a repeat: whatever ktlink has not read of the earlier one is a frame nobody waits
    // for. Never before an answer: flushing the line under a reader that is about to read makes its
    // read find nothing, which Qt's serial port reports as a read error.
    if (drop_unread)
        link_->discard_unread();
    link_->write(bytes);
    if (wait_ms > 0)
        wait_.start(wait_ms);
}

void SimServer::write_points(const QStringList& lines)
{
    if (options_.out.isEmpty()) {
        for (const QString& line : lines) {
            const QByteArray bytes = to_local_text(line + '\n');
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        }
        std::fflush(stdout);
        return;
    }
    FileOperation file;
    // What the instrument sent is kept whole: characters GBK cannot hold make the file GB18030.
    const QList<UnencodableCharacter> beyond_gbk = characters_gbk_cannot_hold(lines, 1);
    if (!beyond_gbk.isEmpty()) {
        file.write_encoding = OutputEncoding::Gb18030;
        say(QString("%1: written as GB18030: \"%2\" in line %3 and maybe more are characters GBK cannot hold")
                .arg(options_.out, beyond_gbk[0].character)
                .arg(beyond_gbk[0].line + 1));
    }
    if (!file.writefile_byextension(options_.out, QFileInfo(options_.out).suffix(), lines, false)) {
        emit failed(QString("cannot write %1: %2").arg(options_.out, file.last_error));
        return;
    }
    say(QString("wrote %1 points to %2").arg(lines.size()).arg(options_.out));
}
