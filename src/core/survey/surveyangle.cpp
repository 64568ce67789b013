// The seven-digit angle: reading, writing, and radians from whole seconds.
#include "survey/surveyangle.h"

#include "data/fieldtext.h"

#include <cmath>

namespace survey
{

namespace
{

constexpr double kPi = 3.14159265358979323846;

} // namespace

AngleReading read_angle(const QString& text)
{
    AngleReading reading;
    const QString digits = angle_text(text.trimmed(), 1);
    if (digits.isEmpty())
        return reading;
    reading.problem = AngleProblem::NotSevenDigits;
    if (digits.size() != 7)
        return reading;
    for (const QChar c : digits) {
        if (c < QChar('0') || c > QChar('9'))
            return reading;
    }
    const int degrees = digits.left(3).toInt();
    const int minutes = digits.mid(3, 2).toInt();
    const int seconds = digits.mid(5, 2).toInt();
    if (degrees >= 360)
        reading.problem = AngleProblem::DegreesOver359;
    else if (minutes >= 60)
        reading.problem = AngleProblem::MinutesOver59;
    else if (seconds >= 60)
        reading.problem = AngleProblem::SecondsOver59;
    else
        reading.problem = AngleProblem::None;
    reading.seconds = qint64(degrees) * 3600 + minutes * 60 + seconds;
    return reading;
}

QString angle_digits(qint64 seconds)
{
    const qint64 s = ((seconds % kSecondsInCircle) + kSecondsInCircle) % kSecondsInCircle;
    return QString("%1%2%3")
        .arg(s / 3600, 3, 10, QChar('0'))
        .arg(s / 60 % 60, 2, 10, QChar('0'))
        .arg(s % 60, 2, 10, QChar('0'));
}

QString angle_with_marks(qint64 seconds)
{
    return angle_text(angle_digits(seconds), 0);
}

double seconds_to_radians(qint64 seconds)
{
    return double(seconds) * kPi / 648000.0;
}

qint64 radians_to_seconds(double radians)
{
    return qint64(std::llround(radians * 648000.0 / kPi));
}

double normalized_radians(double radians)
{
    const double turn = 2 * kPi;
    double r = std::fmod(radians, turn);
    if (r < 0)
        r += turn;
    return r >= turn ? 0.0 : r;
}

} // namespace survey
