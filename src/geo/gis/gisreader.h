// The points of a GIS vector file that GDAL/OGR opens (GeoPackage, Shapefile, GeoJSON, KML, ...): the
// first layer holding points, transformed into the points' system, as point lines
// "name,code,N,E,Z". Name, code and Z come from the attributes whose names say so (as a header row
// would), Z otherwise from the points' third coordinate.
#ifndef GEO_GISREADER_H
#define GEO_GISREADER_H

#include "data/findingkind.h"

#include <QString>
#include <QStringList>

struct GisPoints {
    // How the read ended, each way as the finding it is told as.
    enum Status {
        Ok = int(FileFinding::None),
        CannotOpen = int(FileFinding::CannotOpen),     // GDAL cannot open the file as vector data: message says why
        NoPointLayer = int(FileFinding::NoPointLayer), // no layer holds a point
        // longitude and latitude, and no system chosen to put them in
        GeographicWithoutCrs = int(FileFinding::GeographicWithoutCrs),
        UnknownCrs = int(FileFinding::UnknownCrs), // the chosen system is unknown, or no way from the layer's to it
    };
    Status status = Ok;
    QString message;

    QStringList lines;
    QString layer;       // the name of the layer read
    int layer_count = 0; // layers in the file
    QString layer_crs;   // the layer's system as "AUTHORITY:CODE"; empty when it has none or no code
    bool layer_has_crs = false;
    bool transformed = false;   // the points changed system
    int other_geometries = 0;   // lines, polygons, multi-points of several points: left out
    int empty_geometries = 0;   // features without a geometry or with an empty one: left out
    int failed_transforms = 0;  // points PROJ could not put into the chosen system: left out
    int changed_characters = 0; // see join_point_line

    bool ok() const { return status == Ok; }
    FileFinding finding() const { return FileFinding(status); }
};

// Reads `path` into the system `crs` ("EPSG:4547"; empty: none chosen). A layer without a system is
// read as it stands; one in a geographic system is refused when no system is chosen.
GisPoints read_gis_file(const QString& path, const QString& crs);

#endif // GEO_GISREADER_H
