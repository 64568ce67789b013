// The geo library's readers and writers behind FileOperation's dispatch: each result of theirs put into
// the report the window and ktconvert tell the user from. Also where a bundle's PROJ and GDAL data are.
#include "formats/geoformats.h"

#include "crs/crstransform.h"
#include "data/columnmapping.h"
#include "data/layerformats.h"
#include "data/pointfields.h"
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

const QString kLandXml = QStringLiteral("xml");

// Points of a file that names its own system, put into the chosen one. False when PROJ knows no way
// between them (report->failure set).
bool transform_lines(QStringList* lines, const QString& from, const QString& to, LayerReport* report)
{
    CrsTransform transform;
    if (!transform.open(from, to)) {
        report->failure = LayerReport::UnknownCrs;
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

bool read_landxml(const QString& path, const QString& crs, QStringList* lines, LayerReport* report)
{
    LandXmlPoints points = read_landxml_file(path);
    static const LayerReport::Failure kFailures[] = {LayerReport::None, LayerReport::CannotOpen,
                                                     LayerReport::NotWellFormed, LayerReport::NotLandXml,
                                                     LayerReport::NoPoints};
    report->failure = kFailures[points.status];
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

bool read_gis(const QString& path, const QString& crs, QStringList* lines, LayerReport* report)
{
    GisPoints points = read_gis_file(path, crs);
    static const LayerReport::Failure kFailures[] = {LayerReport::None, LayerReport::CannotOpen,
                                                     LayerReport::NoPointLayer, LayerReport::GeographicWithoutCrs,
                                                     LayerReport::UnknownCrs};
    report->failure = kFailures[points.status];
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

bool read_workbook_points(const QString& path, const QString& columns, QStringList* lines, LayerReport* report)
{
    const WorkbookRows book = read_workbook(path);
    report->layer = book.sheet;
    report->layer_count = book.sheet_count;
    if (!book.ok()) {
        report->failure = LayerReport::CannotOpen;
        report->message = book.message;
        return false;
    }
    ColumnMapping mapping = guess_mapping(book.rows);
    if (!columns.isEmpty()) {
        const QStringList header = mapping.header ? book.rows.value(mapping.skip_rows) : QStringList();
        ColumnChoiceError error;
        if (!parse_column_choice(columns, header, &mapping, &error)) {
            report->failure =
                error.kind == ColumnChoiceError::NoCoordinates ? LayerReport::NoColumns : LayerReport::BadColumns;
            report->message = error.item.isEmpty() ? columns : error.item;
            return false;
        }
    }
    if (!mapping.has_coordinates()) {
        report->failure = LayerReport::NoColumns;
        return false;
    }
    const MappedPoints points = apply_mapping(book.rows, mapping);
    report->changed_characters = points.changed_characters;
    *lines = points.lines;
    return true;
}

// Rows written as LandXML, with the points outside the system's area of use counted.
class LandXmlLayer : public LayerWriter
{
public:
    LandXmlLayer(const QString& path, const PointFields& fields) : writer_(path, fields), fields_(fields) {}

    bool open(const QString& crs) override
    {
        report_.crs = crs;
        report_.without_crs = crs.isEmpty();
        if (!crs.isEmpty() && !area_.open(crs))
            return fail(LayerReport::UnknownCrs, crs);
        if (!writer_.open(crs))
            return fail(LayerReport::WriteFailed, writer_.error());
        return true;
    }
    bool write(const QStringList& fields) override
    {
        if (failed() || !writer_.write(fields))
            return false;
        double north = 0, east = 0;
        if (!report_.crs.isEmpty() && parse_number(fields_.text(fields, PointRole::North), &north) &&
            parse_number(fields_.text(fields, PointRole::East), &east) && !area_.contains(east, north))
            ++report_.outside_area;
        return true;
    }
    bool failed() const override { return report_.failed(); }
    bool finish() override
    {
        return !failed() && (writer_.finish() || fail(LayerReport::WriteFailed, writer_.error()));
    }
    void cancel() override { writer_.cancel(); }
    LayerReport report() const override
    {
        LayerReport report = report_;
        report.written = writer_.written();
        report.skipped = writer_.skipped();
        report.dropped_characters = writer_.dropped_characters();
        return report;
    }

private:
    bool fail(LayerReport::Failure failure, const QString& message)
    {
        report_.failure = failure;
        report_.message = message;
        return false;
    }

    LandXmlWriter writer_;
    PointFields fields_;
    AreaOfUse area_;
    LayerReport report_;
};

class GisLayer : public LayerWriter
{
public:
    GisLayer(const QString& path, GisFormat format, const PointFields& fields)
        : writer_(path, format, fields), wgs84_(gis_format_is_wgs84(format))
    {
    }

    bool open(const QString& crs) override
    {
        crs_ = crs;
        return writer_.open(crs);
    }
    bool write(const QStringList& fields) override { return writer_.write(fields); }
    bool failed() const override { return writer_.failure() != GisWriter::None; }
    bool finish() override { return writer_.finish(); }
    void cancel() override { writer_.cancel(); }
    LayerReport report() const override
    {
        static const LayerReport::Failure kFailures[] = {LayerReport::None,        LayerReport::NoCrs,
                                                         LayerReport::UnknownCrs,  LayerReport::WriteFailed,
                                                         LayerReport::WriteFailed, LayerReport::WriteFailed};
        LayerReport report;
        report.failure = kFailures[writer_.failure()];
        report.message = writer_.error();
        report.crs = crs_;
        report.without_crs = crs_.isEmpty() && !wgs84_;
        report.written = writer_.written();
        report.skipped = writer_.skipped();
        report.outside_area = writer_.outside_area();
        report.changed_values = writer_.changed_values();
        return report;
    }

private:
    GisWriter writer_;
    bool wgs84_;
    QString crs_;
};

class GeoFormats : public LayerFormats
{
public:
    bool can_read(const QString& suffix) const override { return can_write(suffix) || is_workbook_suffix(suffix); }
    bool can_write(const QString& suffix) const override
    {
        GisFormat format;
        return suffix == kLandXml || gis_format_for_suffix(suffix, &format);
    }

    bool read(const QString& path, const QString& suffix, const QString& crs, const QString& columns,
              const std::function<void(const QString&)>& sink, LayerReport* report) const override
    {
        *report = LayerReport();
        QStringList lines;
        bool read = false;
        if (suffix == kLandXml)
            read = read_landxml(path, crs, &lines, report);
        else if (is_workbook_suffix(suffix))
            read = read_workbook_points(path, columns, &lines, report);
        else
            read = read_gis(path, crs, &lines, report);
        if (!read)
            return false;
        for (const QString& line : qAsConst(lines))
            sink(line);
        return true;
    }

    std::unique_ptr<LayerWriter> writer(const QString& path, const QString& suffix,
                                        const PointFields& fields) const override
    {
        GisFormat format = GisFormat::GeoPackage;
        if (suffix != kLandXml && gis_format_for_suffix(suffix, &format))
            return std::make_unique<GisLayer>(path, format, fields);
        return std::make_unique<LandXmlLayer>(path, fields);
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
