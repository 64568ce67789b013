// Lines and areas as GIS layers beside the points, through GDAL/OGR.
#include "gis/lineworklayers.h"

#include "crs/crstransform.h"
#include "gis/gdalsupport.h"

#include <QFileInfo>
#include <QVector>

namespace
{

// The attributes of every line and area feature, created where the layer lacks them.
struct Fields {
    int code = -1;
    int string_number = -1;
    int first = -1;
    int last = -1;
    int name = -1; // KML's own placemark name
};

bool field_of(OGRLayerH layer, const char* name, OGRFieldType type, int* index)
{
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    *index = OGR_FD_GetFieldIndex(definition, name);
    if (*index >= 0)
        return true;
    OGRFieldDefnH field = OGR_Fld_Create(name, type);
    if (type == OFTString)
        OGR_Fld_SetWidth(field, 254);
    const OGRErr made = OGR_L_CreateField(layer, field, TRUE);
    OGR_Fld_Destroy(field);
    *index = OGR_FD_GetFieldCount(definition) - 1;
    return made == OGRERR_NONE;
}

bool make_fields(OGRLayerH layer, GisFormat format, Fields* fields)
{
    if (format == GisFormat::Kml)
        fields->name = OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(layer), "Name");
    return field_of(layer, "code", OFTString, &fields->code) &&
           field_of(layer, "string", OFTInteger, &fields->string_number) &&
           field_of(layer, "first", OFTString, &fields->first) && field_of(layer, "last", OFTString, &fields->last);
}

class Writer
{
public:
    Writer(GDALDatasetH dataset, GisFormat format, LineworkLayersReport* report)
        : dataset_(dataset), format_(format), report_(report)
    {
    }

    bool open_transform(const QString& crs);
    // Writes the drawable lines (areas: false) or areas (true) of the linework into a layer of its own,
    // or for GeoJSON into the points' layer.
    bool write_kind(const LineworkBuilder& linework, bool areas, const QString& layer_name);

private:
    bool fail(const QString& error);
    OGRLayerH make_layer(const QString& name, bool areas, bool z);
    OGRGeometryH geometry(const LineworkLine& line, bool z);
    bool write_line(OGRLayerH layer, const Fields& fields, const LineworkLine& line, bool z);

    GDALDatasetH dataset_;
    GisFormat format_;
    LineworkLayersReport* report_;
    CrsTransform to_wgs84_;
};

bool Writer::fail(const QString& error)
{
    if (report_->error.isEmpty())
        report_->error = error.isEmpty() ? QStringLiteral("GDAL failed without saying why") : error;
    return false;
}

bool Writer::open_transform(const QString& crs)
{
    if (!gis_format_is_wgs84(format_))
        return true;
    if (crs.isEmpty())
        return fail(QStringLiteral("GeoJSON and KML need the points' coordinate system"));
    if (!to_wgs84_.open(crs, kWgs84))
        return fail(to_wgs84_.error());
    return true;
}

OGRLayerH Writer::make_layer(const QString& name, bool areas, bool z)
{
    if (format_ == GisFormat::GeoJson)
        return GDALDatasetGetLayer(dataset_, 0);
    OGRLayerH points = GDALDatasetGetLayerCount(dataset_) > 0 ? GDALDatasetGetLayer(dataset_, 0) : nullptr;
    OgrSrs wgs84;
    OGRSpatialReferenceH srs = points ? OGR_L_GetSpatialRef(points) : nullptr;
    if (gis_format_is_wgs84(format_)) {
        wgs84 = make_srs(QString::fromLatin1(kWgs84));
        srs = wgs84.get();
    }
    QVector<QByteArray> option_texts;
    if (format_ == GisFormat::Shapefile)
        option_texts = {areas ? (z ? "SHPT=POLYGONZ" : "SHPT=POLYGON") : (z ? "SHPT=ARCZ" : "SHPT=ARC"),
                        "ENCODING=UTF-8", "RESIZE=YES"};
    QVector<char*> options;
    for (QByteArray& option : option_texts)
        options << option.data();
    options << nullptr;
    const OGRwkbGeometryType type = areas ? (z ? wkbPolygon25D : wkbPolygon) : (z ? wkbLineString25D : wkbLineString);
    return GDALDatasetCreateLayer(dataset_, name.toUtf8().constData(), srs, type, options.data());
}

