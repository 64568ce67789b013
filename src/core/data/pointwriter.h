// Point lines written one at a time into a coordinate file of the format its suffix names, so a file
// of any size is written with flat memory. The file is replaced as a whole only when finish()
// succeeds. A drawing's header holds the extents of all its points, so they are given to open(). The
// layer formats (data/layerformats.h) are written by their own writers, in the points' system.
#ifndef POINTWRITER_H
#define POINTWRITER_H

#include "data/dxftext.h"
#include "data/layerformats.h"
#include "data/pointformats.h"
#include "data/textfile.h"

#include <QString>
#include <QStringList>
#include <memory>

class PointFileWriter
{
public:
    PointFileWriter(const QString& path, const QString& suffix, OutputEncoding encoding = OutputEncoding::Gbk);
    ~PointFileWriter();

    // The points' coordinate system for a layer format ("EPSG:4547"; empty: none); before open().
    void set_crs(const QString& crs) { crs_ = crs; }

    // False (and error() set) when no format has the suffix or the file cannot be opened.
    bool open(const DxfExtents& extents = DxfExtents());
    // Writes one point line in the format; false when the format leaves it out (too few fields).
    bool write(const QString& point_line);
    // Writes what is gathered, so the counts below are whole before finish().
    bool flush() { return layer_ ? !layer_->failed() : file_.flush(); }
    bool finish();
    // Leaves the file as it was.
    void cancel();
    QString error() const { return error_; }
    // Characters written as "?" so far (GBK cannot hold them), the first with its file line and field.
    qint64 unencodable_characters() const { return file_.unencodable_characters(); }
    UnencodableCharacter first_unencodable() const { return file_.first_unencodable(); }
    // What the layer writer met (empty for the text formats).
    LayerReport layer_report() const { return layer_ ? layer_->report() : LayerReport(); }

private:
    PointFormat format_;
    QString path_;
    QString suffix_;
    QString crs_;
    std::unique_ptr<LayerWriter> layer_;
    TextFileWriter file_;
    int sequence_ = 0;
    QStringList drawing_lines_;
    QStringList layer_fields_; // the current point line's fields, their buffers kept from line to line
    QString line_;
    QString error_;
};

#endif // POINTWRITER_H
