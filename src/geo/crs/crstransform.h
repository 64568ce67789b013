// Transforming points between coordinate reference systems with PROJ, and telling whether a point lies
// in a system's area of use. One convention whatever the systems' own axis order: x is the easting
// (or longitude), y the northing (or latitude), both in the system's unit (degrees for geographic
// systems). A point line's N is y and its E is x.
#ifndef GEO_CRSTRANSFORM_H
#define GEO_CRSTRANSFORM_H

#include "crs/crs.h"

#include <QString>
#include <memory>

// WGS 84 longitude and latitude, the system of GeoJSON and KML.
extern const char* const kWgs84;

class CrsTransform
{
public:
    CrsTransform();
    ~CrsTransform();
    CrsTransform(const CrsTransform&) = delete;
    CrsTransform& operator=(const CrsTransform&) = delete;

    // Prepares the transformation from `source` to `target` ("EPSG:4547", kWgs84, ...). False, with
    // error() set, when PROJ knows either system not or finds no transformation between them.
    bool open(const QString& source, const QString& target);
    bool is_open() const;
    QString error() const { return error_; }

    // Transforms a point in place from source to target (forward) or back (inverse); z follows when
    // given. False, leaving the point as it was, when PROJ cannot transform it.
    bool forward(double* x, double* y, double* z = nullptr) const;
    bool inverse(double* x, double* y, double* z = nullptr) const;

private:
    bool apply(int direction, double* x, double* y, double* z) const;

    struct Handles;
    std::unique_ptr<Handles> handles_;
    QString error_;
};

// Whether points of one system lie in its area of use.
class AreaOfUse
{
public:
    // Reads the area of `crs`; false (and contains() always true) when the system is unknown.
    bool open(const QString& crs);
    const CrsInfo& system() const { return crs_; }
    // Whether the point (x easting or longitude, y northing or latitude, in the system) lies in the
    // area. True when the system names no area; false when the point cannot be transformed at all.
    bool contains(double x, double y) const;

private:
    CrsInfo crs_;
    CrsTransform to_degrees_; // the projection's inverse to its own geographic system
    bool geographic_ = false;
};

#endif // GEO_CRSTRANSFORM_H
