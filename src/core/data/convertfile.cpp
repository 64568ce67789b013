// Streaming conversion between coordinate file formats.
#include "data/convertfile.h"

#include "data/fileoperation.h"
#include "data/linefields.h"
#include "data/pointwriter.h"

#include <QFileInfo>

namespace
{

bool is_point(const QString& line)
{
    return LineFields(line, 5).has(5);
}

} // namespace

PointFileConversion convert_point_file(const QString& input, const QString& output, OutputEncoding encoding,
                                       const QString& crs, const QString& columns)
{
    PointFileConversion result;
    const QString input_suffix = QFileInfo(input).suffix();
    const QString output_suffix = QFileInfo(output).suffix();
    if (!PointFormat::for_suffix(input_suffix).is_known()) {
        result.outcome = PointFileConversion::UnknownInputFormat;
        result.reason = PointFormat::unknown_reason(input_suffix);
        return result;
    }
    const PointFormat output_format = PointFormat::for_suffix(output_suffix);
    if (!output_format.is_known()) {
        result.outcome = PointFileConversion::UnknownOutputFormat;
        result.reason = PointFormat::unknown_reason(output_suffix);
        return result;
    }

    FileOperation reader;
    reader.crs = crs;
    reader.columns = columns;
    // A drawing's header holds the extents of all points: a first pass finds them.
    DxfExtents extents;
    if (output_format.kind() == PointFormat::Drawing) {
        qint64 points = 0;
        const bool read = reader.read_points(input, input_suffix, [&](const QString& line) {
            if (is_point(line))
                ++points;
            extents.include(line);
        });
        result.read = reader.last_read;
        result.layer_read = reader.last_layer;
        if (!read) {
            result.outcome = PointFileConversion::InputUnreadable;
            result.reason = reader.last_error;
            return result;
        }
        if (points == 0) {
            result.outcome = PointFileConversion::NoPoints;
            return result;
        }
    }

    PointFileWriter writer(output, output_suffix, encoding);
    writer.set_crs(crs);
    if (!writer.open(extents)) {
        result.outcome = PointFileConversion::OutputUnwritable;
        result.reason = writer.error();
        result.layer_written = writer.layer_report();
        return result;
    }
    // The column formats and drawings give five-field point lines only; raw lines are checked.
    const bool only_points = PointFormat::for_suffix(input_suffix).kind() != PointFormat::Raw;
    const bool read = reader.read_points(input, input_suffix, [&](const QString& line) {
        const bool point = only_points || is_point(line);
        if (point)
            ++result.points_read;
        if (writer.write(line) && point)
            ++result.points_written;
    });
    result.read = reader.last_read;
    result.layer_read = reader.last_layer;
    if (!read) {
        writer.cancel();
        result.outcome = PointFileConversion::InputUnreadable;
        result.reason = reader.last_error;
        return result;
    }
    if (result.points_read == 0) {
        writer.cancel();
        result.outcome = PointFileConversion::NoPoints;
        return result;
    }
    writer.flush();
    result.unencodable = writer.unencodable_characters();
    if (result.unencodable > 0) {
        writer.cancel();
        result.outcome = PointFileConversion::Unencodable;
        result.first_unencodable = writer.first_unencodable();
        return result;
    }
    if (!writer.finish()) {
        result.outcome = PointFileConversion::OutputUnwritable;
        result.reason = writer.error();
    }
    result.layer_written = writer.layer_report();
    return result;
}
