// The geo library's readers and writers behind FileOperation's dispatch: each result of theirs put into
// the report the window and ktconvert tell the user from. Also where a bundle's PROJ and GDAL data are.
#include "formats/geoformats.h"

#include "crs/crstransform.h"
#include "data/columnmapping.h"
#include "data/layerformats.h"
#include "data/pointfields.h"
#include "data/pointformats.h"
#include "formats/areacheck.h"
#include "gis/gisreader.h"
#include "gis/giswriter.h"
#include "gis/workbookreader.h"
#include "landxml/landxmlreader.h"
#include "landxml/landxmlwriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <utility>

namespace
{

using LineSink = std::function<void(const QString&)>;

// Points of a file that names its own system, put into the chosen one as they are read. open()
// is false when PROJ knows no way between them (report->failure set).
class LineTransform
{
public:
    explicit LineTransform(LayerReport* report) : report_(report) {}

    bool open(const QString& from, const QString& to)
    {
        if (!transform_.open(from, to)) {
            report_->failure = FileFinding::UnknownCrs;
            report_->message = transform_.error();
            return false;
        }
        geographic_ = describe_crs(to).kind == CrsInfo::Geographic;
        report_->transformed = true;
        return true;
    }
    bool is_open() const { return transform_.is_open(); }

    // The line in the chosen system, or false (counted) when it cannot be put there.
    bool apply(const QString& line, QString* moved)
    {
        fields_ = split_point_line(line);
        double north = 0, east = 0;
        if (fields_.size() < 5 || !parse_number(fields_[2], &north) || !parse_number(fields_[3], &east) ||
            !transform_.forward(&east, &north)) {
            ++report_->failed_transforms;
            return false;
        }
        fields_[2] = format_number(north, geographic_ ? 9 : 4);
        fields_[3] = format_number(east, geographic_ ? 9 : 4);
        *moved = fields_.join(QLatin1Char(','));
        return true;
    }

private:
    LayerReport* report_;
    CrsTransform transform_;
    bool geographic_ = false;
    QStringList fields_;
};

bool read_landxml(const QString& path, const QString& crs, const QString& /*columns*/, const LineSink& sink,
                  LayerReport* report)
{
    LineTransform transform(report);
    bool refused = false;
    const auto ready = [&](const LandXmlPoints& checked) {
        if (crs.isEmpty() || checked.crs.isEmpty())
            return true;
        report->target_crs = crs;
        if (describe_crs(checked.crs).id() == describe_crs(crs).id())
            return true;
        refused = !transform.open(checked.crs, crs);
        return !refused;
    };
    QString moved;
    const LandXmlPoints points = read_landxml_file(
        path,
        [&](const QString& line) {
            if (!transform.is_open())
                sink(line);
            else if (transform.apply(line, &moved))
                sink(moved);
        },
        ready);
    if (!refused)
        report->failure = points.finding();
    report->message = refused ? report->message : points.message;
    report->line = points.line;
    report->column = points.column;
    report->crs = points.crs;
    report->without_coordinates = points.without_coordinates;
    report->changed_characters = points.changed_characters;
    return points.ok() && !refused;
}

bool read_gis(const QString& path, const QString& crs, const QString& /*columns*/, const LineSink& sink,
              LayerReport* report)
{
    GisPoints points = read_gis_file(path, crs);
    report->failure = points.finding();
    report->message = points.message;
    report->layer = points.layer;
    report->layer_count = points.layer_count;
    report->crs = points.layer_crs;
    if (!crs.isEmpty() && points.layer_has_crs)
        report->target_crs = crs;
    report->transformed = points.transformed;
    report->other_geometries = points.other_geometries;
    report->empty_geometries = points.empty_geometries;
    report->failed_transforms = points.failed_transforms;
    report->changed_characters = points.changed_characters;
    for (const QString& line : qAsConst(points.lines))
        sink(line);
    return points.ok();
}

// A workbook's rows mapped into point lines as they are read: the header (or the first data row)
// decides the columns, each row after it is handed on.
bool read_workbook_points(const QString& path, const QString& /*crs*/, const QString& columns, const LineSink& sink,
                          LayerReport* report)
{
    bool mapped = false;
    ColumnMapping mapping;
    MappedPoints counts;
    QString line;
    const auto take_row = [&](const QStringList& row) {
        if (!mapped) {
            mapped = true;
            mapping = guess_mapping({row});
            if (!columns.isEmpty()) {
                ColumnChoiceError error;
                if (!parse_column_choice(columns, mapping.header ? row : QStringList(), &mapping, &error)) {
                    report->failure = error.kind == ColumnChoiceError::NoCoordinates ? FileFinding::NoColumns
                                                                                     : FileFinding::BadColumns;
                    report->message = error.item.isEmpty() ? columns : error.item;
                    return false;
                }
            }
            if (!mapping.has_coordinates()) {
                report->failure = FileFinding::NoColumns;
                return false;
            }
            if (mapping.header)
                return true;
        }
        if (map_row(row, mapping, &counts, &line))
            sink(line);
        return true;
    };
    WorkbookRows book;
    const bool read = read_workbook_rows(path, take_row, &book);
    report->layer = book.sheet;
    report->layer_count = book.sheet_count;
    report->hidden_layers = book.hidden_sheets;
    report->dated_numbers = book.dated_in(
        {mapping.column(PointRole::North), mapping.column(PointRole::East), mapping.column(PointRole::Height)});
    report->changed_characters = counts.changed_characters;
    if (!read) {
        report->failure = FileFinding::CannotOpen;
        report->message = book.message;
        return false;
    }
    if (!mapped) { // not one row: no header to name the columns
        report->failure = FileFinding::NoColumns;
        return false;
    }
    return !report->failed();
}

std::unique_ptr<FormatWriter> landxml_writer(const QString& path, const QString& /*suffix*/, const PointFields& fields)
{
    return std::make_unique<LandXmlWriter>(path, fields);
}

std::unique_ptr<FormatWriter> gis_writer(const QString& path, const QString& suffix, const PointFields& fields)
{
    GisFormat format = GisFormat::GeoPackage;
    gis_format_for_suffix(suffix, &format);
    return std::make_unique<GisWriter>(path, format, fields);
}

bool is_landxml_suffix(const QString& suffix)
{
    return suffix.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0;
}

bool is_gis_suffix(const QString& suffix)
{
    GisFormat format;
    return gis_format_for_suffix(suffix, &format);
}

// The geo library's formats: the suffixes each takes, its reader, and its writer (none: read only).
// A new format is a reader or a writer class (data/formatwriter.h) and a row here.
struct GeoFormat {
    bool (*takes)(const QString& suffix);
    bool (*read)(const QString& path, const QString& crs, const QString& columns, const LineSink& sink,
                 LayerReport* report);
    std::unique_ptr<FormatWriter> (*writer)(const QString& path, const QString& suffix, const PointFields& fields);
};

const GeoFormat kFormats[] = {
    {is_landxml_suffix, read_landxml, landxml_writer},
    {is_gis_suffix, read_gis, gis_writer},
    {is_workbook_suffix, read_workbook_points, nullptr},
};

const GeoFormat* format_for(const QString& suffix)
{
    for (const GeoFormat& format : kFormats) {
        if (format.takes(suffix))
            return &format;
    }
    return nullptr;
}

class GeoFormats : public LayerFormats
{
public:
    bool can_read(const QString& suffix) const override { return format_for(suffix) != nullptr; }
    bool can_write(const QString& suffix) const override
    {
        const GeoFormat* format = format_for(suffix);
        return format && format->writer;
    }

