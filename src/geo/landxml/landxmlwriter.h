// Points written as a LandXML 1.2 file: one CgPoint per row with its name and code attributes and the
// text "N E Z" ("N E" without Z), units in metres, the coordinate system's EPSG code when one is set.
// Rows are written one at a time into a temporary file that replaces the target only in finish(), so
// a file of any size is written with flat memory and a failed write leaves nothing behind. The points
// outside the system's area of use are counted. Rows of the observation layout (fifteen fields, see
// landxml/surveyxml.h) are written with their survey data too (landxml/surveywriter.h): the CgPoints
// hold the stations and measured points with coordinates, a Survey every record, plain rows among them.
#ifndef GEO_LANDXMLWRITER_H
#define GEO_LANDXMLWRITER_H

#include "crs/crstransform.h"
#include "data/formatwriter.h"
#include "data/pointfields.h"

#include <QBuffer>
#include <QDateTime>
#include <QFileDevice>
#include <QString>
#include <QXmlStreamWriter>
#include <memory>

class SurveyWriter;

class LandXmlWriter final : public FieldsWriter
{
public:
    // Rows laid out as `fields`; only the name, code, N, E and Z fields are written.
    LandXmlWriter(const QString& path, const PointFields& fields);
    ~LandXmlWriter() override;

    // Starts the file. `crs` is the points' system ("EPSG:4547"), empty for local coordinates;
    // `stamp` the file's date and time (now, when not given). False, with error() set, when the
    // system is unknown, the file cannot be made or the layout has no N or E field.
    bool open(const QString& crs, const QDateTime& stamp);
    bool open(const QString& crs) override { return open(crs, QDateTime::currentDateTime()); }
    bool open() { return open(QString()); }
    // Writes one row. False when it is left out: N or E is not a number, or Z is neither empty nor a
    // number (counted in skipped()). A point outside the system's area of use is counted.
    bool write(const QStringList& row) override;
    bool failed() const override { return failure_ != FileFinding::None; }
    // Ends the file and puts it in place; false, with error() set, when anything failed.
    bool finish() override;
    // Leaves the target as it was.
    void cancel() override;
    LayerReport report() const override;

    QString error() const { return error_; }
    int written() const { return written_; }
    int skipped() const { return skipped_; }
    // Characters that XML cannot carry (control characters) left out of names and codes.
    int dropped_characters() const { return dropped_characters_; }
    // A repeated name starts a new CgPoints group, as names are unique within a group; so does every
    // 100,000th name, which bounds the memory that keeps the names of a group.
    int groups() const { return groups_; }

private:
    bool fail(FileFinding failure, const QString& error);
    void start_group();
    bool flush_chunk();
    bool write_point(const QStringList& row, const QString& north, const QString& east, const QString& height);

    QString path_;
    PointFields fields_;
    QString crs_;
    AreaOfUse area_;
    int outside_area_ = 0;
    FileFinding failure_ = FileFinding::None; // what stopped open() or finish()
    std::unique_ptr<QFileDevice> file_;       // data/replacefile.h
    QBuffer chunk_;                           // the XML is made here and goes to the file in large writes
    QXmlStreamWriter xml_;
    class NameSet;
    std::unique_ptr<NameSet> names_;
    std::unique_ptr<SurveyWriter> survey_; // observation rows only
    QByteArray name_;                      // the current row's name as written
    QString error_;
    bool write_failed_ = false;
    QString write_error_; // the system's words for the failed write
    int written_ = 0;
    int skipped_ = 0;
    int dropped_characters_ = 0;
    int groups_ = 0;
};

#endif // GEO_LANDXMLWRITER_H