OGRGeometryH Writer::geometry(const LineworkLine& line, bool z)
{
    OGRGeometryH path = OGR_G_CreateGeometry(line.area ? wkbLinearRing : wkbLineString);
    const int count = line.vertices.size();
    // A closed line and an area's ring end where they began.
    for (int i = 0; i <= count; ++i) {
        if (i == count && !line.closed)
            break;
        const LineworkVertex& vertex = line.vertices[i % count];
        double x = vertex.e, y = vertex.n;
        if (to_wgs84_.is_open() && !to_wgs84_.forward(&x, &y)) {
            OGR_G_DestroyGeometry(path);
            return nullptr;
        }
        if (z)
            OGR_G_AddPoint(path, x, y, vertex.z);
        else
            OGR_G_AddPoint_2D(path, x, y);
    }
    if (!line.area)
        return path;
    OGRGeometryH polygon = OGR_G_CreateGeometry(z ? wkbPolygon25D : wkbPolygon);
    OGR_G_AddGeometryDirectly(polygon, path);
    return polygon;
}

bool Writer::write_line(OGRLayerH layer, const Fields& fields, const LineworkLine& line, bool z)
{
    OGRGeometryH shape = geometry(line, z);
    if (!shape) {
        ++report_->failed_transforms;
        return true;
    }
    OgrFeature feature(OGR_F_Create(OGR_L_GetLayerDefn(layer)));
    OGR_F_SetGeometryDirectly(feature.get(), shape);
    const QByteArray code = line.code.toUtf8();
    OGR_F_SetFieldString(feature.get(), fields.code, code.constData());
    if (line.string_number > 0)
        OGR_F_SetFieldInteger(feature.get(), fields.string_number, line.string_number);
    OGR_F_SetFieldString(feature.get(), fields.first, line.first_name().toUtf8().constData());
    OGR_F_SetFieldString(feature.get(), fields.last, line.last_name().toUtf8().constData());
    if (fields.name >= 0) {
        const QString label = line.string_number > 0 ? line.code + QString::number(line.string_number) : line.code;
        OGR_F_SetFieldString(feature.get(), fields.name, label.toUtf8().constData());
    }
    GdalMessages messages;
    if (OGR_L_CreateFeature(layer, feature.get()) != OGRERR_NONE || messages.failed())
        return fail(messages.text());
    ++(line.area ? report_->areas : report_->lines);
    return true;
}

bool Writer::write_kind(const LineworkBuilder& linework, bool areas, const QString& layer_name)
{
    QVector<const LineworkLine*> lines;
    bool all_z = true;
    for (const LineworkLine& line : linework.lines()) {
        if (line.area == areas && line.drawable() && line.entry >= 0) {
            lines << &line;
            const bool z = line.has_heights();
            all_z = all_z && z;
            report_->flat += z ? 0 : 1;
        }
    }
    if (lines.isEmpty())
        return true;
    GdalMessages messages;
    OGRLayerH layer = make_layer(layer_name, areas, all_z);
    Fields fields;
    if (!layer || !make_fields(layer, format_, &fields))
        return fail(messages.text());
    const bool transaction = GDALDatasetTestCapability(dataset_, ODsCTransactions) &&
                             GDALDatasetStartTransaction(dataset_, FALSE) == OGRERR_NONE;
    for (const LineworkLine* line : lines) {
        // GeoJSON's features each carry their own dimension.
        const bool z = format_ == GisFormat::GeoJson ? line->has_heights() : all_z;
        if (!write_line(layer, fields, *line, z)) {
            if (transaction)
                GDALDatasetRollbackTransaction(dataset_);
            return false;
        }
    }
    if (transaction && GDALDatasetCommitTransaction(dataset_) != OGRERR_NONE)
        return fail(messages.text());
    return true;
}

} // namespace

QString linework_lines_name(const QString& points_name)
{
    return points_name + QStringLiteral("_lines");
}

QString linework_areas_name(const QString& points_name)
{
    return points_name + QStringLiteral("_areas");
}

QStringList linework_companion_files(const QString& points_path, GisFormat format)
{
    if (format != GisFormat::Shapefile)
        return {};
    const QString base = QFileInfo(points_path).completeBaseName();
    QStringList names;
    for (const QString& layer : {linework_lines_name(base), linework_areas_name(base)}) {
        for (const char* suffix : {".shp", ".shx", ".dbf", ".prj", ".cpg"})
            names << layer + QLatin1String(suffix);
    }
    return names;
}

bool write_linework_layers(GDALDatasetH dataset, GisFormat format, const QString& points_name, const QString& crs,
                           const LineworkBuilder& linework, LineworkLayersReport* report)
{
    *report = LineworkLayersReport();
    if (!dataset) {
        report->error = QStringLiteral("no dataset to add the linework to");
        return false;
    }
    Writer writer(dataset, format, report);
    return writer.open_transform(crs) && writer.write_kind(linework, false, linework_lines_name(points_name)) &&
           writer.write_kind(linework, true, linework_areas_name(points_name));
}
