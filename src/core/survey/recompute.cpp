// Measured points recomputed with replaced heights, station or orientation.
#include "survey/recompute.h"

#include "data/planpoints.h"
#include "data/tablecolumns.h"

#include <cmath>

namespace survey
{

namespace
{

// The decimals of a number text (3 when it is no number or has no decimal point).
int decimals_of(const QString& text)
{
    const QString t = text.trimmed();
    double value = 0;
    const int dot = t.indexOf(QChar('.'));
    if (dot < 0 || !plan_coordinate(t, &value))
        return 3;
    int decimals = 0;
    while (dot + 1 + decimals < t.size() && t[dot + 1 + decimals].isDigit())
        ++decimals;
    return decimals;
}

// `value` with the decimals of `like`; never "-0.000".
QString formatted_like(double value, const QString& like)
{
    const int decimals = decimals_of(like);
    return QString::number(std::fabs(value) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : value, 'f', decimals);
}

Setup changed_setup(const Setup& setup, const RecomputeChanges& changes)
{
    Setup s = setup;
    const bool moved = changes.station_n || changes.station_e;
    if (moved) {
        s.n = changes.station_n.value_or(s.n);
        s.e = changes.station_e.value_or(s.e);
        s.has_position = (changes.station_n || setup.has_position) && (changes.station_e || setup.has_position);
    }
    if (changes.station_z) {
        s.z = *changes.station_z;
        s.has_height = true;
    }
    if (changes.orientation) {
        s.source = OrientationSource::Given;
        s.orientation = normalized_radians(seconds_to_radians(*changes.orientation));
        s.problem = Reason();
    } else if (moved) {
        s.orient();
    }
    return s;
}

void replace_height(const std::optional<double>& height, int column, QStringList* cells)
{
    if (height)
        (*cells)[column] = formatted_like(*height, cells->at(column));
}

} // namespace

RecomputedPoint recompute_point(const Setup* setup, int row, const QStringList& cells, const ReductionOptions& options,
                                const RecomputeChanges& changes)
{
    RecomputedPoint p;
    p.row = row;
    p.name = cells.value(ObsColumn::Name).trimmed();
    p.cells = cells;
    while (p.cells.size() < ObsColumn::Count)
        p.cells << QString();
    p.old_n = p.new_n = p.cells[ObsColumn::North];
    p.old_e = p.new_e = p.cells[ObsColumn::East];
    p.old_z = p.new_z = p.cells[ObsColumn::Height];

    Setup changed;
    if (setup)
        changed = changed_setup(*setup, changes);
    const Reduction r = reduce_point(setup ? &changed : nullptr, cells, options, changes.heights);
    if (!r.ok()) {
        p.problem = r.problem;
        p.cells = cells;
        return p;
    }
    p.new_n = formatted_like(r.n, p.old_n);
    p.new_e = formatted_like(r.e, p.old_n);
    if (r.has_height())
        p.new_z = formatted_like(r.z, p.old_n);
    else
        p.height_problem = r.height_problem;
    p.cells[ObsColumn::North] = p.new_n;
    p.cells[ObsColumn::East] = p.new_e;
    p.cells[ObsColumn::Height] = p.new_z;
    replace_height(changes.heights.reflector, ObsColumn::ReflectorHeight, &p.cells);
    replace_height(changes.heights.instrument, ObsColumn::InstrumentHeight, &p.cells);
    return p;
}

RecomputeResult recompute_rows(const QVector<QStringList>& rows, const QVector<int>& chosen, const KindLabels& labels,
                               const ReductionOptions& options, const RecomputeChanges& changes,
                               const KnownPoints& given)
{
    QVector<bool> wanted(rows.size(), chosen.isEmpty());
    for (int row : chosen) {
        if (row >= 0 && row < rows.size())
            wanted[row] = true;
    }
    const KnownPoints known = known_points_of(rows, labels, given);
    SetupWalk walk(labels, known);
    RecomputeResult result;
    for (int row = 0; row < rows.size(); ++row) {
        if (walk.feed(row, rows[row]) != RowKind::Measured || !wanted[row])
            continue;
        result.points.append(recompute_point(walk.current(), row, rows[row], options, changes));
        ++(result.points.last().problem.none() ? result.recomputed : result.not_computed);
    }
    return result;
}

} // namespace survey
