// The GIS point layer writer on GDAL/OGR: one reused feature, one transaction where the format has
// them, so that a million points go at the speed of GDAL's own converter.
#include "gis/giswriter.h"

#include "crs/crstransform.h"
#include "geologging.h"
#include "gis/gdalstream.h"
#include "gis/gdalsupport.h"
#include "gis/lineworklayers.h"
#include "gis/stagedoutput.h"

#include <QFileInfo>
#include <QVector>

namespace
{

struct FormatInfo {
    GisFormat format;
    const char* suffix;
    const char* driver;
    bool wgs84;
};

const FormatInfo kFormats[] = {
    {GisFormat::GeoPackage, "gpkg", "GPKG", false},
    {GisFormat::Shapefile, "shp", "ESRI Shapefile", false},
    {GisFormat::GeoJson, "geojson", "GeoJSON", true},
    {GisFormat::Kml, "kml", "KML", true},
};

const FormatInfo& info(GisFormat format)
{
    for (const FormatInfo& each : kFormats) {
        if (each.format == format)
            return each;
    }
    return kFormats[0];
}

// A dBASE text field holds at most 254 bytes.
constexpr int kShapefileText = 254;

// The files that belong to the target besides itself, replaced with it.
QStringList companions(const QString& path, GisFormat format)
{
    const QFileInfo target(path);
    QStringList names;
    if (format == GisFormat::Shapefile) {
        for (const char* suffix : {".shx", ".dbf", ".prj", ".cpg", ".qix", ".sbn", ".sbx", ".qpj", ".shp.xml"})
            names << target.completeBaseName() + QLatin1String(suffix);
    } else if (format == GisFormat::GeoPackage) {
        for (const char* suffix : {"-wal", "-shm", "-journal"})
            names << target.fileName() + QLatin1String(suffix);
    }
    return names;
}

// Field names as given, made unique (letter case aside) and never empty.
QString unique_name(const QString& wanted, int field, QStringList* taken)
{
    QString name = wanted.trimmed().isEmpty() ? QStringLiteral("field%1").arg(field + 1) : wanted.trimmed();
    for (int n = 2; taken->contains(name, Qt::CaseInsensitive); ++n)
        name = wanted.trimmed() + QStringLiteral("_%1").arg(n);
    taken->append(name);
    return name;
}

// Cuts UTF-8 text to at most `bytes` bytes without splitting a character.
void cut_utf8(QByteArray* text, int bytes)
{
    int end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text->at(end)) & 0xC0) == 0x80)
        --end;
    text->truncate(end);
}

} // namespace

bool gis_format_for_suffix(const QString& suffix, GisFormat* format)
{
    for (const FormatInfo& each : kFormats) {
        if (suffix.compare(QLatin1String(each.suffix), Qt::CaseInsensitive) == 0) {
            *format = each.format;
            return true;
        }
    }
    return false;
}

bool gis_format_is_wgs84(GisFormat format)
{
    return info(format).wgs84;
}

// Destroyed in reverse order: the dataset closes before its stream and the staging folder goes last.
struct GisWriter::Gdal {
    std::unique_ptr<StagedOutput> staged;
    std::unique_ptr<GdalStream> stream; // GeoJSON and KML
    GdalDataset dataset;
    OGRLayerH layer = nullptr;
    OgrFeature feature;
    OGRGeometryH point = nullptr; // owned by the feature
    QVector<int> ogr_fields;      // OGR field of each row field, -1 for N and E
    QVector<bool> real_fields;
    CrsTransform to_wgs84;
    AreaOfUse area;
    bool transaction = false;
    QByteArray text;
};

GisWriter::GisWriter(const QString& path, GisFormat format, const PointFields& fields)
    : path_(path), format_(format), fields_(fields)
{
}

GisWriter::~GisWriter()
{
    cancel();
}

bool GisWriter::fail(Failure failure, const QString& error)
{
    failure_ = failure;
    error_ = error;
    qCWarning(lcGeo) << "GIS file" << path_ << "not written:" << error;
    cancel();
    return false;
}

