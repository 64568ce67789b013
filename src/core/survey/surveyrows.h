// Measured data as the point table holds it: rows of the observation layout's fifteen columns
// (data/tablecolumns.h), read in table order. A station record opens a setup, the backsight record
// after it orients it, and the measured points that follow belong to it.
#ifndef SURVEYROWS_H
#define SURVEYROWS_H

#include "survey/surveyangle.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

namespace survey
{

// The kind labels the table shows in its first column. The record codes "STN", "BK" and "MP", which
// files of other programs carry in their place, are known too.
struct KindLabels {
    QString station;
    QString backsight;
    QString measured;
};

enum class RowKind { Plain, Station, Backsight, Measured };

RowKind row_kind(const QStringList& cells, const KindLabels& labels);

// A cell as a number: plain decimal text, blanks around it allowed, finite. False for anything else,
// the empty text included.
bool cell_number(const QStringList& cells, int column, double* value);

// Why a point (or its height) cannot be computed. `column` names the cell at fault (ObsColumn), -1
// where there is none; `text` is that cell as it stands.
enum class Unreduced : int {
    None,
    NoStation,                 // no station record before the point
    StationWithoutCoordinates, // the station's N or E is not a number
    StationWithoutHeight,      // the station's Z is not a number (the height only)
    BadAngle,                  // an angle cell refused; `angle` says why
    PlumbLine,                 // zenith angle 0 or 180 degrees: no horizontal direction
    NoDistance,                // neither a slope nor a horizontal distance
    BadNumber,                 // a distance or height cell that is not a number
    NoInstrumentHeight,        // neither the point nor its station holds one (the height only)
    NoReflectorHeight,         // the height only
    BacksightAtStation,        // the known backsight point lies on the station: no direction to it
    Count
};

struct Reason {
    Unreduced kind = Unreduced::None;
    int column = -1;
    QString text;
    AngleProblem angle = AngleProblem::None;
    bool none() const { return kind == Unreduced::None; }
};

// Coordinates known by point name, for orienting a station on its backsight point. What the caller
// gives comes first, then station records, then plain rows, then the instrument's coordinates of
// measured points; within one source the first row of a name.
class KnownPoints
{
public:
    void add_given(const QString& name, double n, double e);
    // A row of the table; rows without numeric N and E, and backsight records, add nothing.
    void add_row(const QStringList& cells, const KindLabels& labels);
    bool find(const QString& name, double* n, double* e) const;
    int size() const { return int(points_.size()); }

private:
    struct Known {
        int rank;
        double n;
        double e;
    };
    void add(const QString& name, int rank, double n, double e);
    QHash<QString, Known> points_;
};

enum class OrientationSource {
    Azimuths,  // no known backsight: the horizontal angles are taken as azimuths
    Backsight, // azimuth to the known backsight point minus its circle reading
    Given,     // given by the caller (a recompute)
};

// One station set up and oriented: its record, and the backsight record that oriented it.
struct Setup {
    int station_row = -1;
    QString name;
    bool has_position = false;
    double n = 0;
    double e = 0;
    bool has_height = false;
    double z = 0;
    bool has_instrument_height = false;
    double instrument_height = 0;

    int backsight_row = -1; // -1 when no backsight record follows the station
    QString backsight_name;
    AngleReading circle;    // the backsight's circle reading
    int circle_column = -1; // the cell it was read from (ObsColumn), and its text
    QString circle_text;
    bool backsight_known = false; // its point's coordinates are known
    double backsight_n = 0;
    double backsight_e = 0;

    double backsight_azimuth = 0; // radians, station to the known backsight point

    OrientationSource source = OrientationSource::Azimuths;
    double orientation = 0; // radians added to a horizontal angle to give the azimuth
    Reason problem;         // why the station cannot be oriented (its points cannot be computed)

    // The orientation from the fields above: the azimuth to a known backsight point minus its circle
    // reading, else none (the angles are azimuths). A Given orientation is kept.
    void orient();
};

// Reads rows in table order and keeps the setups. Each station record opens a setup; a backsight
// record orients the setup of the station before it (a second backsight record opens a further setup
// of that station). Memory grows with the number of setups only.
class SetupWalk
{
public:
    SetupWalk(const KindLabels& labels, const KnownPoints& known) : labels_(labels), known_(known) {}
    const KnownPoints& known() const { return known_; }

    // The next row, `row` its index in the table; returns its kind.
    RowKind feed(int row, const QStringList& cells);
    // The setup of the measured points fed now; null before the first station record.
    const Setup* current() const { return setups_.empty() ? nullptr : &setups_.back(); }
    int current_index() const { return int(setups_.size()) - 1; }
    QVector<Setup> setups() const { return QVector<Setup>(setups_.begin(), setups_.end()); }

private:
    void open_station(int row, const QStringList& cells);
    void take_backsight(int row, const QStringList& cells);

    KindLabels labels_;
    KnownPoints known_; // shares the caller's hash
    std::vector<Setup> setups_;
};

// The known points of a whole table (every row, by the ranks of KnownPoints) after those the caller
// gives.
KnownPoints known_points_of(const QVector<QStringList>& rows, const KindLabels& labels,
                            const KnownPoints& given = KnownPoints());

} // namespace survey

#endif // SURVEYROWS_H
