// Lines and areas joined from coded points in row order (the order of measurement), and a report of
// what could not be joined. Points are added one by one, each in constant time, so the plan can keep
// the linework of a receive up to date row by row; after an edit it is built again from all rows
// (linear in the rows). No point is left out of anything because of its code: the linework only adds.
//
//     LineworkBuilder builder(codes);
//     for (int row = 0; row < rows; ++row)
//         builder.add(row, name, code, north, east, height);
//     for (const LineworkLine& line : builder.lines()) ...   // draw
//     const QVector<LineworkIssue> issues = builder.issues(); // report
#ifndef SURVEY_LINEWORK_H
#define SURVEY_LINEWORK_H

#include "survey/codelist.h"
#include "survey/linecodes.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// One point of a line, as the row gives it, with its numbers read.
struct LineworkVertex {
    int row = -1;
    QString name;
    QString north, east, height; // the row's texts
    double n = 0, e = 0, z = 0;
    bool has_height = false; // Z given (empty Z: a point without height)
};

struct LineworkLine {
    QString code;          // the list's spelling
    int entry = -1;        // the code's entry in the list the linework was built with
    bool area = false;     // an area outline: always drawn closed
    int string_number = 0; // 0: none
    bool closed = false;   // joined back to its first point (areas always are)
    QVector<LineworkVertex> vertices;

    // Whether it can be drawn: two points for a line, three for an area.
    bool drawable() const { return vertices.size() >= (area ? 3 : 2); }
    // Whether every vertex has a height (a 3D line); else it is drawn flat.
    bool has_heights() const;
    QString first_name() const { return vertices.isEmpty() ? QString() : vertices.first().name; }
    QString last_name() const { return vertices.isEmpty() ? QString() : vertices.last().name; }
};

struct LineworkIssue {
    enum Kind {
        SinglePointLine,       // a line of one point (rows: that point)
        SmallArea,             // an area of fewer than three points (rows: its points)
        UnknownCode,           // codes not in the list (code: as typed; rows: every point with it)
        StringWithoutLineCode, // a string number after a point code or with no code (rows: every one)
        ControlOnly,           // a code field of a control character only (rows: every one)
        StringOutOfRange,      // a number after a line code that is no string number (rows: every one)
        DoubleStart,           // two starts in a row on one line (rows: the two points)
        ClosedTwice,           // a close after the line was closed (rows: the first close, this one)
        NoCoordinates,         // a point of a line whose N, E or Z is not a number: left out of the line
    };
    Kind kind = SinglePointLine;
    QString code;      // the code (with its string number where it has one: "CURB2")
    QVector<int> rows; // in row order
};

class LineworkBuilder
{
public:
    // The builder keeps a copy of the list; lines name their entries in it.
    explicit LineworkBuilder(const CodeList& codes);

    // Adds the next point in row order. `row` numbers it in lines and issues (the table's row).
    void add(int row, const QString& name, const QString& code, const QString& north, const QString& east,
             const QString& height);
    // Adds the points of five-field point lines "name,code,N,E,Z", numbered from `first_row`.
    void add_point_lines(const QStringList& lines, int first_row = 0);
    // Starts again with no points.
    void clear();

    const CodeList& codes() const { return codes_; }
    // Every line and area so far, in the order they were started, drawable or not.
    const QVector<LineworkLine>& lines() const { return lines_; }
    // What could not be joined, as it stands now: issues of lines that are still open (a line of one
    // point so far) are judged with what has come. Grouped by kind, then in order of first row.
    QVector<LineworkIssue> issues() const;
    // Lines and areas that can be drawn.
    int drawable_lines() const;
    int drawable_areas() const;

private:
    struct Track {                 // what the rows have done to one code and string number so far
        int open = -1;             // the line points are added to, -1 after an end or a close
        bool last_closed = false;  // the line before was closed by a close character...
        int close_row = -1;        // ...in this row
        bool open_started = false; // the open line was started by a start character
    };

    void join(const LineCode& parsed, bool placed, const LineworkVertex& vertex);
    int start_line(const LineCode& parsed, Track& track);
    void note(LineworkIssue::Kind kind, const QString& code, QVector<int> rows);
    void note_grouped(LineworkIssue::Kind kind, const QString& code, int row);

    CodeList codes_;
    QVector<LineworkLine> lines_;
    QHash<int, Track> tracks_;      // by entry and string number
    QVector<LineworkIssue> issues_; // found as the rows came
    QHash<QString, int> grouped_;   // kind and code -> issue, for the issues that gather rows
    QVector<bool> double_started_;  // per line: ended by a second start (reported once)
};

// The linework of five-field point lines, rows numbered from 0.
LineworkBuilder linework_of_point_lines(const CodeList& codes, const QStringList& lines);

// An English sentence for an issue with its rows numbered from 1, for the command-line tools.
QString linework_issue_text(const LineworkIssue& issue);

#endif // SURVEY_LINEWORK_H