bool GisWriter::open(const QString& crs)
{
    crs_ = crs;
    if (fields_.field(PointRole::North) < 0 || fields_.field(PointRole::East) < 0)
        return fail(NoCoordinates, QStringLiteral("the rows have no N or E field"));
    const FormatInfo& format = info(format_);
    if (format.wgs84 && crs.isEmpty())
        return fail(NoCrs, QStringLiteral("%1 needs the points' coordinate system").arg(format.suffix));
    ensure_gdal();
    GdalMessages messages;
    gdal_ = std::make_unique<Gdal>();
    if (!crs.isEmpty()) {
        if (!gdal_->area.open(crs))
            return fail(UnknownCrs, QStringLiteral("unknown coordinate system %1").arg(crs));
        if (format.wgs84 && !gdal_->to_wgs84.open(crs, kWgs84))
            return fail(UnknownCrs, gdal_->to_wgs84.error());
    }
    QStringList staged_files = companions(path_, format_);
    if (linework_)
        staged_files += linework_companion_files(path_, format_);
    gdal_->staged = std::make_unique<StagedOutput>(path_, staged_files);
    if (!gdal_->staged->ok())
        return fail(CannotCreate, gdal_->staged->error());
    GDALDriverH driver = GDALGetDriverByName(format.driver);
    if (!driver)
        return fail(CannotCreate, QStringLiteral("GDAL has no %1 driver").arg(format.driver));
    QByteArray target = gdal_->staged->path().toUtf8();
    if (format.wgs84) {
        gdal_->stream = std::make_unique<GdalStream>();
        if (!gdal_->stream->open(gdal_->staged->path()))
            return fail(CannotCreate, gdal_->stream->error());
        target = GdalStream::kGdalName;
    }
    gdal_->dataset.reset(GDALCreate(driver, target.constData(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!gdal_->dataset || messages.failed())
        return fail(CannotCreate, messages.text());
    if (!create_layer(crs))
        return false;
    if (GDALDatasetTestCapability(gdal_->dataset.get(), ODsCTransactions))
        gdal_->transaction = GDALDatasetStartTransaction(gdal_->dataset.get(), FALSE) == OGRERR_NONE;
    return true;
}

bool GisWriter::create_layer(const QString& crs)
{
    GdalMessages messages;
    const bool wgs84 = info(format_).wgs84;
    OgrSrs srs;
    if (!crs.isEmpty()) {
        srs = make_srs(wgs84 ? QString::fromLatin1(kWgs84) : crs);
        if (!srs)
            return fail(UnknownCrs, QStringLiteral("GDAL does not know %1: %2").arg(crs, messages.text()));
    } else if (format_ == GisFormat::GeoPackage) {
        // Without a system GDAL would file the layer under "undefined geographic"; this is the
        // GeoPackage's "undefined Cartesian" system instead.
        srs = make_srs(QStringLiteral("LOCAL_CS[\"Undefined Cartesian SRS\"]"));
    }
    const bool has_height = fields_.field(PointRole::Height) >= 0;
    QVector<QByteArray> option_texts;
    if (format_ == GisFormat::Shapefile)
        option_texts = {has_height ? "SHPT=POINTZ" : "SHPT=POINT", "ENCODING=UTF-8", "RESIZE=YES"};
    else if (format_ == GisFormat::GeoJson)
        option_texts = {"RFC7946=YES", "COORDINATE_PRECISION=9"}; // 1e-9 degrees: a tenth of a millimetre
    QVector<char*> options;
    for (QByteArray& option : option_texts)
        options << option.data();
    options << nullptr;
    const QByteArray layer_name = QFileInfo(path_).completeBaseName().toUtf8();
    gdal_->layer = GDALDatasetCreateLayer(gdal_->dataset.get(), layer_name.constData(), srs.get(),
                                          has_height ? wkbPoint25D : wkbPoint, options.data());
    if (!gdal_->layer)
        return fail(CannotCreate, messages.text());

    QStringList taken;
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(gdal_->layer);
    for (int i = 0; i < fields_.count(); ++i) {
        PointRole role = PointRole::Name;
        const bool has_role = fields_.role_of(i, &role);
        const bool real = fields_.is_number(i) && !(has_role && (role == PointRole::Name || role == PointRole::Code));
        gdal_->real_fields << real;
        if (has_role && (role == PointRole::North || role == PointRole::East)) {
            gdal_->ogr_fields << -1;
            continue;
        }
        const QByteArray name = unique_name(fields_.names().at(i), i, &taken).toUtf8();
        // A field the driver has of its own (KML's "Name") takes the value rather than a second one.
        const int own = OGR_FD_GetFieldIndex(definition, name.constData());
        if (own >= 0 && !real && OGR_Fld_GetType(OGR_FD_GetFieldDefn(definition, own)) == OFTString) {
            gdal_->ogr_fields << own;
            continue;
        }
        OGRFieldDefnH field = OGR_Fld_Create(name.constData(), real ? OFTReal : OFTString);
        if (!real && format_ == GisFormat::Shapefile)
            OGR_Fld_SetWidth(field, kShapefileText); // made as narrow as the texts need when closed
        const OGRErr made = OGR_L_CreateField(gdal_->layer, field, TRUE);
        OGR_Fld_Destroy(field);
        if (made != OGRERR_NONE)
            return fail(CannotCreate, messages.text());
        // The new field is the last; its name may be changed (a shapefile's are ten letters at most).
        gdal_->ogr_fields << OGR_FD_GetFieldCount(definition) - 1;
    }
    gdal_->feature.reset(OGR_F_Create(OGR_L_GetLayerDefn(gdal_->layer)));
    OGR_F_SetGeometryDirectly(gdal_->feature.get(), OGR_G_CreateGeometry(has_height ? wkbPoint25D : wkbPoint));
    gdal_->point = OGR_F_GetGeometryRef(gdal_->feature.get());
    return true;
}

bool GisWriter::write(const QStringList& row)
{
    if (!gdal_ || !gdal_->feature)
        return false;
    double north = 0, east = 0, height = 0;
    const QString height_text = fields_.text(row, PointRole::Height).trimmed();
    const bool has_height = !height_text.isEmpty();
    if (!parse_number(fields_.text(row, PointRole::North), &north) ||
        !parse_number(fields_.text(row, PointRole::East), &east) ||
        (has_height && !parse_number(height_text, &height))) {
        ++skipped_;
        return false;
    }
    double x = east, y = north;
    if (gdal_->to_wgs84.is_open()) {
        // Heights stay as surveyed: only the position changes system.
        if (!gdal_->to_wgs84.forward(&x, &y)) {
            ++skipped_;
            return false;
        }
        outside_ += gdal_->area.system().bounds.contains(x, y) ? 0 : 1;
    } else {
        outside_ += gdal_->area.contains(x, y) ? 0 : 1;
    }

    OGRFeatureH feature = gdal_->feature.get();
    double value = 0;
    for (int i = 0; i < gdal_->ogr_fields.size(); ++i) {
        const int field = gdal_->ogr_fields.at(i);
        if (field < 0)
            continue;
        const QString text = i < row.size() ? row.at(i) : QString();
        if (text.trimmed().isEmpty()) {
            OGR_F_SetFieldNull(feature, field);
        } else if (gdal_->real_fields.at(i)) {
            if (parse_number(text, &value)) {
                OGR_F_SetFieldDouble(feature, field, value);
            } else {
                OGR_F_SetFieldNull(feature, field);
                ++changed_values_;
            }
        } else {
            gdal_->text = text.toUtf8();
            if (format_ == GisFormat::Shapefile && gdal_->text.size() > kShapefileText) {
                cut_utf8(&gdal_->text, kShapefileText);
                ++changed_values_;
            }
            OGR_F_SetFieldString(feature, field, gdal_->text.constData());
        }
    }
    OGR_G_Set3D(gdal_->point, has_height);
    if (has_height)
        OGR_G_SetPoint(gdal_->point, 0, x, y, height);
    else
        OGR_G_SetPoint_2D(gdal_->point, 0, x, y);
    OGR_F_SetFID(feature, OGRNullFID);
    // Some drivers report a failed write only as a message (the shapefile's full disk).
    GdalMessages messages;
    if (OGR_L_CreateFeature(gdal_->layer, feature) != OGRERR_NONE || messages.failed())
        return fail(WriteFailed, messages.text());
    ++written_;
    return true;
}

bool GisWriter::finish()
{
    if (!gdal_ || !gdal_->dataset)
        return false;
    GdalMessages messages;
    if (gdal_->transaction && GDALDatasetCommitTransaction(gdal_->dataset.get()) != OGRERR_NONE)
        return fail(WriteFailed, messages.text());
    gdal_->feature.reset();
    if (linework_ && (linework_->drawable_lines() > 0 || linework_->drawable_areas() > 0)) {
        LineworkLayersReport drawn;
        if (!write_linework_layers(gdal_->dataset.get(), format_, QFileInfo(path_).completeBaseName(), crs_, *linework_,
                                   &drawn))
            return fail(WriteFailed, drawn.error);
        linework_lines_ = drawn.lines;
        linework_areas_ = drawn.areas;
    }
    gdal_->dataset.reset(); // closing writes what GDAL still holds
    if (messages.failed())
        return fail(WriteFailed, messages.text());
    if (gdal_->stream && !gdal_->stream->close())
        return fail(WriteFailed, gdal_->stream->error());
    if (!gdal_->staged->commit())
        return fail(WriteFailed, gdal_->staged->error());
    qCDebug(lcGeo) << written_ << "points written to" << path_ << skipped_ << "skipped" << outside_
                   << "outside the area of use";
    gdal_.reset();
    return true;
}

namespace
{

FileFinding finding_of(GisWriter::Failure failure)
{
    switch (failure) {
    case GisWriter::None:
        return FileFinding::None;
    case GisWriter::NoCrs:
        return FileFinding::NoCrs;
    case GisWriter::UnknownCrs:
        return FileFinding::UnknownCrs;
    case GisWriter::NoCoordinates:
    case GisWriter::CannotCreate:
    case GisWriter::WriteFailed:
        break;
    }
    return FileFinding::WriteFailed;
}

} // namespace

LayerReport GisWriter::report() const
{
    LayerReport report;
    report.failure = finding_of(failure_);
    report.message = error_;
    report.crs = crs_;
    report.without_crs = crs_.isEmpty() && !info(format_).wgs84;
    report.written = written_;
    report.linework_lines = linework_lines_;
    report.linework_areas = linework_areas_;
    report.skipped = skipped_;
    report.outside_area = outside_;
    report.changed_values = changed_values_;
    return report;
}

void GisWriter::cancel()
{
    if (!gdal_)
        return;
    GdalMessages quiet(true); // what GDAL says while a discarded file closes does not matter
    gdal_->feature.reset();
    gdal_->dataset.reset();
    gdal_.reset(); // the temporary folder goes with it
}
