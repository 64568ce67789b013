// Frame recognition, noise cutting, record layouts and frame building of both KT20/KT40 frame sets.
#include "comm/kt2040_frames.h"

#include "data/fieldtext.h"

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

// ---- Record layouts, shared by decoding and building ----

enum class Field { Sequence, Total, Name, Value, Angle };

struct FieldPlace {
    int pos;
    int width;
    Field field;
    int column; // table column, -1 for the record number and total
};

const FieldPlace kKt40Fields[] = {
    {3, 6, Field::Sequence, -1}, {10, 7, Field::Name, 0},   {17, 14, Field::Value, 2},
    {31, 14, Field::Value, 3},   {45, 14, Field::Value, 4}, {60, 7, Field::Name, 1},
};

const FieldPlace kCoordinateFields[] = {
    {1, 4, Field::Sequence, -1}, {5, 4, Field::Total, -1},  {9, 7, Field::Name, 2},    {16, 7, Field::Name, 6},
    {23, 13, Field::Value, 3},   {36, 13, Field::Value, 4}, {49, 13, Field::Value, 5},
};

const FieldPlace kStationFields[] = {
    {1, 4, Field::Sequence, -1}, {5, 4, Field::Total, -1},  {10, 7, Field::Name, 2},   {17, 7, Field::Name, 6},
    {24, 8, Field::Value, 7},    {32, 13, Field::Value, 3}, {45, 13, Field::Value, 4}, {58, 13, Field::Value, 5},
};

const FieldPlace kBacksightFields[] = {
    {1, 4, Field::Sequence, -1}, {5, 4, Field::Total, -1}, {10, 7, Field::Name, 2},
    {17, 7, Field::Name, 6},     {24, 7, Field::Angle, 8},
};

const FieldPlace kMeasuredFields[] = {
    {1, 4, Field::Sequence, -1}, {5, 4, Field::Total, -1},   {10, 7, Field::Name, 2},   {17, 7, Field::Name, 6},
    {24, 7, Field::Angle, 9},    {31, 7, Field::Angle, 10},  {38, 9, Field::Value, 11}, {47, 9, Field::Value, 12},
    {56, 9, Field::Value, 13},   {65, 8, Field::Value, 7},   {73, 8, Field::Value, 14}, {81, 13, Field::Value, 3},
    {94, 13, Field::Value, 4},   {107, 13, Field::Value, 5},
};

constexpr int kObservationColumns = 15;

struct Layout {
    Frame frame;
    FrameSet set;
    int length;
    const FieldPlace* fields;
    int field_count;
    int columns;
    const char* label_key;
    bool job_column;
    bool fills_table;
};

template <size_t N>
constexpr Layout layout(Frame frame, FrameSet set, int length, const FieldPlace (&fields)[N], int columns,
                        const char* label_key, bool job_column, bool fills_table)
{
    return {frame, set, length, fields, int(N), columns, label_key, job_column, fills_table};
}

const Layout kLayouts[] = {
    layout(Frame::Kt40Record, FrameSet::Kt40, 68, kKt40Fields, 5, "", false, false),
    layout(Frame::CoordinateRecord, FrameSet::Kt20Kt40, 63, kCoordinateFields, kObservationColumns, "", false, true),
    layout(Frame::StationRecord, FrameSet::Kt20Kt40, 72, kStationFields, kObservationColumns, "STN", true, true),
    layout(Frame::BacksightRecord, FrameSet::Kt20Kt40, 32, kBacksightFields, kObservationColumns, "BK", true, true),
    layout(Frame::MeasuredRecord, FrameSet::Kt20Kt40, 121, kMeasuredFields, kObservationColumns, "MP", true, false),
};

const Layout* layout_of(Frame frame)
{
    for (const Layout& l : kLayouts) {
        if (l.frame == frame)
            return &l;
    }
    return nullptr;
}

// A received field as its table text.
QString decode_field(FrameSet set, const FieldPlace& place, const QByteArray& frame)
{
    QString text = field_text(frame, place.pos, place.width);
    if (set == FrameSet::Kt40) {
        // Spaces and NULs go wherever they stand; coordinates also lose their unit letter.
        text.remove(QChar(' '));
        if (place.field == Field::Value)
            text.remove(QChar('m'));
        return text;
    }
    if (place.field == Field::Value)
        return fixed_decimals(text, 4).trimmed();
    if (place.field == Field::Angle)
        return angle_text(text, 0).trimmed();
    return text.trimmed();
}

