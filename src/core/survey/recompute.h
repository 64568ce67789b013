// Measured points recomputed from their observations, with heights, a station's position or its
// orientation replaced: the new N E Z of each point as texts for the table, beside the old ones. Every
// other cell stays as the instrument sent it, except the height that was replaced.
#ifndef RECOMPUTE_H
#define RECOMPUTE_H

#include "survey/reduction.h"

namespace survey
{

// What replaces the recorded values for the points recomputed; what is not given stays as recorded.
// The station's N E Z and orientation replace those of the setup of every point recomputed (a new
// position re-orients a station on its known backsight point, unless the orientation is given too).
struct RecomputeChanges {
    HeightChanges heights;
    std::optional<double> station_n;
    std::optional<double> station_e;
    std::optional<double> station_z;
    std::optional<qint64> orientation; // whole seconds added to the horizontal angles
};

struct RecomputedPoint {
    int row = -1;
    QString name;
    QString old_n, old_e, old_z;
    QString new_n, new_e, new_z; // as old where not computed
    QStringList cells;           // the row as it is to become
    Reason problem;              // set: not recomputed, the row stays as it was
    Reason height_problem;       // set: N and E recomputed, Z kept as it was
    bool changed() const { return new_n != old_n || new_e != old_e || new_z != old_z; }
};

struct RecomputeResult {
    QVector<RecomputedPoint> points; // every chosen measured point, in table order
    int recomputed = 0;              // points with new N and E
    int not_computed = 0;            // points that could not be computed
};

// The point of row `row` (`cells`) recomputed from `setup` with `changes`. The new coordinates are
// written with as many decimals as the instrument's N (3 when it holds none), a replaced height as the
// cell it replaces.
RecomputedPoint recompute_point(const Setup* setup, int row, const QStringList& cells, const ReductionOptions& options,
                                const RecomputeChanges& changes);

// The measured points among `chosen` rows (every measured point when `chosen` is empty) of a whole
// table recomputed; rows of other kinds among them are passed over.
RecomputeResult recompute_rows(const QVector<QStringList>& rows, const QVector<int>& chosen, const KindLabels& labels,
                               const ReductionOptions& options, const RecomputeChanges& changes,
                               const KnownPoints& given = KnownPoints());

} // namespace survey

#endif // RECOMPUTE_H
