// The points of a LandXML file: every CgPoint wherever it stands (nested CgPoints groups, surveys),
// as point lines "name,code,N,E,Z". A point given by pntRef takes the coordinates of the point it
// names, also when that one comes later in the file. The file is read as a stream, twice (three times
// when points refer to others), so that memory stays flat in its size: only the points without
// coordinates of their own and the coordinates they refer to are held.
#ifndef GEO_LANDXMLREADER_H
#define GEO_LANDXMLREADER_H

#include "data/findingkind.h"

#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

struct LandXmlPoints {
    // How the read ended, each way as the finding it is told as.
    enum Status {
        Ok = int(FileFinding::None),
        CannotOpen = int(FileFinding::CannotOpen),       // the file cannot be read: message holds the reason
        NotWellFormed = int(FileFinding::NotWellFormed), // message, line and column are the XML reader's
        NotLandXml = int(FileFinding::NotLandXml),       // another XML document: line and column of its root element
        NoPoints = int(FileFinding::NoPoints), // no CgPoint with coordinates: line and column of the document's end
    };
    Status status = Ok;
    QString message;
    qint64 line = 0;
    qint64 column = 0;

    QStringList lines; // in the order of the file
    // CgPoint elements left out: no coordinates, a pntRef to no point with coordinates (or a ring
    // of references), coordinates that are not two or three numbers.
    int without_coordinates = 0;
    // "," and line breaks in names and codes, which a point line cannot hold (see join_point_line).
    int changed_characters = 0;
    QString crs;         // "EPSG:4547" when the file's CoordinateSystem gives an EPSG code
    QString linear_unit; // as the file's Units give it ("meter", "USSurveyFoot"); empty when absent

    bool ok() const { return status == Ok; }
    FileFinding finding() const { return FileFinding(status); }
};

// Reads the points into lines.
LandXmlPoints read_landxml(QIODevice* device);
// Hands each point line to `sink` in file order instead (lines stays empty), once the whole document
// has been checked: a document refused gives none. `ready` gets what the check found (the system)
// before the first line; false from it ends the read there.
LandXmlPoints read_landxml(QIODevice* device, const std::function<void(const QString&)>& sink,
                           const std::function<bool(const LandXmlPoints& checked)>& ready = {});
// A file read as read_landxml(device) reads it, or with `sink`, as read_landxml(device, sink).
LandXmlPoints read_landxml_file(const QString& path, const std::function<void(const QString&)>& sink = {},
                                const std::function<bool(const LandXmlPoints& checked)>& ready = {});

#endif // GEO_LANDXMLREADER_H