// A table text as its field of `place.width` characters; longer texts keep their first characters.
QString encode_field(FrameSet set, const FieldPlace& place, const QString& text)
{
    switch (place.field) {
    case Field::Sequence:
    case Field::Total:
        return text.rightJustified(place.width, QChar('0'), true);
    case Field::Value:
        if (set == FrameSet::Kt40)
            return text.rightJustified(place.width, QChar(' '), true);
        return fixed_decimals(text, 3).rightJustified(place.width, QChar('0'), true);
    case Field::Angle:
        // DDDMMSS; fewer digits stand right-aligned, where the decoder marks them as received.
        return angle_text(text, 1).rightJustified(place.width, QChar(' '), true);
    case Field::Name:
        break;
    }
    return text.leftJustified(place.width, QChar(' '), true);
}

// The frame text of a record, spaces where no field stands.
QString encode_record(const Layout& l, int sequence, int total, const QStringList& cells)
{
    QString body(l.length, QChar(' '));
    for (int i = 0; i < l.field_count; ++i) {
        const FieldPlace& place = l.fields[i];
        QString value;
        if (place.field == Field::Sequence)
            value = QString::number(sequence);
        else if (place.field == Field::Total)
            value = QString::number(total);
        else
            value = cells.value(place.column);
        body.replace(place.pos, place.width, encode_field(l.set, place, value));
    }
    return body;
}

const struct {
    Frame frame;
    int kind;
} kKinds[] = {
    {Frame::StartRequest, 0},     {Frame::CoordinateRecord, 1}, {Frame::End, 2},
    {Frame::EndWithError, 3},     {Frame::FileHeader, 10},      {Frame::StationRecord, 11},
    {Frame::BacksightRecord, 12}, {Frame::MeasuredRecord, 13},
};

} // namespace

