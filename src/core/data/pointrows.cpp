// Row shapes of the point table and the conversions between rows and lines.
#include "data/pointrows.h"

#include "data/fieldtext.h"
#include "data/linefields.h"

namespace
{

constexpr int kObservationColumns[] = {0, 2, 9, 10, 13, 12, 4, 3, 5, 6};
constexpr unsigned kObservationAngles = (1u << 2) | (1u << 3);
constexpr int kObservationPointColumns[] = {2, 6, 3, 4, 5};
constexpr int kCoordinatePointColumns[] = {0, 1, 2, 3, 4};

constexpr RowShape kObservationLine{kObservationColumns, 10, kObservationAngles, 15};
constexpr RowShape kObservationPoint{kObservationPointColumns, 5, 0, 15};
constexpr RowShape kCoordinatePoint{kCoordinatePointColumns, 5, 0, 5};

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
