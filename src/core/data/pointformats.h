// The coordinate file formats, chosen by the file suffix (letter case ignored), and the conversion of
// one line between a format's file line and the five-field point line (name, code, N, E, Z). One table
// of the formats names each one's kind, column order and writer, and serves reading and writing.
#ifndef POINTFORMATS_H
#define POINTFORMATS_H

#include "data/pointfields.h"

#include <QString>
#include <memory>

class FormatWriter;
enum class OutputEncoding;

class PointFormat
{
public:
    // Makes the writer of a file of the format.
    using Writer = std::unique_ptr<FormatWriter> (*)(const QString& path, const PointFormat& format,
                                                     OutputEncoding encoding);

    enum Kind {
        Unknown, // no format: reads and writes nothing
        Raw,     // "ndad", "txt", "csv": every line as it stands
        Columns, // "edad", "ndat", "gdat", "svf", "pts": the point's fields in the format's order
        Drawing, // "dxf": a drawing, not a line format
        Layer,   // a format of the installed layer formats (data/layerformats.h): LandXML, GIS, workbooks
        // The CSV for spreadsheets: "name;code;N;E;Z" under a header row, decimal commas, UTF-8 with
        // a byte order mark; read as delimited text with decimal commas (data/delimitedpoints.h).
        Spreadsheet,
    };

    // The name of the CSV for spreadsheets where a suffix names a format. It shares the suffix "csv"
    // with the plain point lines, so it is chosen by this name, which holds a "." and so can never be
    // a file's suffix.
    static constexpr const char* kSpreadsheetCsv = "spreadsheet.csv";
    // Its header row, in words the import's header reading knows in any language. A raw text file that
    // begins with it is read as the CSV for spreadsheets, so the file opens back as it was written.
    static constexpr const char* kSpreadsheetHeader = "Name;Code;N;E;Z";

    // The format of a suffix, compared without regard to letter case ("TXT" is "txt"), as the file
    // names of Windows are; or of kSpreadsheetCsv.
    static PointFormat for_suffix(const QString& suffix);

    // Why a file of an unknown suffix cannot be read or written.
    static QString unknown_reason(const QString& suffix);

    Kind kind() const { return kind_; }
    bool is_known() const { return kind_ != Unknown; }
    // The fields a file line of a column format holds; 0 for the other kinds.
    int fields() const { return column_count_; }

    // The point line of a file line. Raw: the line itself. Columns: false when the line has fewer
    // fields than the format holds; fields beyond those are ignored. Drawing and Unknown: false.
    bool point_line(const QString& file_line, QString* point_line) const;
    // The file line of a point line. Raw: the line itself. Columns: false for a line of fewer than
    // five fields; `sequence` is the line's 1-based position, written where the format has one.
    // Spreadsheet: the five fields with ";" between them, N, E and Z with a decimal comma, a field
    // holding ";" or a quote quoted. Drawing and Unknown: false.
    bool file_line(const QString& point_line, int sequence, QString* file_line) const;

    // The writer of a file of a text format or the drawing; null for the other kinds.
    std::unique_ptr<FormatWriter> writer(const QString& path, OutputEncoding encoding) const;

private:
    Kind kind_ = Unknown;
    Writer writer_ = nullptr;
    const signed char* columns_ = nullptr; // file column -> point field, or kSequence
    int column_count_ = 0;
};

// The writer of `path` in the format of `suffix` (letter case ignored): a text format's or the
// drawing's (with the installed layer formats' checks of rows laid out as `fields`), or a layer
// format's for rows laid out as `fields`; null when no format writes the suffix.
std::unique_ptr<FormatWriter> format_writer(const QString& path, const QString& suffix, OutputEncoding encoding,
                                            const PointFields& fields = PointFields::point_line());

#endif // POINTFORMATS_H
