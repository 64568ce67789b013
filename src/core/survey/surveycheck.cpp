// The check of measured data against its own observations.
#include "survey/surveycheck.h"

#include "data/tablecolumns.h"

#include <cmath>

namespace survey
{

namespace
{

constexpr double kSlack = 1e-9;

bool beyond(double difference, double tolerance)
{
    return std::fabs(difference) > tolerance + kSlack;
}

} // namespace

QVector<int> finding_columns(const Finding& finding)
{
    switch (finding.kind) {
    case FindingKind::PositionDiffers:
        return {ObsColumn::North, ObsColumn::East};
    case FindingKind::HeightDiffers:
        return {ObsColumn::Height};
    case FindingKind::HorizontalDistanceDiffers:
        return {ObsColumn::HorizontalDistance};
    case FindingKind::VerticalDistanceDiffers:
        return {ObsColumn::VerticalDistance};
    case FindingKind::SameNameDiffers:
        return {ObsColumn::Name};
    case FindingKind::CannotCompute:
    case FindingKind::HeightCannotCompute:
    case FindingKind::Count:
        break;
    }
    // A reason names the cell at fault, or the station (the point's name stands for it).
    const int column = finding.reason.column;
    const bool own_cell = column >= 0 && finding.reason.kind != Unreduced::StationWithoutCoordinates &&
                          finding.reason.kind != Unreduced::StationWithoutHeight;
    return {own_cell ? column : int(ObsColumn::Name)};
}

SurveyCheck::SurveyCheck(const KindLabels& labels, const KnownPoints& known, const ReductionOptions& options,
                         const Tolerance& tolerance)
    : walk_(labels, known), options_(options), tolerance_(tolerance)
{
}

void SurveyCheck::feed(int row, const QStringList& cells)
{
    if (walk_.feed(row, cells) == RowKind::Measured)
        check_point(row, cells);
}

CheckResult SurveyCheck::result() const
{
    CheckResult r = result_;
    r.setups = walk_.setups();
    return r;
}

void SurveyCheck::add(const Finding& finding)
{
    result_.findings.append(finding);
    if (finding.row != last_row_with_finding_) {
        last_row_with_finding_ = finding.row;
        ++result_.rows_with_findings;
    }
}

void SurveyCheck::check_point(int row, const QStringList& cells)
{
    ++result_.measured;
    const Setup* setup = walk_.current();
    Finding base;
    base.row = row;
    base.name = cells.value(ObsColumn::Name).trimmed();
    base.station = setup ? setup->name : QString();
    const Reduction r = reduce_point(setup, cells, options_);
    if (!r.ok()) {
        ++result_.not_computed;
        Finding f = base;
        f.reason = r.problem;
        add(f);
        return;
    }
    ++result_.computed;
    if (!r.has_height()) {
        Finding f = base;
        f.kind = FindingKind::HeightCannotCompute;
        f.reason = r.height_problem;
        add(f);
    }
    compare_recorded(base, r, cells);
    compare_same_name(base, r, setup->station_row);
}

void SurveyCheck::compare_recorded(const Finding& base, const Reduction& r, const QStringList& cells)
{
    double n = 0;
    double e = 0;
    double value = 0;
    if (cell_number(cells, ObsColumn::North, &n) && cell_number(cells, ObsColumn::East, &e)) {
        Finding f = base;
        f.kind = FindingKind::PositionDiffers;
        f.dn = n - r.n;
        f.de = e - r.e;
        f.size = std::hypot(f.dn, f.de);
        if (beyond(f.size, tolerance_.horizontal))
            add(f);
    }
    if (r.has_height() && cell_number(cells, ObsColumn::Height, &value)) {
        Finding f = base;
        f.kind = FindingKind::HeightDiffers;
        f.dz = f.size = value - r.z;
        if (beyond(f.size, tolerance_.vertical))
            add(f);
    }
    // The recorded HD is checked when HD came from the slope distance; VD always.
    const struct {
        FindingKind kind;
        int column;
        double computed;
        double tolerance;
        bool applies;
    } distances[] = {
        {FindingKind::HorizontalDistanceDiffers, ObsColumn::HorizontalDistance, r.horizontal, tolerance_.horizontal,
         r.from_slope},
        {FindingKind::VerticalDistanceDiffers, ObsColumn::VerticalDistance, r.vertical, tolerance_.vertical, true},
    };
    for (const auto& d : distances) {
        if (!d.applies || !cell_number(cells, d.column, &value))
            continue;
        Finding f = base;
        f.kind = d.kind;
        f.size = value - d.computed;
        if (beyond(f.size, d.tolerance))
            add(f);
    }
}

void SurveyCheck::compare_same_name(const Finding& base, const Reduction& r, int station_row)
{
    if (base.name.isEmpty() || (repeated_ && !repeated_(base.name)))
        return;
    const auto it = first_seen_.constFind(base.name);
    if (it == first_seen_.constEnd()) {
        first_seen_.insert(base.name, Seen{base.row, station_row, base.station, r.n, r.e, r.has_height(), r.z});
        return;
    }
    if (it->station_row == station_row)
        return;
    Finding f = base;
    f.kind = FindingKind::SameNameDiffers;
    f.other_row = it->row;
    f.other_station = it->station;
    f.dn = it->n - r.n;
    f.de = it->e - r.e;
    f.dz = it->has_z && r.has_height() ? it->z - r.z : 0.0;
    f.size = std::hypot(f.dn, f.de);
    if (beyond(f.size, tolerance_.horizontal) || beyond(f.dz, tolerance_.vertical))
        add(f);
}

CheckResult check_rows(const QVector<QStringList>& rows, const KindLabels& labels, const ReductionOptions& options,
                       const Tolerance& tolerance, const KnownPoints& given)
{
    SurveyCheck check(labels, known_points_of(rows, labels, given), options, tolerance);
    for (int row = 0; row < rows.size(); ++row)
        check.feed(row, rows[row]);
    return check.result();
}

} // namespace survey
