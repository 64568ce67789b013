// Row shapes of the point table and the conversions between rows and lines.
#include "data/pointrows.h"

#include "data/fieldtext.h"
#include "data/linefields.h"
#include "data/tablecolumns.h"

namespace
{

// Bit i set where field i of a line sits in an angle column (stored without its marks).
template <size_t N> constexpr unsigned angle_fields(const std::array<int, N>& columns)
{
    unsigned bits = 0;
    for (size_t field = 0; field < N; ++field) {
        if (is_angle_column(columns[field]))
            bits |= 1u << field;
    }
    return bits;
}

constexpr RowShape kObservationLine{kObservationLineColumns.data(), int(kObservationLineColumns.size()),
                                    angle_fields(kObservationLineColumns), ObsColumn::Count};
constexpr RowShape kObservationPoint{kObservationPointColumns.data(), int(kObservationPointColumns.size()), 0,
                                     ObsColumn::Count};
constexpr RowShape kCoordinatePoint{kCoordinatePointColumns.data(), int(kCoordinatePointColumns.size()), 0,
                                    PointColumn::Count};

bool is_angle(const RowShape& shape, int field)
{
    return (shape.angle_fields >> field) & 1u;
}

} // namespace

TableLayout table_layout(const QString& instrument_type)
{
    return instrument_type == QLatin1String("KT20_KT40") || instrument_type == QLatin1String("KT85R")
               ? TableLayout::Observation
               : TableLayout::Coordinate;
}

const RowShape& observation_line_shape()
{
    return kObservationLine;
}

const RowShape& point_line_shape(TableLayout layout)
{
    return layout == TableLayout::Observation ? kObservationPoint : kCoordinatePoint;
}

bool cells_from_line(const RowShape& shape, const QString& line, QVector<CellText>* cells)
{
    const LineFields fields(line, shape.fields);
    if (!fields.has(shape.fields))
        return false;
    cells->fill(CellText(), shape.column_count);
    for (int field = 0; field < shape.fields; ++field) {
        CellText& cell = (*cells)[shape.columns[field]];
        const QStringView text = fields.field(field);
        if (is_angle(shape, field)) {
            cell.text = angle_text(text.toString(), 0);
        } else {
            cell.text = line;
            cell.position = fields.position(field);
            cell.length = int(text.length());
        }
    }
    return true;
}

QString line_from_cells(const RowShape& shape, const std::function<QString(int)>& cell)
{
    QString line;
    for (int field = 0; field < shape.fields; ++field) {
        if (field > 0)
            line.append(QLatin1Char(','));
        const QString text = cell(shape.columns[field]);
        line.append(is_angle(shape, field) ? angle_text(text, 1) : text);
    }
    return line;
}
