// The text of a minimal ASCII DXF drawing, one file line per list entry: a header with the drawing's
// extents, a table of four layers, an empty blocks section, and for every point line (name, code,
// N, E, Z) whose N and E are numbers a POINT with its number and its height as texts. Built piece by piece, so a
// drawing of any size can be written point by point.
#ifndef DXFTEXT_H
#define DXFTEXT_H

#include <QString>
#include <QStringList>

// What became of a point line: drawn (with or without a height label), or not drawn because it is
// no point line (fewer than five fields) or its N or E is not a number (never drawn at 0).
enum class DxfPoint { Drawn, DrawnWithoutHeight, NotAPoint, NotANumber };
inline bool dxf_drawn(DxfPoint point)
{
    return point == DxfPoint::Drawn || point == DxfPoint::DrawnWithoutHeight;
}

// The smallest and largest X (E), Y (N) and Z of the points drawn.
struct DxfExtents {
    bool empty = true;
    double min[3] = {0, 0, 0};
    double max[3] = {0, 0, 0};

    // Widens the extents to take in the point of a point line; lines that are not drawn change nothing.
    void include(const QString& point_line);
};

void dxf_append_header(QStringList& lines, const DxfExtents& extents);
void dxf_append_tables(QStringList& lines);
void dxf_append_blocks(QStringList& lines);
void dxf_append_entities_start(QStringList& lines);
// The entities of one point line: the point, its number and its height (none without a height);
// nothing appended for a line that is not drawn.
DxfPoint dxf_append_point(QStringList& lines, const QString& point_line);
void dxf_append_entities_end(QStringList& lines);
// The end of the file.
void dxf_append_eof(QStringList& lines);

#endif // DXFTEXT_H
