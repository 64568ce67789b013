// The drawing with linework through GDAL's DXF driver: a header template holding the layer table with
// the layers' colours, a block per point code, then the points, their labels and symbols, and the
// lines and areas.
#include "gis/lineworkdrawing.h"

#include "data/linefields.h"
#include "data/pointfields.h"
#include "geologging.h"
#include "gis/gdalsupport.h"
#include "gis/stagedoutput.h"

#include <QFile>
#include <QSet>
#include <cmath>
#include <cpl_conv.h>
#include <cpl_vsi.h>

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kLabelHeight = 0.1;
constexpr double kSymbolRadius = 0.25;
constexpr int kSymbolSides = 16;
// Handles of the layer records added to the template: below the driver's own, which start at 0x20000.
constexpr int kFirstLayerHandle = 0x10000;

// The plain drawing's layers and colours.
const struct {
    const char* name;
    int colour;
} kPlainLayers[] = {{"Point", 7}, {"PointNumber", 3}, {"Level", 3}, {"Code", 4}};

// A LAYER table record laid out as the driver's template lays out its own layer "0".
QStringList layer_record(const QString& name, int colour, int handle)
{
    return {QStringLiteral("  0"), QStringLiteral("LAYER"),
            QStringLiteral("  5"), QString::number(handle, 16).toUpper(),
            QStringLiteral("330"), QStringLiteral("2"),
            QStringLiteral("100"), QStringLiteral("AcDbSymbolTableRecord"),
            QStringLiteral("100"), QStringLiteral("AcDbLayerTableRecord"),
            QStringLiteral("  2"), name,
            QStringLiteral(" 70"), QStringLiteral("     0"),
            QStringLiteral(" 62"), QStringLiteral("%1").arg(colour, 6),
            QStringLiteral("  6"), QStringLiteral("Continuous"),
            QStringLiteral("370"), QStringLiteral("    -3"),
            QStringLiteral("390"), QStringLiteral("F")};
}

// GDAL's header template with the plain layers and a layer per code added to its layer table. A layer
// that several codes share takes the first one's colour.
bool header_template(const CodeList& codes, QByteArray* text, QString* error)
{
    const char* found = CPLFindFile("GDAL", "header.dxf");
    QFile file(found ? QString::fromUtf8(found) : QString());
    if (!found || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("GDAL's DXF header template (header.dxf) cannot be read");
        return false;
    }
    QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // The layer table, read as pairs of group code and value from its "0 TABLE".
    int table = -1;
    for (int i = 1; i + 3 < lines.size() && table < 0; ++i) {
        if (lines[i] == QLatin1String("TABLE") && lines[i + 1].trimmed() == QLatin1String("2") &&
            lines[i + 2] == QLatin1String("LAYER"))
            table = i - 1;
    }
    QSet<QString> taken;
    int end = -1;
    for (int i = table; table >= 0 && i + 1 < lines.size() && end < 0; i += 2) {
        const QString code = lines[i].trimmed();
        if (code == QLatin1String("0") && lines[i + 1] == QLatin1String("ENDTAB"))
            end = i;
        else if (code == QLatin1String("2") && i > table + 2)
            taken.insert(lines[i + 1].toUpper());
    }
    if (end < 0) {
        *error = QStringLiteral("GDAL's DXF header template holds no layer table");
        return false;
    }
    QStringList records;
    int handle = kFirstLayerHandle;
    const auto add = [&](const QString& name, int colour) {
        if (!taken.contains(name.toUpper())) {
            taken.insert(name.toUpper());
            records << layer_record(name, colour, handle++);
        }
    };
    for (const auto& layer : kPlainLayers)
        add(QString::fromLatin1(layer.name), layer.colour);
    for (const CodeEntry& entry : codes.entries())
        add(entry.layer, entry.colour);
    for (int i = records.size() - 1; i >= 0; --i)
        lines.insert(end, records[i]);
    *text = lines.join(QLatin1Char('\n')).toLatin1();
    return true;
}

