// The instrument's side of both KT20/KT40 frame sets as a state machine: what it offers, how it
// answers the PC's frames, its retries and end frames. Bytes in, bytes and notes out; no port, no timer.
#ifndef KT2040_INSTRUMENT_H
#define KT2040_INSTRUMENT_H

#include "comm/kt2040_frames.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kt2040
{

// One record the instrument sends: its kind and the table texts of its row (a file header carries
// the job name in cell 0).
struct InstrumentRecord {
    Frame kind = Frame::None;
    QStringList cells;
};

// Records of five-field point lines (name, code, N, E, Z) in the layout of the frame set.
QList<InstrumentRecord> point_records(FrameSet set, const QStringList& point_lines);
// The five-field point line of a record the PC sent.
QString point_line(FrameSet set, const Record& record);

// What the instrument does next.
struct InstrumentAction {
    QByteArray send; // written after delay_ms
    // `send` is an offer or a repeat, sent without a frame of the PC to answer: whatever the PC has not
    // read of an earlier one is stale and goes first. An answer never drops anything: the PC may be
    // reading the bytes before it that very moment.
    bool drop_unread = false;
    int delay_ms = 0;
    int wait_ms = -1;     // then on_timeout() after this long without a frame; -1 keeps the running wait, 0 none
    QStringList notes;    // lines for the operator
    QStringList received; // the point lines of a completed send of the PC
    bool received_all = false;
    bool sent_all = false; // the instrument's own send has ended
    bool failed = false;   // a transfer was given up
};

class Instrument
{
public:
    // `mode` 0 coordinates, 1 measured data (KT20_KT40 frame set); `job` the name a KT40 header
    // announces; `delay_ms` between own records.
    Instrument(FrameSet set, DataKind mode, const QList<InstrumentRecord>& records, const QString& job, int delay_ms);

    // Starts offering the instrument's start frame again (after a completed send); what to do now.
    InstrumentAction rearm();
    // The first action: the offer, when there is one to make.
    InstrumentAction start() { return rearm(); }
    InstrumentAction on_bytes(const QByteArray& bytes);
    InstrumentAction on_timeout();

    // How long an answer may take before the instrument repeats its frame, and how often it does.
    static constexpr int kAnswerMs = 3000;
    static constexpr int kRetries = 3;
    // How often an unanswered start is offered again.
    static constexpr int kOfferMs = 1500;
    // KT20_KT40: how long after the PC's echo a record of the PC's send may take to begin.
    static constexpr int kDecideMs = 1500;

private:
    enum class State { Idle, Offered, Deciding, Sending, Ending, Receiving };

    InstrumentAction offer();
    InstrumentAction send_frame(const QByteArray& frame, State next, int delay_ms);
    InstrumentAction send_next();
    InstrumentAction retry(const QString& what);
    InstrumentAction handle(Frame frame, const QByteArray& bytes);
    InstrumentAction receive_record(Frame frame, const QByteArray& bytes);
    InstrumentAction give_up(const QString& why);
    InstrumentAction finish_receiving();
    QByteArray frame_of(int index) const;
    int idle_wait() const;

    FrameSet set_;
    DataKind mode_;
    QList<InstrumentRecord> records_;
    QString job_;
    int delay_ms_;
    State state_ = State::Idle;
    bool offering_ = false;
    QByteArray buffer_;
    QByteArray last_sent_;
    int next_ = 0; // index of the next own record to send
    int retries_ = 0;
    int announced_ = 0;
    QStringList received_;
};

} // namespace kt2040

#endif // KT2040_INSTRUMENT_H
