// The KT90's replies: "?" to the conversation openers, a line to each start-up query, lists and job
// data one line per "?" and 0x1A at their end, and the records of an upload stored in their job.
#include "comm/kt90_instrument.h"

#include "comm/kt90_conversation.h"
#include "config/dictionaryanalysis.h"
#include "data/localtext.h"

namespace kt90
{

namespace
{

const QByteArray kCrLf("\r\n");
const QByteArray kReady("?\r\n");
const QByteArray kEndOfData("\x1a\r\n");

// Message types of the PC's commands, whose texts are the program's own.
enum Command {
    kConf182 = 10,
    kGetWi13 = 13,
    kCodeList = 14,
    kJobList = 15,
    kFormatList = 16,
    kHalList = 17,
    kValList = 18,
    kFormatSet = 30,
    kSendCoords = 21,
    kJobSet = 22,
    kReceiveCoords = 31,
    kReceiveObservations = 32,
};

QString command_text(int type)
{
    // No dictionary file: only the command texts are wanted.
    static DictionaryAnalysis commands{QString(":/none")};
    return commands.getneirongbytype(type);
}

QByteArray line(const QString& text)
{
    return to_local_text(text) + kCrLf;
}

// The reply lines of the four start-up queries: the PC reads them but does not use them.
QString query_reply(int type)
{
    static const char* const kReplies[] = {"182,0", "136,0", "137,0", "WI13,KTSIM"};
    return QString::fromLatin1(kReplies[type - kConf182]);
}

} // namespace

Instrument::Instrument(const QList<Job>& jobs, const QStringList& codes) : codes_(codes)
{
    for (int n = 1; n <= kJobSlots; ++n) {
        Job free;
        free.number = n;
        jobs_ << free;
    }
    for (const Job& j : jobs) {
        if (j.number >= 1 && j.number <= kJobSlots)
            jobs_[j.number - 1] = j;
    }
}

const Job* Instrument::job(int number) const
{
    return number >= 1 && number <= kJobSlots ? &jobs_[number - 1] : nullptr;
}

Job& Instrument::slot(int number)
{
    return jobs_[number - 1];
}

QStringList Instrument::job_lines() const
{
    QStringList lines;
    for (const Job& j : jobs_)
        lines << QString("%1,%2,%3,%4").arg(j.name).arg(j.number).arg(j.fixed.size()).arg(j.observations.size());
    return lines;
}

QStringList Instrument::format_lines()
{
    return {QString("DAT,%1").arg(int(Format::Records)), QString("CSV,%1").arg(int(Format::Comma))};
}

QByteArray Instrument::start_list(const QStringList& lines)
{
    pending_ = lines;
    return next_line();
}

QByteArray Instrument::next_line()
{
    if (pending_.isEmpty())
        return kEndOfData;
    return line(pending_.takeFirst());
}

InstrumentReply Instrument::on_bytes(const QByteArray& bytes)
{
    InstrumentReply reply;
    buffer_ += bytes;
    for (int end = buffer_.indexOf(kCrLf); end >= 0; end = buffer_.indexOf(kCrLf)) {
        const QByteArray message = buffer_.left(end);
        buffer_.remove(0, end + 2);
        reply.send += answer(message, reply);
    }
    if (buffer_.size() > kReceiveCap) {
        reply.notes << QString("%1 bytes from ktlink without a line end dropped").arg(buffer_.size());
        buffer_.clear();
    }
    return reply;
}

QByteArray Instrument::answer(const QByteArray& message, InstrumentReply& reply)
{
    const QString text = from_local_text(message);
    if (text == "a" || text == "c")
        return kReady;
    if (text == "?")
        return next_line();
    if (message == "\x1a") {
        if (upload_job_ == 0)
            return kReady;
        Job& target = slot(upload_job_);
        target.fixed += uploaded_;
        reply.changed_job = upload_job_;
        reply.notes
            << QString("job %1 (%2) received %3 records").arg(upload_job_).arg(target.name).arg(uploaded_.size());
        upload_job_ = 0;
        uploaded_.clear();
        return line("OK");
    }
    if (upload_job_ != 0) {
        // A character the PC could not put on the wire came as 00: the instrument keeps nothing of it,
        // as the KT20/KT40 decoders keep nothing of a NUL.
        QByteArray record = message;
        record.replace(QByteArray(1, '\0'), QByteArray());
        const QString kept = from_local_text(record);
        if (kept.size() != kRecordLength)
            reply.notes
                << QString("record of %1 characters (not %2) stored as it came").arg(kept.size()).arg(kRecordLength);
        uploaded_ << kept;
        return kReady;
    }
    for (int type = kConf182; type <= kGetWi13; ++type) {
        if (text == command_text(type))
            return line(query_reply(type));
    }
    if (text == command_text(kCodeList))
        return start_list(codes_);
    if (text == command_text(kJobList))
        return start_list(job_lines());
    if (text == command_text(kFormatList))
        return start_list(format_lines());
    if (text == command_text(kHalList))
        return start_list({"HAL,0.0000"});
    if (text == command_text(kValList))
        return start_list({"VAL,0.0000"});
    if (text.startsWith(command_text(kFormatSet))) {
        const int number = text.mid(command_text(kFormatSet).size()).toInt();
        format_ = number == int(Format::Comma) ? Format::Comma : Format::Records;
        return line("OK");
    }
    for (int type : {kReceiveCoords, kReceiveObservations}) {
        if (!text.startsWith(command_text(type)))
            continue;
        const int number = text.mid(command_text(type).size()).toInt();
        const Job* j = job(number);
        if (!j) {
            reply.notes << QString("no job %1 to download").arg(text.mid(command_text(type).size()));
            pending_.clear();
            return line(QString(",%1,0,0").arg(number));
        }
        QStringList data = type == kReceiveCoords ? j->fixed : j->observations;
        if (format_ == Format::Comma) {
            for (QString& d : data)
                d = d.simplified().replace(' ', ',');
        }
        pending_ = data;
        reply.notes << QString("job %1 (%2): sending %3 %4")
                           .arg(number)
                           .arg(j->name)
                           .arg(data.size())
                           .arg(type == kReceiveCoords ? "fixed points" : "observations");
        return line(job_lines()[number - 1]);
    }
    if (text.startsWith(command_text(kJobSet))) {
        const QString rest = text.mid(command_text(kJobSet).size());
        const int slash = rest.lastIndexOf('/');
        const int number = rest.mid(slash + 1).toInt();
        if (slash < 0 || !job(number)) {
            reply.notes << QString("job creation for no job slot ignored: %1").arg(text);
            return line("ERR");
        }
        slot(number).name = rest.left(slash);
        reply.changed_job = number;
        reply.notes << QString("job %1 named %2").arg(number).arg(rest.left(slash));
        return line("OK");
    }
    if (text.startsWith(command_text(kSendCoords))) {
        const int number = text.mid(command_text(kSendCoords).size()).toInt();
        if (!job(number)) {
            reply.notes << QString("upload into no job slot ignored: %1").arg(text);
            return line("ERR");
        }
        upload_job_ = number;
        uploaded_.clear();
        return kReady;
    }
    reply.notes << QString("unknown message from ktlink answered ERR: %1").arg(QString::fromLatin1(message.toHex(' ')));
    return line("ERR");
}

} // namespace kt90
