// The geo library's readers and writers behind FileOperation's dispatch: each result of theirs put into
// the report the window and ktconvert tell the user from. Also where a bundle's PROJ and GDAL data are.
#include "formats/geoformats.h"

#include "crs/crstransform.h"
#include "data/columnmapping.h"
#include "data/layerformats.h"
#include "data/pointfields.h"
#include "data/pointformats.h"
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

// Points of a file that names its own system, put into the chosen one. False when PROJ knows no way
// between them (report->failure set).
bool transform_lines(QStringList* lines, const QString& from, const QString& to, LayerReport* report)
{
    CrsTransform transform;
    if (!transform.open(from, to)) {
        report->failure = FileFinding::UnknownCrs;
        report->message = transform.error();
        return false;
    }
    const bool geographic = describe_crs(to).kind == CrsInfo::Geographic;
    QStringList kept;
    for (const QString& line : qAsConst(*lines)) {
        QStringList fields = split_point_line(line);
        double north = 0, east = 0;
        if (fields.size() < 5 || !parse_number(fields[2], &north) || !parse_number(fields[3], &east) ||
            !transform.forward(&east, &north)) {
            ++report->failed_transforms;
            continue;
        }
        fields[2] = format_number(north, geographic ? 9 : 4);
        fields[3] = format_number(east, geographic ? 9 : 4);
        kept.append(fields.join(QLatin1Char(',')));
    }
    *lines = kept;
    report->transformed = true;
    return true;
}

bool read_landxml(const QString& path, const QString& crs, const QString& /*columns*/, QStringList* lines,
                  LayerReport* report)
{
    LandXmlPoints points = read_landxml_file(path);
    report->failure = points.finding();
    report->message = points.message;
    report->line = points.line;
    report->column = points.column;
    report->crs = points.crs;
    report->without_coordinates = points.without_coordinates;
    report->changed_characters = points.changed_characters;
    if (!points.ok())
        return false;
    *lines = points.lines;
    if (!crs.isEmpty() && !points.crs.isEmpty()) {
        report->target_crs = crs;
        if (describe_crs(points.crs).id() != describe_crs(crs).id())
            return transform_lines(lines, points.crs, crs, report);
    }
    return true;
}

bool read_gis(const QString& path, const QString& crs, const QString& /*columns*/, QStringList* lines,
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
    *lines = points.lines;
    return points.ok();
}

bool read_workbook_points(const QString& path, const QString& /*crs*/, const QString& columns, QStringList* lines,
                          LayerReport* report)
{
    const WorkbookRows book = read_workbook(path);
    report->layer = book.sheet;
    report->layer_count = book.sheet_count;
    if (!book.ok()) {
        report->failure = FileFinding::CannotOpen;
        report->message = book.message;
        return false;
    }
    ColumnMapping mapping = guess_mapping(book.rows);
    if (!columns.isEmpty()) {
        const QStringList header = mapping.header ? book.rows.value(mapping.skip_rows) : QStringList();
        ColumnChoiceError error;
        if (!parse_column_choice(columns, header, &mapping, &error)) {
            report->failure =
                error.kind == ColumnChoiceError::NoCoordinates ? FileFinding::NoColumns : FileFinding::BadColumns;
            report->message = error.item.isEmpty() ? columns : error.item;
            return false;
        }
    }
    if (!mapping.has_coordinates()) {
        report->failure = FileFinding::NoColumns;
        return false;
    }
    const MappedPoints points = apply_mapping(book.rows, mapping);
    report->changed_characters = points.changed_characters;
    *lines = points.lines;
    return true;
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
    bool (*read)(const QString& path, const QString& crs, const QString& columns, QStringList* lines,
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
        QStringList lines;
        if (!format) {
            report->failure = FileFinding::CannotOpen;
            report->message = PointFormat::unknown_reason(suffix);
            return false;
        }
        if (!format->read(path, crs, columns, &lines, report))
            return false;
        for (const QString& line : qAsConst(lines))
            sink(line);
        return true;
    }

    std::unique_ptr<FormatWriter> writer(const QString& path, const QString& suffix,
                                         const PointFields& fields) const override
    {
        const GeoFormat* format = format_for(suffix);
        return format && format->writer ? format->writer(path, suffix, fields) : nullptr;
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
