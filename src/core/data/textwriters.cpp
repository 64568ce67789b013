// The text formats' writers, a point line at a time.
#include "data/textwriters.h"

#include "data/linefields.h"
#include "data/pointfields.h"

bool TextFormatWriter::open(const QString& /*crs*/)
{
    if (file_.open())
        return true;
    error_ = file_.error();
    return false;
}

bool TextFormatWriter::finish()
{
    if (file_.finish())
        return true;
    error_ = file_.error();
    return false;
}

LayerReport TextFormatWriter::report() const
{
    LayerReport report;
    report.message = error_;
    report.unencodable = file_.unencodable_characters();
    report.first_unencodable = file_.first_unencodable();
    return report;
}

LineFormatWriter::LineFormatWriter(const QString& path, const PointFormat& format, OutputEncoding encoding)
    : TextFormatWriter(path, encoding), format_(format)
{
}

bool LineFormatWriter::write_line(const QString& point_line)
{
    if (!format_.file_line(point_line, ++sequence_, &line_))
        return false;
    file_.write_line(line_);
    // A text keeps the row as it stands; what is not a number, or lost past the fifth field, is told.
    const LineFields fields(point_line, 6);
    const bool raw = format_.kind() == PointFormat::Raw;
    if (fields.has(5) && (!raw || !fields.has(6))) {
        double value = 0;
        if (!parse_number(fields.field(2), &value) || !parse_number(fields.field(3), &value))
            ++not_numbers_;
        if (!raw && fields.has(6))
            ++extra_fields_;
    }
    return true;
}

LayerReport LineFormatWriter::report() const
{
    LayerReport report = TextFormatWriter::report();
    report.not_numbers_kept = not_numbers_;
    report.extra_fields = extra_fields_;
    return report;
}

SpreadsheetWriter::SpreadsheetWriter(const QString& path, const PointFormat& format)
    : LineFormatWriter(path, format, OutputEncoding::Utf8WithBom)
{
}

bool SpreadsheetWriter::open(const QString& crs)
{
    if (!LineFormatWriter::open(crs))
        return false;
    file_.write_line(QString::fromLatin1(PointFormat::kSpreadsheetHeader));
    return true;
}

void DrawingWriter::write_lines(const QStringList& lines)
{
    for (const QString& line : lines)
        file_.write_line(line);
}

bool DrawingWriter::open(const QString& crs)
{
    if (!TextFormatWriter::open(crs))
        return false;
    lines_.clear();
    dxf_append_header(lines_, extents_);
    dxf_append_tables(lines_);
    dxf_append_blocks(lines_);
    dxf_append_entities_start(lines_);
    write_lines(lines_);
    return true;
}

bool DrawingWriter::write_line(const QString& point_line)
{
    lines_.clear();
    const DxfPoint drawn = dxf_append_point(lines_, point_line);
    skipped_ += drawn == DxfPoint::NotANumber;
    without_height_ += drawn == DxfPoint::DrawnWithoutHeight;
    if (!dxf_drawn(drawn))
        return false;
    write_lines(lines_);
    return true;
}

LayerReport DrawingWriter::report() const
{
    LayerReport report = TextFormatWriter::report();
    report.skipped = skipped_;
    report.without_height = without_height_;
    return report;
}

bool DrawingWriter::finish()
{
    lines_.clear();
    dxf_append_entities_end(lines_);
    dxf_append_eof(lines_);
    write_lines(lines_);
    return TextFormatWriter::finish();
}

std::unique_ptr<FormatWriter> make_line_writer(const QString& path, const PointFormat& format, OutputEncoding encoding)
{
    return std::make_unique<LineFormatWriter>(path, format, encoding);
}

std::unique_ptr<FormatWriter> make_spreadsheet_writer(const QString& path, const PointFormat& format,
                                                      OutputEncoding /*encoding*/)
{
    return std::make_unique<SpreadsheetWriter>(path, format);
}

std::unique_ptr<FormatWriter> make_drawing_writer(const QString& path, const PointFormat& /*format*/,
                                                  OutputEncoding encoding)
{
    return std::make_unique<DrawingWriter>(path, encoding);
}
