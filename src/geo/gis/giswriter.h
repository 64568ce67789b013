// Points written as a GIS point layer through GDAL/OGR: GeoPackage, Shapefile, GeoJSON or KML. Every
// field of the rows but N and E becomes an attribute (numbers as reals, the rest as text; name and
// code always text), N and E the point (with Z where the row has one). GeoPackage and Shapefile
// carry the points' system, or none; GeoJSON (RFC 7946) and KML hold WGS 84 longitude and latitude,
// transformed with PROJ, so they need a system. The files are written in a temporary folder beside
// the target and put in place by finish(): a failed write leaves the old files as they were.
#ifndef GEO_GISWRITER_H
#define GEO_GISWRITER_H

#include "data/formatwriter.h"
#include "data/pointfields.h"

#include <QString>
#include <QStringList>
#include <memory>

enum class GisFormat { GeoPackage, Shapefile, GeoJson, Kml };

// The format of a file suffix: "gpkg", "shp", "geojson", "kml" (letter case ignored, as the text
// formats' suffixes).
bool gis_format_for_suffix(const QString& suffix, GisFormat* format);
// Whether the format holds WGS 84 longitude and latitude only.
bool gis_format_is_wgs84(GisFormat format);

class GisWriter final : public FieldsWriter
{
public:
    // What stops a write; report() names the finding each is told as.
    enum Failure {
        None,
        NoCrs,         // GeoJSON and KML without the points' system
        UnknownCrs,    // PROJ or GDAL do not know the system, or no transformation to WGS 84
        NoCoordinates, // the layout has no N or E field
        CannotCreate,  // the folder or the file cannot be made
        WriteFailed,   // GDAL failed on the way; error() says why
    };

    GisWriter(const QString& path, GisFormat format, const PointFields& fields);
    ~GisWriter() override;
    GisWriter(const GisWriter&) = delete;
    GisWriter& operator=(const GisWriter&) = delete;

    // Starts the layer in the system `crs` ("EPSG:4547"; empty: none). False with failure() set.
    bool open(const QString& crs) override;
    // Writes one row. False when it is left out (N or E not a number, Z neither empty nor a number:
    // counted in skipped()) or when writing failed (failure() set; later rows are refused too).
    bool write(const QStringList& row) override;
    bool failed() const override { return failure_ != None; }
    // Ends the layer and puts the files in place; false with failure() set when anything failed.
    bool finish() override;
    // Leaves the target as it was.
    void cancel() override;
    LayerReport report() const override;
    // The lines and areas are written as layers (features) of their own beside the points.
    void set_linework(const LineworkBuilder* linework) override { linework_ = linework; }

    Failure failure() const { return failure_; }
    QString error() const { return error_; }
    int written() const { return written_; }
    int skipped() const { return skipped_; }
    // Points written that lie outside the system's area of use.
    int outside_area() const { return outside_; }
    // Values not written as they stand: texts over a shapefile field's 254 bytes (cut), texts in a
    // number field that are not numbers (left empty).
    int changed_values() const { return changed_values_; }

private:
    bool fail(Failure failure, const QString& error);
    bool create_layer(const QString& crs);

    struct Gdal;
    std::unique_ptr<Gdal> gdal_;
    QString path_;
    GisFormat format_;
    PointFields fields_;
    QString crs_;
    Failure failure_ = None;
    QString error_;
    int written_ = 0;
    int skipped_ = 0;
    int outside_ = 0;
    int changed_values_ = 0;
    const LineworkBuilder* linework_ = nullptr;
    int linework_lines_ = 0;
    int linework_areas_ = 0;
};

#endif // GEO_GISWRITER_H
