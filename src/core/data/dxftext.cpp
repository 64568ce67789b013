// DXF drawing text: header with extents, layer table, blocks, and the entities of each point.
#include "data/dxftext.h"

#include "data/linefields.h"
#include "data/numbertext.h"
#include "data/pointfields.h"

#include <cmath>

namespace
{

// Point line fields.
constexpr int kName = 0;
constexpr int kNorth = 2; // the drawing's Y
constexpr int kEast = 3;  // the drawing's X
constexpr int kHeight = 4;

QString three_decimals(double value)
{
    return double_to_fixed(value, 3);
}

// X, Y, Z of a point line of at least five fields whose N and E are numbers; a Z that is empty or no
// number is 0 on the point and `has_height` false.
DxfPoint point_of(const LineFields& fields, double xyz[3], bool* has_height)
{
    if (!fields.has(5))
        return DxfPoint::NotAPoint;
    if (!parse_number(fields.field(kEast), &xyz[0]) || !parse_number(fields.field(kNorth), &xyz[1]))
        return DxfPoint::NotANumber;
    *has_height = parse_number(fields.field(kHeight), &xyz[2]);
    if (!*has_height)
        xyz[2] = 0;
    return *has_height ? DxfPoint::Drawn : DxfPoint::DrawnWithoutHeight;
}

} // namespace

void DxfExtents::include(const QString& point_line)
{
    double xyz[3];
    bool has_height = false;
    if (!dxf_drawn(point_of(LineFields(point_line, 5), xyz, &has_height)))
        return;
    for (int i = 0; i < 3; ++i) {
        if (empty || xyz[i] >= max[i])
            max[i] = xyz[i];
        if (empty || xyz[i] <= min[i])
            min[i] = xyz[i];
    }
    empty = false;
}

void dxf_append_header(QStringList& lines, const DxfExtents& e)
{
    lines << QStringLiteral("  0") << QStringLiteral("SECTION") << QStringLiteral("  2") << QStringLiteral("HEADER");
    // The texts are written in the program's encoding, GBK: code page 936.
    lines << QStringLiteral("  9") << QStringLiteral("$DWGCODEPAGE") << QStringLiteral("  3")
          << QStringLiteral("ANSI_936");
    const struct {
        const char* name;
        const double* values;
        int count;
    } variables[] = {{"$EXTMIN", e.min, 3}, {"$EXTMAX", e.max, 3}, {"$LIMMIN", e.min, 2}, {"$LIMMAX", e.max, 2}};
    static const QString codes[3] = {QStringLiteral(" 10"), QStringLiteral(" 20"), QStringLiteral(" 30")};
    for (const auto& variable : variables) {
        lines << QStringLiteral("  9") << QString::fromLatin1(variable.name);
        for (int i = 0; i < variable.count; ++i)
            lines << codes[i] << three_decimals(variable.values[i]);
    }
    lines << QStringLiteral("  0") << QStringLiteral("ENDSEC");
}

void dxf_append_tables(QStringList& lines)
{
    lines << QStringLiteral("  0") << QStringLiteral("SECTION") << QStringLiteral("  2") << QStringLiteral("TABLES");
    lines << QStringLiteral("  0") << QStringLiteral("TABLE") << QStringLiteral("  2") << QStringLiteral("LAYER")
          << QStringLiteral(" 70") << QStringLiteral("  4");
    const struct {
        const char* name;
        const char* colour;
    } layers[] = {{"Point", "  7"}, {"PointNumber", "  3"}, {"Level", "  3"}, {"Code", "  4"}};
    for (const auto& layer : layers) {
        lines << QStringLiteral("  0") << QStringLiteral("LAYER") << QStringLiteral("  2")
              << QString::fromLatin1(layer.name) << QStringLiteral(" 70") << QStringLiteral(" 64")
              << QStringLiteral(" 62") << QString::fromLatin1(layer.colour) << QStringLiteral("  6")
              << QStringLiteral("CONTINUOUS");
    }
    lines << QStringLiteral("  0") << QStringLiteral("ENDTAB") << QStringLiteral("  0") << QStringLiteral("ENDSEC");
}

void dxf_append_blocks(QStringList& lines)
{
    lines << QStringLiteral("  0") << QStringLiteral("SECTION") << QStringLiteral("  2") << QStringLiteral("BLOCKS")
          << QStringLiteral("  0") << QStringLiteral("ENDSEC");
}

void dxf_append_entities_start(QStringList& lines)
{
    lines << QStringLiteral("  0") << QStringLiteral("SECTION") << QStringLiteral("  2") << QStringLiteral("ENTITIES");
}

DxfPoint dxf_append_point(QStringList& lines, const QString& point_line)
{
    const LineFields fields(point_line, 5);
    double xyz[3];
    bool has_height = false;
    const DxfPoint drawn = point_of(fields, xyz, &has_height);
    if (!dxf_drawn(drawn))
        return drawn;
    const QString x = three_decimals(xyz[0]);
    const QString y = three_decimals(xyz[1]);
    const QString z = three_decimals(xyz[2]);
    // The point itself.
    lines << QStringLiteral("  0") << QStringLiteral("POINT") << QStringLiteral("  8") << QStringLiteral("Point")
          << QStringLiteral(" 10") << x << QStringLiteral(" 20") << y << QStringLiteral(" 30") << z;
    // Its number: the point's name as it stands, at the point, height 0.
    lines << QStringLiteral("  0") << QStringLiteral("TEXT") << QStringLiteral("  8") << QStringLiteral("PointNumber")
          << QStringLiteral(" 10") << x << QStringLiteral(" 20") << y << QStringLiteral(" 30") << z
          << QStringLiteral(" 40") << QStringLiteral("  0") << QStringLiteral("  1")
          << fields.field(kName).trimmed().toString();
    // Its height as a label at the point's X and Y on height 0; none for a point without one.
    if (has_height) {
        lines << QStringLiteral("  0") << QStringLiteral("TEXT") << QStringLiteral("  8") << QStringLiteral("Level")
              << QStringLiteral(" 10") << x << QStringLiteral(" 20") << y << QStringLiteral(" 30")
              << QStringLiteral("  0") << QStringLiteral(" 40") << QStringLiteral(" 0.1") << QStringLiteral("  1") << z;
    }
    return drawn;
}

void dxf_append_entities_end(QStringList& lines)
{
    lines << QStringLiteral("  0") << QStringLiteral("ENDSEC");
}

void dxf_append_eof(QStringList& lines)
{
    lines << QStringLiteral("  0") << QStringLiteral("EOF");
}
