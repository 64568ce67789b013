// Point files that are not lines of text (LandXML, GIS layers, workbooks): their readers and writers
// live in a library above this one (the geo library, which needs GDAL and PROJ). A program that links
// it installs them once, and FileOperation's dispatch by suffix reaches them; a program that does not
// (the simulator) knows the text formats only.
#ifndef LAYERFORMATS_H
#define LAYERFORMATS_H

#include "data/formatwriter.h"
#include "data/pointfields.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

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
    // The writer of a format of `suffix` that can_write(), for rows laid out as `fields`.
    virtual std::unique_ptr<FormatWriter> writer(const QString& path, const QString& suffix,
                                                 const PointFields& fields) const = 0;
    // A text format's or the drawing's writer `inner`, for rows laid out as `fields`, with the checks
    // the layer formats make of every output (the area of use of the chosen system); `inner` itself
    // when there are none.
    virtual std::unique_ptr<FormatWriter> checked(std::unique_ptr<FormatWriter> inner,
                                                  const PointFields& /*fields*/) const
    {
        return inner;
    }
};

// Installs the layer formats for the whole process (no ownership taken); null removes them.
void install_layer_formats(const LayerFormats* formats);
// The installed formats, or null.
const LayerFormats* layer_formats();

#endif // LAYERFORMATS_H
