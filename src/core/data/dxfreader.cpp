// Points out of an ASCII DXF drawing: every POINT of the first entities section becomes one point
// line, with its coordinates from the POINT itself, whatever its layer (and from the pairs after the
// layer "Point"), and its name from the text on the layer "PointNumber" that follows it; a point
// without one takes the text or attribute at its position (data/dxfnames.h). Values are taken as they stand, trimmed; a
// comma in one, which would split the point line, becomes FileOperation::kDxfCommaStandIn. The file is read as a
// stream, in the encoding its header names.
#include "data/fileoperation.h"

#include "data/dxfnames.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextCodec>

#include <algorithm>
#include <iterator>

namespace
{

constexpr int kCode = 0;
constexpr int kValue = 1;

// Point line fields.
constexpr int kName = 0;
constexpr int kNorth = 2;
constexpr int kEast = 3;
constexpr int kHeight = 4;

// AutoCAD 2007 (AC1021) and later write UTF-8 whatever the code page says.
constexpr int kFirstUtf8Version = 1021;

bool ends_section(const QString& value)
{
    return value == QLatin1String("ENDSEC") || value == QLatin1String("EOF");
}

bool ends_point(const QString& value)
{
    return value == QLatin1String("POINT") || ends_section(value);
}

// The encoding a header's $ACADVER and $DWGCODEPAGE name; false when they name none this program
// knows, and the file's bytes decide as for any text file.
bool named_encoding(const QString& version, const QString& code_page, TextEncoding* encoding, QTextCodec** codec)
{
    *codec = nullptr;
    const QString page = code_page.toUpper();
    if ((version.startsWith(QLatin1String("AC")) && version.mid(2).toInt() >= kFirstUtf8Version) ||
        page == QLatin1String("UTF8") || page == QLatin1String("UTF-8")) {
        *encoding = TextEncoding::Utf8;
        return true;
    }
    static const QRegularExpression kNumbered(QStringLiteral("^(ANSI|DOS)_?(\\d+)$"));
    const QRegularExpressionMatch match = kNumbered.match(page);
    if (!match.hasMatch())
        return false;
    const QString number = match.captured(2);
    if (number == QLatin1String("936")) {
        *encoding = TextEncoding::Gbk;
        return true;
    }
    // Pages Qt knows by another name; the others as windows-N, then IBMN and cpN.
    static const QHash<QString, const char*> kAliases{{QStringLiteral("932"), "Shift_JIS"},
                                                      {QStringLiteral("949"), "windows-949"},
                                                      {QStringLiteral("950"), "Big5"},
                                                      {QStringLiteral("874"), "TIS-620"}};
    QStringList names;
    if (kAliases.contains(number))
        names << QString::fromLatin1(kAliases.value(number));
    if (match.captured(1) == QLatin1String("ANSI"))
        names << QStringLiteral("windows-") + number;
    names << QStringLiteral("IBM") + number << QStringLiteral("cp") + number;
    for (const QString& name : qAsConst(names)) {
        if (QTextCodec* found = QTextCodec::codecForName(name.toLatin1())) {
            *encoding = TextEncoding::CodePage;
            *codec = found;
            return true;
        }
    }
    return false;
}

bool is_hex(const QString& text, int from, int count)
{
    if (from + count > text.size())
        return false;
    for (int i = from; i < from + count; ++i) {
        const ushort c = text.at(i).unicode();
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    }
    return true;
}

// Drawings in a code page write other characters as \U+XXXX (and some writers those beyond
// U+FFFF as \U+XXXXXXXX): the characters themselves.
QString decode_unicode_escapes(const QString& text)
{
    if (!text.contains(QLatin1String("\\U+")))
        return text;
    QString out;
    int i = 0;
    while (i < text.size()) {
        if (QStringView(text).mid(i, 3) == QLatin1String("\\U+") && is_hex(text, i + 3, 4)) {
            uint code = text.mid(i + 3, 4).toUInt(nullptr, 16);
            int length = 7;
            if (code >= 0x0001 && code <= 0x0010 && is_hex(text, i + 7, 4)) {
                code = text.mid(i + 3, 8).toUInt(nullptr, 16);
                length = 11;
            }
            if (code != 0 && code <= 0x10FFFF) {
                // Halves of a pair escaped one by one join again here.
                if (QChar::requiresSurrogates(code)) {
                    out += QChar(QChar::highSurrogate(code));
                    out += QChar(QChar::lowSurrogate(code));
                } else {
                    out += QChar(ushort(code));
                }
                i += length;
                continue;
            }
        }
        out += text.at(i++);
    }
    return out;
}

} // namespace

