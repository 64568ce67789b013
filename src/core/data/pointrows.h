// How rows of the point table and comma-separated lines map onto each other. A row shape names,
// for each field of a line, the table column it comes from and goes to; the same shape serves
// filling the table from a file and taking lines out of it.
#ifndef POINTROWS_H
#define POINTROWS_H

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

enum class TableLayout {
    Observation, // "KT20_KT40", "KT85R": 15 columns of records, stations and measurements
    Coordinate,  // every other type: point name, code, N, E, Z
};

TableLayout table_layout(const QString& instrument_type);

struct RowShape {
    const int* columns; // field i of the line <-> column columns[i]
    int fields;
    unsigned angle_fields; // bit i: field i is an angle, stored without its marks
    int column_count;      // columns of the layout
};

// The ten-field observation line: kind, name, Hz, V, horizontal and vertical distance, E, N, Z, code.
const RowShape& observation_line_shape();
// The five-field point line (name, code, N, E, Z) in a layout.
const RowShape& point_line_shape(TableLayout layout);

// The text of one cell of a row made from a line: a field as it stands in the line (the line is
// shared, not copied), or a text of the cell's own.
struct CellText {
    QString text;     // the whole line, or the cell's own text
    int position = 0; // where the cell's text starts in `text`
    int length = -1;  // its length; -1 for all of `text`

    QString toString() const { return length < 0 ? text : text.mid(position, length); }
};

// The texts of every column of the row a line fills (columns the shape does not name are empty);
// false for a line with fewer fields than the shape.
bool cells_from_line(const RowShape& shape, const QString& line, QVector<CellText>* cells);
// The line of a row, from the text of each column (`cell`).
QString line_from_cells(const RowShape& shape, const std::function<QString(int column)>& cell);

#endif // POINTROWS_H
