// The KT90 conversations as tables of rules: each row is one step a reply causes.
#include "comm/kt90_conversation.h"

#include "data/localtext.h"

#include <QStringList>

namespace kt90
{

namespace
{

constexpr int kAnyModel = -1;
constexpr int kListTextLength = 14;

const QByteArray kCrLf("\r\n");

// Replies of three bytes that carry meaning by their first byte.
struct ShortRule {
    int state;
    int model;
    Step step;
};

// "?": the instrument is ready.
const ShortRule kReadyRules[] = {
    {Message::Open, kAnyModel, {Effect::RefreshStatus, Message::Continue, Message::Continue}},
    {Message::Continue, Conversation::Listing, {Effect::ClearAllLists, Message::Query182, Message::Query182}},
    {Message::Continue,
     Conversation::Download,
     {Effect::None, Message::DownloadFormat, Message::DownloadFormat, Param::FormatNumber}},
};

// 0x1A during a listing: one list has ended, the next is asked for.
const ShortRule kListEndRules[] = {
    {Message::CodeList,
     Conversation::Listing,
     {Effect::ClearList, Message::JobList, Message::JobList, Param::None, List::Jobs}},
    {Message::JobList,
     Conversation::Listing,
     {Effect::ClearList, Message::FormatList, Message::FormatList, Param::None, List::Formats}},
    {Message::FormatList,
     Conversation::Listing,
     {Effect::ClearList, Message::HalList, Message::HalList, Param::None, List::Hal}},
    {Message::HalList,
     Conversation::Listing,
     {Effect::ClearList, Message::ValList, Message::ValList, Param::None, List::Val}},
    {Message::ValList, Conversation::Listing, {Effect::FinishListing, Message::None, Message::None}},
};

// A reply line of the listing: the start-up queries, then the code, job, format, HAL and VAL lists.
struct LineRule {
    int state;
    Step step;
};

// The start-up queries step to the next query; a list line is kept in its list and the next is asked
// for with "?".
const LineRule kLineRules[] = {
    {Message::Query182,
     {Effect::ListLine, Message::Query136, Message::Query136, Param::None, List::None, Progress::Up}},
    {Message::Query136,
     {Effect::ListLine, Message::Query137, Message::Query137, Param::None, List::None, Progress::Up}},
    {Message::Query137,
     {Effect::ListLine, Message::QueryWi13, Message::QueryWi13, Param::None, List::None, Progress::Up}},
    {Message::QueryWi13,
     {Effect::ListLine, Message::CodeList, Message::CodeList, Param::None, List::None, Progress::Up}},
    {Message::CodeList, {Effect::ListLine, Message::CodeList, Message::Next, Param::None, List::None, Progress::Up}},
    {Message::JobList, {Effect::ListLine, Message::JobList, Message::Next, Param::None, List::Jobs, Progress::Stay}},
    {Message::FormatList,
     {Effect::ListLine, Message::FormatList, Message::Next, Param::None, List::Formats, Progress::Up}},
    {Message::HalList, {Effect::ListLine, Message::HalList, Message::Next, Param::None, List::Hal, Progress::Up}},
    {Message::ValList, {Effect::ListLine, Message::ValList, Message::Next, Param::None, List::Val, Progress::Full}},
};

template <typename Rules> const Step* find_short_rule(const Rules& rules, int state, int model)
{
    for (const ShortRule& rule : rules) {
        if (rule.state == state && (rule.model == kAnyModel || rule.model == model))
            return &rule.step;
    }
    return nullptr;
}

Step keep_state(int state)
{
    Step step;
    step.next_state = state;
    return step;
}

// The download's data state for a point type (the command that asks for those points), else unchanged.
int data_state(const QString& point_type, int state)
{
    for (int type : {Message::ReceiveCoordinates, Message::ReceiveObservations}) {
        if (point_type == command_text(type))
            return type;
    }
    return state;
}

} // namespace

bool reply_complete(const QByteArray& buffer, int least)
{
    return buffer.size() >= least && buffer.size() >= 2 && buffer.endsWith(kCrLf);
}

bool buffer_overflows(const QByteArray& buffer)
{
    return buffer.size() > kReceiveCap && !buffer.endsWith(kCrLf);
}

Reply reply_kind(const QByteArray& reply)
{
    if (reply.size() == 3 && reply.endsWith(kCrLf)) {
        if (reply[0] == '?')
            return Reply::Ready;
        if (reply[0] == '\x1a')
            return Reply::End;
    }
    return Reply::Line;
}

namespace
{

QByteArray without_crlf(const QByteArray& reply)
{
    return reply.endsWith(kCrLf) ? reply.left(reply.size() - 2) : reply;
}

} // namespace

QString line_text(const QByteArray& reply)
{
    return from_local_text(without_crlf(reply));
}

QString list_text(const QByteArray& reply)
{
    return from_local_text(without_crlf(reply).left(kListTextLength));
}

int header_count(const QString& header, int state)
{
    const QStringList fields = header.split(',');
    if (fields.size() <= 3)
        return 0;
    return fields[state == Message::ReceiveObservations ? 3 : 2].toInt();
}

int percent(qint64 done, qint64 total)
{
    if (total <= 0)
        return 0;
    return int(qMin<qint64>(done * 100 / total, 99));
}

Step listing_step(int state, int model, Reply reply, const QString& point_type)
{
    switch (reply) {
    case Reply::Ready: {
        const Step* step = find_short_rule(kReadyRules, state, model);
        return step ? *step : keep_state(state);
    }
    case Reply::End: {
        if (model == Conversation::Download)
            return {Effect::FinishDownload, Message::None, Message::None};
        const Step* step = find_short_rule(kListEndRules, state, model);
        return step ? *step : keep_state(state);
    }
    case Reply::Line:
        break;
    }
    if (model == Conversation::Download && state == Message::DownloadFormat) {
        const int next = data_state(point_type, state);
        return {Effect::StartData, next, next, Param::JobNumber};
    }
    if (model == Conversation::Download &&
        (state == Message::ReceiveCoordinates || state == Message::ReceiveObservations))
        return {Effect::DataLine, state, Message::Next};
    Step step = keep_state(state);
    step.effect = Effect::ListLine;
    return step;
}

Step line_step(int state)
{
    for (const LineRule& rule : kLineRules) {
        if (rule.state == state)
            return rule.step;
    }
    return keep_state(state);
}

UploadStep upload_step(int sendnum, bool job_exists, int records)
{
    UploadStep step;
    step.matched = true;
    switch (sendnum) {
    case 1:
        step.sendnum = 2;
        step.state = step.send = Message::Continue;
        return step;
    case 2:
        step.sendnum = job_exists ? 4 : 3;
        step.state = step.send = job_exists ? Message::UploadFormat : Message::CreateJob;
        return step;
    case 3:
        step.sendnum = 4;
        step.state = step.send = Message::UploadFormat;
        return step;
    case 4:
        step.sendnum = 5;
        step.state = step.send = Message::SendCoordinates;
        step.effect = UploadEffect::ShowWait;
        return step;
    default:
        break;
    }
    if (sendnum < 5)
        return UploadStep();

    const int k = sendnum + 1;
    const int n = records;
    step.sendnum = k;
    step.sent = k - 5;
    if (k - 6 < n) {
        step.state = step.send = Message::DataRecord;
        step.effect = UploadEffect::SendRecord;
        step.record = k - 6;
    } else if (k == n + 6) {
        step.state = step.send = Message::EndOfData;
    } else if (k == n + 7) {
        step.state = step.send = Message::JobList;
        step.effect = UploadEffect::ClearJobs;
    } else if (k <= n + 23) {
        step.state = step.send = Message::Next;
        step.effect = UploadEffect::KeepJobLine;
    } else if (k == n + 24) {
        step.state = step.send = Message::Continue;
        step.effect = UploadEffect::RebuildJobs;
    } else {
        step.sendnum = 0;
        step.state = Message::None;
        step.effect = UploadEffect::Finish;
    }
    return step;
}

} // namespace kt90
