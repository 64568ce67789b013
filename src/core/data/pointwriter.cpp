// Writing a coordinate file point by point.
#include "data/pointwriter.h"

namespace
{

// `line` split at its commas into `fields`, as QString::split keeps empty parts; the strings of
// `fields` are overwritten in place, so a writer called a million times allocates no field texts.
void split_fields(const QString& line, QStringList* fields)
{
    int count = 0;
    const QChar* data = line.constData();
    for (int start = 0;; ++count) {
        int end = line.indexOf(QLatin1Char(','), start);
        if (end < 0)
            end = int(line.size());
        if (count < fields->size())
            (*fields)[count].setUnicode(data + start, end - start);
        else
            fields->append(QString(data + start, end - start));
        if (end == line.size())
            break;
        start = end + 1;
    }
    fields->erase(fields->begin() + count + 1, fields->end());
}

} // namespace

PointFileWriter::PointFileWriter(const QString& path, const QString& suffix, OutputEncoding encoding)
    : format_(PointFormat::for_suffix(suffix)), path_(path), suffix_(suffix), file_(path, false, encoding)
{
}

PointFileWriter::~PointFileWriter() = default;

bool PointFileWriter::open(const DxfExtents& extents)
{
    const bool writable = format_.kind() != PointFormat::Layer || layer_formats()->can_write(suffix_.toLower());
    if (!format_.is_known() || !writable) {
        error_ = PointFormat::unknown_reason(suffix_);
        return false;
    }
    if (format_.kind() == PointFormat::Layer) {
        layer_ = layer_formats()->writer(path_, suffix_.toLower(), PointFields::point_line());
        if (!layer_->open(crs_)) {
            error_ = layer_->report().message;
            return false;
        }
        return true;
    }
    if (!file_.open()) {
        error_ = file_.error();
        return false;
    }
    if (format_.kind() == PointFormat::Drawing) {
        QStringList lines;
        dxf_append_header(lines, extents);
        dxf_append_tables(lines);
        dxf_append_blocks(lines);
        dxf_append_entities_start(lines);
        for (const QString& line : qAsConst(lines))
            file_.write_line(line);
    }
    return true;
}

bool PointFileWriter::write(const QString& point_line)
{
    ++sequence_;
    if (layer_) {
        split_fields(point_line, &layer_fields_);
        return layer_->write(layer_fields_);
    }
    if (format_.kind() == PointFormat::Drawing) {
        drawing_lines_.clear();
        if (!dxf_append_point(drawing_lines_, point_line))
            return false;
        for (const QString& line : qAsConst(drawing_lines_))
            file_.write_line(line);
        return true;
    }
    if (!format_.file_line(point_line, sequence_, &line_))
        return false;
    file_.write_line(line_);
    return true;
}

void PointFileWriter::cancel()
{
    if (layer_)
        layer_->cancel();
    else
        file_.cancel();
}

bool PointFileWriter::finish()
{
    if (layer_) {
        if (!layer_->finish()) {
            error_ = layer_->report().message;
            return false;
        }
        return true;
    }
    if (format_.kind() == PointFormat::Drawing) {
        QStringList lines;
        dxf_append_entities_end(lines);
        dxf_append_eof(lines);
        for (const QString& line : qAsConst(lines))
            file_.write_line(line);
    }
    if (!file_.finish()) {
        error_ = file_.error();
        return false;
    }
    return true;
}
