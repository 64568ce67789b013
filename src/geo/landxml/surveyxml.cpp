// Rows, kinds and angle units of LandXML survey data.
#include "landxml/surveyxml.h"

#include "config/kindlabels.h"
#include "data/tablecolumns.h"

#include <cmath>

namespace surveyxml
{

namespace
{

// The observation layout's columns as attribute names, in the table's order (the window's GIS
// layers name them so too).
const char* const kFieldNames[] = {"kind",    "job",        "name",      "N",          "E",
                                   "Z",       "code",       "inst_h",    "bs_angle",   "hz_angle",
                                   "v_angle", "slope_dist", "vert_dist", "horiz_dist", "refl_h"};
static_assert(sizeof(kFieldNames) / sizeof(kFieldNames[0]) == ObsColumn::Count, "one name for each column");

} // namespace

const PointFields& observation_fields()
{
    static const PointFields fields = [] {
        QStringList names;
        for (const char* name : kFieldNames)
            names << QLatin1String(name);
        return PointFields(names, kObservationPointColumns);
    }();
    return fields;
}

bool is_observation_layout(const PointFields& fields)
{
    if (fields.count() != ObsColumn::Count)
        return false;
    for (int role = 0; role < kPointRoleCount; ++role) {
        if (fields.field(PointRole(role)) != kObservationPointColumns[size_t(role)])
            return false;
    }
    return true;
}

survey::RowKind row_kind(const QStringList& cells)
{
    // The labels of every shipped language; the record codes are known to survey::row_kind already.
    for (const survey::KindLabels& labels : shipped_kind_labels()) {
        const survey::RowKind kind = survey::row_kind(cells, labels);
        if (kind != survey::RowKind::Plain)
            return kind;
    }
    return survey::RowKind::Plain;
}

bool angle_unit(const QString& text, AngleUnit* unit)
{
    static const struct {
        const char* name;
        AngleUnit unit;
    } kUnits[] = {{"", AngleUnit::Radians},
                  {"radians", AngleUnit::Radians},
                  {"grads", AngleUnit::Grads},
                  {"decimal degrees", AngleUnit::DecimalDegrees},
                  {"decimal dd.mm.ss", AngleUnit::DegreesMinutesSeconds}};
    for (const auto& known : kUnits) {
        if (text.trimmed() == QLatin1String(known.name)) {
            *unit = known.unit;
            return true;
        }
    }
    return false;
}

QString dms_text(qint64 seconds)
{
    const qint64 s = ((seconds % survey::kSecondsInCircle) + survey::kSecondsInCircle) % survey::kSecondsInCircle;
    return QStringLiteral("%1.%2%3")
        .arg(s / 3600)
        .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

namespace
{

// "DDD.MMSSss" as seconds, the fraction's digits read as minutes, seconds and parts of a second; in
// one pass over the characters, as a large file holds hundreds of thousands of angles.
bool dms_seconds(const QString& text, double* seconds)
{
    int i = 0;
    const bool negative = !text.isEmpty() && text[0] == QLatin1Char('-');
    if (!text.isEmpty() && (negative || text[0] == QLatin1Char('+')))
        i = 1;
    double degrees = 0;
    int digits = 0;
    for (; i < text.size() && text[i].isDigit(); ++i, ++digits)
        degrees = degrees * 10 + text[i].digitValue();
    int fraction[4] = {0, 0, 0, 0};
    double parts = 0; // of a second
    double scale = 0.1;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        for (int place = 0; ++i < text.size() && text[i].isDigit(); ++place, ++digits) {
            if (place < 4) {
                fraction[place] = text[i].digitValue();
            } else {
                parts += scale * text[i].digitValue();
                scale /= 10;
            }
        }
    }
    if (i != text.size() || digits == 0)
        return false;
    const int minutes = fraction[0] * 10 + fraction[1];
    const double secs = fraction[2] * 10 + fraction[3] + parts;
    if (minutes >= 60 || secs >= 60)
        return false;
    *seconds = (negative ? -1 : 1) * (degrees * 3600 + minutes * 60 + secs);
    return true;
}

} // namespace

bool angle_seconds(const QString& text, AngleUnit unit, qint64* seconds)
{
    const QString trimmed = text.trimmed();
    double value = 0;
    if (!parse_number(trimmed, &value))
        return false;
    double in_seconds = 0;
    switch (unit) {
    case AngleUnit::Radians:
        // pi written out: M_PI is not standard C++ and not every compiler defines it
        in_seconds = value * 648000.0 / 3.14159265358979323846;
        break;
    case AngleUnit::Grads:
        in_seconds = value * 3240.0;
        break;
    case AngleUnit::DecimalDegrees:
        in_seconds = value * 3600.0;
        break;
    case AngleUnit::DegreesMinutesSeconds:
        if (!dms_seconds(trimmed, &in_seconds))
            return false;
        break;
    }
    if (!std::isfinite(in_seconds) || std::fabs(in_seconds) > 1e12)
        return false;
    const qint64 whole = qint64(std::llround(in_seconds));
    *seconds = ((whole % survey::kSecondsInCircle) + survey::kSecondsInCircle) % survey::kSecondsInCircle;
    return true;
}

} // namespace surveyxml
