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
    {1, kAnyModel, {Effect::RefreshStatus, 2, 2}},
    {2, 0, {Effect::ClearAllLists, 10, 10}},
    {2, 1, {Effect::None, 30, 30, Param::FormatNumber}},
};

// 0x1A during a listing: one list has ended, the next is asked for.
const ShortRule kListEndRules[] = {
    {14, 0, {Effect::ClearList, 15, 15, Param::None, List::Jobs}},
    {15, 0, {Effect::ClearList, 16, 16, Param::None, List::Formats}},
    {16, 0, {Effect::ClearList, 17, 17, Param::None, List::Hal}},
    {17, 0, {Effect::ClearList, 18, 18, Param::None, List::Val}},
    {18, 0, {Effect::FinishListing, 0, 0}},
};

// A reply line of the listing: the start-up queries, then the code, job, format, HAL and VAL lists.
struct LineRule {
    int state;
    Step step;
};

const LineRule kLineRules[] = {
    {10, {Effect::ListLine, 11, 11, Param::None, List::None, Progress::Up}},
    {11, {Effect::ListLine, 12, 12, Param::None, List::None, Progress::Up}},
    {12, {Effect::ListLine, 13, 13, Param::None, List::None, Progress::Up}},
    {13, {Effect::ListLine, 14, 14, Param::None, List::None, Progress::Up}},
    {14, {Effect::ListLine, 14, 3, Param::None, List::None, Progress::Up}},
    {15, {Effect::ListLine, 15, 3, Param::None, List::Jobs, Progress::Stay}},
    {16, {Effect::ListLine, 16, 3, Param::None, List::Formats, Progress::Up}},
    {17, {Effect::ListLine, 17, 3, Param::None, List::Hal, Progress::Up}},
    {18, {Effect::ListLine, 18, 3, Param::None, List::Val, Progress::Full}},
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

// The download's data state for a point type: 31 coordinates, 32 observations, else unchanged.
int data_state(const QString& point_type, int state)
{
    if (point_type == "JOB/RCV/COORDS/")
        return 31;
    if (point_type == "JOB/RCV/OBSERV/")
        return 32;
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
    return fields[state == 32 ? 3 : 2].toInt();
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
        if (model == 1)
            return {Effect::FinishDownload, 0, 0};
        const Step* step = find_short_rule(kListEndRules, state, model);
        return step ? *step : keep_state(state);
    }
    case Reply::Line:
        break;
    }
    if (model == 1 && state == 30) {
        const int next = data_state(point_type, state);
        return {Effect::StartData, next, next, Param::JobNumber};
    }
    if (model == 1 && (state == 31 || state == 32))
        return {Effect::DataLine, state, 3};
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
        step.state = step.send = 2;
        return step;
    case 2:
        step.sendnum = job_exists ? 4 : 3;
        step.state = step.send = job_exists ? 20 : 22;
        return step;
    case 3:
        step.sendnum = 4;
        step.state = step.send = 20;
        return step;
    case 4:
        step.sendnum = 5;
        step.state = step.send = 21;
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
        step.state = step.send = 23;
        step.effect = UploadEffect::SendRecord;
        step.record = k - 6;
    } else if (k == n + 6) {
        step.state = step.send = 4;
    } else if (k == n + 7) {
        step.state = step.send = 15;
        step.effect = UploadEffect::ClearJobs;
    } else if (k <= n + 23) {
        step.state = step.send = 3;
        step.effect = UploadEffect::KeepJobLine;
    } else if (k == n + 24) {
        step.state = step.send = 2;
        step.effect = UploadEffect::RebuildJobs;
    } else {
        step.sendnum = 0;
        step.state = 0;
        step.effect = UploadEffect::Finish;
    }
    return step;
}

} // namespace kt90
