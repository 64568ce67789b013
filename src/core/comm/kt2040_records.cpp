// The record layouts of both KT20/KT40 frame sets, each field's place, width and table column, and
// what is made of them: decoding records into row texts and building every frame the PC and the
// instrument send.
#include "comm/kt2040_frames.h"

#include "data/fieldtext.h"
#include "data/tablecolumns.h"

#include <algorithm>
#include <climits>

namespace kt2040
{

namespace
{

enum class Field { Sequence, Total, Name, Value, Angle };

constexpr int kNoColumn = -1;

struct FieldPlace {
    int pos;
    int width;
    Field field;
    int column; // table column, kNoColumn for the record number and total
};

// The KT40 record fills the coordinate layout.
const FieldPlace kKt40Fields[] = {
    {3, 6, Field::Sequence, kNoColumn},          {10, 7, Field::Name, PointColumn::Name},
    {17, 14, Field::Value, PointColumn::North},  {31, 14, Field::Value, PointColumn::East},
    {45, 14, Field::Value, PointColumn::Height}, {60, 7, Field::Name, PointColumn::Code},
};

// The KT20_KT40 records fill the observation layout.
const FieldPlace kCoordinateFields[] = {
    {1, 4, Field::Sequence, kNoColumn},        {5, 4, Field::Total, kNoColumn},
    {9, 7, Field::Name, ObsColumn::Name},      {16, 7, Field::Name, ObsColumn::Code},
    {23, 13, Field::Value, ObsColumn::North},  {36, 13, Field::Value, ObsColumn::East},
    {49, 13, Field::Value, ObsColumn::Height},
};

const FieldPlace kStationFields[] = {
    {1, 4, Field::Sequence, kNoColumn},
    {5, 4, Field::Total, kNoColumn},
    {10, 7, Field::Name, ObsColumn::Name},
    {17, 7, Field::Name, ObsColumn::Code},
    {24, 8, Field::Value, ObsColumn::InstrumentHeight},
    {32, 13, Field::Value, ObsColumn::North},
    {45, 13, Field::Value, ObsColumn::East},
    {58, 13, Field::Value, ObsColumn::Height},
};

const FieldPlace kBacksightFields[] = {
    {1, 4, Field::Sequence, kNoColumn},
    {5, 4, Field::Total, kNoColumn},
    {10, 7, Field::Name, ObsColumn::Name},
    {17, 7, Field::Name, ObsColumn::Code},
    {24, 7, Field::Angle, ObsColumn::BacksightAngle},
};

const FieldPlace kMeasuredFields[] = {
    {1, 4, Field::Sequence, kNoColumn},
    {5, 4, Field::Total, kNoColumn},
    {10, 7, Field::Name, ObsColumn::Name},
    {17, 7, Field::Name, ObsColumn::Code},
    {24, 7, Field::Angle, ObsColumn::HorizontalAngle},
    {31, 7, Field::Angle, ObsColumn::VerticalAngle},
    {38, 9, Field::Value, ObsColumn::SlopeDistance},
    {47, 9, Field::Value, ObsColumn::VerticalDistance},
    {56, 9, Field::Value, ObsColumn::HorizontalDistance},
    {65, 8, Field::Value, ObsColumn::InstrumentHeight},
    {73, 8, Field::Value, ObsColumn::ReflectorHeight},
    {81, 13, Field::Value, ObsColumn::North},
    {94, 13, Field::Value, ObsColumn::East},
    {107, 13, Field::Value, ObsColumn::Height},
};

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
    layout(Frame::Kt40Record, FrameSet::Kt40, 68, kKt40Fields, PointColumn::Count, "", false, false),
    layout(Frame::CoordinateRecord, FrameSet::Kt20Kt40, 63, kCoordinateFields, ObsColumn::Count, "", false, true),
    layout(Frame::StationRecord, FrameSet::Kt20Kt40, 72, kStationFields, ObsColumn::Count, "STN", true, true),
    layout(Frame::BacksightRecord, FrameSet::Kt20Kt40, 32, kBacksightFields, ObsColumn::Count, "BK", true, true),
    layout(Frame::MeasuredRecord, FrameSet::Kt20Kt40, 121, kMeasuredFields, ObsColumn::Count, "MP", true, false),
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

} // namespace

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
