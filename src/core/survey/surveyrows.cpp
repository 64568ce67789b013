// Row kinds, known points and the setups of measured data.
#include "survey/surveyrows.h"

#include "data/planpoints.h"
#include "data/tablecolumns.h"

#include <cmath>

namespace survey
{

namespace
{

bool is_kind(const QString& kind, const QString& label, const char* code)
{
    return !kind.isEmpty() && (kind == label || kind == QLatin1String(code));
}

enum Rank { GivenRank, StationRank, PlainRank, MeasuredRank };

} // namespace

RowKind row_kind(const QStringList& cells, const KindLabels& labels)
{
    const QString kind = cells.value(ObsColumn::Kind).trimmed();
    if (is_kind(kind, labels.station, "STN"))
        return RowKind::Station;
    if (is_kind(kind, labels.backsight, "BK"))
        return RowKind::Backsight;
    if (is_kind(kind, labels.measured, "MP"))
        return RowKind::Measured;
    return RowKind::Plain;
}

bool cell_number(const QStringList& cells, int column, double* value)
{
    return plan_coordinate(cells.value(column), value);
}

void KnownPoints::add(const QString& name, int rank, double n, double e)
{
    if (name.isEmpty())
        return;
    const auto it = points_.constFind(name);
    if (it == points_.constEnd() || it->rank > rank)
        points_.insert(name, Known{rank, n, e});
}

void KnownPoints::add_given(const QString& name, double n, double e)
{
    add(name, GivenRank, n, e);
}

void KnownPoints::add_row(const QStringList& cells, const KindLabels& labels)
{
    const RowKind kind = row_kind(cells, labels);
    double n = 0;
    double e = 0;
    if (kind == RowKind::Backsight || !cell_number(cells, ObsColumn::North, &n) ||
        !cell_number(cells, ObsColumn::East, &e))
        return;
    const int rank = kind == RowKind::Station ? StationRank : kind == RowKind::Plain ? PlainRank : MeasuredRank;
    add(cells.value(ObsColumn::Name).trimmed(), rank, n, e);
}

bool KnownPoints::find(const QString& name, double* n, double* e) const
{
    const auto it = points_.constFind(name);
    if (it == points_.constEnd())
        return false;
    *n = it->n;
    *e = it->e;
    return true;
}

void Setup::orient()
{
    if (source == OrientationSource::Given)
        return;
    source = OrientationSource::Azimuths;
    orientation = 0;
    problem = Reason();
    if (backsight_row < 0 || !backsight_known)
        return;
    if (!has_position) {
        problem.kind = Unreduced::StationWithoutCoordinates;
        return;
    }
    if (!circle.ok()) {
        problem = Reason{Unreduced::BadAngle, circle_column, circle_text, circle.problem};
        return;
    }
    const double dn = backsight_n - n;
    const double de = backsight_e - e;
    if (std::hypot(dn, de) < 1e-6) {
        problem.kind = Unreduced::BacksightAtStation;
        return;
    }
    source = OrientationSource::Backsight;
    backsight_azimuth = normalized_radians(std::atan2(de, dn));
    orientation = normalized_radians(backsight_azimuth - seconds_to_radians(circle.seconds));
}

RowKind SetupWalk::feed(int row, const QStringList& cells)
{
    const RowKind kind = row_kind(cells, labels_);
    if (kind == RowKind::Station)
        open_station(row, cells);
    else if (kind == RowKind::Backsight && !setups_.empty())
        take_backsight(row, cells);
    return kind;
}

void SetupWalk::open_station(int row, const QStringList& cells)
{
    Setup s;
    s.station_row = row;
    s.name = cells.value(ObsColumn::Name).trimmed();
    s.has_position = cell_number(cells, ObsColumn::North, &s.n) && cell_number(cells, ObsColumn::East, &s.e);
    s.has_height = cell_number(cells, ObsColumn::Height, &s.z);
    s.has_instrument_height = cell_number(cells, ObsColumn::InstrumentHeight, &s.instrument_height);
    setups_.push_back(s);
}

void SetupWalk::take_backsight(int row, const QStringList& cells)
{
    Setup s = setups_.back();
    // A second backsight record re-orients the station: the points before it keep their setup.
    const bool again = s.backsight_row >= 0;
    s.backsight_row = row;
    s.backsight_name = cells.value(ObsColumn::Name).trimmed();
    // The record's own cell; a row read from a ten-field line holds the reading as its horizontal angle.
    s.circle_column = cells.value(ObsColumn::BacksightAngle).trimmed().isEmpty() ? ObsColumn::HorizontalAngle
                                                                                 : ObsColumn::BacksightAngle;
    s.circle_text = cells.value(s.circle_column);
    s.circle = read_angle(s.circle_text);
    s.backsight_known = known_.find(s.backsight_name, &s.backsight_n, &s.backsight_e);
    s.orient();
    if (again)
        setups_.push_back(s);
    else
        setups_.back() = s;
}

KnownPoints known_points_of(const QVector<QStringList>& rows, const KindLabels& labels, const KnownPoints& given)
{
    KnownPoints known = given;
    for (const QStringList& cells : rows)
        known.add_row(cells, labels);
    return known;
}

} // namespace survey
