// Angles as the instrument sends them: seven digits DDDMMSS (degrees, minutes, seconds), shown in the
// table with marks (039°30'33"). Computations hold an angle as whole seconds and turn it into radians
// from that exact value; angles are written back from whole seconds, never from a rounded decimal.
#ifndef SURVEYANGLE_H
#define SURVEYANGLE_H

#include <QString>
#include <QtGlobal>

namespace survey
{

constexpr qint64 kSecondsInCircle = 360 * 3600;

// Why an angle text was refused.
enum class AngleProblem : int {
    None,
    Empty,          // no text
    NotSevenDigits, // anything but seven digits once the marks are removed
    DegreesOver359, // DDD is 360 or more
    MinutesOver59,  // MM is 60 or more
    SecondsOver59,  // SS is 60 or more
};

struct AngleReading {
    qint64 seconds = 0; // whole seconds, 0 to 1295999
    AngleProblem problem = AngleProblem::Empty;
    bool ok() const { return problem == AngleProblem::None; }
};

// An angle cell: seven digits DDDMMSS, bare or with the table's marks (degree sign, apostrophe and
// double quote); blanks around it are ignored.
AngleReading read_angle(const QString& text);
// An angle of whole seconds as seven digits DDDMMSS, brought into the circle first (-1 s is 3595959).
QString angle_digits(qint64 seconds);
// The same with the table's marks: DDD°MM'SS".
QString angle_with_marks(qint64 seconds);
// Whole seconds in radians: seconds × π / 648000.
double seconds_to_radians(qint64 seconds);
// Radians rounded to the nearest whole second (not brought into the circle).
qint64 radians_to_seconds(double radians);
// An angle in radians brought into [0, 2π).
double normalized_radians(double radians);

} // namespace survey

#endif // SURVEYANGLE_H
