// The column orders of the coordinate file formats and the per-line conversions built on them.
#include "data/pointformats.h"

#include "data/layerformats.h"
#include "data/linefields.h"

#include <iterator>

namespace
{

constexpr int kPointFields = 5; // name, code, N, E, Z
constexpr signed char kSequence = -1;

struct ColumnLayout {
    const char* suffix;
    int count;
    signed char columns[6]; // what each file column holds: a point field, or the sequence number
};

// Point fields: 0 name, 1 code, 2 N, 3 E, 4 Z.
constexpr ColumnLayout kLayouts[] = {
    {"edad", 5, {0, 1, 3, 2, 4}},            // name, code, E, N, Z
    {"ndat", 5, {0, 1, 3, 2, 4}},            // name, code, E, N, Z
    {"gdat", 6, {kSequence, 0, 2, 3, 4, 1}}, // number, name, N, E, Z, code
    {"svf", 6, {kSequence, 0, 1, 2, 3, 4}},  // number, name, code, N, E, Z
    {"pts", 5, {0, 3, 2, 4, 1}},             // name, E, N, Z, code
};

constexpr const char* kRawSuffixes[] = {"ndad", "txt", "csv"};

} // namespace

PointFormat PointFormat::for_suffix(const QString& suffix)
{
    PointFormat format;
    for (const char* raw : kRawSuffixes) {
        if (suffix.compare(QLatin1String(raw), Qt::CaseInsensitive) == 0) {
            format.kind_ = Raw;
            return format;
        }
    }
    for (const ColumnLayout& layout : kLayouts) {
        if (suffix.compare(QLatin1String(layout.suffix), Qt::CaseInsensitive) == 0) {
            format.kind_ = Columns;
            format.columns_ = layout.columns;
            format.column_count_ = layout.count;
            return format;
        }
    }
    if (suffix.compare(QLatin1String("dxf"), Qt::CaseInsensitive) == 0) {
        format.kind_ = Drawing;
    } else if (const LayerFormats* layers = layer_formats()) {
        const QString lower = suffix.toLower();
        if (layers->can_read(lower) || layers->can_write(lower))
            format.kind_ = Layer;
    }
    return format;
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
    if (kind_ != Columns)
        return false;
    const LineFields fields(point_line, kPointFields);
    if (!fields.has(kPointFields))
        return false;
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
