// The layer formats of the geo library for FileOperation's dispatch (data/layerformats.h): LandXML
// ("xml"), GeoPackage ("gpkg"), Shapefile ("shp"), GeoJSON ("geojson") and KML ("kml") read and
// written, workbooks ("xlsx", "ods") read through their column mapping.
#ifndef GEO_GEOFORMATS_H
#define GEO_GEOFORMATS_H

#include <QString>

// Installs them for the process; a program that links the geo library calls it once at start.
void install_geo_formats();

// True for the suffixes of the workbooks the geo library reads ("xlsx", "ods"), in any case.
bool is_workbook_suffix(const QString& suffix);

#endif // GEO_GEOFORMATS_H
