// The step rules of the three KT90 conversations (listing, download, upload) as pure functions: the
// state and the kind of reply in, what to do, what to send and the next state out. No port, no window.
#ifndef KT90_CONVERSATION_H
#define KT90_CONVERSATION_H

#include "comm/kt90_message_types.h"

#include <QByteArray>
#include <QString>

namespace kt90
{

// Bytes without a CR LF beyond this many are a babbling line, not a reply: far above the longest
// reply a KT90 sends.
constexpr int kReceiveCap = 64 * 1024;

// The two short replies ("?" CR LF: ready, 0x1A CR LF: end of a list or of the data) and every other
// reply, a line.
enum class Reply { Ready, End, Line };

// A reply is complete when the buffer holds at least `least` bytes and ends in CR LF.
bool reply_complete(const QByteArray& buffer, int least);
// True when the buffer has grown past the cap without a complete reply.
bool buffer_overflows(const QByteArray& buffer);
Reply reply_kind(const QByteArray& reply);
// The reply without its CR LF, decoded with the local 8-bit codec (GBK in the program), so that a data
// line written back through the same codec keeps the instrument's bytes; ASCII stays one character per
// byte.
QString line_text(const QByteArray& reply);
// A list line as it is kept: at most its first 14 bytes, CR LF excluded, decoded as above.
QString list_text(const QByteArray& reply);
// The data line count announced by a download header: field 2 for coordinates (state
// ReceiveCoordinates), field 3 for observations (ReceiveObservations); 0 when the header has 3 fields or fewer or the
// field is no number.
int header_count(const QString& header, int state);
// done * 100 / total, capped at 99; 0 when total is not positive.
int percent(qint64 done, qint64 total);

// The lists the listing fills.
enum class List { None, Jobs, Formats, Hal, Val };

// What one reply of the listing or the download makes the PC do besides sending.
enum class Effect {
    None,
    RefreshStatus,  // the status line is refreshed
    ClearAllLists,  // the job, format, HAL and VAL lists are emptied
    ClearList,      // `list` is emptied
    FinishListing,  // the wait ends and the port's job subtree is rebuilt
    FinishDownload, // the wait ends and the data are written to the file
    StartData,      // the download's counters and data are reset
    DataLine,       // a download header or data line
    ListLine,       // a reply line of the listing, handled by `line_step`
};

// How a list line moves the progress value.
enum class Progress { Stay, Up, Full };

// The parameter appended to the message sent.
enum class Param { None, FormatNumber, JobNumber };

struct Step {
    Effect effect = Effect::None;
    int next_state = Message::None;
    int send = Message::None; // message type to send
    Param param = Param::None;
    List list = List::None;
    Progress progress = Progress::Stay;
};

// The conversations of the listing and the download rules: the values of the window's KT90SendModel.
namespace Conversation
{
enum : int { Listing = 0, Download = 1 };
}

// One reply of the listing or the download (`model`) in `state`, the message type sent last. With no
// rule the state is kept and nothing is sent.
Step listing_step(int state, int model, Reply reply, const QString& point_type);
// One reply line of the listing in `state`: progress, the list it is kept in, the next message.
Step line_step(int state);

// What one reply of the upload makes the PC do besides sending.
enum class UploadEffect {
    None,
    ShowWait,    // the transfer wait is shown
    SendRecord,  // `record` is sent
    ClearJobs,   // the job list is emptied before it is read back
    KeepJobLine, // the reply is kept in the job list
    RebuildJobs, // the target job's nodes are rebuilt, the wait ends after sending
    Finish,      // the upload state is reset and the wait ends
};

struct UploadStep {
    bool matched = false;
    int sendnum = 0;           // the step counter afterwards
    int state = Message::None; // the message type sent (the conversation state) afterwards
    int send = Message::None;  // message type to send
    UploadEffect effect = UploadEffect::None;
    int record = -1; // record index for SendRecord
    int sent = -1;   // records sent so far, for the progress value; -1 before the records start
};

// One reply of the upload at step `sendnum`, into an existing job or a new one, of `records` records.
UploadStep upload_step(int sendnum, bool job_exists, int records);

} // namespace kt90

#endif // KT90_CONVERSATION_H
