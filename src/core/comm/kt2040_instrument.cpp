// The KT20/KT40 instrument: offering its start, sending its records one per acknowledgement, taking
// the PC's records, and repeating or giving up when an answer does not come.
#include "comm/kt2040_instrument.h"

#include "data/tablecolumns.h"

namespace kt2040
{

namespace
{

constexpr int kPointFields = int(kObservationPointColumns.size());

// The columns of the five point-line fields (name, code, N, E, Z) in the layout of the frame set.
const PointColumns& point_columns(FrameSet set)
{
    return set == FrameSet::Kt40 ? kCoordinatePointColumns : kObservationPointColumns;
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

void add(InstrumentAction& into, const InstrumentAction& more)
{
    const QStringList notes = into.notes + more.notes;
    into = more;
    into.notes = notes;
}

} // namespace

QList<InstrumentRecord> point_records(FrameSet set, const QStringList& point_lines)
{
    QList<InstrumentRecord> records;
    for (const QString& line : point_lines) {
        const QStringList fields = line.split(',');
        if (fields.size() < kPointFields)
            continue;
        InstrumentRecord record;
        if (set == FrameSet::Kt40) {
            record.kind = Frame::Kt40Record;
            record.cells = fields.mid(0, kPointFields);
        } else {
            record.kind = Frame::CoordinateRecord;
            for (int c = 0; c < ObsColumn::Count; ++c)
                record.cells << QString();
            for (int f = 0; f < kPointFields; ++f)
                record.cells[kObservationPointColumns[f]] = fields[f].trimmed();
        }
        records << record;
    }
    return records;
}

QString point_line(FrameSet set, const Record& record)
{
    QStringList fields;
    for (int column : point_columns(set))
        fields << record.cells.value(column);
    return fields.join(',');
}

Instrument::Instrument(FrameSet set, DataKind mode, const QList<InstrumentRecord>& records, const QString& job,
                       int delay_ms)
    : set_(set), mode_(set == FrameSet::Kt20Kt40 ? mode : Coordinates), records_(records), job_(job),
      delay_ms_(delay_ms)
{
}

int Instrument::idle_wait() const
{
    return offering_ ? kOfferMs : 0;
}

InstrumentAction Instrument::rearm()
{
    offering_ = true;
    if (state_ == State::Idle)
        return offer();
    return InstrumentAction();
}

InstrumentAction Instrument::offer()
{
    InstrumentAction action;
    state_ = State::Idle;
    action.wait_ms = 0;
    // The PC's send begins with the instrument's coordinate request, so that one is offered even
    // with nothing to send; the other starts only announce the instrument's own records.
    const bool lets_pc_send = set_ == FrameSet::Kt20Kt40 && mode_ == Coordinates;
    if (!offering_ || (records_.isEmpty() && !lets_pc_send))
        return action;
    action.send = set_ == FrameSet::Kt40 ? kt40_header(records_.size(), job_) : kt20kt40_start(mode_);
    action.drop_unread = true;
    action.wait_ms = kOfferMs;
    state_ = State::Offered;
    next_ = 0;
    return action;
}

QByteArray Instrument::frame_of(int index) const
{
    const InstrumentRecord& r = records_[index];
    if (r.kind == Frame::FileHeader)
        return file_header(index + 1, records_.size(), r.cells.value(0));
    return record_frame(r.kind, index + 1, records_.size(), r.cells);
}

InstrumentAction Instrument::send_frame(const QByteArray& frame, State next, int delay_ms)
{
    InstrumentAction action;
    action.send = frame;
    action.delay_ms = delay_ms;
    action.wait_ms = kAnswerMs;
    last_sent_ = frame;
    retries_ = 0;
    state_ = next;
    return action;
}

InstrumentAction Instrument::send_next()
{
    if (next_ < records_.size()) {
        const int index = next_++;
        return send_frame(frame_of(index), State::Sending, index > 0 ? delay_ms_ : 0);
    }
    if (set_ == FrameSet::Kt40)
        return send_frame(kt40_end(), State::Ending, delay_ms_);
    InstrumentAction action;
    action.send = kt20kt40_end(mode_);
    action.delay_ms = delay_ms_;
    action.sent_all = true;
    action.notes << QString("sent %1 records; Enter offers them again").arg(records_.size());
    offering_ = false;
    state_ = State::Idle;
    action.wait_ms = 0;
    return action;
}

InstrumentAction Instrument::retry(const QString& what)
{
    if (retries_ >= kRetries)
        return give_up(QString("no answer to %1 after %2 repeats; transfer given up").arg(what).arg(kRetries));
    ++retries_;
    InstrumentAction action;
    action.send = last_sent_;
    action.drop_unread = true;
    action.wait_ms = kAnswerMs;
    action.notes << QString("no answer to %1; sent again (%2/%3)").arg(what).arg(retries_).arg(kRetries);
    return action;
}

InstrumentAction Instrument::give_up(const QString& why)
{
    InstrumentAction action;
    action.failed = true;
    action.notes << why;
    if (set_ == FrameSet::Kt20Kt40)
        action.send = kt20kt40_end(mode_, true);
    state_ = State::Idle;
    received_.clear();
    action.wait_ms = idle_wait();
    return action;
}

InstrumentAction Instrument::finish_receiving()
{
    InstrumentAction action;
    action.received = received_;
    action.received_all = true;
    action.notes << QString("received %1 points").arg(received_.size()) +
                        (announced_ != received_.size() ? QString(" (%1 announced)").arg(announced_) : QString());
    received_.clear();
    state_ = State::Idle;
    action.wait_ms = idle_wait();
    return action;
}

InstrumentAction Instrument::receive_record(Frame frame, const QByteArray& bytes)
{
    const Record record = decode_record(bytes, frame);
    InstrumentAction action;
    if (state_ == State::Deciding) {
        received_.clear();
        announced_ = record.total;
        action.notes << QString("ktlink sends %1 points").arg(announced_);
    }
    received_ << point_line(set_, record);
    if (set_ == FrameSet::Kt40) {
        add(action, send_frame(kt40_ack(), State::Receiving, 0));
    } else if (record.number >= record.total) {
        add(action, finish_receiving());
        action.send = kt20kt40_end(Coordinates);
        return action;
    } else {
        add(action, send_frame(kt20kt40_start(Coordinates), State::Receiving, 0));
    }
    // The PC sends at its own pace: the instrument only waits, it does not repeat its answer.
    action.wait_ms = kAnswerMs * kRetries;
    return action;
}

InstrumentAction Instrument::handle(Frame frame, const QByteArray& bytes)
{
    InstrumentAction ignored;
    ignored.notes << QString("unexpected frame from ktlink ignored: %1").arg(hex(bytes));
    switch (frame) {
    case Frame::Kt40Header:
        // A header while receiving starts the PC's send again.
        if (state_ != State::Idle && state_ != State::Offered && state_ != State::Receiving)
            return ignored;
        announced_ = header_count(bytes);
        received_.clear();
        {
            InstrumentAction action = send_frame(kt40_ack(), State::Receiving, 0);
            action.notes << QString("ktlink sends %1 points").arg(announced_);
            action.wait_ms = kAnswerMs * kRetries;
            return action;
        }
    case Frame::Kt40Record:
    case Frame::CoordinateRecord:
        // The PC's echo and its first record may arrive in one read, the echo then cut as noise.
        if (frame == Frame::CoordinateRecord && state_ == State::Offered)
            state_ = State::Deciding;
        if (state_ != State::Receiving && state_ != State::Deciding)
            return ignored;
        return receive_record(frame, bytes);
    case Frame::Kt40End:
        if (state_ == State::Receiving) {
            InstrumentAction action = finish_receiving();
            action.send = kt40_end();
            return action;
        }
        if (state_ == State::Ending) {
            InstrumentAction action;
            action.sent_all = true;
            action.notes << QString("sent %1 points; Enter offers them again").arg(records_.size());
            offering_ = false;
            state_ = State::Idle;
            action.wait_ms = 0;
            return action;
        }
        return ignored;
    case Frame::Kt40Ack:
        if (state_ != State::Offered && state_ != State::Sending)
            return ignored;
        return send_next();
    case Frame::StartEcho:
        if (state_ != State::Offered)
            return ignored;
        if (mode_ == MeasuredData)
            return send_next();
        {
            InstrumentAction action;
            state_ = State::Deciding;
            action.wait_ms = kDecideMs;
            return action;
        }
    case Frame::RecordAck:
        if (state_ != State::Sending)
            return ignored;
        if (bytes != record_ack(last_sent_))
            return retry(QString("record %1 (acknowledged as %2)").arg(next_).arg(hex(bytes)));
        return send_next();
    default:
        return ignored;
    }
}

InstrumentAction Instrument::on_bytes(const QByteArray& bytes)
{
    const Context context{set_, PcReceives, mode_, true};
    InstrumentAction action;
    buffer_ += bytes;
    const QByteArray before = buffer_;
    if (cut_noise(buffer_, context))
        action.notes
            << QString("ignored bytes that begin no frame: %1").arg(hex(before.left(before.size() - buffer_.size())));
    const Frame frame = recognise(buffer_, context);
    if (frame == Frame::None)
        return action;
    const QByteArray taken = buffer_;
    buffer_.clear();
    add(action, handle(frame, taken));
    return action;
}

InstrumentAction Instrument::on_timeout()
{
    InstrumentAction action;
    if (!buffer_.isEmpty()) {
        action.notes << QString("incomplete frame from ktlink dropped: %1").arg(hex(buffer_));
        buffer_.clear();
    }
    switch (state_) {
    case State::Idle:
    case State::Offered:
        add(action, offer());
        break;
    case State::Deciding:
        if (!records_.isEmpty()) {
            add(action, send_next());
        } else {
            state_ = State::Idle;
            action.wait_ms = idle_wait();
        }
        break;
    case State::Sending:
        add(action, retry(QString("record %1").arg(next_)));
        break;
    case State::Ending:
        add(action, retry("the end frame"));
        break;
    case State::Receiving:
        add(action,
            give_up(QString("ktlink stopped sending after %1 points; transfer given up").arg(received_.size())));
        break;
    }
    return action;
}

} // namespace kt2040
