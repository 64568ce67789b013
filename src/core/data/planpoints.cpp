// Table rows as plan points: coordinates read as numbers, rows without them counted.
#include "data/planpoints.h"
#include "data/numbertext.h"

#include "data/tablecolumns.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>

PlanColumns coordinate_plan_columns()
{
    return {-1, PointColumn::Name, PointColumn::Code, PointColumn::North, PointColumn::East, PointColumn::Height};
}

PlanColumns observation_plan_columns()
{
    return {ObsColumn::Kind, ObsColumn::Name, ObsColumn::Code, ObsColumn::North, ObsColumn::East, ObsColumn::Height};
}

bool plan_coordinate(const QString& text, double* value)
{
    bool ok = false;
    const double number = text_to_double(text, &ok);
    if (!ok || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

namespace
{

bool is_kind(const QString& kind, const QString& label, const char* code)
{
    return !kind.isEmpty() && (kind == label || kind == QLatin1String(code));
}

} // namespace

bool plan_point_of_row(const PlanColumns& columns, const PlanKindLabels& labels,
                       const std::function<QString(int)>& cell, int row, PlanPoint* point)
{
    double n = 0;
    double e = 0;
    if (!plan_coordinate(cell(columns.n_column), &n) || !plan_coordinate(cell(columns.e_column), &e))
        return false;
    point->position = QPointF(e, n);
    point->row = row;
    point->name = cell(columns.name_column);
    point->code = cell(columns.code_column);
    point->kind = PlanKind::Point;
    if (columns.kind_column >= 0) {
        const QString kind = cell(columns.kind_column);
        if (is_kind(kind, labels.station, "STN"))
            point->kind = PlanKind::Station;
        else if (is_kind(kind, labels.backsight, "BK"))
            point->kind = PlanKind::Backsight;
    }
    return true;
}

bool has_no_place_by_design(const PlanColumns& columns, const PlanKindLabels& labels,
                            const std::function<QString(int)>& cell)
{
    return columns.kind_column >= 0 && is_kind(cell(columns.kind_column), labels.backsight, "BK");
}

bool is_setup_record(const PlanColumns& columns, const PlanKindLabels& labels, const std::function<QString(int)>& cell)
{
    if (columns.kind_column < 0)
        return false;
    const QString kind = cell(columns.kind_column);
    return is_kind(kind, labels.station, "STN") || is_kind(kind, labels.backsight, "BK");
}

void PlanPoints::truncate_from_row(int row)
{
    // Points are kept in row order, so the rows from `row` on are a tail.
    const auto first =
        std::lower_bound(points.begin(), points.end(), row, [](const PlanPoint& p, int r) { return p.row < r; });
    const int kept_points = int(first - points.begin());
    const int kept_uncounted =
        int(std::lower_bound(uncounted_rows.begin(), uncounted_rows.end(), row) - uncounted_rows.begin());
    // The rows before `row` that were left out: those rows less the points and the uncounted rows kept
    // among them.
    rows_left_out = std::max(0, std::min(rows_left_out, row - kept_points - kept_uncounted));
    points.resize(kept_points);
    uncounted_rows.resize(kept_uncounted);
}

QRectF PlanPoints::bounds() const
{
    if (points.isEmpty())
        return QRectF();
    double left = points.first().position.x();
    double right = left;
    double bottom = points.first().position.y();
    double top = bottom;
    for (const PlanPoint& p : points) {
        left = std::min(left, p.position.x());
        right = std::max(right, p.position.x());
        bottom = std::min(bottom, p.position.y());
        top = std::max(top, p.position.y());
    }
    return QRectF(QPointF(left, bottom), QPointF(right, top));
}
