// The coordinate file formats' table and the per-line conversions built on their column orders.
#include "data/pointformats.h"

#include "data/decimalmark.h"
#include "data/layerformats.h"
#include "data/linefields.h"
#include "data/textwriters.h"

#include <iterator>

namespace
{

constexpr int kPointFields = 5; // name, code, N, E, Z
constexpr signed char kSequence = -1;
constexpr signed char kName = signed(PointRole::Name), kCode = signed(PointRole::Code),
                      kNorth = signed(PointRole::North), kEast = signed(PointRole::East),
                      kHeight = signed(PointRole::Height);

// A text format: its suffix, its kind, the class that writes it, and for a column format what each
// file column holds (a point field, or the sequence number). A new text format is a row here and,
// when it is not a reordering of the point line's fields, a writer class (data/textwriters.h).
struct FormatRow {
    const char* suffix;
    PointFormat::Kind kind;
    PointFormat::Writer writer;
    int count;
    signed char columns[6];
};

constexpr FormatRow kFormats[] = {
    {"ndad", PointFormat::Raw, make_line_writer, 0, {}},
    {"txt", PointFormat::Raw, make_line_writer, 0, {}},
    {"csv", PointFormat::Raw, make_line_writer, 0, {}},
    {"edad", PointFormat::Columns, make_line_writer, 5, {kName, kCode, kEast, kNorth, kHeight}},
    {"ndat", PointFormat::Columns, make_line_writer, 5, {kName, kCode, kEast, kNorth, kHeight}},
    {"gdat", PointFormat::Columns, make_line_writer, 6, {kSequence, kName, kNorth, kEast, kHeight, kCode}},
    {"svf", PointFormat::Columns, make_line_writer, 6, {kSequence, kName, kCode, kNorth, kEast, kHeight}},
    {"pts", PointFormat::Columns, make_line_writer, 5, {kName, kEast, kNorth, kHeight, kCode}},
    {"dxf", PointFormat::Drawing, make_drawing_writer, 0, {}},
    {PointFormat::kSpreadsheetCsv,
     PointFormat::Spreadsheet,
     make_spreadsheet_writer,
     5,
     {kName, kCode, kNorth, kEast, kHeight}},
};

// A field of a line delimited by ";": quoted when it holds the delimiter or a quote, or starts or ends
// with a space (which a reader would take away), "" for a quote.
void append_spreadsheet_field(QString* line, QStringView field)
{
    const bool quoted = field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('"')) ||
                        (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!quoted) {
        line->append(field);
        return;
    }
    line->append(QLatin1Char('"'));
    for (const QChar c : field) {
        if (c == QLatin1Char('"'))
            line->append(QLatin1Char('"'));
        line->append(c);
    }
    line->append(QLatin1Char('"'));
}

} // namespace

PointFormat PointFormat::for_suffix(const QString& suffix)
{
    PointFormat format;
    for (const FormatRow& row : kFormats) {
        if (suffix.compare(QLatin1String(row.suffix), Qt::CaseInsensitive) == 0) {
            format.kind_ = row.kind;
            format.writer_ = row.writer;
            format.columns_ = row.columns;
            format.column_count_ = row.count;
            return format;
        }
    }
    if (const LayerFormats* layers = layer_formats()) {
        const QString lower = suffix.toLower();
        if (layers->can_read(lower) || layers->can_write(lower))
            format.kind_ = Layer;
    }
    return format;
}

std::unique_ptr<FormatWriter> PointFormat::writer(const QString& path, OutputEncoding encoding) const
{
    return writer_ ? writer_(path, *this, encoding) : nullptr;
}

std::unique_ptr<FormatWriter> format_writer(const QString& path, const QString& suffix, OutputEncoding encoding,
                                            const PointFields& fields)
{
    const PointFormat format = PointFormat::for_suffix(suffix);
    if (format.kind() != PointFormat::Layer) {
        std::unique_ptr<FormatWriter> writer = format.writer(path, encoding);
        return writer && layer_formats() ? layer_formats()->checked(std::move(writer), fields) : std::move(writer);
    }
    const QString lower = suffix.toLower();
    return layer_formats()->can_write(lower) ? layer_formats()->writer(path, lower, fields) : nullptr;
}

QString PointFormat::unknown_reason(const QString& suffix)
{
    return QStringLiteral("no file format has the suffix \"%1\"").arg(suffix);
}

bool PointFormat::point_line(const QString& file_line, QString* point_line) const
{
    if (kind_ == Raw) {
        *point_line = file_line;
        return true;
    }
    if (kind_ != Columns)
        return false;
    const LineFields fields(file_line, column_count_);
    if (!fields.has(column_count_))
        return false;
    signed char column_of[kPointFields] = {};
    for (int column = 0; column < column_count_; ++column) {
        if (columns_[column] != kSequence)
            column_of[columns_[column]] = static_cast<signed char>(column);
    }
    fields.join(column_of, kPointFields, nullptr, 0, point_line);
    return true;
}

bool PointFormat::file_line(const QString& point_line, int sequence, QString* file_line) const
{
    if (kind_ == Raw) {
        *file_line = point_line;
        return true;
    }
    if (kind_ != Columns && kind_ != Spreadsheet)
        return false;
    const LineFields fields(point_line, kPointFields);
    if (!fields.has(kPointFields))
        return false;
    if (kind_ == Spreadsheet) {
        file_line->clear();
        for (int column = 0; column < column_count_; ++column) {
            const QString text = fields.field(columns_[column]).toString();
            if (column > 0)
                file_line->append(QLatin1Char(';'));
            const bool number = columns_[column] >= kNorth;
            append_spreadsheet_field(file_line, number ? with_decimal_comma(text) : text);
        }
        return true;
    }
    // The sequence number in decimal, written from the last digit.
    QChar digits[12];
    QChar* first = std::end(digits);
    unsigned value = sequence < 0 ? 0u - unsigned(sequence) : unsigned(sequence);
    do {
        *--first = QLatin1Char(char('0' + value % 10));
        value /= 10;
    } while (value != 0);
    if (sequence < 0)
        *--first = QLatin1Char('-');
    fields.join(columns_, column_count_, first, int(std::end(digits) - first), file_line);
    return true;
}
