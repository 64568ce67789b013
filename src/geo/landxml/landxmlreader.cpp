// Reading the points of a LandXML file, with references resolved after the whole file is read.
#include "landxml/landxmlreader.h"

#include "data/pointfields.h"
#include "geologging.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QVector>
#include <QXmlStreamReader>

namespace
{

struct CgPoint {
    QString name;
    QString code;
    QString ref;         // pntRef, used when the point has no coordinates of its own
    QStringList numbers; // "N", "E" and optionally "Z" as written; empty until known
    bool bad = false;    // coordinates written but not two or three numbers
};

// The coordinate text "N E" or "N E Z" split into its numbers; false for anything else.
bool coordinates(const QString& text, QStringList* numbers)
{
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    const QStringList parts = text.split(spaces, Qt::SkipEmptyParts);
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    double value = 0;
    for (const QString& part : parts) {
        if (!parse_number(part, &value))
            return false;
    }
    *numbers = parts;
    return true;
}

CgPoint read_point(QXmlStreamReader& xml)
{
    CgPoint point;
    const QXmlStreamAttributes attributes = xml.attributes();
    point.name = attributes.value(QLatin1String("name")).toString();
    point.code = attributes.value(QLatin1String("code")).toString();
    if (point.code.isEmpty())
        point.code = attributes.value(QLatin1String("desc")).toString();
    point.ref = attributes.value(QLatin1String("pntRef")).toString().trimmed();
    const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
    if (!text.isEmpty() && !coordinates(text, &point.numbers))
        point.bad = true;
    return point;
}

// Gives each point without coordinates those of the point its pntRef names, following chains of
// references; a name stands for its first point with coordinates, else its first point. Points left
// without coordinates stay empty. Linear in the number of points.
void resolve_references(QVector<CgPoint>& points)
{
    QHash<QString, int> by_name;
    for (int i = 0; i < points.size(); ++i) {
        if (!points[i].numbers.isEmpty() && !points[i].name.isEmpty() && !by_name.contains(points[i].name))
            by_name.insert(points[i].name, i);
    }
    for (int i = 0; i < points.size(); ++i) {
        if (points[i].numbers.isEmpty() && !points[i].bad && !points[i].name.isEmpty() &&
            !by_name.contains(points[i].name))
            by_name.insert(points[i].name, i);
    }
    enum State : char { Open, Visiting, Done };
    QVector<char> state(points.size(), Open);
    QVector<int> chain;
    for (int start = 0; start < points.size(); ++start) {
        chain.clear();
        int at = start;
        // Walk the references until a point with coordinates, a dead end or a ring.
        while (at >= 0 && state[at] == Open && points[at].numbers.isEmpty() && !points[at].bad &&
               !points[at].ref.isEmpty()) {
            state[at] = Visiting;
            chain.append(at);
            at = by_name.value(points[at].ref, -1);
        }
        const QStringList found = (at >= 0 && state[at] != Visiting) ? points[at].numbers : QStringList();
        for (const int i : chain) {
            points[i].numbers = found;
            state[i] = Done;
        }
        if (state[start] == Open)
            state[start] = Done;
    }
}

void fail(LandXmlPoints& result, LandXmlPoints::Status status, const QXmlStreamReader& xml, const QString& message)
{
    result.status = status;
    result.message = message;
    result.line = xml.lineNumber();
    result.column = xml.columnNumber();
    result.lines.clear();
}

} // namespace

LandXmlPoints read_landxml(QIODevice* device)
{
    LandXmlPoints result;
    QXmlStreamReader xml(device);
    QVector<CgPoint> points;
    bool root_seen = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (!root_seen) {
            root_seen = true;
            if (xml.name() != QLatin1String("LandXML")) {
                fail(result, LandXmlPoints::NotLandXml, xml, xml.name().toString());
                return result;
            }
            continue;
        }
        if (xml.name() == QLatin1String("CgPoint")) {
            points.append(read_point(xml));
        } else if (xml.name() == QLatin1String("CoordinateSystem")) {
            const QString code = xml.attributes().value(QLatin1String("epsgCode")).toString().trimmed();
            if (!code.isEmpty() && result.crs.isEmpty())
                result.crs = QStringLiteral("EPSG:") + code;
        } else if ((xml.name() == QLatin1String("Metric") || xml.name() == QLatin1String("Imperial")) &&
                   result.linear_unit.isEmpty()) {
            result.linear_unit = xml.attributes().value(QLatin1String("linearUnit")).toString();
        }
    }
    if (xml.hasError()) {
        fail(result, LandXmlPoints::NotWellFormed, xml, xml.errorString());
        qCDebug(lcGeo) << "LandXML refused:" << result.message << result.line << result.column;
        return result;
    }
    if (!root_seen) {
        fail(result, LandXmlPoints::NotWellFormed, xml, QStringLiteral("no root element"));
        return result;
    }

    resolve_references(points);
    QStringList fields;
    for (const CgPoint& point : points) {
        if (point.numbers.isEmpty()) {
            ++result.without_coordinates;
            continue;
        }
        fields =
            QStringList{point.name, point.code, point.numbers.value(0), point.numbers.value(1), point.numbers.value(2)};
        result.lines.append(join_point_line(fields, &result.changed_characters));
    }
    if (result.lines.isEmpty()) {
        const int skipped = result.without_coordinates;
        fail(result, LandXmlPoints::NoPoints, xml, QString());
        result.without_coordinates = skipped;
    }
    return result;
}

LandXmlPoints read_landxml_file(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LandXmlPoints result;
        result.status = LandXmlPoints::CannotOpen;
        result.message = file.errorString();
        return result;
    }
    return read_landxml(&file);
}
