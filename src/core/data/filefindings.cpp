// The findings of the readers and writers as kinds with values.
#include "data/filefindings.h"

namespace
{

// The command-line tools' words for a finding; %1, %2, ... are its values. (The window has its own,
// in both languages, in its UI texts.)
const char* english_text(FileFinding kind)
{
    switch (kind) {
    case FileFinding::None:
        break;
    case FileFinding::LongLine:
        return "line %1 is longer than %2 bytes";
    case FileFinding::CannotOpen:
    case FileFinding::UnknownCrs:
    case FileFinding::WriteFailed:
        return "%1";
    case FileFinding::NotWellFormed:
        return "not well-formed XML at line %1, column %2: %3";
    case FileFinding::NotLandXml:
        return "not a LandXML file (its root element at line %1, column %2)";
    case FileFinding::NoPoints:
        return "no point with coordinates in the file";
    case FileFinding::NoPointLayer:
        return "no layer of the file holds points";
    case FileFinding::GeographicWithoutCrs:
        return "the layer holds longitude and latitude (%1): give the points' system with --crs";
    case FileFinding::NoCrs:
        return "GeoJSON and KML hold WGS 84 longitude and latitude: give the points' system with --crs";
    case FileFinding::NoColumns:
        return "no columns named N and E in the header row: give them with --columns name,code,N,E,Z";
    case FileFinding::BadColumns:
        return "--columns: \"%1\" names no column (five items: name,code,N,E,Z, each a header text or a letter)";
    case FileFinding::Encoding:
        return "read as %1";
    case FileFinding::Undecodable:
        return "%1 bytes are not valid %2 and were read as U+FFFD";
    case FileFinding::CommasReplaced:
        return "%1 commas in values replaced by \"%2\"";
    case FileFinding::LinesSkipped:
        return "%1 lines skipped: fewer than %2 fields";
    case FileFinding::LayerChosen:
        return "points read from layer \"%1\", the first with points of %2 layers";
    case FileFinding::Transformed:
        return "points transformed from %1 into %2";
    case FileFinding::CrsNotApplied:
        return "the file's system %1 is not applied: no --crs given, coordinates taken as they stand";
    case FileFinding::OtherGeometries:
        return "%1 lines, polygons or multi-point features skipped";
    case FileFinding::EmptyGeometries:
        return "%1 features without a geometry skipped";
    case FileFinding::FailedTransforms:
        return "%1 points could not be put into %2 and were skipped";
    case FileFinding::WithoutCoordinates:
        return "%1 points without coordinates skipped";
    case FileFinding::CharactersReplaced:
        return "%1 commas or line breaks in names and codes replaced";
    case FileFinding::RowsNotWritten:
        return "%1 points not written: N or E is not a number";
    case FileFinding::OutsideArea:
        return "%1 points lie outside the area of use of %2";
    case FileFinding::ValuesChanged:
        return "%1 values not written as they stand (texts cut to the format's size, or not numbers)";
    case FileFinding::CharactersDropped:
        return "%1 control characters left out of names and codes";
    case FileFinding::WrittenWithoutCrs:
        return "written without a coordinate system (no --crs given)";
    case FileFinding::DxfNamesFromTexts:
        return "%1 points, names from layer %2 (texts at their position)";
    case FileFinding::DxfWithoutNames:
        return "%1 points without a name: no point-number text and no text at their position";
    case FileFinding::NotNumbersKept:
        return "%1 rows written as they stand though N or E is not a number";
    case FileFinding::WithoutHeight:
        return "%1 points drawn without a height: Z is empty or not a number";
    case FileFinding::ExtraFields:
        return "%1 lines had more fields than the format holds: the fields after the fifth were not written";
    case FileFinding::HiddenSheetsSkipped:
        return "%1 hidden sheets skipped (%2): the first visible sheet was read";
    case FileFinding::DatedNumbers:
        return "%1 coordinates or heights shown as dates in the workbook were read as their numbers";
    }
    return "";
}

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
    // The refusal is the finding the reader or writer named; these are its values.
    switch (report.failure) {
    case FileFinding::None:
        return {FileFinding::CannotOpen, {report.message}};
    case FileFinding::NotWellFormed:
        return {report.failure, {number(report.line), number(report.column), report.message}};
    case FileFinding::NotLandXml:
        return {report.failure, {number(report.line), number(report.column)}};
    case FileFinding::GeographicWithoutCrs:
        return {report.failure, {report.crs}};
    case FileFinding::NoPoints:
    case FileFinding::NoPointLayer:
    case FileFinding::NoCrs:
    case FileFinding::NoColumns:
        return {report.failure, {}};
    default:
        return {report.failure, {report.message}};
    }
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
    add_count(&findings, FileFinding::HiddenSheetsSkipped, layer.hidden_layers.size(),
              QLatin1Char('"') + layer.hidden_layers.join(QLatin1String("\", \"")) + QLatin1Char('"'));
    add_count(&findings, FileFinding::DatedNumbers, layer.dated_numbers);
    add_count(&findings, FileFinding::DxfNamesFromTexts, read.dxf_named_by_texts, read.dxf_name_layers);
    add_count(&findings, FileFinding::DxfWithoutNames, read.dxf_unnamed);
    return findings;
}

QList<FileFindingText> write_findings(const LayerReport& report)
{
    QList<FileFindingText> findings;
    add_count(&findings, FileFinding::RowsNotWritten, report.skipped);
    add_count(&findings, FileFinding::NotNumbersKept, report.not_numbers_kept);
    add_count(&findings, FileFinding::WithoutHeight, report.without_height);
    add_count(&findings, FileFinding::ExtraFields, report.extra_fields);
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
    return fill_finding(QString::fromUtf8(english_text(finding.kind)), finding);
}

QString finding_in_texts(const QStringList& texts, const FileFindingText& finding)
{
    return fill_finding(texts.value(int(finding.kind)), finding);
}