// A label's style: the text in quotes, its quotes and backslashes escaped.
QByteArray label_style(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QStringLiteral("LABEL(t:\"%1\",s:%2g)").arg(escaped).arg(kLabelHeight).toUtf8();
}

// One of the reused features of the entities layer: its layer set once.
struct Entity {
    OgrFeature feature;
    OGRGeometryH point = nullptr; // owned by the feature

    void make(OGRLayerH layer, const char* dxf_layer)
    {
        feature.reset(OGR_F_Create(OGR_L_GetLayerDefn(layer)));
        if (dxf_layer)
            OGR_F_SetFieldString(feature.get(), OGR_F_GetFieldIndex(feature.get(), "Layer"), dxf_layer);
        OGR_F_SetGeometryDirectly(feature.get(), OGR_G_CreateGeometry(wkbPoint25D));
        point = OGR_F_GetGeometryRef(feature.get());
    }
    void place(double x, double y, double z, bool has_z)
    {
        OGR_G_Set3D(point, has_z);
        if (has_z)
            OGR_G_SetPoint(point, 0, x, y, z);
        else
            OGR_G_SetPoint_2D(point, 0, x, y);
    }
};

class DrawingWriter
{
public:
    DrawingWriter(const CodeList& codes, LineworkDrawingReport* report) : codes_(codes), report_(report) {}
    ~DrawingWriter();

    bool open(const QString& path);
    bool write_point(const QString& point_line);
    bool write_line(const LineworkLine& line);
    bool close();

private:
    bool fail(const QString& error);
    bool write_blocks();
    bool create(OGRLayerH layer, OGRFeatureH feature);
    bool create(OGRFeatureH feature) { return create(entities_, feature); }

    const CodeList& codes_;
    LineworkDrawingReport* report_;
    QByteArray header_;
    QByteArray header_name_;
    GdalDataset dataset_;
    OGRLayerH entities_ = nullptr;
    Entity point_, number_, level_, symbol_;
    OgrFeature line_;
    int layer_field_ = -1;
    int block_field_ = -1;
};

DrawingWriter::~DrawingWriter()
{
    GdalMessages quiet(true);
    point_.feature.reset();
    number_.feature.reset();
    level_.feature.reset();
    symbol_.feature.reset();
    line_.reset();
    dataset_.reset();
    if (!header_name_.isEmpty())
        VSIUnlink(header_name_.constData());
}

bool DrawingWriter::fail(const QString& error)
{
    if (report_->error.isEmpty())
        report_->error = error.isEmpty() ? QStringLiteral("GDAL failed without saying why") : error;
    return false;
}

bool DrawingWriter::open(const QString& path)
{
    QString error;
    if (!header_template(codes_, &header_, &error))
        return fail(error);
    header_name_ = QByteArray("/vsimem/ktlink-dxf-header-") + QByteArray::number(quintptr(this), 16) + ".dxf";
    VSIFCloseL(VSIFileFromMemBuffer(header_name_.constData(), reinterpret_cast<GByte*>(header_.data()),
                                    vsi_l_offset(header_.size()), FALSE));
    GdalMessages messages;
    GDALDriverH driver = GDALGetDriverByName("DXF");
    if (!driver)
        return fail(QStringLiteral("GDAL has no DXF driver"));
    const QByteArray header_option = "HEADER=" + header_name_;
    const QByteArray target = path.toUtf8();
    char* options[] = {const_cast<char*>(header_option.constData()), nullptr};
    dataset_.reset(GDALCreate(driver, target.constData(), 0, 0, 0, GDT_Unknown, options));
    if (!dataset_ || messages.failed())
        return fail(messages.text());
    if (!write_blocks())
        return false;
    entities_ = GDALDatasetCreateLayer(dataset_.get(), "entities", nullptr, wkbUnknown, nullptr);
    if (!entities_)
        return fail(messages.text());
    point_.make(entities_, "Point");
    number_.make(entities_, "PointNumber");
    level_.make(entities_, "Level");
    symbol_.make(entities_, nullptr);
    line_.reset(OGR_F_Create(OGR_L_GetLayerDefn(entities_)));
    layer_field_ = OGR_F_GetFieldIndex(line_.get(), "Layer");
    block_field_ = OGR_F_GetFieldIndex(symbol_.feature.get(), "BlockName");
    if (layer_field_ < 0 || block_field_ < 0)
        return fail(QStringLiteral("GDAL's DXF driver has no Layer or BlockName field"));
    return true;
}

