// Findings, reasons and orientations of the survey check in words: the values a text is filled with
// (the window's texts in both languages take them in this order), and the command-line tools' English.
#ifndef SURVEYTEXT_H
#define SURVEYTEXT_H

#include "survey/surveycheck.h"

namespace survey
{

// A length in metres with three decimals and its sign (+0.200, -0.013, 0.000).
QString signed_metres(double metres);

// The values of a reason: %1 the cell's column in words (English), %2 the cell's text (the station's
// name for the station's reasons), %3 what is wrong with an angle (English).
QStringList reason_values(const Reason& reason);
QString reason_in_english(const Reason& reason);

// The values of a finding: %1 the row counted from 1, %2 the name, %3 the station, then by kind:
// position dn, de, distance; height dz; distances the difference; same name the other station, the
// other row from 1, the distance, dz; the cannot-be-computed kinds the reason in words.
QStringList finding_values(const Finding& finding, const QString& reason_words);
// "row 5 M03: Z differs by +0.200 m" and the like.
QString finding_in_english(const Finding& finding);

// "station S1 (row 1): oriented on S2 ..." and the like.
QString orientation_in_english(const Setup& setup);

// `pattern` with %1 to %9 filled from `values` in one pass (a value holding "%1" stays as it is).
QString fill_values(const QString& pattern, const QStringList& values);

} // namespace survey

#endif // SURVEYTEXT_H