int kt20kt40_kind(Frame frame)
{
    for (const auto& k : kKinds) {
        if (k.frame == frame)
            return k.kind;
    }
    return -1;
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

Record decode_record(const QByteArray& frame, Frame kind)
{
    Record record;
    const Layout* l = layout_of(kind);
    if (!l)
        return record;
    record.label_key = QString::fromLatin1(l->label_key);
    record.job_column = l->job_column;
    record.fills_table = l->fills_table;
    for (int c = 0; c < l->columns; ++c)
        record.cells << QString();
    for (int i = 0; i < l->field_count; ++i) {
        const FieldPlace& place = l->fields[i];
        const QString text = decode_field(l->set, place, frame);
        if (place.field == Field::Sequence)
            record.number = text.toInt();
        else if (place.field == Field::Total)
            record.total = text.toInt();
        else
            record.cells[place.column] = text;
    }
    return record;
}

QString job_name(const QByteArray& file_header)
{
    return field_text(file_header, 10, 5);
}

int header_count(const QByteArray& header)
{
    const int n = header.size();
    if (n < 4)
        return 0;
    return uchar(header[n - 4]) * 256 + uchar(header[n - 3]);
}

QString header_name(const QByteArray& header)
{
    int end = header.size() - 4;
    const int space = header.indexOf(' ', 2);
    if (space >= 0 && space < end)
        end = space;
    return end > 2 ? QString::fromLatin1(header.constData() + 2, end - 2) : QString();
}

QByteArray kt40_ack()
{
    return QByteArray("\xAA\x81", 2);
}

QByteArray kt40_end()
{
    return QByteArray("\xAA\x82", 2);
}

QByteArray kt40_header(int count)
{
    QByteArray header("\xAA\x80\0\0\xAA\x82", 6);
    header[2] = char((count / 256) & 0xFF);
    header[3] = char(count % 256);
    return header;
}

QByteArray kt40_record(int row, const QStringList& cells)
{
    QString body = encode_record(*layout_of(Frame::Kt40Record), row + 1, 0, cells);
    body[0] = QChar(0x90);
    body[body.size() - 1] = QChar(0xB0);
    return latin1_bytes(body);
}

QString kt20kt40_record_text(int index, int count, const QStringList& cells)
{
    const Layout& l = *layout_of(Frame::CoordinateRecord);
    return encode_record(l, index + 1, count, cells).mid(1, l.length - 2);
}

QByteArray kt20kt40_record(const QString& text)
{
    return '\x02' + latin1_bytes(text.leftJustified(61, QChar(' '), true)) + '\r';
}

QByteArray record_ack(const QByteArray& frame)
{
    return frame.left(9) + '\r';
}

namespace
{

// The layout of the records the PC sends in a frame set.
const Layout* sent_layout(FrameSet set)
{
    if (set == FrameSet::Kt40)
        return layout_of(Frame::Kt40Record);
    if (set == FrameSet::Kt20Kt40)
        return layout_of(Frame::CoordinateRecord);
    return nullptr;
}

} // namespace

QList<SentColumn> sent_columns(FrameSet set)
{
    QList<SentColumn> columns;
    const Layout* l = sent_layout(set);
    if (!l)
        return columns;
    // The first text field is the point name, the second the code; the values are N, E and Z in turn.
    const SentField texts[] = {SentField::Name, SentField::Code};
    const SentField values[] = {SentField::N, SentField::E, SentField::Z};
    int text = 0;
    int value = 0;
    for (int i = 0; i < l->field_count; ++i) {
        const FieldPlace& place = l->fields[i];
        if (place.field == Field::Name && text < 2)
            columns.append({texts[text++], place.column});
        else if (place.field == Field::Value && value < 3)
            columns.append({values[value++], place.column});
    }
    return columns;
}

int max_records(FrameSet set)
{
    const Layout* l = sent_layout(set);
    if (!l)
        return 0;
    // A KT40 send announces its count in two bytes of its header.
    int most = set == FrameSet::Kt40 ? 0xFFFF : INT_MAX;
    for (int i = 0; i < l->field_count; ++i) {
        const FieldPlace& place = l->fields[i];
        if (place.field != Field::Sequence && place.field != Field::Total)
            continue;
        int digits = 1;
        for (int w = 0; w < place.width && digits <= INT_MAX / 10; ++w)
            digits *= 10;
        most = std::min(most, digits - 1);
    }
    return most;
}

QByteArray sent_record(FrameSet set, int index, int count, const QStringList& cells)
{
    if (set == FrameSet::Kt40)
        return kt40_record(index, cells);
    if (set == FrameSet::Kt20Kt40)
        return kt20kt40_record(kt20kt40_record_text(index, count, cells));
    return QByteArray();
}

Record received_record(FrameSet set, const QByteArray& frame)
{
    const Layout* l = sent_layout(set);
    return l ? decode_record(frame, l->frame) : Record();
}

QByteArray kt40_header(int count, const QString& name)
{
    const QByteArray header = kt40_header(count);
    return header.left(2) + latin1_bytes(name.section(' ', 0, 0)) + ' ' + header.mid(2);
}

QByteArray kt20kt40_start(DataKind mode)
{
    return mode == 1 ? QByteArray("\x05\x4A\x0D") : QByteArray("\x01\x4A\x0D");
}

QByteArray kt20kt40_end(DataKind mode, bool error)
{
    QByteArray end = kt20kt40_start(mode);
    end[1] = error ? 'E' : 'Q';
    return end;
}

QByteArray file_header(int number, int total, const QString& job)
{
    const QString counts = QString::number(number).rightJustified(4, QChar('0'), true) +
                           QString::number(total).rightJustified(4, QChar('0'), true);
    return '\x06' + latin1_bytes(counts + ' ' + job.leftJustified(5, QChar(' '), true)) + '\r';
}

QByteArray record_frame(Frame kind, int number, int total, const QStringList& cells)
{
    const Layout* l = layout_of(kind);
    if (!l)
        return QByteArray();
    if (kind == Frame::Kt40Record)
        return kt40_record(number - 1, cells);
    QString body = encode_record(*l, number, total, cells);
    body[0] = QChar(kind == Frame::CoordinateRecord ? 0x02 : 0x06);
    body[body.size() - 1] = QChar('\r');
    return latin1_bytes(body);
}

} // namespace kt2040
