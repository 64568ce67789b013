// The writer of one point file format: the interface every format's writer implements, the text
// formats and the drawing (data/textwriters.h) as the layer formats (LandXML and the GIS layers of
// the geo library). The format tables name one class per format (data/pointformats.cpp,
// formats/geoformats.cpp in the geo library); convert_point_file hands rows to any of them alike,
// FileOperation its rows to the layer formats' writers. A file is replaced only by finish(): a write
// that fails or is cancelled leaves the old one as it was.
#ifndef FORMATWRITER_H
#define FORMATWRITER_H

#include "data/layerreport.h"

#include <QString>
#include <QStringList>

class LineworkBuilder;

class FormatWriter
{
public:
    virtual ~FormatWriter() = default;

    // Whether open() needs to have seen the points once (a drawing's header holds their extents): the
    // caller then hands each point line to first_pass() before it opens.
    virtual bool needs_first_pass() const { return false; }
    virtual void first_pass(const QString& /*point_line*/) {}

    // The lines and areas the rows' codes make, written beside the points by the formats that hold
    // them (the GIS layers); the others ignore them. Given before open(); it must outlive finish().
    virtual void set_linework(const LineworkBuilder* /*linework*/) {}

    // Starts the file in the points' system `crs` ("EPSG:4547"; empty: none; the text formats hold
    // none); false with report() telling why.
    virtual bool open(const QString& crs) = 0;
    // Writes one row, given as its line of comma-separated fields; false when the format leaves it
    // out or writing failed.
    virtual bool write_line(const QString& line) = 0;
    // Writing failed: later rows are refused too.
    virtual bool failed() const = 0;
    // Writes what is gathered, so that report()'s counts are whole before finish().
    virtual bool flush() { return !failed(); }
    // Puts the file in place; false (the old file kept, report() telling why) when anything failed.
    virtual bool finish() = 0;
    virtual void cancel() = 0;
    virtual LayerReport report() const = 0;
};

// A writer that takes a row as its fields (the layer formats). A line is split at every comma,
// empty fields kept, into strings kept from line to line, so a million rows allocate no field texts.
class FieldsWriter : public FormatWriter
{
public:
    bool write_line(const QString& line) override;
    // Writes one row of fields laid out as the writer's PointFields.
    virtual bool write(const QStringList& fields) = 0;

private:
    QStringList fields_;
};

#endif // FORMATWRITER_H
