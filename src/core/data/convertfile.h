// Converting a coordinate file into another format, point by point: both files are streamed, so
// memory does not grow with the number of points.
#ifndef CONVERTFILE_H
#define CONVERTFILE_H

#include "data/fileoperation.h"

#include <QString>
#include <QStringList>

#include <functional>

struct PointFileConversion {
    enum Outcome {
        Done,
        UnknownInputFormat,
        UnknownOutputFormat,
        InputUnreadable,
        NoPoints,
        OutputUnwritable,
        Unencodable, // the points hold characters GBK cannot hold: nothing written
        NoneWritten, // points were read, but the output format could take none of them: nothing written
    };
    Outcome outcome = Done;
    qint64 points_read = 0;                 // lines of at least five fields read from the input
    qint64 points_written = 0;              // of those, the ones written to the output
    QString reason;                         // why a file could not be read or written
    FileOperation::ReadReport read;         // the input's encoding, undecodable bytes, commas replaced
    qint64 unencodable = 0;                 // characters GBK cannot hold (Unencodable)
    UnencodableCharacter first_unencodable; // the first of them: its output line and field
    LayerReport layer_read;                 // what a layer format's reader met
    LayerReport layer_written;              // what a layer format's writer met
};

// Reads `input` in the format of its suffix and writes `output` in the format of its suffix (letter
// case ignored, as in the program). The output is written only when at least one point was read and,
// in GBK, GBK holds every character; an existing output file is replaced only when the whole file has
// been written. `crs` is the points' coordinate system and `columns` a workbook's columns, for the
// layer formats (data/layerformats.h). With `rework`, the lines read are held and handed to it
// before any is written (a conversion that needs every point at once).
// How the text files are read and written beyond what their suffixes say: a raw text input read as
// delimited text with decimal commas (FileOperation::decimal_comma), the output written in the format
// of a name instead of its suffix (PointFormat::kSpreadsheetCsv).
struct TextConventions {
    bool decimal_comma = false;
    QString output_format;
};
using LineRework = std::function<void(QStringList* lines)>;
PointFileConversion convert_point_file(const QString& input, const QString& output,
                                       OutputEncoding encoding = OutputEncoding::Gbk, const QString& crs = QString(),
                                       const QString& columns = QString(), const LineRework& rework = {},
                                       const TextConventions& conventions = {});

// Reads the points of `input` as convert_point_file reads them, as five-field point lines appended to
// `point_lines` (a raw format's other lines are left out): outcome Done with points_read, or why no
// point could be had (UnknownInputFormat, InputUnreadable, NoPoints).
PointFileConversion read_point_file(const QString& input, QStringList* point_lines, const QString& crs = QString(),
                                    const QString& columns = QString());

#endif // CONVERTFILE_H
