// Point files that are not lines of text (LandXML, GIS layers, workbooks): their readers and writers
// live in a library above this one (the geo library, which needs GDAL and PROJ). A program that links
// it installs them once, and FileOperation's dispatch by suffix reaches them; a program that does not
// (the simulator) knows the text formats only.
#ifndef LAYERFORMATS_H
#define LAYERFORMATS_H

#include "data/pointfields.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// What reading or writing a layer file met, for the user to be told.
struct LayerReport {
    enum Failure {
        None,
        CannotOpen,           // message: why
        NotWellFormed,        // message, line and column: the XML reader's
        NotLandXml,           // line and column of the root element
        NoPoints,             // no point with coordinates in the file
        NoPointLayer,         // no layer holds points
        GeographicWithoutCrs, // longitude and latitude, and no system chosen (crs: the layer's)
        UnknownCrs,           // message: why the system or the transformation is unknown
        NoCrs,                // GeoJSON and KML need the points' system
        NoColumns,            // a workbook whose columns for N and E are not known
        BadColumns,           // a column choice that names no column (message: the item)
        WriteFailed,          // message: why
    };
    Failure failure = None;
    QString message;
    qint64 line = 0;
    qint64 column = 0;

    // Reading
    QString layer;            // the layer (or sheet) read, when the file holds several
    int layer_count = 0;      // layers or sheets in the file
    QString crs;              // the system the file or layer names ("EPSG:4547"), empty when none
    QString target_crs;       // the system the points were put into, when transformed
    bool transformed = false; // the points changed system
    int other_geometries = 0; // lines, polygons and multi-points left out
    int empty_geometries = 0; // features without a geometry left out
    int failed_transforms = 0;
    int without_coordinates = 0; // points (or rows) without coordinates left out
    int changed_characters = 0;  // commas and line breaks in names and codes replaced

    // Writing
    int written = 0;
    int skipped = 0;            // rows left out: N or E not a number
    int outside_area = 0;       // points outside the system's area of use
    int changed_values = 0;     // texts cut or not numbers in a number field
    int dropped_characters = 0; // control characters XML cannot hold
    bool without_crs = false;   // a format that can carry a system, written without one

    bool failed() const { return failure != None; }
};

class LayerWriter
{
public:
    virtual ~LayerWriter() = default;
    // Starts the file in the points' system `crs` (empty: none); false with report() telling why.
    virtual bool open(const QString& crs) = 0;
    // Writes one row of fields; false when it is left out or writing failed.
    virtual bool write(const QStringList& fields) = 0;
    // Writing failed: later rows are refused too.
    virtual bool failed() const = 0;
    // Puts the file in place; false (the old file kept) when anything failed.
    virtual bool finish() = 0;
    virtual void cancel() = 0;
    virtual LayerReport report() const = 0;
};

class LayerFormats
{
public:
    virtual ~LayerFormats() = default;
    // `suffix` in lower case.
    virtual bool can_read(const QString& suffix) const = 0;
    virtual bool can_write(const QString& suffix) const = 0;
    // Reads the points of `path`, a file of the format of `suffix`, as point lines "name,code,N,E,Z"
    // in the system `crs` (empty: as they stand), handing each to `sink`; false with report->failure
    // set. `columns` names a workbook's columns ("name,code,N,E,Z" by header text or letter); empty:
    // from its header row.
    virtual bool read(const QString& path, const QString& suffix, const QString& crs, const QString& columns,
                      const std::function<void(const QString&)>& sink, LayerReport* report) const = 0;
    virtual std::unique_ptr<LayerWriter> writer(const QString& path, const QString& suffix,
                                                const PointFields& fields) const = 0;
};

// Installs the layer formats for the whole process (no ownership taken); null removes them.
void install_layer_formats(const LayerFormats* formats);
// The installed formats, or null.
const LayerFormats* layer_formats();

#endif // LAYERFORMATS_H
