// The lines and areas of the linework as GIS features beside the points: GeoPackage and Shapefile get
// layers <name>_lines (LineString Z) and <name>_areas (Polygon Z), a shapefile each; KML a folder each
// of LineString and Polygon placemarks; GeoJSON, one collection per file, the LineString and Polygon
// features after the points. Every feature carries the code, the string number (empty when none) and
// the names of its first and last points. GeoJSON and KML hold WGS 84 longitude and latitude.
//
// They are added to the dataset the points are being written into, so the point writer puts all the
// files in place together (GisWriter's staged output) or none.
#ifndef GEO_LINEWORKLAYERS_H
#define GEO_LINEWORKLAYERS_H

#include "gis/giswriter.h"
#include "survey/linework.h"

#include <QString>
#include <QStringList>

// GDAL's dataset handle, as gdal.h declares it; GDAL's headers stay inside this library.
typedef void* GDALDatasetH;

struct LineworkLayersReport {
    QString error;             // why the layers were not written; empty when they were
    int lines = 0;             // line features written (closed lines among them)
    int areas = 0;             // area features written
    int flat = 0;              // lines or areas with a point without height: their layer is written flat
    int failed_transforms = 0; // lines or areas left out: a point PROJ could not take to WGS 84

    bool failed() const { return !error.isEmpty(); }
};

// The names of the layers (and, for Shapefile, of the files) beside the points' layer `points_name`.
QString linework_lines_name(const QString& points_name);
QString linework_areas_name(const QString& points_name);

// The files a shapefile's linework adds beside `points_path` (".../roads.shp": roads_lines.shp and its
// .shx, .dbf, .prj, .cpg; the same for _areas): companions of the target to replace with it. Empty
// for the other formats, which hold the linework in the points' file.
QStringList linework_companion_files(const QString& points_path, GisFormat format);

// Adds the drawable lines and areas of `linework` to `dataset`, a dataset of `format` whose first
// layer holds the points (named `points_name`) in the system `crs` (empty: none; GeoJSON and KML need
// one). Call it after the points are written and their transaction committed, before the dataset is
// closed. No layer is made for a kind the linework has none of. False with report->error set when
// writing failed; the caller then discards the file.
bool write_linework_layers(GDALDatasetH dataset, GisFormat format, const QString& points_name, const QString& crs,
                           const LineworkBuilder& linework, LineworkLayersReport* report);

#endif // GEO_LINEWORKLAYERS_H
