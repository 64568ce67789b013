// Converting a coordinate file into another format, point by point: both files are streamed, so
// memory does not grow with the number of points.
#ifndef CONVERTFILE_H
#define CONVERTFILE_H

#include <QString>

struct PointFileConversion {
    enum Outcome {
        Done,
        UnknownInputFormat,
        UnknownOutputFormat,
        InputUnreadable,
        NoPoints,
        OutputUnwritable,
    };
    Outcome outcome = Done;
    int points_read = 0;    // lines of at least five fields read from the input
    int points_written = 0; // of those, the ones written to the output
    QString reason;         // why a file could not be read or written
};

// Reads `input` in the format of its suffix and writes `output` in the format of its suffix (exact
// suffixes, as in the program). The output is written only when at least one point was read, and an
// existing output file is replaced only when the whole file has been written.
PointFileConversion convert_point_file(const QString& input, const QString& output);

#endif // CONVERTFILE_H
