// The points of the point table's rows in plan coordinates (x = E, y = N), with their names, codes and kinds.
#ifndef PLANPOINTS_H
#define PLANPOINTS_H

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

enum class PlanKind { Point, Station, Backsight };

struct PlanPoint {
    QPointF position; // x = E, y = N
    int row = -1;     // the table row it comes from
    QString name;
    QString code;
    PlanKind kind = PlanKind::Point;
};

// Where a row layout keeps what the plan draws; kind_column -1 where the layout has no kind label.
struct PlanColumns {
    int kind_column;
    int name_column;
    int code_column;
    int n_column;
    int e_column;
    int z_column; // the height, for the linework's vertices
};

// The coordinate layout's name, code, N, E and Z (data/tablecolumns.h); no kind label.
PlanColumns coordinate_plan_columns();
// The observation layout's kind label, name, code, N, E and Z.
PlanColumns observation_plan_columns();

// The kind labels of station and backsight records, as the table shows them. The record codes "STN"
// and "BK", which files of other programs carry in their place, are known too.
struct PlanKindLabels {
    QString station;
    QString backsight;
};

// A coordinate text as a number: plain decimal text (surrounding blanks allowed), finite. False for
// anything else, the empty text included.
bool plan_coordinate(const QString& text, double* value);

// The plan point of one row whose cells `cell(column)` gives; false when N or E is not a number.
bool plan_point_of_row(const PlanColumns& columns, const PlanKindLabels& labels,
                       const std::function<QString(int)>& cell, int row, PlanPoint* point);

// Whether a row without numeric coordinates has none by design: a backsight record, which gives the
// direction to a known point and carries no coordinates of its own. Such a row is not counted as left out.
bool has_no_place_by_design(const PlanColumns& columns, const PlanKindLabels& labels,
                            const std::function<QString(int)>& cell);

// Whether a row is a station or backsight record rather than a shot: such rows join no linework.
bool is_setup_record(const PlanColumns& columns, const PlanKindLabels& labels, const std::function<QString(int)>& cell);

// Points of a run of rows, and how many rows were left out for want of numeric coordinates.
struct PlanPoints {
    QVector<PlanPoint> points;
    int rows_left_out = 0;
    QVector<int> uncounted_rows; // rows without a place by design, in row order: not counted as left out

    // Drops the points of rows from `row` on, and their count of rows left out.
    void truncate_from_row(int row);
    // The smallest rectangle holding every point; null when there is none.
    QRectF bounds() const;
};

#endif // PLANPOINTS_H
