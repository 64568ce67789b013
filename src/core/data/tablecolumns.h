// The point table's columns by what they hold: the 15 of the observation layout ("KT20_KT40", "KT85R")
// and the 5 of the coordinate layout (every other type), and where each layout keeps a point's name,
// code, N, E and Z. Every index of a table column is named from here.
#ifndef TABLECOLUMNS_H
#define TABLECOLUMNS_H

#include <array>

// The observation layout: records, stations, backsights and measured points.
namespace ObsColumn
{
enum : int {
    Kind,               // record kind label (station, backsight, measured point); empty for a plain point
    Job,                // the instrument job the record came from
    Name,               // point name
    North,              // N
    East,               // E
    Height,             // Z
    Code,               // code
    InstrumentHeight,   // instrument height (stations and measured points)
    BacksightAngle,     // backsight horizontal angle (backsight records), angle text with marks
    HorizontalAngle,    // horizontal angle, angle text with marks
    VerticalAngle,      // vertical (zenith) angle, angle text with marks
    SlopeDistance,      // slope distance
    VerticalDistance,   // vertical distance
    HorizontalDistance, // horizontal distance
    ReflectorHeight,    // reflector height
    Count
};
} // namespace ObsColumn

// The observation layout's angle columns: the table shows them with marks, files hold the digits.
constexpr bool is_angle_column(int column)
{
    return column == ObsColumn::BacksightAngle || column == ObsColumn::HorizontalAngle ||
           column == ObsColumn::VerticalAngle;
}

// The coordinate layout: the five-field point line as it stands.
namespace PointColumn
{
enum : int { Name, Code, North, East, Height, Count };
} // namespace PointColumn

// A point's five fields (name, code, N, E, Z, in that order: the point line's order and PointRole's)
// as columns of a layout.
using PointColumns = std::array<int, 5>;
constexpr PointColumns kObservationPointColumns{ObsColumn::Name, ObsColumn::Code, ObsColumn::North, ObsColumn::East,
                                                ObsColumn::Height};
constexpr PointColumns kCoordinatePointColumns{PointColumn::Name, PointColumn::Code, PointColumn::North,
                                               PointColumn::East, PointColumn::Height};

// The ten-field observation line of the raw formats (kind, name, Hz, V, horizontal and vertical
// distance, E, N, Z, code) as columns of the observation layout.
constexpr std::array<int, 10> kObservationLineColumns{ObsColumn::Kind,
                                                      ObsColumn::Name,
                                                      ObsColumn::HorizontalAngle,
                                                      ObsColumn::VerticalAngle,
                                                      ObsColumn::HorizontalDistance,
                                                      ObsColumn::VerticalDistance,
                                                      ObsColumn::East,
                                                      ObsColumn::North,
                                                      ObsColumn::Height,
                                                      ObsColumn::Code};

#endif // TABLECOLUMNS_H
