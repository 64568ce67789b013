// Recognising the receive buffer and cutting noise from it, for both KT20/KT40 frame sets: each frame a
// pattern of leading bytes, length and last bytes, matched in table order.
#include "comm/kt2040_frames.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace kt2040
{

namespace
{

constexpr int kAnyLength = INT_MAX;
constexpr int kAnyByte = -1;

// A frame as it is recognised: fixed leading bytes, a length range and, where given, fixed last bytes.
struct Pattern {
    Frame frame;
    const char* lead;
    int lead_length;
    int min_length;
    int max_length;
    int last;
    int second_last;
    // The longest buffer that still waits for more bytes; 0: max_length. A buffer beyond it is taken
    // as it is or not at all.
    int wait_limit = 0;
};

// Matched in table order; the first match wins.
const Pattern kKt40Receive[] = {
    {Frame::Kt40Header, "\xAA\x80", 2, 4, kMaxFrameLength, 0x82, 0xAA},
    // Shorter buffers that end in B0 wait: the record's fields lie beyond them. A record is 68 bytes, so
    // a buffer that has grown past that without ending in B0 was noise that happened to start with 90.
    {Frame::Kt40Record, "\x90", 1, 68, kMaxFrameLength, 0xB0, kAnyByte, 68},
    {Frame::Kt40End, "\xAA\x82", 2, 2, 2, kAnyByte, kAnyByte},
};

const Pattern kKt40Send[] = {
    {Frame::Kt40Ack, "\xAA\x81", 2, 2, kAnyLength, kAnyByte, kAnyByte},
    {Frame::Kt40EndAck, "\xAA\x82", 2, 2, kAnyLength, kAnyByte, kAnyByte},
};

const Pattern kMeasuredReceive[] = {
    {Frame::StartRequest, "\x05\x4A\x0D", 3, 3, 3, kAnyByte, kAnyByte},
    {Frame::FileHeader, "\x06", 1, 16, 16, 0x0D, kAnyByte},
    {Frame::StationRecord, "\x06", 1, 72, 72, 0x0D, kAnyByte},
    {Frame::BacksightRecord, "\x06", 1, 32, 32, 0x0D, kAnyByte},
    {Frame::MeasuredRecord, "\x06", 1, 121, 121, 0x0D, kAnyByte},
    {Frame::End, "\x05\x51\x0D", 3, 3, 3, kAnyByte, kAnyByte},
    {Frame::EndWithError, "\x05\x45\x0D", 3, 3, 3, kAnyByte, kAnyByte},
};

const Pattern kCoordinateReceive[] = {
    // Bytes behind the request are discarded with it.
    {Frame::StartRequest, "\x01\x4A\x0D", 3, 3, kAnyLength, kAnyByte, kAnyByte},
    {Frame::CoordinateRecord, "\x02", 1, 63, 63, 0x0D, kAnyByte},
    {Frame::End, "\x01\x51\x0D", 3, 3, 3, kAnyByte, kAnyByte},
};

const Pattern kKt20Kt40Send[] = {
    {Frame::RecordRequest, "\x01\x4A\x0D", 3, 3, 3, kAnyByte, kAnyByte},
    {Frame::End, "\x01\x51\x0D", 3, 3, 3, kAnyByte, kAnyByte},
    {Frame::EndWithError, "\x01\x45\x0D", 3, 3, 3, kAnyByte, kAnyByte},
};

// What the instrument receives: the PC's header, records and end, and its answers to the instrument's
// frames. The AA 82 of the PC's end and of its answer to the instrument's end are one frame.
const Pattern kKt40Instrument[] = {
    {Frame::Kt40Header, "\xAA\x80", 2, 6, 6, 0x82, 0xAA},
    {Frame::Kt40Record, "\x90", 1, 68, 68, 0xB0, kAnyByte},
    {Frame::Kt40Ack, "\xAA\x81", 2, 2, 2, kAnyByte, kAnyByte},
    {Frame::Kt40End, "\xAA\x82", 2, 2, 2, kAnyByte, kAnyByte},
};

const Pattern kKt20Kt40Instrument[] = {
    {Frame::StartEcho, "\x01\x4A\x0D", 3, 3, 3, kAnyByte, kAnyByte},
    {Frame::StartEcho, "\x05\x4A\x0D", 3, 3, 3, kAnyByte, kAnyByte},
    {Frame::RecordAck, "\x02", 1, 10, 10, 0x0D, kAnyByte},
    {Frame::RecordAck, "\x06", 1, 10, 10, 0x0D, kAnyByte},
    {Frame::CoordinateRecord, "\x02", 1, 63, 63, 0x0D, kAnyByte},
};

struct Patterns {
    const Pattern* first = nullptr;
    const Pattern* last = nullptr;
    const Pattern* begin() const { return first; }
    const Pattern* end() const { return last; }
    bool empty() const { return first == last; }
};

template <size_t N> Patterns all(const Pattern (&table)[N])
{
    return {table, table + N};
}

Patterns patterns_for(const Context& context)
{
    if (context.instrument) {
        if (context.set == FrameSet::Kt40)
            return all(kKt40Instrument);
        if (context.set == FrameSet::Kt20Kt40)
            return all(kKt20Kt40Instrument);
        return {};
    }
    if (context.set == FrameSet::Kt40) {
        if (context.direction == PcReceives)
            return all(kKt40Receive);
        if (context.direction == PcSends)
            return all(kKt40Send);
    } else if (context.set == FrameSet::Kt20Kt40) {
        if (context.direction == PcSends)
            return all(kKt20Kt40Send);
        if (context.direction == PcReceives && context.mode == Coordinates)
            return all(kCoordinateReceive);
        if (context.direction == PcReceives && context.mode == MeasuredData)
            return all(kMeasuredReceive);
    }
    return {};
}

bool matches(const Pattern& p, const char* data, int size)
{
    if (size < p.min_length || size > p.max_length)
        return false;
    if (std::memcmp(data, p.lead, size_t(p.lead_length)) != 0)
        return false;
    if (p.last != kAnyByte && uchar(data[size - 1]) != p.last)
        return false;
    return p.second_last == kAnyByte || uchar(data[size - 2]) == p.second_last;
}

// Whether `size` bytes at `data` are a frame of the pattern or can still grow into one.
bool may_become(const Pattern& p, const char* data, int size)
{
    if (size > kMaxFrameLength)
        return false;
    if (std::memcmp(data, p.lead, size_t(std::min(size, p.lead_length))) != 0)
        return false;
    return size < (p.wait_limit > 0 ? p.wait_limit : p.max_length) || matches(p, data, size);
}

const struct {
    Frame frame;
    int kind;
} kKinds[] = {
    {Frame::StartRequest, Kt20Kt40Kind::StartRequest},
    {Frame::CoordinateRecord, Kt20Kt40Kind::CoordinateRecord},
    {Frame::End, Kt20Kt40Kind::End},
    {Frame::EndWithError, Kt20Kt40Kind::EndWithError},
    {Frame::FileHeader, Kt20Kt40Kind::FileHeader},
    {Frame::StationRecord, Kt20Kt40Kind::StationRecord},
    {Frame::BacksightRecord, Kt20Kt40Kind::BacksightRecord},
    {Frame::MeasuredRecord, Kt20Kt40Kind::MeasuredRecord},
};

} // namespace

int kt20kt40_kind(Frame frame)
{
    for (const auto& k : kKinds) {
        if (k.frame == frame)
            return k.kind;
    }
    return Kt20Kt40Kind::None;
}

Frame kt20kt40_frame(int kind)
{
    for (const auto& k : kKinds) {
        if (k.kind == kind)
            return k.frame;
    }
    return Frame::None;
}

FrameSet frame_set_of(const QString& instrument_type)
{
    if (instrument_type == "KT40" || instrument_type == "KT20")
        return FrameSet::Kt40;
    if (instrument_type == "KT20_KT40" || instrument_type == "KT85R")
        return FrameSet::Kt20Kt40;
    return FrameSet::None;
}

Frame recognise(const QByteArray& buffer, const Context& context)
{
    for (const Pattern& p : patterns_for(context)) {
        if (matches(p, buffer.constData(), buffer.size()))
            return p.frame;
    }
    return Frame::None;
}

bool cut_noise(QByteArray& buffer, const Context& context)
{
    const Patterns patterns = patterns_for(context);
    if (patterns.empty())
        return false;
    const int size = buffer.size();
    const auto may_start_frame = [&](int from) {
        return std::any_of(patterns.begin(), patterns.end(),
                           [&](const Pattern& p) { return may_become(p, buffer.constData() + from, size - from); });
    };
    int from = std::max(0, size - kMaxFrameLength);
    while (from < size && !may_start_frame(from))
        ++from;
    if (from == 0)
        return false;
    buffer.remove(0, from);
    return true;
}

} // namespace kt2040
