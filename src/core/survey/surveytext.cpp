// The survey check's findings in words.
#include "survey/surveytext.h"

#include "data/tablecolumns.h"

#include <cmath>

namespace survey
{

namespace
{

// The columns in words, in the order of ObsColumn.
const char* const kColumnWords[] = {
    "kind",
    "job",
    "name",
    "N",
    "E",
    "Z",
    "code",
    "instrument height",
    "backsight angle",
    "horizontal angle",
    "zenith angle",
    "slope distance",
    "vertical distance",
    "horizontal distance",
    "reflector height",
};
static_assert(sizeof(kColumnWords) / sizeof(kColumnWords[0]) == ObsColumn::Count, "one word for each column");

// In the order of AngleProblem.
const char* const kAngleWords[] = {
    "",
    "is empty",
    "is not seven digits DDDMMSS",
    "has 360 degrees or more",
    "has 60 minutes or more",
    "has 60 seconds or more",
};

// In the order of Unreduced; %1 column, %2 text, %3 the angle's fault.
const char* const kReasonTexts[] = {
    "",
    "no station record before it",
    "its station %2 has no N and E",
    "its station %2 has no Z",
    "the %1 \"%2\" %3",
    "the zenith angle \"%2\" is 0 or 180 degrees: no horizontal direction",
    "neither a slope nor a horizontal distance",
    "the %1 \"%2\" is not a usable number",
    "no instrument height, neither the point's nor its station's",
    "no reflector height",
    "the known backsight point lies on the station",
};
static_assert(sizeof(kReasonTexts) / sizeof(kReasonTexts[0]) == int(Unreduced::Count), "one text for each reason");

// In the order of FindingKind, after "row %1 %2: ".
const char* const kFindingTexts[] = {
    "N differs by %4 m, E by %5 m (%6 m apart)",
    "Z differs by %4 m",
    "the recorded horizontal distance differs by %4 m",
    "the recorded vertical distance differs by %4 m",
    "as measured from %4 in row %5 it lies %6 m away, Z differs by %7 m",
    "cannot be computed: %4",
    "Z cannot be computed: %4",
};
static_assert(sizeof(kFindingTexts) / sizeof(kFindingTexts[0]) == int(FindingKind::Count), "one text for each kind");

QString metres(double value)
{
    return QString::number(std::fabs(value) < 0.0005 ? 0.0 : value, 'f', 3);
}

} // namespace

QString signed_metres(double value)
{
    const QString text = metres(value);
    return text.startsWith(QChar('-')) || text == QLatin1String("0.000") ? text : QChar('+') + text;
}

QStringList reason_values(const Reason& reason)
{
    const int column = reason.column;
    const QString words = column >= 0 && column < ObsColumn::Count ? QString(kColumnWords[column]) : QString();
    return {words, reason.text, QString(kAngleWords[int(reason.angle)])};
}

QString reason_in_english(const Reason& reason)
{
    return fill_values(QString::fromUtf8(kReasonTexts[int(reason.kind)]), reason_values(reason));
}

QStringList finding_values(const Finding& f, const QString& reason_words)
{
    QStringList values{QString::number(f.row + 1), f.name, f.station};
    switch (f.kind) {
    case FindingKind::PositionDiffers:
        return values << signed_metres(f.dn) << signed_metres(f.de) << metres(f.size);
    case FindingKind::HeightDiffers:
    case FindingKind::HorizontalDistanceDiffers:
    case FindingKind::VerticalDistanceDiffers:
        return values << signed_metres(f.size);
    case FindingKind::SameNameDiffers:
        return values << f.other_station << QString::number(f.other_row + 1) << metres(f.size) << signed_metres(f.dz);
    case FindingKind::CannotCompute:
    case FindingKind::HeightCannotCompute:
    case FindingKind::Count:
        break;
    }
    return values << reason_words;
}

QString finding_in_english(const Finding& f)
{
    const QString pattern = QString("row %1 %2: ") + kFindingTexts[int(f.kind)];
    return fill_values(pattern, finding_values(f, reason_in_english(f.reason)));
}

QString orientation_in_english(const Setup& s)
{
    const QString head = QString("station %1 (row %2): ").arg(s.name).arg(s.station_row + 1);
    const QString orientation = angle_with_marks(radians_to_seconds(s.orientation));
    if (!s.problem.none())
        return head + "cannot be oriented: " + reason_in_english(s.problem);
    switch (s.source) {
    case OrientationSource::Backsight:
        return head + QString("oriented on %1 (azimuth %2, circle reading %3): orientation %4")
                          .arg(s.backsight_name, angle_with_marks(radians_to_seconds(s.backsight_azimuth)),
                               angle_with_marks(s.circle.seconds), orientation);
    case OrientationSource::Given:
        return head + "orientation given: " + orientation;
    case OrientationSource::Azimuths:
        break;
    }
    return head +
           (s.backsight_row < 0 ? QString("no backsight record")
                                : QString("backsight %1 has no known coordinates").arg(s.backsight_name)) +
           ": the horizontal angles are taken as azimuths";
}

QString fill_values(const QString& pattern, const QStringList& values)
{
    QString text;
    for (int i = 0; i < pattern.size(); ++i) {
        const int number = i + 1 < pattern.size() ? pattern[i + 1].digitValue() : -1;
        if (pattern[i] == QChar('%') && number >= 1) {
            text += values.value(number - 1);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace survey