// One block per point code: a circle with a cross, on layer 0 so that it takes the layer of its insert.
bool DrawingWriter::write_blocks()
{
    GdalMessages messages;
    OGRLayerH blocks = GDALDatasetCreateLayer(dataset_.get(), "blocks", nullptr, wkbUnknown, nullptr);
    if (!blocks)
        return fail(messages.text());
    OgrFeature feature(OGR_F_Create(OGR_L_GetLayerDefn(blocks)));
    const int block = OGR_F_GetFieldIndex(feature.get(), "Block");
    OGR_F_SetFieldString(feature.get(), OGR_F_GetFieldIndex(feature.get(), "Layer"), "0");
    for (const CodeEntry& entry : codes_.entries()) {
        if (entry.kind != CodeKind::Point)
            continue;
        OGR_F_SetFieldString(feature.get(), block, entry.code.toLatin1().constData());
        OGRGeometryH ring = OGR_G_CreateGeometry(wkbLinearRing);
        for (int i = 0; i <= kSymbolSides; ++i) {
            const double angle = 2 * kPi * (i % kSymbolSides) / kSymbolSides;
            OGR_G_AddPoint_2D(ring, kSymbolRadius * std::cos(angle), kSymbolRadius * std::sin(angle));
        }
        OGRGeometryH circle = OGR_G_CreateGeometry(wkbPolygon);
        OGR_G_AddGeometryDirectly(circle, ring);
        OGRGeometryH cross = OGR_G_CreateGeometry(wkbMultiLineString);
        for (int axis = 0; axis < 2; ++axis) {
            OGRGeometryH stroke = OGR_G_CreateGeometry(wkbLineString);
            OGR_G_AddPoint_2D(stroke, axis ? 0 : -kSymbolRadius, axis ? -kSymbolRadius : 0);
            OGR_G_AddPoint_2D(stroke, axis ? 0 : kSymbolRadius, axis ? kSymbolRadius : 0);
            OGR_G_AddGeometryDirectly(cross, stroke);
        }
        for (OGRGeometryH part : {circle, cross}) {
            OGR_F_SetGeometryDirectly(feature.get(), part);
            if (!create(blocks, feature.get()))
                return false;
        }
    }
    return true;
}

bool DrawingWriter::create(OGRLayerH layer, OGRFeatureH feature)
{
    OGR_F_SetFID(feature, OGRNullFID);
    if (OGR_L_CreateFeature(layer, feature) != OGRERR_NONE)
        return fail(QStringLiteral("GDAL could not write an entity: %1").arg(QString::fromUtf8(CPLGetLastErrorMsg())));
    return true;
}

