// The drawing with linework, written through GDAL's DXF driver: every point as the plain drawing shows
// it (a POINT on layer "Point", its name on "PointNumber", its height on "Level"; layers "Point",
// "PointNumber", "Level" and "Code" in the layer table with the plain drawing's colours), then one
// layer per code of the list in its colour; on it a 3D polyline for each line, a closed polyline for
// each area and closed line, and at each point of a point code its symbol, a block named by the code.
// Entities take their layer's colour. The file is replaced whole or not at all.
//
// Texts go through GDAL's escapes: characters beyond Latin-1 as \U+XXXX, so the file is plain ASCII
// with code page 1252 for the rest. Labels are MTEXT of height 0.1.
#ifndef GEO_LINEWORKDRAWING_H
#define GEO_LINEWORKDRAWING_H

#include "survey/linework.h"

#include <QString>
#include <QStringList>

struct LineworkDrawingReport {
    QString error;               // why the file was not written; empty when it was
    int points = 0;              // points drawn
    int without_coordinates = 0; // point lines whose N or E is not a number: not drawn (never at 0)
    int without_height = 0;      // points drawn flat without a height label: Z empty or not a number
    int symbols = 0;             // point symbols inserted
    int lines = 0;               // polylines of lines
    int areas = 0;               // closed polylines of areas

    bool failed() const { return !error.isEmpty(); }
};

// Writes `path` from five-field point lines "name,code,N,E,Z" and the linework built from them (rows
// numbered as the lines). Lines that cannot be drawn (one point; an area of fewer than three) are
// left to the linework's report. False with report->error set when the file could not be written.
bool write_linework_drawing(const QString& path, const QStringList& point_lines, const LineworkBuilder& linework,
                            LineworkDrawingReport* report);

#endif // GEO_LINEWORKDRAWING_H
