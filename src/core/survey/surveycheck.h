// The check of measured data: each measured point recomputed from its station and its observations
// and compared with what the instrument recorded (its N E Z, its horizontal and vertical distance),
// and points of one name measured from different stations compared with each other. Rows are read
// once, in table order; the names are compared through a hash, so the time grows with the rows.
#ifndef SURVEYCHECK_H
#define SURVEYCHECK_H

#include "survey/reduction.h"

#include <functional>

namespace survey
{

// How far a recorded value may lie from the computed one, in metres; a difference counts when it is
// larger (by more than a nanometre, so that a difference of exactly the tolerance does not).
struct Tolerance {
    double horizontal = 0.005; // N E (the distance between the two positions) and HD
    double vertical = 0.005;   // Z and VD
};

enum class FindingKind : int {
    PositionDiffers,           // the instrument's N E: dn, de, size the distance between the positions
    HeightDiffers,             // the instrument's Z: dz (= size)
    HorizontalDistanceDiffers, // the recorded HD: size = recorded − computed
    VerticalDistanceDiffers,   // the recorded VD: size = recorded − computed
    SameNameDiffers,           // the point as measured from another station (other_row): dn, de, dz, size
                               // the horizontal distance between them
    CannotCompute,             // nothing computed: reason
    HeightCannotCompute,       // N and E computed, Z not: reason
    Count
};

// One finding. Differences are the recorded value (or the other row's point) minus the computed one.
struct Finding {
    FindingKind kind = FindingKind::CannotCompute;
    int row = -1; // the measured point's table row, from 0
    QString name;
    QString station; // the station it was measured from; empty when there is none
    double dn = 0;
    double de = 0;
    double dz = 0;
    double size = 0; // what the tolerance is compared with: a distance apart, or a signed difference
    int other_row = -1;
    QString other_station;
    Reason reason;
};

// The table columns (ObsColumn) a finding concerns, to mark in the table.
QVector<int> finding_columns(const Finding& finding);

struct CheckResult {
    QVector<Setup> setups; // every station's setup with its orientation, in table order
    QVector<Finding> findings;
    int measured = 0;           // measured-point rows read
    int computed = 0;           // of them with N and E computed
    int not_computed = 0;       // of them listed as cannot be computed
    int rows_with_findings = 0; // measured points with at least one finding
};

// The check fed row by row (a reader that streams), after the known points are gathered.
class SurveyCheck
{
public:
    SurveyCheck(const KindLabels& labels, const KnownPoints& known, const ReductionOptions& options = {},
                const Tolerance& tolerance = {});

    // Names for which `repeated` is false are measured once: they are not kept for the comparison of
    // points of one name (a reader that streams then holds only the names measured twice).
    void set_repeated_names(std::function<bool(const QString&)> repeated) { repeated_ = std::move(repeated); }

    void feed(int row, const QStringList& cells);
    // The result so far; the setups are complete once every row is fed.
    CheckResult result() const;

private:
    struct Seen {
        int row;
        int station_row;
        QString station;
        double n;
        double e;
        bool has_z;
        double z;
    };
    void check_point(int row, const QStringList& cells);
    void compare_recorded(const Finding& base, const Reduction& r, const QStringList& cells);
    void compare_same_name(const Finding& base, const Reduction& r, int station_row);
    void add(const Finding& finding);

    SetupWalk walk_;
    ReductionOptions options_;
    Tolerance tolerance_;
    QHash<QString, Seen> first_seen_; // name -> its first computed measurement
    std::function<bool(const QString&)> repeated_;
    CheckResult result_;
    int last_row_with_finding_ = -1;
};

// The check of a whole table: the known points of every row (after those the caller gives), then
// every row in order.
CheckResult check_rows(const QVector<QStringList>& rows, const KindLabels& labels, const ReductionOptions& options = {},
                       const Tolerance& tolerance = {}, const KnownPoints& given = KnownPoints());

} // namespace survey

#endif // SURVEYCHECK_H