QStringList FileOperation::readDXFfile(QString filename)
{
    QStringList points;
    if (!read_dxf_points(filename, [&points](const QString& line) { points.append(line); }))
        points.clear();
    return points;
}

bool FileOperation::name_dxf_encoding(TextFileReader& reader)
{
    // The header comes first and is ASCII: its variables are read, then the file again from its
    // start in the encoding they name.
    QString version;
    QString code_page;
    QStringList pair = ReadPair(&reader);
    while (pair[kCode] == QLatin1String("999") && !reader.at_end())
        pair = ReadPair(&reader);
    if (pair[kValue] == QLatin1String("SECTION") && ReadPair(&reader)[kValue] == QLatin1String("HEADER")) {
        while (!reader.at_end()) {
            pair = ReadPair(&reader);
            if (ends_section(pair[kValue]) && pair[kCode] == QLatin1String("0"))
                break;
            if (pair[kCode] != QLatin1String("9"))
                continue;
            if (pair[kValue] == QLatin1String("$ACADVER"))
                version = ReadPair(&reader)[kValue];
            else if (pair[kValue] == QLatin1String("$DWGCODEPAGE"))
                code_page = ReadPair(&reader)[kValue];
        }
    }
    if (!reader.restart())
        return false;
    TextEncoding encoding = TextEncoding::Gbk;
    QTextCodec* codec = nullptr;
    if (named_encoding(version.trimmed(), code_page.trimmed(), &encoding, &codec))
        reader.set_encoding(encoding, codec);
    return true;
}

bool FileOperation::read_dxf_points(const QString& filename, const PointSink& sink)
{
    TextFileReader reader;
    if (!open_for_reading(reader, filename))
        return false;
    if (name_dxf_encoding(reader)) {
        dxfin = &reader;
        if (find_entities_section(dxfin))
            read_entity_points(dxfin, sink);
        dxfin = nullptr;
    }
    return finish_reading(reader);
}

bool FileOperation::find_entities_section(TextFileReader* in)
{
    while (!in->at_end()) {
        if (ReadPair(in)[kValue] == QLatin1String("SECTION") && ReadPair(in)[kValue] == QLatin1String("ENTITIES"))
            return true;
    }
    return false;
}

QStringList FileOperation::ReadPair(TextFileReader* in)
{
    // At the end of the file a missing line reads as empty text.
    QString code;
    QString value;
    in->read_line(&code);
    in->read_line(&value);
    return {code.trimmed(), value.trimmed()};
}

void FileOperation::read_entity_points(TextFileReader* in, const PointSink& sink)
{
    // Points are handed on as they are read until one has no point-number text: from it on they wait
    // for the texts at their positions, which a second reading of the section finds.
    QStringList held;
    DxfNameFinder finder;
    QStringList point;
    QStringList pair = ReadPair(in);
    while (!ends_section(pair[kValue]) && !in->at_end()) {
        if (pair[kValue] != QLatin1String("POINT")) {
            pair = ReadPair(in);
            continue;
        }
        dxf_point_named_ = false;
        pair = ReadEntitiesPOINT(in, point);
        const QString line = point.takeLast();
        const QStringList fields = line.split(QLatin1Char(','));
        const bool waits =
            !dxf_point_named_ && finder.add_point(held.size(), fields[kEast], fields[kNorth], fields[kHeight]);
        if (!dxf_point_named_ && !waits)
            ++last_read.dxf_unnamed;
        if (held.isEmpty() && !waits)
            sink(line);
        else
            held.append(line);
    }
    if (!finder.empty())
        name_held_points(in, finder, held);
    for (const QString& line : qAsConst(held))
        sink(line);
}

