// The column orders of the coordinate file formats and the per-line conversions built on them.
#include "pointformats.h"

#include "linefields.h"

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
        if (suffix == QLatin1String(raw)) {
            format.kind_ = Raw;
            return format;
        }
    }
    for (const ColumnLayout& layout : kLayouts) {
        if (suffix == QLatin1String(layout.suffix)) {
            format.kind_ = Columns;
            format.columns_ = layout.columns;
            format.column_count_ = layout.count;
            return format;
        }
    }
    if (suffix == QLatin1String("dxf"))
        format.kind_ = Drawing;
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
    int column_of[kPointFields] = {};
    for (int column = 0; column < column_count_; ++column) {
        if (columns_[column] != kSequence)
            column_of[columns_[column]] = column;
    }
    point_line->clear();
    point_line->reserve(file_line.size());
    for (int field = 0; field < kPointFields; ++field) {
        if (field > 0)
            point_line->append(QLatin1Char(','));
        point_line->append(fields.field(column_of[field]));
    }
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
    file_line->clear();
    file_line->reserve(point_line.size() + 12);
    for (int column = 0; column < column_count_; ++column) {
        if (column > 0)
            file_line->append(QLatin1Char(','));
        if (columns_[column] == kSequence)
            file_line->append(QString::number(sequence));
        else
            file_line->append(fields.field(columns_[column]));
    }
    return true;
}
