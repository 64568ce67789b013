// Rows of the point table that deserve a second look before they go to an instrument or a drawing:
// a coordinate that is not a number, and a point name that another row holds too. Nothing is
// refused; the table marks them. Kept up to date as rows change: the rows from the first changed
// one on are read again, so rows that come one by one (a transfer) cost one row each.
#ifndef SUSPECTROWS_H
#define SUSPECTROWS_H

#include "data/tablecolumns.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <climits>
#include <functional>

// Where a table layout keeps what is checked.
struct SuspectColumns {
    int kind = -1; // the record kind label; -1 where the layout has none
    int name = PointColumn::Name;
    int coordinates[3] = {PointColumn::North, PointColumn::East, PointColumn::Height};
    QStringList kinds_not_compared{}; // kinds whose names repeat by design (stations, backsights)
};

// The coordinate layout's columns (data/tablecolumns.h).
SuspectColumns coordinate_suspect_columns();
// The observation layout's kind, name, N, E and Z; names of the kinds `repeating` (station and
// backsight labels) are not compared, and the others only with rows of the same kind.
SuspectColumns observation_suspect_columns(const QStringList& repeating);

// Whether a coordinate cell is suspect: text that is not a number. An empty cell is not (a point
// without a height, a backsight without coordinates).
bool suspect_coordinate(const QString& text);

class SuspectRows
{
public:
    explicit SuspectRows(const SuspectColumns& columns = coordinate_suspect_columns()) : columns_(columns) {}

    // The rows from `row` on are to be read again.
    void changed_from(int row);
    bool stale() const { return stale_from_ != INT_MAX; }
    // Reads the rows changed since the last refresh; the table has `row_count` rows and
    // `cell(row, column)` gives a cell's text.
    void refresh(int row_count, const std::function<QString(int row, int column)>& cell);

    // As of the last refresh: whether `column` of `row` is a suspect coordinate, and how many rows
    // hold the name of `row` (0 for an empty name or a kind that is not compared).
    bool bad_coordinate(int row, int column) const;
    int name_count(int row) const;
    bool is_name_column(int column) const { return column == columns_.name; }
    int rows_with_bad_coordinates() const { return bad_rows_; }
    int rows_with_repeated_names() const { return repeated_rows_; }

private:
    struct Row {
        QString key; // kind and name; empty when the name is not compared
        quint8 bad = 0;
    };
    void drop_rows_from(int row);
    void add_row(Row row);

    SuspectColumns columns_;
    QVector<Row> rows_;
    QHash<QString, int> names_; // key to the rows that hold it
    int bad_rows_ = 0;
    int repeated_rows_ = 0;
    int stale_from_ = 0;
};

#endif // SUSPECTROWS_H
