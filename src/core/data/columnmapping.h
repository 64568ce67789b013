// Which columns of a table of texts (a workbook's sheet, a delimited text file) hold a point's name,
// code, N, E and Z: guessed from a header row in Chinese or English words, given as a column
// choice "name,code,N,E,Z", and applied to the rows to give point lines. X and Y are never
// taken for north or east: surveyors and GIS programs read them the opposite way round.
#ifndef COLUMNMAPPING_H
#define COLUMNMAPPING_H

#include "data/pointfields.h"

#include <QList>
#include <QString>
#include <QStringList>

using TextRows = QList<QStringList>;

// The decimal mark numbers are written with (data/decimalmark.h).
enum class DecimalMark { Point, Comma };

struct ColumnMapping {
    int columns[kPointRoleCount] = {-1, -1, -1, -1, -1}; // 0-based column of each role, -1 none
    int skip_rows = 0;                                   // rows before the header (or the data)
    bool header = false;                                 // the first row after those is a header

    int column(PointRole role) const { return columns[int(role)]; }
    void set_column(PointRole role, int column) { columns[int(role)] = column; }
    bool has_coordinates() const { return column(PointRole::North) >= 0 && column(PointRole::East) >= 0; }
    // The first row of data.
    int first_data_row() const { return skip_rows + (header ? 1 : 0); }
};

// The role a header text names: "点名", "Point Name", "N (m)", "北坐标", "高程", "Elevation", ...
// Letter case, spaces and units in brackets do not matter. False for X, Y and unknown words.
bool role_of_header(const QString& header, PointRole* role);

// Whether a row reads as data: more than half of its non-empty cells are numbers (with a decimal point
// or a decimal comma).
bool looks_like_data(const QStringList& row);

// The mapping guessed from the rows after `skip_rows`: when the first of them does not read as data
// it is the header and each role goes to the first column whose header names it; without a header
// no column is assigned, so that the user gives every one.
ColumnMapping guess_mapping(const TextRows& rows, int skip_rows = 0);

// Spreadsheet column letters: 0 is "A", 25 "Z", 26 "AA". column_from_letters gives -1 for text that
// is not one to three letters.
QString column_letters(int column);
int column_from_letters(const QString& letters);

struct ColumnChoiceError {
    enum Kind {
        None,
        WrongCount,      // not five items
        UnknownColumn,   // `item` names no header and is no column letter
        SameColumnTwice, // `item` names a column already taken
        NoCoordinates,   // N or E left empty
    };
    Kind kind = None;
    QString item;
};

// Reads a choice of five comma-separated items in the order name, code, N, E, Z, each the
// text of a header cell (compared without regard to case) or a column letter; an empty item leaves
// the role unassigned. Sets only the columns of *mapping. False with *error set on a bad item.
bool parse_column_choice(const QString& choice, const QStringList& header, ColumnMapping* mapping,
                         ColumnChoiceError* error);

struct MappedPoints {
    QStringList lines;          // "name,code,N,E,Z", texts as they stand (trimmed)
    int blank_rows = 0;         // rows with no text at all, left out
    int not_numbers = 0;        // rows kept whose N or E is not a number
    int changed_characters = 0; // see join_point_line
    int decimal_commas = 0;     // coordinates whose decimal comma became a point
    // Rows whose N, E or Z is grouped by thousands or written with the other decimal mark: they are
    // not to be read at all (data/decimalmark.h). The first of them: its row and that text.
    int grouped_rows = 0;
    struct Grouped {
        int row = -1;
        QString text;
    } first_grouped;
};

// The point lines of the data rows under `mapping`, N, E and Z read under `mark`; a column a row does
// not reach is empty text.
MappedPoints apply_mapping(const TextRows& rows, const ColumnMapping& mapping, DecimalMark mark = DecimalMark::Point);
// The point line of one data row (row `row_number` of its file) into *line, counted in *counts (not its
// lines); false for a row with no text at all (counted as blank).
bool map_row(const QStringList& row, const ColumnMapping& mapping, MappedPoints* counts, QString* line,
             DecimalMark mark = DecimalMark::Point, int row_number = -1);

#endif // COLUMNMAPPING_H
