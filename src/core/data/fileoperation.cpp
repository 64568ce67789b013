// Reading and writing coordinate files as text lines, in the format the file suffix names.
#include "data/fileoperation.h"
#include "corelog.h"

#include "data/pointformats.h"
#include "data/textfile.h"

bool FileOperation::open_for_reading(TextFileReader& reader, const QString& filename)
{
    last_read = ReadReport();
    last_read_ok = reader.open(filename);
    if (!last_read_ok)
        finish_reading(reader);
    return last_read_ok;
}

bool FileOperation::finish_reading(const TextFileReader& reader)
{
    last_read.encoding = reader.encoding();
    last_read.encoding_name = reader.encoding_name();
    last_read.undecodable_bytes = reader.undecodable_bytes();
    last_read.failure = reader.failure();
    if (reader.failure() == TextFileReader::Failure::LongLine)
        last_read.long_line = reader.lines_read() + 1;
    last_read_ok = !reader.failed();
    if (!last_read_ok)
        last_error = reader.error();
    return last_read_ok;
}

QStringList FileOperation::readfile(QString filename)
{
    QStringList lines;
    TextFileReader reader;
    if (!open_for_reading(reader, filename))
        return lines;
    QString line;
    while (reader.read_line(&line))
        lines.append(line);
    // A file read only in part gives nothing: its lines are not what the file holds.
    if (!finish_reading(reader))
        lines.clear();
    return lines;
}

bool FileOperation::writefile(QString filename, QStringList msglist, bool flag)
{
    if (msglist.isEmpty())
        return true;
    last_write_unencodable = 0;
    TextFileWriter writer(filename, flag, write_encoding);
    if (!writer.open()) {
        qCDebug(lcCore) << "open fail!";
        last_error = writer.error();
        return false;
    }
    for (const QString& line : qAsConst(msglist))
        writer.write_line(line);
    writer.flush();
    last_write_unencodable = writer.unencodable_characters();
    if (!writer.finish()) {
        last_error = writer.error();
        return false;
    }
    return true;
}

QStringList FileOperation::readfile_byextension(QString filename, QString extension)
{
    QStringList lines;
    if (!read_points(filename, extension, [&lines](const QString& line) { lines.append(line); }))
        lines.clear();
    return lines;
}

bool FileOperation::read_points(const QString& filename, const QString& extension, const PointSink& sink)
{
    const PointFormat format = PointFormat::for_suffix(extension);
    if (format.kind() == PointFormat::Drawing)
        return read_dxf_points(filename, sink);
    if (format.kind() == PointFormat::Layer)
        return read_layer_points(filename, extension, sink);
    if (reads_decimal_commas(filename, extension))
        return read_decimal_comma_points(filename, sink);
    TextFileReader reader;
    if (!open_for_reading(reader, filename))
        return false;
    if (!format.is_known())
        return true; // no format: nothing to read
    last_read.fields_needed = format.fields();
    QString line;
    QString point;
    while (reader.read_line(&line)) {
        if (format.point_line(line, &point))
            sink(point);
        else if (!line.trimmed().isEmpty())
            ++last_read.lines_skipped;
    }
    return finish_reading(reader);
}

QStringList FileOperation::getloaddata(QString extension, QStringList datalist)
{
    QStringList points;
    const PointFormat format = PointFormat::for_suffix(extension);
    QString point;
    for (const QString& line : qAsConst(datalist)) {
        if (format.point_line(line, &point))
            points.append(point);
    }
    return points;
}

bool FileOperation::writefile_byextension(QString filename, QString extension, QStringList msgslist, bool flag)
{
    last_layer = LayerReport();
    last_write_unencodable = 0;
    const PointFormat format = PointFormat::for_suffix(extension);
    if (format.kind() == PointFormat::Unknown ||
        (format.kind() == PointFormat::Layer && !layer_formats()->can_write(extension.toLower()))) {
        last_error = PointFormat::unknown_reason(extension);
        return false;
    }
    // Appending adds the lines as they stand; no line to write leaves a text file untouched.
    if (flag)
        return writefile(filename, msgslist, flag);
    if (msgslist.isEmpty() && format.kind() != PointFormat::Drawing)
        return true;
    return write_through_format(filename, extension, msgslist);
}

QStringList FileOperation::getsavedata(QString extension, QStringList msgslist)
{
    QStringList lines;
    const PointFormat format = PointFormat::for_suffix(extension);
    QString line;
    for (int i = 0; i < msgslist.size(); ++i) {
        if (format.file_line(msgslist[i], i + 1, &line))
            lines.append(line);
    }
    return lines;
}

bool FileOperation::read_layer_points(const QString& filename, const QString& suffix, const PointSink& sink)
{
    last_read = ReadReport();
    last_layer = LayerReport();
    const LayerFormats* layers = layer_formats();
    if (!layers->can_read(suffix.toLower())) {
        last_layer.failure = FileFinding::CannotOpen;
        last_error = last_layer.message = PointFormat::unknown_reason(suffix);
        return last_read_ok = false;
    }
    last_read_ok = layers->read(filename, suffix.toLower(), crs, columns, sink, &last_layer);
    if (!last_read_ok)
        last_error = last_layer.message;
    return last_read_ok;
}

bool FileOperation::write_through_format(const QString& filename, const QString& suffix, const QStringList& lines)
{
    const std::unique_ptr<FormatWriter> writer = format_writer(filename, suffix, write_encoding, layer_fields);
    writer->set_linework(linework);
    if (writer->needs_first_pass()) {
        for (const QString& line : lines)
            writer->first_pass(line);
    }
    bool done = writer->open(crs);
    int written = 0;
    for (int i = 0; done && i < lines.size(); ++i) {
        written += writer->write_line(lines[i]) ? 1 : 0;
        done = !writer->failed();
    }
    if (done)
        writer->flush();
    last_write_unencodable = writer->report().unencodable;
    // A column format that could take none of the lines (all too short) writes no file, as ever.
    if (done && written == 0 && PointFormat::for_suffix(suffix).kind() == PointFormat::Columns) {
        writer->cancel();
        return true;
    }
    done = done ? writer->finish() : (writer->cancel(), false);
    last_layer = writer->report();
    if (!done)
        last_error = last_layer.message;
    return done;
}
