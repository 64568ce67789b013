// The polar reduction of one measured point.
#include "survey/reduction.h"

#include "data/tablecolumns.h"

#include <cmath>

namespace survey
{

namespace
{

constexpr qint64 kHalfCircle = 180 * 3600;

Reason cell_reason(Unreduced kind, const QStringList& cells, int column)
{
    return Reason{kind, column, cells.value(column), AngleProblem::None};
}

// An angle cell in whole seconds; false with `why` set when it is refused.
bool angle_cell(const QStringList& cells, int column, qint64* seconds, Reason* why)
{
    const AngleReading angle = read_angle(cells.value(column));
    if (!angle.ok()) {
        *why = Reason{Unreduced::BadAngle, column, cells.value(column), angle.problem};
        return false;
    }
    *seconds = angle.seconds;
    return true;
}

// A distance cell: false with `why` set when it holds text that is no distance; `present` tells
// whether it holds one (an empty cell or 0 holds none).
bool distance_cell(const QStringList& cells, int column, double* value, bool* present, Reason* why)
{
    *present = false;
    if (cells.value(column).trimmed().isEmpty())
        return true;
    if (!cell_number(cells, column, value) || *value < 0) {
        *why = cell_reason(Unreduced::BadNumber, cells, column);
        return false;
    }
    *present = *value > 0;
    return true;
}

// A height: the given one, else the cell's, else `fallback` when there is one.
bool height_of(const std::optional<double>& given, const QStringList& cells, int column, const double* fallback,
               Unreduced missing, double* value, Reason* why)
{
    if (given) {
        *value = *given;
        return true;
    }
    if (cells.value(column).trimmed().isEmpty()) {
        if (fallback) {
            *value = *fallback;
            return true;
        }
        *why = cell_reason(missing, cells, column);
        return false;
    }
    if (cell_number(cells, column, value))
        return true;
    *why = cell_reason(Unreduced::BadNumber, cells, column);
    return false;
}

// HD and VD from the slope distance or the recorded HD, with the zenith angle z (0 < z < 180°).
bool distances(const QStringList& cells, double zenith, const ReductionOptions& options, Reduction* r)
{
    double sd = 0;
    double hd = 0;
    bool has_sd = false;
    bool has_hd = false;
    if (!distance_cell(cells, ObsColumn::SlopeDistance, &sd, &has_sd, &r->problem))
        return false;
    if (!has_sd && !distance_cell(cells, ObsColumn::HorizontalDistance, &hd, &has_hd, &r->problem))
        return false;
    if (!has_sd && !has_hd) {
        r->problem = cell_reason(Unreduced::NoDistance, cells, ObsColumn::SlopeDistance);
        return false;
    }
    const double k = options.refraction;
    const double radius = options.earth_radius;
    const double height_term = options.curvature ? (1 - k) / (2 * radius) : 0.0;
    r->from_slope = has_sd;
    if (has_sd) {
        const double x = sd * std::cos(zenith);
        const double y = sd * std::sin(zenith);
        const double distance_term = options.curvature ? (1 - k / 2) / radius : 0.0;
        r->horizontal = y - x * y * distance_term;
        r->vertical = x + y * y * height_term;
    } else {
        r->horizontal = hd;
        r->vertical = hd / std::tan(zenith) + hd * hd * height_term;
    }
    return true;
}

} // namespace

Reduction reduce_point(const Setup* setup, const QStringList& cells, const ReductionOptions& options,
                       const HeightChanges& heights)
{
    Reduction r;
    if (!setup) {
        r.problem.kind = Unreduced::NoStation;
        return r;
    }
    if (!setup->has_position) {
        r.problem = Reason{Unreduced::StationWithoutCoordinates, ObsColumn::Name, setup->name, AngleProblem::None};
        return r;
    }
    if (!setup->problem.none()) {
        r.problem = setup->problem;
        return r;
    }
    qint64 hz = 0;
    qint64 v = 0;
    if (!angle_cell(cells, ObsColumn::HorizontalAngle, &hz, &r.problem) ||
        !angle_cell(cells, ObsColumn::VerticalAngle, &v, &r.problem))
        return r;
    if (v % kHalfCircle == 0) {
        r.problem = cell_reason(Unreduced::PlumbLine, cells, ObsColumn::VerticalAngle);
        return r;
    }
    if (v > kHalfCircle) {
        v = kSecondsInCircle - v;
        hz += kHalfCircle;
    }
    if (!distances(cells, seconds_to_radians(v), options, &r))
        return r;
    r.azimuth = normalized_radians(seconds_to_radians(hz) + setup->orientation);
    r.n = setup->n + r.horizontal * std::cos(r.azimuth);
    r.e = setup->e + r.horizontal * std::sin(r.azimuth);

    if (!setup->has_height) {
        r.height_problem = Reason{Unreduced::StationWithoutHeight, ObsColumn::Name, setup->name, AngleProblem::None};
        return r;
    }
    const double* station_height = setup->has_instrument_height ? &setup->instrument_height : nullptr;
    if (!height_of(heights.instrument, cells, ObsColumn::InstrumentHeight, station_height,
                   Unreduced::NoInstrumentHeight, &r.instrument_height, &r.height_problem) ||
        !height_of(heights.reflector, cells, ObsColumn::ReflectorHeight, nullptr, Unreduced::NoReflectorHeight,
                   &r.reflector_height, &r.height_problem))
        return r;
    r.z = setup->z + r.instrument_height + r.vertical - r.reflector_height;
    return r;
}

} // namespace survey