bool DrawingWriter::write_point(const QString& point_line)
{
    const LineFields fields(point_line, 5);
    double north = 0, east = 0, height = 0;
    if (!fields.has(5) || !parse_number(fields.field(2).toString(), &north) ||
        !parse_number(fields.field(3).toString(), &east)) {
        ++report_->without_coordinates;
        return true;
    }
    const bool has_height = parse_number(fields.field(4).toString(), &height);
    report_->without_height += has_height ? 0 : 1;
    point_.place(east, north, height, has_height);
    OGR_F_SetStyleString(number_.feature.get(), label_style(fields.field(0).trimmed().toString()).constData());
    number_.place(east, north, height, has_height);
    if (!create(point_.feature.get()) || !create(number_.feature.get()))
        return false;
    if (has_height) {
        // The height as text at the point's place on height 0, as in the plain drawing.
        OGR_F_SetStyleString(level_.feature.get(), label_style(QString::number(height, 'f', 3)).constData());
        level_.place(east, north, 0, true);
        if (!create(level_.feature.get()))
            return false;
    }
    ++report_->points;
    const LineCode parsed = parse_line_code(fields.field(1).toString(), codes_);
    if (parsed.entry < 0 || codes_.entries()[parsed.entry].kind != CodeKind::Point)
        return true;
    const CodeEntry& entry = codes_.entries()[parsed.entry];
    OGR_F_SetFieldString(symbol_.feature.get(), layer_field_, entry.layer.toLatin1().constData());
    OGR_F_SetFieldString(symbol_.feature.get(), block_field_, entry.code.toLatin1().constData());
    symbol_.place(east, north, height, has_height);
    ++report_->symbols;
    return create(symbol_.feature.get());
}

bool DrawingWriter::write_line(const LineworkLine& line)
{
    if (!line.drawable() || line.entry < 0 || line.entry >= codes_.size())
        return true;
    const bool z = line.has_heights();
    OGRGeometryH path = OGR_G_CreateGeometry(line.closed ? wkbLinearRing : (z ? wkbLineString25D : wkbLineString));
    for (const LineworkVertex& vertex : line.vertices) {
        if (z)
            OGR_G_AddPoint(path, vertex.e, vertex.n, vertex.z);
        else
            OGR_G_AddPoint_2D(path, vertex.e, vertex.n);
    }
    OGRGeometryH geometry = path;
    if (line.closed) {
        // A polygon's ring is written as a closed polyline; its first point is not repeated at its end.
        geometry = OGR_G_CreateGeometry(z ? wkbPolygon25D : wkbPolygon);
        OGR_G_AddGeometryDirectly(geometry, path);
    }
    OGR_F_SetGeometryDirectly(line_.get(), geometry);
    OGR_F_SetFieldString(line_.get(), layer_field_, codes_.entries()[line.entry].layer.toLatin1().constData());
    ++(line.area ? report_->areas : report_->lines);
    return create(line_.get());
}

bool DrawingWriter::close()
{
    GdalMessages messages;
    for (Entity* entity : {&point_, &number_, &level_, &symbol_})
        entity->feature.reset();
    line_.reset();
    dataset_.reset(); // closing writes the header with the extents, the blocks and the trailer
    if (messages.failed())
        return fail(messages.text());
    return true;
}

} // namespace

bool write_linework_drawing(const QString& path, const QStringList& point_lines, const LineworkBuilder& linework,
                            LineworkDrawingReport* report)
{
    *report = LineworkDrawingReport();
    ensure_gdal();
    StagedOutput staged(path, {});
    if (!staged.ok()) {
        report->error = staged.error();
        return false;
    }
    // Areas and closed lines as closed polylines, not as hatches.
    ScopedGdalConfig config({{"DXF_WRITE_HATCH", "NO"}, {"OGR_GEOMETRY_ACCEPT_UNCLOSED_RING", "YES"}});
    bool written = false;
    {
        GdalMessages messages(true);
        DrawingWriter writer(linework.codes(), report);
        written = writer.open(staged.path());
        for (int i = 0; written && i < point_lines.size(); ++i)
            written = writer.write_point(point_lines[i]);
        for (int i = 0; written && i < linework.lines().size(); ++i)
            written = writer.write_line(linework.lines()[i]);
        written = written && writer.close();
    }
    if (written && !staged.commit()) {
        report->error = staged.error();
        written = false;
    }
    if (!written)
        qCWarning(lcGeo) << "drawing" << path << "not written:" << report->error;
    return written;
}
