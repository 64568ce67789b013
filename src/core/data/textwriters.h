// The writers of the text formats: a file line per point line, as it stands or in a column format's
// order (LineFormatWriter), and the DXF drawing (DrawingWriter). Both write GBK or GB18030 through
// TextFileWriter, point by point with flat memory, and replace the file only in finish().
// TextFormatWriter is what a new text format's writer derives from: the file, its encoding, the
// characters it cannot hold and the replacement come with it.
#ifndef TEXTWRITERS_H
#define TEXTWRITERS_H

#include "data/dxftext.h"
#include "data/formatwriter.h"
#include "data/pointformats.h"
#include "data/textfile.h"

#include <QString>
#include <QStringList>
#include <memory>

class TextFormatWriter : public FormatWriter
{
public:
    TextFormatWriter(const QString& path, OutputEncoding encoding) : file_(path, false, encoding) {}

    // A text file holds no coordinate system: `crs` is not recorded.
    bool open(const QString& crs) override;
    bool failed() const override { return file_.failed(); }
    bool flush() override { return file_.flush(); }
    bool finish() override;
    void cancel() override { file_.cancel(); }
    // Why the file could not be written (no refusal: the system's words), and the characters the
    // encoding cannot hold, written as "?".
    LayerReport report() const override;

protected:
    TextFileWriter file_;

private:
    QString error_;
};

class LineFormatWriter : public TextFormatWriter
{
public:
    // `format`: a raw format or a column format (data/pointformats.h).
    LineFormatWriter(const QString& path, const PointFormat& format, OutputEncoding encoding);
    // False when the format leaves the line out (a column format's line of fewer than five fields);
    // the line takes its sequence number all the same, as in the column formats' lists. A point line
    // whose N or E is not a number is written as it stands and counted.
    bool write_line(const QString& point_line) override;
    // With the point lines kept though N or E is not a number, and those a column format cut.
    LayerReport report() const override;

private:
    PointFormat format_;
    int not_numbers_ = 0;
    int extra_fields_ = 0;
    int sequence_ = 0;
    QString line_;
};

// The CSV for spreadsheets: a header row, then the lines of the format (in UTF-8 with a byte order
// mark, whatever encoding is asked for: it holds every character).
class SpreadsheetWriter : public LineFormatWriter
{
public:
    SpreadsheetWriter(const QString& path, const PointFormat& format);
    bool open(const QString& crs) override;
};

class DrawingWriter : public TextFormatWriter
{
public:
    using TextFormatWriter::TextFormatWriter;
    // The header holds the extents of every point: they are taken in a first pass.
    bool needs_first_pass() const override { return true; }
    void first_pass(const QString& point_line) override { extents_.include(point_line); }
    bool open(const QString& crs) override;
    // False for a line that is not drawn: fewer than five fields, or N or E not a number (counted).
    bool write_line(const QString& point_line) override;
    bool finish() override;
    // With the points left out (N or E not a number) and those drawn without a height.
    LayerReport report() const override;

private:
    int skipped_ = 0;
    int without_height_ = 0;
    void write_lines(const QStringList& lines);

    DxfExtents extents_;
    QStringList lines_;
};

// The writers the format table of data/pointformats.cpp names.
std::unique_ptr<FormatWriter> make_line_writer(const QString& path, const PointFormat& format, OutputEncoding encoding);
std::unique_ptr<FormatWriter> make_spreadsheet_writer(const QString& path, const PointFormat& format,
                                                      OutputEncoding encoding);
std::unique_ptr<FormatWriter> make_drawing_writer(const QString& path, const PointFormat& format,
                                                  OutputEncoding encoding);

#endif // TEXTWRITERS_H