    bool read(const QString& path, const QString& suffix, const QString& crs, const QString& columns,
              const std::function<void(const QString&)>& sink, LayerReport* report) const override
    {
        *report = LayerReport();
        const GeoFormat* format = format_for(suffix);
        if (!format) {
            report->failure = FileFinding::CannotOpen;
            report->message = PointFormat::unknown_reason(suffix);
            return false;
        }
        return format->read(path, crs, columns, sink, report);
    }

    std::unique_ptr<FormatWriter> writer(const QString& path, const QString& suffix,
                                         const PointFields& fields) const override
    {
        const GeoFormat* format = format_for(suffix);
        return format && format->writer ? format->writer(path, suffix, fields) : nullptr;
    }

    std::unique_ptr<FormatWriter> checked(std::unique_ptr<FormatWriter> inner, const PointFields& fields) const override
    {
        return std::make_unique<AreaCheckedWriter>(std::move(inner), fields);
    }
};

} // namespace

void install_geo_formats()
{
    // A bundle that carries PROJ's database and GDAL's data beside the program (the Windows folder)
    // uses them, unless the environment names others; a system install finds its own.
    const QString here = QCoreApplication::applicationDirPath();
    for (const auto& data : {std::make_pair("PROJ_DATA", "proj"), std::make_pair("GDAL_DATA", "gdal-data")}) {
        const QString folder = here + QLatin1Char('/') + QLatin1String(data.second);
        if (!here.isEmpty() && qEnvironmentVariableIsEmpty(data.first) && QFileInfo(folder).isDir())
            qputenv(data.first, QDir::toNativeSeparators(folder).toLocal8Bit());
    }
    static const GeoFormats formats;
    install_layer_formats(&formats);
}

bool is_workbook_suffix(const QString& suffix)
{
    return suffix.compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0 ||
           suffix.compare(QLatin1String("ods"), Qt::CaseInsensitive) == 0;
}
