// DXF drawing text: header with extents, layer table, blocks, and the entities of each point.
#include "data/dxftext.h"

#include "data/linefields.h"
#include "data/numbertext.h"

#include <cmath>

namespace
{

// Point line fields.
constexpr int kName = 0;
constexpr int kNorth = 2; // the drawing's Y
constexpr int kEast = 3;  // the drawing's X
constexpr int kHeight = 4;

// A coordinate as a number: text that is no (finite) number counts as 0.
double coordinate(QStringView text)
{
    bool ok = false;
    const double value = text_to_double(text, &ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

QString three_decimals(double value)
{
    return double_to_fixed(value, 3);
}

// X, Y, Z of a point line of at least five fields.
bool point_of(const LineFields& fields, double xyz[3])
{
    if (!fields.has(5))
        return false;
    xyz[0] = coordinate(fields.field(kEast));
    xyz[1] = coordinate(fields.field(kNorth));
    xyz[2] = coordinate(fields.field(kHeight));
    return true;
}

} // namespace

void DxfExtents::include(const QString& point_line)
{
    double xyz[3];
    if (!point_of(LineFields(point_line, 5), xyz))
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

bool dxf_append_point(QStringList& lines, const QString& point_line)
{
    const LineFields fields(point_line, 5);
    double xyz[3];
    if (!point_of(fields, xyz))
        return false;
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
    // Its height as a label at the point's X and Y on height 0.
    lines << QStringLiteral("  0") << QStringLiteral("TEXT") << QStringLiteral("  8") << QStringLiteral("Level")
          << QStringLiteral(" 10") << x << QStringLiteral(" 20") << y << QStringLiteral(" 30") << QStringLiteral("  0")
          << QStringLiteral(" 40") << QStringLiteral(" 0.1") << QStringLiteral("  1") << z;
    return true;
}

void dxf_append_entities_end(QStringList& lines)
{
    lines << QStringLiteral("  0") << QStringLiteral("ENDSEC");
}

void dxf_append_eof(QStringList& lines)
{
    lines << QStringLiteral("  0") << QStringLiteral("EOF");
}