namespace
{

// A value of a drawing as a field of the point line: escapes decoded, commas replaced and counted.
QString field_text(const QString& value, bool name, qint64* commas)
{
    QString text = name ? decode_unicode_escapes(value) : value;
    const int count = text.count(QLatin1Char(','));
    if (count > 0) {
        text.replace(QLatin1Char(','), QLatin1Char(FileOperation::kDxfCommaStandIn));
        *commas += count;
    }
    return text;
}

// The TEXT and ATTRIB entities of an entities section, handed to `finder` with their anchors: the
// first and second alignment points and, for an attribute, the insertion point of its INSERT.
void read_texts(FileOperation& reader, TextFileReader* in, DxfNameFinder& finder)
{
    QString type;
    DxfText text;
    double xy[4] = {0, 0, 0, 0};
    bool given[4] = {false, false, false, false};
    QPair<double, double> owner;
    bool has_owner = false;
    for (QStringList pair = reader.ReadPair(in);; pair = reader.ReadPair(in)) {
        const bool last = in->at_end() || (pair[kCode] == QLatin1String("0") && ends_section(pair[kValue]));
        if (pair[kCode] != QLatin1String("0") && !last) {
            static const QStringList kCoordinates = {"10", "20", "11", "21"};
            const int at = kCoordinates.indexOf(pair[kCode]);
            if (at >= 0) {
                xy[at] = pair[kValue].toDouble(&given[at]);
            } else if (pair[kCode] == QLatin1String("8")) {
                text.layer = pair[kValue];
            } else if (pair[kCode] == QLatin1String("1")) {
                text.value = pair[kValue];
            } else if (pair[kCode] == QLatin1String("2")) {
                text.tag = pair[kValue];
            }
            continue;
        }
        // The entity read so far is complete.
        for (int i = 0; i < 4; i += 2) {
            if (given[i] && given[i + 1])
                text.anchors.append({xy[i], xy[i + 1]});
        }
        if (type == QLatin1String("INSERT")) {
            has_owner = !text.anchors.isEmpty();
            owner = has_owner ? text.anchors.first() : owner;
        } else if (type == QLatin1String("TEXT") || type == QLatin1String("ATTRIB")) {
            text.attribute = type == QLatin1String("ATTRIB");
            if (text.attribute && has_owner)
                text.anchors.append(owner);
            finder.add_text(text);
        }
        if (last)
            return;
        type = pair[kValue];
        if (type != QLatin1String("ATTRIB"))
            has_owner = has_owner && type == QLatin1String("INSERT");
        text = DxfText();
        std::fill(std::begin(given), std::end(given), false);
    }
}

} // namespace

void FileOperation::name_held_points(TextFileReader* in, DxfNameFinder& finder, QStringList& held)
{
    if (!name_dxf_encoding(*in) || !find_entities_section(in))
        return;
    read_texts(*this, in, finder);
    for (int i = 0; i < held.size(); ++i) {
        const QString name = finder.name(i);
        QStringList fields = held[i].split(QLatin1Char(','));
        if (name.isNull()) {
            ++last_read.dxf_unnamed;
            continue;
        }
        fields[kName] = field_text(name, true, &last_read.commas_replaced);
        held[i] = fields.join(QLatin1Char(','));
        ++last_read.dxf_named_by_texts;
    }
    last_read.dxf_name_layers = finder.layers().join(QStringLiteral(", "));
}

QStringList FileOperation::ReadEntities(TextFileReader* in)
{
    QStringList points;
    read_entity_points(in, [&points](const QString& line) { points.append(line); });
    return points;
}

QStringList FileOperation::ReadEntitiesPOINT(TextFileReader* in, QStringList& resultlist)
{
    QStringList record{QString(), QString(), QString(), QString(), QString()};
    // The POINT's own coordinates, on whatever layer it stands.
    QStringList pair = ReadEntitiesPOINTPoint(in, record);
    while (!ends_point(pair[kValue]) && !in->at_end()) {
        if (pair[kValue] == QLatin1String("Point")) {
            pair = ReadEntitiesPOINTPoint(in, record);
        } else if (pair[kValue] == QLatin1String("PointNumber")) {
            dxf_point_named_ = true;
            pair = ReadEntitiesPOINTPointnumber(in, record);
        } else {
            pair = ReadPair(in);
        }
    }
    resultlist.append(record.join(QLatin1Char(',')));
    return pair;
}

namespace
{

// Reads the pairs of one entity (up to the next group code 0, a new point or the end) into the
// point record fields that `field_of_code` names.
template <typename FieldOfCode>
QStringList read_entity_fields(FileOperation& reader, TextFileReader* in, QStringList& record,
                               FieldOfCode field_of_code)
{
    while (record.size() <= kHeight)
        record.append(QString());
    QStringList pair = reader.ReadPair(in);
    while (pair[kCode] != QLatin1String("0") && !ends_point(pair[kValue]) && !in->at_end()) {
        const int field = field_of_code(pair[kCode]);
        if (field >= 0)
            record[field] = field_text(pair[kValue], field == kName, &reader.last_read.commas_replaced);
        pair = reader.ReadPair(in);
    }
    return pair;
}

} // namespace

QStringList FileOperation::ReadEntitiesPOINTPoint(TextFileReader* in, QStringList& resultlist)
{
    return read_entity_fields(*this, in, resultlist, [](const QString& code) {
        if (code == QLatin1String("10"))
            return kEast;
        if (code == QLatin1String("20"))
            return kNorth;
        if (code == QLatin1String("30"))
            return kHeight;
        return -1;
    });
}

QStringList FileOperation::ReadEntitiesPOINTPointnumber(TextFileReader* in, QStringList& resultlist)
{
    return read_entity_fields(*this, in, resultlist,
                              [](const QString& code) { return code == QLatin1String("1") ? kName : -1; });
}
