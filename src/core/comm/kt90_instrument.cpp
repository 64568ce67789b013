// The KT90's replies: "?" to the conversation openers, a line to each start-up query, lists and job
// data one line per "?" and 0x1A at their end, and the records of an upload stored in their job.
#include "comm/kt90_instrument.h"

#include "comm/kt90_commands.h"
#include "comm/kt90_conversation.h"
#include "data/localtext.h"

namespace kt90
{

namespace
{

const QByteArray kCrLf("\r\n");
const QByteArray kReady("?\r\n");
const QByteArray kEndOfData("\x1a\r\n");

// The reply lines of the four start-up queries: the PC reads them but does not use them.
const struct {
    int type;
    const char* reply;
} kQueryReplies[] = {
    {Message::Query182, "182,0"},
    {Message::Query136, "136,0"},
    {Message::Query137, "137,0"},
    {Message::QueryWi13, "WI13,KTSIM"},
};

const int kListCommands[] = {Message::CodeList, Message::JobList, Message::FormatList, Message::HalList,
                             Message::ValList};

QByteArray line(const QString& text)
{
    return to_local_text(text) + kCrLf;
}

// Whether the PC's message (without its CR LF) is the short message of `type` ("a", "c", "?", 0x1A).
bool is_message(const QByteArray& message, int type)
{
    return message + kCrLf == build_message(type, QString(), QString(), false);
}

// What follows the command text of `type` in `text`: a job or format number, or a job's name and number.
QString parameter(const QString& text, int type)
{
    return text.mid(command_text(type).size());
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
    if (is_message(message, Message::Open) || is_message(message, Message::Continue))
        return kReady;
    if (is_message(message, Message::Next))
        return next_line();
    if (is_message(message, Message::EndOfData))
        return end_of_data(reply);
    if (upload_job_ != 0)
        return take_record(message, reply);
    const QByteArray answer = answer_command(from_local_text(message), reply);
    if (!answer.isEmpty())
        return answer;
    reply.notes << QString("unknown message from ktlink answered ERR: %1").arg(QString::fromLatin1(message.toHex(' ')));
    return line("ERR");
}

QByteArray Instrument::end_of_data(InstrumentReply& reply)
{
    if (upload_job_ == 0)
        return kReady;
    Job& target = slot(upload_job_);
    target.fixed += uploaded_;
    reply.changed_job = upload_job_;
    reply.notes << QString("job %1 (%2) received %3 records").arg(upload_job_).arg(target.name).arg(uploaded_.size());
    upload_job_ = 0;
    uploaded_.clear();
    return line("OK");
}

QByteArray Instrument::take_record(const QByteArray& message, InstrumentReply& reply)
{
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

QStringList Instrument::list_lines(int type) const
{
    switch (type) {
    case Message::CodeList:
        return codes_;
    case Message::JobList:
        return job_lines();
    case Message::FormatList:
        return format_lines();
    case Message::HalList:
        return {"HAL,0.0000"};
    case Message::ValList:
        return {"VAL,0.0000"};
    default:
        return {};
    }
}

QByteArray Instrument::answer_command(const QString& text, InstrumentReply& reply)
{
    for (const auto& query : kQueryReplies) {
        if (text == command_text(query.type))
            return line(QString::fromLatin1(query.reply));
    }
    for (int type : kListCommands) {
        if (text == command_text(type))
            return start_list(list_lines(type));
    }
    if (text.startsWith(command_text(Message::DownloadFormat))) {
        const int number = parameter(text, Message::DownloadFormat).toInt();
        format_ = number == int(Format::Comma) ? Format::Comma : Format::Records;
        return line("OK");
    }
    for (int type : {Message::ReceiveCoordinates, Message::ReceiveObservations}) {
        if (text.startsWith(command_text(type)))
            return start_download(type, parameter(text, type), reply);
    }
    if (text.startsWith(command_text(Message::CreateJob)))
        return create_job(text, reply);
    if (text.startsWith(command_text(Message::SendCoordinates)))
        return start_upload(text, reply);
    return QByteArray();
}

QByteArray Instrument::start_download(int type, const QString& number_text, InstrumentReply& reply)
{
    const int number = number_text.toInt();
    const Job* j = job(number);
    if (!j) {
        reply.notes << QString("no job %1 to download").arg(number_text);
        pending_.clear();
        return line(QString(",%1,0,0").arg(number));
    }
    const bool coordinates = type == Message::ReceiveCoordinates;
    QStringList data = coordinates ? j->fixed : j->observations;
    if (format_ == Format::Comma) {
        for (QString& d : data)
            d = d.simplified().replace(' ', ',');
    }
    pending_ = data;
    reply.notes << QString("job %1 (%2): sending %3 %4")
                       .arg(number)
                       .arg(j->name)
                       .arg(data.size())
                       .arg(coordinates ? "fixed points" : "observations");
    return line(job_lines()[number - 1]);
}

QByteArray Instrument::create_job(const QString& text, InstrumentReply& reply)
{
    const QString rest = parameter(text, Message::CreateJob);
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

QByteArray Instrument::start_upload(const QString& text, InstrumentReply& reply)
{
    const int number = parameter(text, Message::SendCoordinates).toInt();
    if (!job(number)) {
        reply.notes << QString("upload into no job slot ignored: %1").arg(text);
        return line("ERR");
    }
    upload_job_ = number;
    uploaded_.clear();
    return kReady;
}

} // namespace kt90
