// Reading the points of a LandXML file in passes over the stream: a check of the whole file, the
// coordinates of the points others refer to, and the points in file order.
#include "landxml/landxmlreader.h"

#include "data/pointfields.h"
#include "geologging.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
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

// A CgPoint without coordinates of its own (and not a bad one): what a reference may stand for,
// and, with a pntRef, what may take another's coordinates.
struct LoosePoint {
    QString name;
    QString ref;
    qint64 ordinal = 0; // its place among the file's CgPoints
};

void fail(LandXmlPoints& result, LandXmlPoints::Status status, qint64 line, qint64 column, const QString& message)
{
    result.status = status;
    result.message = message;
    result.line = line;
    result.column = column;
    result.lines.clear();
}

// One pass over the document from its start, handing every CgPoint to `on_point` in file order and
// taking the system and units into *result; false (result failed) when it is no LandXML document or
// not well-formed. *end_line and *end_column: where the document ends.
bool scan(QIODevice* device, LandXmlPoints* result, const std::function<void(const CgPoint&)>& on_point,
          qint64* end_line = nullptr, qint64* end_column = nullptr)
{
    if (!device->seek(0)) {
        fail(*result, LandXmlPoints::CannotOpen, 0, 0, device->errorString());
        return false;
    }
    QXmlStreamReader xml(device);
    bool root_seen = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (!root_seen) {
            root_seen = true;
            if (xml.name() != QLatin1String("LandXML")) {
                fail(*result, LandXmlPoints::NotLandXml, xml.lineNumber(), xml.columnNumber(), xml.name().toString());
                return false;
            }
            continue;
        }
        if (xml.name() == QLatin1String("CgPoint")) {
            on_point(read_point(xml));
        } else if (xml.name() == QLatin1String("CoordinateSystem")) {
            const QString code = xml.attributes().value(QLatin1String("epsgCode")).toString().trimmed();
            if (!code.isEmpty() && result->crs.isEmpty())
                result->crs = QStringLiteral("EPSG:") + code;
        } else if ((xml.name() == QLatin1String("Metric") || xml.name() == QLatin1String("Imperial")) &&
                   result->linear_unit.isEmpty()) {
            result->linear_unit = xml.attributes().value(QLatin1String("linearUnit")).toString();
        }
    }
    if (xml.hasError()) {
        fail(*result, LandXmlPoints::NotWellFormed, xml.lineNumber(), xml.columnNumber(), xml.errorString());
        qCDebug(lcGeo) << "LandXML refused:" << result->message << result->line << result->column;
        return false;
    }
    if (!root_seen) {
        fail(*result, LandXmlPoints::NotWellFormed, xml.lineNumber(), xml.columnNumber(),
             QStringLiteral("no root element"));
        return false;
    }
    if (end_line)
        *end_line = xml.lineNumber();
    if (end_column)
        *end_column = xml.columnNumber();
    return true;
}

// The coordinates each loose point takes through its pntRef, following chains of references: a
// name stands for its first point with coordinates (in `coordinates`, the names referred to), else
// its first loose point. Points left without coordinates get none; a ring of references gives none.
QVector<QStringList> resolve_references(const QVector<LoosePoint>& loose,
                                        const QHash<QString, QStringList>& coordinates)
{
    QHash<QString, int> first_loose;
    for (int i = 0; i < loose.size(); ++i) {
        if (!loose[i].name.isEmpty() && !first_loose.contains(loose[i].name))
            first_loose.insert(loose[i].name, i);
    }
    enum State : char { Open, Visiting, Done };
    constexpr int kNone = -1, kCoordinates = -2;
    QVector<char> state(loose.size(), Open);
    QVector<QStringList> numbers(loose.size());
    QVector<int> chain;
    for (int start = 0; start < loose.size(); ++start) {
        chain.clear();
        int at = start;
        QStringList found;
        // Walk the references until a point with coordinates, a dead end or a ring.
        while (at >= 0 && state[at] == Open && !loose[at].ref.isEmpty()) {
            state[at] = Visiting;
            chain.append(at);
            const QString& ref = loose[at].ref;
            const auto with = coordinates.constFind(ref);
            if (with != coordinates.constEnd()) {
                found = with.value();
                at = kCoordinates;
            } else {
                at = first_loose.value(ref, kNone);
            }
        }
        if (at >= 0)
            found = state[at] == Done ? numbers[at] : QStringList();
        for (const int i : chain) {
            numbers[i] = found;
            state[i] = Done;
        }
        if (state[start] == Open)
            state[start] = Done;
    }
    return numbers;
}

} // namespace

