// Reading the first point layer of a GIS file through GDAL/OGR.
#include "gis/gisreader.h"

#include "data/columnmapping.h"
#include "data/pointfields.h"
#include "geologging.h"
#include "gis/gdalsupport.h"
#include "gis/giswriter.h"

#include <QFileInfo>

namespace
{

bool is_point(OGRwkbGeometryType type)
{
    const OGRwkbGeometryType flat = wkbFlatten(type);
    return flat == wkbPoint || flat == wkbMultiPoint;
}

// Whether a layer holds points: by its declared type, or for layers of mixed or unknown geometry
// (KML, GeoJSON) by its features.
bool holds_points(OGRLayerH layer)
{
    const OGRwkbGeometryType type = wkbFlatten(OGR_L_GetGeomType(layer));
    if (is_point(type))
        return true;
    if (type != wkbUnknown && type != wkbGeometryCollection)
        return false;
    OGR_L_ResetReading(layer);
    bool found = false;
    while (!found) {
        OgrFeature feature(OGR_L_GetNextFeature(layer));
        if (!feature)
            break;
        OGRGeometryH geometry = OGR_F_GetGeometryRef(feature.get());
        found = geometry && is_point(OGR_G_GetGeometryType(geometry));
    }
    OGR_L_ResetReading(layer);
    return found;
}

// The attribute of each role: the field named as this program writes it ("name", "code", "Z"), else
// the first whose name says so as a header row would.
void attribute_fields(OGRLayerH layer, int* name, int* code, int* height)
{
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    QStringList header;
    for (int i = 0; i < OGR_FD_GetFieldCount(definition); ++i)
        header << QString::fromUtf8(OGR_Fld_GetNameRef(OGR_FD_GetFieldDefn(definition, i)));
    const ColumnMapping guessed = guess_mapping(TextRows{header});
    const auto pick = [&header, &guessed](const char* own, PointRole role) {
        for (int i = 0; i < header.size(); ++i) {
            if (header.at(i).compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
                return i;
        }
        return guessed.header ? guessed.column(role) : -1;
    };
    *name = pick("name", PointRole::Name);
    *code = pick("code", PointRole::Code);
    *height = pick("Z", PointRole::Height);
}

// An attribute as text; a real as the shortest text of its value (a shapefile stores 12.5 as
// "12.500000000000000").
QString attribute(OGRFeatureH feature, int field)
{
    if (field < 0 || !OGR_F_IsFieldSetAndNotNull(feature, field))
        return QString();
    if (OGR_Fld_GetType(OGR_F_GetFieldDefnRef(feature, field)) == OFTReal)
        return format_number_exact(OGR_F_GetFieldAsDouble(feature, field));
    return QString::fromUtf8(OGR_F_GetFieldAsString(feature, field)).trimmed();
}

// The point of a feature, false for other geometries (counted) and empty ones.
bool feature_point(OGRFeatureH feature, GisPoints& result, double* x, double* y, double* z, bool* has_z)
{
    OGRGeometryH geometry = OGR_F_GetGeometryRef(feature);
    if (!geometry || OGR_G_IsEmpty(geometry)) {
        ++result.empty_geometries;
        return false;
    }
    const OGRwkbGeometryType type = wkbFlatten(OGR_G_GetGeometryType(geometry));
    if (type == wkbMultiPoint && OGR_G_GetGeometryCount(geometry) == 1)
        geometry = OGR_G_GetGeometryRef(geometry, 0);
    else if (type != wkbPoint) {
        ++result.other_geometries;
        return false;
    }
    *x = OGR_G_GetX(geometry, 0);
    *y = OGR_G_GetY(geometry, 0);
    *z = OGR_G_GetZ(geometry, 0);
    *has_z = OGR_G_GetCoordinateDimension(geometry) == 3;
    return true;
}

// The drivers that may read a file of `format`: the one its suffix names (KML by either driver), so
// that a file of another kind under that suffix (a virtual dataset pointing at other files) is refused.
const char* const* drivers_of(GisFormat format)
{
    static const char* const kGeoPackage[] = {"GPKG", nullptr};
    static const char* const kShapefile[] = {"ESRI Shapefile", nullptr};
    static const char* const kGeoJson[] = {"GeoJSON", nullptr};
    static const char* const kKml[] = {"LIBKML", "KML", nullptr};
    switch (format) {
    case GisFormat::GeoPackage:
        return kGeoPackage;
    case GisFormat::Shapefile:
        return kShapefile;
    case GisFormat::GeoJson:
        return kGeoJson;
    case GisFormat::Kml:
        break;
    }
    return kKml;
}

GisPoints refuse(GisPoints result, GisPoints::Status status, const QString& message)
{
    result.status = status;
    result.message = message;
    result.lines.clear();
    qCDebug(lcGeo) << "GIS file refused:" << status << message;
    return result;
}

} // namespace

GisPoints read_gis_file(const QString& path, const QString& crs)
{
    GisPoints result;
    ensure_gdal();
    GdalMessages messages;
    QString why;
    if (!gdal_may_open(path, &why))
        return refuse(result, GisPoints::CannotOpen, why);
    GisFormat format = GisFormat::GeoPackage;
    if (!gis_format_for_suffix(QFileInfo(path).suffix(), &format))
        return refuse(result, GisPoints::CannotOpen, QStringLiteral("no GIS format has this suffix"));
    const QByteArray file = path.toUtf8();
    GdalDataset dataset(
        GDALOpenEx(file.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers_of(format), nullptr, nullptr));
    if (!dataset) {
        // GDAL says nothing of a file its driver does not take as its own.
        const QString text = messages.text();
        return refuse(result, GisPoints::CannotOpen,
                      text.isEmpty() ? QStringLiteral("not a %1 file GDAL can read").arg(drivers_of(format)[0]) : text);
    }
    result.layer_count = GDALDatasetGetLayerCount(dataset.get());
    OGRLayerH layer = nullptr;
    for (int i = 0; i < result.layer_count && !layer; ++i) {
        OGRLayerH candidate = GDALDatasetGetLayer(dataset.get(), i);
        if (candidate && holds_points(candidate))
            layer = candidate;
    }
    if (!layer)
        return refuse(result, GisPoints::NoPointLayer, QString());
    result.layer = QString::fromUtf8(OGR_L_GetName(layer));

    // An engineering system and GeoPackage's "undefined" ones (which GDAL gives a layer written
    // without a system) say no more than none.
    OGRSpatialReferenceH layer_srs = OGR_L_GetSpatialRef(layer);
    if (layer_srs && (OSRIsLocal(layer_srs) || QByteArray(OSRGetName(layer_srs)).startsWith("Undefined ")))
        layer_srs = nullptr;
    result.layer_has_crs = layer_srs != nullptr;
    result.layer_crs = srs_id(layer_srs);
    OgrTransform transform;
    int decimals = 0; // of the coordinates written; 0: the shortest text of the stored number
    if (layer_srs && crs.isEmpty() && OSRIsGeographic(layer_srs))
        return refuse(result, GisPoints::GeographicWithoutCrs, result.layer_crs);
    if (layer_srs && !crs.isEmpty()) {
        OgrSrs source(OSRClone(layer_srs));
        OSRSetAxisMappingStrategy(source.get(), OAMS_TRADITIONAL_GIS_ORDER);
        OgrSrs target = make_srs(crs);
        if (!target)
            return refuse(result, GisPoints::UnknownCrs, crs);
        if (!OSRIsSame(source.get(), target.get())) {
            transform.reset(OCTNewCoordinateTransformation(source.get(), target.get()));
            if (!transform)
                return refuse(result, GisPoints::UnknownCrs, messages.text());
            result.transformed = true;
            decimals = OSRIsGeographic(target.get()) ? 9 : 4; // a tenth of a millimetre
        }
    }

    int name_field = -1, code_field = -1, height_field = -1;
    attribute_fields(layer, &name_field, &code_field, &height_field);
    OGR_L_ResetReading(layer);
    QStringList fields;
    // A damaged file fails part way (a malformed database page, a cut attribute table): what came
    // before is not the file, so the read fails with GDAL's words.
    GdalMessages iteration;
    const GIntBig expected = OGR_L_GetFeatureCount(layer, FALSE); // -1 when the count is not at hand
    GIntBig features = 0;
    for (OgrFeature feature(OGR_L_GetNextFeature(layer)); feature; feature.reset(OGR_L_GetNextFeature(layer))) {
        ++features;
        double x = 0, y = 0, z = 0;
        bool has_z = false;
        if (!feature_point(feature.get(), result, &x, &y, &z, &has_z))
            continue;
        if (transform && !OCTTransform(transform.get(), 1, &x, &y, nullptr)) {
            ++result.failed_transforms;
            continue;
        }
        QString height = attribute(feature.get(), height_field);
        if (height_field < 0 && has_z)
            height = format_number_exact(z);
        fields = QStringList{attribute(feature.get(), name_field), attribute(feature.get(), code_field),
                             decimals ? format_number(y, decimals) : format_number_exact(y),
                             decimals ? format_number(x, decimals) : format_number_exact(x), height};
        result.lines << join_point_line(fields, &result.changed_characters);
    }
    if (iteration.failed() || (expected >= 0 && features < expected)) {
        const QString stopped = QStringLiteral("%1 of %2 features read, then %3")
                                    .arg(features)
                                    .arg(expected >= 0 ? QString::number(expected) : QStringLiteral("?"))
                                    .arg(iteration.failed() ? iteration.text() : QStringLiteral("the file ended"));
        return refuse(result, GisPoints::CannotOpen, stopped);
    }
    qCDebug(lcGeo) << result.lines.size() << "points read from layer" << result.layer << "of" << path;
    return result;
}
