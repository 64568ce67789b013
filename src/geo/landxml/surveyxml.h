// What the LandXML survey writer and reader share: the observation layout's rows as fields, the
// kind of a row, and angles in the units LandXML names ("decimal dd.mm.ss" is written, every unit of
// the schema is read).
#ifndef GEO_SURVEYXML_H
#define GEO_SURVEYXML_H

#include "data/pointfields.h"
#include "survey/surveyrows.h"

#include <QString>

namespace surveyxml
{

// The fields of an observation-layout row: its fifteen columns, name, code, N, E and Z in theirs.
const PointFields& observation_fields();
// Whether rows laid out as `fields` are observation-layout rows (fifteen fields, the point's own in
// the observation columns): the LandXML writer then writes their survey data too.
bool is_observation_layout(const PointFields& fields);

// The kind of an observation row by its kind cell: the record codes STN, BK and MP and the labels
// the table shows in either language.
survey::RowKind row_kind(const QStringList& cells);

enum class AngleUnit { Radians, Grads, DecimalDegrees, DegreesMinutesSeconds };
// The unit of an angularUnit attribute; radians (the schema's default) for an empty one. False for a
// text the schema does not name.
bool angle_unit(const QString& text, AngleUnit* unit);

// Whole seconds as "decimal dd.mm.ss": 39°30'33" is "39.3033", 0 is "0.0000".
QString dms_text(qint64 seconds);
// An angle attribute in `unit` as whole seconds within the circle (rounded to the nearest second).
// False for a text that is not a number, or dd.mm.ss with minutes or seconds of 60 or more.
bool angle_seconds(const QString& text, AngleUnit unit, qint64* seconds);

} // namespace surveyxml

#endif // GEO_SURVEYXML_H