LandXmlPoints read_landxml(QIODevice* device, const std::function<void(const QString&)>& sink,
                           const std::function<bool(const LandXmlPoints& checked)>& ready)
{
    LandXmlPoints result;
    // The passes read the document from its start again: a stream that cannot go back is held.
    QBuffer held;
    if (device->isSequential()) {
        held.setData(device->readAll());
        held.open(QIODevice::ReadOnly);
        device = &held;
    }
    // First pass: the whole document checked, the points without coordinates of their own noted.
    qint64 points = 0, with_coordinates = 0, end_line = 0, end_column = 0;
    QVector<LoosePoint> loose;
    QHash<QString, QStringList> referred; // names pntRefs give -> their first coordinates
    const bool read = scan(
        device, &result,
        [&](const CgPoint& point) {
            if (!point.numbers.isEmpty()) {
                ++with_coordinates;
            } else if (!point.bad) {
                loose.append({point.name, point.ref, points});
                if (!point.ref.isEmpty())
                    referred.insert(point.ref, QStringList());
            }
            ++points;
        },
        &end_line, &end_column);
    if (!read)
        return result;
    if (with_coordinates == 0) {
        fail(result, LandXmlPoints::NoPoints, end_line, end_column, QString());
        result.without_coordinates = int(points);
        return result;
    }
    // Second pass, only when points refer to others: the coordinates of the names referred to.
    QVector<QStringList> taken;
    if (!referred.isEmpty()) {
        QSet<QString> found;
        if (!scan(device, &result, [&](const CgPoint& point) {
                const auto at = referred.find(point.name);
                if (!point.numbers.isEmpty() && at != referred.end() && !found.contains(point.name)) {
                    at.value() = point.numbers;
                    found.insert(point.name);
                }
            }))
            return result;
        for (auto at = referred.begin(); at != referred.end();)
            at = found.contains(at.key()) ? std::next(at) : referred.erase(at);
        taken = resolve_references(loose, referred);
    }
    if (ready && !ready(result))
        return result;
    // Last pass: the points in file order.
    qint64 ordinal = 0;
    int next_loose = 0;
    QStringList fields;
    scan(device, &result, [&](const CgPoint& point) {
        const QStringList* numbers = &point.numbers;
        if (!taken.isEmpty() && next_loose < loose.size() && loose[next_loose].ordinal == ordinal)
            numbers = &taken[next_loose++];
        ++ordinal;
        if (numbers->isEmpty()) {
            ++result.without_coordinates;
            return;
        }
        fields = QStringList{point.name, point.code, numbers->value(0), numbers->value(1), numbers->value(2)};
        sink(join_point_line(fields, &result.changed_characters));
    });
    return result;
}

LandXmlPoints read_landxml(QIODevice* device)
{
    QStringList lines;
    LandXmlPoints result = read_landxml(device, [&lines](const QString& line) { lines.append(line); });
    if (result.ok())
        result.lines = lines;
    return result;
}

LandXmlPoints read_landxml_file(const QString& path, const std::function<void(const QString&)>& sink,
                                const std::function<bool(const LandXmlPoints& checked)>& ready)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LandXmlPoints result;
        result.status = LandXmlPoints::CannotOpen;
        result.message = file.errorString();
        return result;
    }
    return sink ? read_landxml(&file, sink, ready) : read_landxml(&file);
}
