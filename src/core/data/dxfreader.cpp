// Points out of an ASCII DXF drawing: every POINT of the first entities section becomes one point
// line, with its coordinates from the pairs after the layer "Point" and its name from the text on the
// layer "PointNumber" that follows it. Values are taken as they stand, trimmed.
#include "data/fileoperation.h"
#include "data/textfile.h"

#include <QTextStream>

namespace
{

constexpr int kCode = 0;
constexpr int kValue = 1;

// Point line fields.
constexpr int kName = 0;
constexpr int kNorth = 2;
constexpr int kEast = 3;
constexpr int kHeight = 4;

bool ends_section(const QString& value)
{
    return value == QLatin1String("ENDSEC") || value == QLatin1String("EOF");
}

bool ends_point(const QString& value)
{
    return value == QLatin1String("POINT") || ends_section(value);
}

} // namespace

QStringList FileOperation::readDXFfile(QString filename)
{
    QStringList points;
    read_dxf_points(filename, [&points](const QString& line) { points.append(line); });
    return points;
}

bool FileOperation::read_dxf_points(const QString& filename, const PointSink& sink)
{
    TextFileReader reader;
    last_read_ok = reader.open(filename);
    if (!last_read_ok) {
        last_error = reader.error();
        return false;
    }
    dxfin = reader.stream();
    if (find_entities_section(dxfin))
        read_entity_points(dxfin, sink);
    dxfin->flush();
    dxfin = nullptr;
    return true;
}

bool FileOperation::find_entities_section(QTextStream* in)
{
    while (!in->atEnd()) {
        if (ReadPair(in)[kValue] == QLatin1String("SECTION") && ReadPair(in)[kValue] == QLatin1String("ENTITIES"))
            return true;
    }
    return false;
}

QStringList FileOperation::ReadPair(QTextStream* in)
{
    // At the end of the stream readLine gives empty text.
    const QString code = in->readLine().trimmed();
    const QString value = in->readLine().trimmed();
    return {code, value};
}

void FileOperation::read_entity_points(QTextStream* in, const PointSink& sink)
{
    QStringList point;
    QStringList pair = ReadPair(in);
    while (!ends_section(pair[kValue]) && !in->atEnd()) {
        if (pair[kValue] == QLatin1String("POINT")) {
            pair = ReadEntitiesPOINT(in, point);
            sink(point.takeLast());
        } else {
            pair = ReadPair(in);
        }
    }
}

QStringList FileOperation::ReadEntities(QTextStream* in)
{
    QStringList points;
    read_entity_points(in, [&points](const QString& line) { points.append(line); });
    return points;
}

QStringList FileOperation::ReadEntitiesPOINT(QTextStream* in, QStringList& resultlist)
{
    QStringList record{QString(), QString(), QString(), QString(), QString()};
    QStringList pair = ReadPair(in);
    while (!ends_point(pair[kValue]) && !in->atEnd()) {
        if (pair[kValue] == QLatin1String("Point"))
            pair = ReadEntitiesPOINTPoint(in, record);
        else if (pair[kValue] == QLatin1String("PointNumber"))
            pair = ReadEntitiesPOINTPointnumber(in, record);
        else
            pair = ReadPair(in);
    }
    resultlist.append(record.join(QLatin1Char(',')));
    return pair;
}

namespace
{

// Reads the pairs of one entity (up to the next group code 0, a new point or the end) into the
// point record fields that `field_of_code` names.
template <typename FieldOfCode>
QStringList read_entity_fields(FileOperation& reader, QTextStream* in, QStringList& record, FieldOfCode field_of_code)
{
    while (record.size() <= kHeight)
        record.append(QString());
    QStringList pair = reader.ReadPair(in);
    while (pair[kCode] != QLatin1String("0") && !ends_point(pair[kValue]) && !in->atEnd()) {
        const int field = field_of_code(pair[kCode]);
        if (field >= 0)
            record[field] = pair[kValue];
        pair = reader.ReadPair(in);
    }
    return pair;
}

} // namespace

QStringList FileOperation::ReadEntitiesPOINTPoint(QTextStream* in, QStringList& resultlist)
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

QStringList FileOperation::ReadEntitiesPOINTPointnumber(QTextStream* in, QStringList& resultlist)
{
    return read_entity_fields(*this, in, resultlist,
                              [](const QString& code) { return code == QLatin1String("1") ? kName : -1; });
}
