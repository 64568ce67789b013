// The findings of the readers and writers as kinds with values.
#include "data/filefindings.h"

namespace
{

// The command-line tools' words for the findings, in the order of FileFinding; %1, %2, ... are the
// finding's values. (The window has its own, in both languages, in its UI texts.)
const char* const kFindingTexts[] = {
    "line %1 is longer than %2 bytes",
    "%1",
    "not well-formed XML at line %1, column %2: %3",
    "not a LandXML file (its root element at line %1, column %2)",
    "no point with coordinates in the file",
    "no layer of the file holds points",
    "the layer holds longitude and latitude (%1): give the points' system with --crs",
    "%1",
    "GeoJSON and KML hold WGS 84 longitude and latitude: give the points' system with --crs",
    "no columns named N and E in the header row: give them with --columns name,code,N,E,Z",
    "--columns: \"%1\" names no column (five items: name,code,N,E,Z, each a header text or a letter)",
    "%1",
    "read as %1",
    "%1 bytes are not valid %2 and were read as U+FFFD",
    "%1 commas in values replaced by \"%2\"",
    "%1 lines skipped: fewer than %2 fields",
    "points read from layer \"%1\", the first with points of %2 layers",
    "points transformed from %1 into %2",
    "the file's system %1 is not applied: no --crs given, coordinates taken as they stand",
    "%1 lines, polygons or multi-point features skipped",
    "%1 features without a geometry skipped",
    "%1 points could not be put into %2 and were skipped",
    "%1 points without coordinates skipped",
    "%1 commas or line breaks in names and codes replaced",
    "%1 points not written: N or E is not a number",
    "%1 points lie outside the area of use of %2",
    "%1 values not written as they stand (texts cut to the format's size, or not numbers)",
    "%1 control characters left out of names and codes",
    "written without a coordinate system (no --crs given)",
    "%1 points, names from layer %2 (texts at their position)",
    "%1 points without a name: no point-number text and no text at their position",
};
static_assert(sizeof(kFindingTexts) / sizeof(kFindingTexts[0]) == int(FileFinding::Count), "one text for each finding");

void add_count(QList<FileFindingText>* findings, FileFinding kind, qint64 count, const QString& more = QString())
{
    if (count <= 0)
        return;
    QStringList values{QString::number(count)};
    if (!more.isNull())
        values << more;
    findings->append({kind, values});
}

QString number(qint64 value)
{
    return QString::number(value);
}

} // namespace

FileFindingText layer_refusal(const LayerReport& report)
{
    switch (report.failure) {
    case LayerReport::NotWellFormed:
        return {FileFinding::NotWellFormed, {number(report.line), number(report.column), report.message}};
    case LayerReport::NotLandXml:
        return {FileFinding::NotLandXml, {number(report.line), number(report.column)}};
    case LayerReport::NoPoints:
        return {FileFinding::NoPoints, {}};
    case LayerReport::NoPointLayer:
        return {FileFinding::NoPointLayer, {}};
    case LayerReport::GeographicWithoutCrs:
        return {FileFinding::GeographicWithoutCrs, {report.crs}};
    case LayerReport::UnknownCrs:
        return {FileFinding::UnknownCrs, {report.message}};
    case LayerReport::NoCrs:
        return {FileFinding::NoCrs, {}};
    case LayerReport::NoColumns:
        return {FileFinding::NoColumns, {}};
    case LayerReport::BadColumns:
        return {FileFinding::BadColumns, {report.message}};
    case LayerReport::WriteFailed:
        return {FileFinding::WriteFailed, {report.message}};
    case LayerReport::CannotOpen:
    case LayerReport::None:
        break;
    }
    return {FileFinding::CannotOpen, {report.message}};
}

FileFindingText read_refusal(const FileOperation::ReadReport& read, const LayerReport& layer, const QString& error)
{
    if (read.failure == TextFileReader::Failure::LongLine)
        return {FileFinding::LongLine, {number(read.long_line), number(TextFileReader::kLongestLine)}};
    if (layer.failed())
        return layer_refusal(layer);
    return {FileFinding::CannotOpen, {error}};
}

QList<FileFindingText> read_findings(const FileOperation::ReadReport& read, const LayerReport& layer)
{
    QList<FileFindingText> findings;
    if (read.notable_encoding())
        findings.append({FileFinding::Encoding, {read.encoding_name}});
    add_count(&findings, FileFinding::Undecodable, read.undecodable_bytes, read.encoding_name);
    add_count(&findings, FileFinding::CommasReplaced, read.commas_replaced,
              QString(QLatin1Char(FileOperation::kDxfCommaStandIn)));
    add_count(&findings, FileFinding::LinesSkipped, read.lines_skipped, number(read.fields_needed));
    if (layer.layer_count > 1)
        findings.append({FileFinding::LayerChosen, {layer.layer, number(layer.layer_count)}});
    if (layer.transformed)
        findings.append({FileFinding::Transformed, {layer.crs, layer.target_crs}});
    else if (!layer.crs.isEmpty() && layer.target_crs.isEmpty())
        findings.append({FileFinding::CrsNotApplied, {layer.crs}});
    add_count(&findings, FileFinding::OtherGeometries, layer.other_geometries);
    add_count(&findings, FileFinding::EmptyGeometries, layer.empty_geometries);
    add_count(&findings, FileFinding::FailedTransforms, layer.failed_transforms, layer.target_crs);
    add_count(&findings, FileFinding::WithoutCoordinates, layer.without_coordinates);
    add_count(&findings, FileFinding::CharactersReplaced, layer.changed_characters);
    add_count(&findings, FileFinding::DxfNamesFromTexts, read.dxf_named_by_texts, read.dxf_name_layers);
    add_count(&findings, FileFinding::DxfWithoutNames, read.dxf_unnamed);
    return findings;
}

QList<FileFindingText> write_findings(const LayerReport& report)
{
    QList<FileFindingText> findings;
    add_count(&findings, FileFinding::RowsNotWritten, report.skipped);
    add_count(&findings, FileFinding::OutsideArea, report.outside_area, report.crs);
    add_count(&findings, FileFinding::ValuesChanged, report.changed_values);
    add_count(&findings, FileFinding::CharactersDropped, report.dropped_characters);
    if (report.without_crs)
        findings.append({FileFinding::WrittenWithoutCrs, {}});
    return findings;
}

QString fill_finding(const QString& pattern, const FileFindingText& finding)
{
    const QStringList& v = finding.values;
    switch (v.size()) {
    case 0:
        return pattern;
    case 1:
        return pattern.arg(v[0]);
    case 2:
        return pattern.arg(v[0], v[1]);
    default:
        return pattern.arg(v[0], v[1], v[2]);
    }
}

QString finding_in_english(const FileFindingText& finding)
{
    return fill_finding(QString::fromUtf8(kFindingTexts[int(finding.kind)]), finding);
}
