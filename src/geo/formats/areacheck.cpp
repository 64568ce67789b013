// Counting the points a writer puts outside the chosen system's area of use.
#include "formats/areacheck.h"

#include "data/linefields.h"

AreaCheckedWriter::AreaCheckedWriter(std::unique_ptr<FormatWriter> inner, const PointFields& fields)
    : inner_(std::move(inner)), north_field_(fields.field(PointRole::North)), east_field_(fields.field(PointRole::East))
{
}

bool AreaCheckedWriter::open(const QString& crs)
{
    crs_ = crs;
    // An unknown system counts no point outside; the writer itself says what it makes of it.
    if (!crs_.isEmpty())
        area_.open(crs_);
    return inner_->open(crs);
}

bool AreaCheckedWriter::write_line(const QString& line)
{
    const bool written = inner_->write_line(line);
    if (!written || crs_.isEmpty() || north_field_ < 0 || east_field_ < 0)
        return written;
    const LineFields fields(line, qMax(north_field_, east_field_) + 1);
    double north = 0, east = 0;
    if (fields.has(qMax(north_field_, east_field_) + 1) && parse_number(fields.field(north_field_), &north) &&
        parse_number(fields.field(east_field_), &east) && !area_.contains(east, north))
        ++outside_;
    return written;
}

LayerReport AreaCheckedWriter::report() const
{
    LayerReport report = inner_->report();
    report.outside_area = outside_;
    if (report.crs.isEmpty())
        report.crs = crs_;
    return report;
}
