// Streaming conversion between coordinate file formats.
#include "data/convertfile.h"

#include "data/fileoperation.h"
#include "data/formatwriter.h"
#include "data/linefields.h"
#include "data/pointformats.h"

#include <QFileInfo>

namespace
{

bool is_point(const QString& line)
{
    return LineFields(line, 5).has(5);
}

PointFileConversion ended(PointFileConversion result, PointFileConversion::Outcome outcome,
                          const QString& reason = QString())
{
    result.outcome = outcome;
    result.reason = reason;
    return result;
}

// Whether a read of the input gave points to write; when it did not, the outcome says why.
bool read_gave_points(bool read, qint64 points, const FileOperation& reader, PointFileConversion* result)
{
    result->read = reader.last_read;
    result->layer_read = reader.last_layer;
    if (read && points > 0)
        return true;
    *result = read ? ended(*result, PointFileConversion::NoPoints)
                   : ended(*result, PointFileConversion::InputUnreadable, reader.last_error);
    return false;
}

using LineSink = std::function<void(const QString& line)>;
using LineSource = std::function<bool(const LineSink& sink)>;

// Hands the input's points to a writer that needs to see them before it opens (a drawing's header
// holds their extents).
bool first_pass(const LineSource& read_input, FileOperation& reader, FormatWriter* writer, PointFileConversion* result)
{
    qint64 points = 0;
    const bool read = read_input([&](const QString& line) {
        if (is_point(line))
            ++points;
        writer->first_pass(line);
    });
    return read_gave_points(read, points, reader, result);
}

} // namespace

PointFileConversion convert_point_file(const QString& input, const QString& output, OutputEncoding encoding,
                                       const QString& crs, const QString& columns, const LineRework& rework,
                                       const TextConventions& conventions)
{
    PointFileConversion result;
    const QString input_suffix = QFileInfo(input).suffix();
    const QString output_suffix =
        conventions.output_format.isEmpty() ? QFileInfo(output).suffix() : conventions.output_format;
    const PointFormat input_format = PointFormat::for_suffix(input_suffix);
    if (!input_format.is_known())
        return ended(result, PointFileConversion::UnknownInputFormat, PointFormat::unknown_reason(input_suffix));
    if (!PointFormat::for_suffix(output_suffix).is_known())
        return ended(result, PointFileConversion::UnknownOutputFormat, PointFormat::unknown_reason(output_suffix));

    FileOperation reader;
    reader.crs = crs;
    reader.columns = columns;
    reader.decimal_comma = conventions.decimal_comma;
    // The column formats and drawings give five-field point lines only; raw lines are checked.
    const bool only_points = input_format.kind() != PointFormat::Raw || reader.reads_decimal_commas(input, input_suffix);
    // A rework needs every line at once: they are read once and handed on from memory.
    QStringList held;
    qint64 held_points = 0;
    if (rework) {
        const bool read = reader.read_points(input, input_suffix, [&](const QString& line) {
            held_points += only_points || is_point(line) ? 1 : 0;
            held << line;
        });
        if (!read_gave_points(read, held_points, reader, &result))
            return result;
        rework(&held);
    }
    const LineSource read_input = [&](const LineSink& sink) {
        if (!rework)
            return reader.read_points(input, input_suffix, sink);
        for (const QString& line : held)
            sink(line);
        return true;
    };
    const std::unique_ptr<FormatWriter> writer = format_writer(output, output_suffix, encoding);
    if (writer && writer->needs_first_pass() && !first_pass(read_input, reader, writer.get(), &result))
        return result;
    if (!writer)
        return ended(result, PointFileConversion::OutputUnwritable, PointFormat::unknown_reason(output_suffix));
    if (!writer->open(crs)) {
        result.layer_written = writer->report();
        return ended(result, PointFileConversion::OutputUnwritable, result.layer_written.message);
    }
    const bool read = read_input([&](const QString& line) {
        const bool point = only_points || is_point(line);
        if (point)
            ++result.points_read;
        if (writer->write_line(line) && point)
            ++result.points_written;
    });
    if (!read_gave_points(read, result.points_read, reader, &result)) {
        writer->cancel();
        return result;
    }
    if (rework)
        result.points_read = held_points; // the points read, not those the rework left
    writer->flush();
    const LayerReport gathered = writer->report();
    if (gathered.unencodable > 0) {
        writer->cancel();
        result.unencodable = gathered.unencodable;
        result.first_unencodable = gathered.first_unencodable;
        return ended(result, PointFileConversion::Unencodable);
    }
    // A file of no point would replace what stood there with nothing.
    if (result.points_written == 0) {
        result.layer_written = writer->report();
        writer->cancel();
        return ended(result, PointFileConversion::NoneWritten);
    }
    if (!writer->finish())
        result = ended(result, PointFileConversion::OutputUnwritable, writer->report().message);
    result.layer_written = writer->report();
    return result;
}

PointFileConversion read_point_file(const QString& input, QStringList* point_lines, const QString& crs,
                                    const QString& columns)
{
    PointFileConversion result;
    const QString suffix = QFileInfo(input).suffix();
    const PointFormat format = PointFormat::for_suffix(suffix);
    if (!format.is_known())
        return ended(result, PointFileConversion::UnknownInputFormat, PointFormat::unknown_reason(suffix));
    FileOperation reader;
    reader.crs = crs;
    reader.columns = columns;
    const bool only_points = format.kind() != PointFormat::Raw;
    const bool read = reader.read_points(input, suffix, [&](const QString& line) {
        if (only_points || is_point(line)) {
            point_lines->append(line);
            ++result.points_read;
        }
    });
    read_gave_points(read, result.points_read, reader, &result);
    return result;
}
