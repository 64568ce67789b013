// The survey check's findings, reasons and orientations in the window's language.
#include "dialogs/surveywords.h"

#include "config/countedtext.h"
#include "survey/surveytext.h"

#include <cmath>

using namespace survey;

namespace
{

QString metres(double value)
{
    return QString::number(std::abs(value) < 0.0005 ? 0.0 : value, 'f', 3);
}

} // namespace

QString SurveyWords::counted(int entry, qint64 count) const
{
    return counted_text(texts_, entry, count);
}

QString SurveyWords::reason(const Reason& reason) const
{
    if (reason.none())
        return QString();
    const QString column = columns_.value(reason.column);
    const QString angle =
        reason.angle == AngleProblem::None ? QString() : text(SurveyText::AngleWords + int(reason.angle) - 1);
    return fill_values(text(SurveyText::ReasonTexts + int(reason.kind) - 1), {column, reason.text, angle});
}

QString SurveyWords::what_differs(const Finding& finding) const
{
    return fill_values(text(SurveyText::FindingTexts + int(finding.kind)),
                       finding_values(finding, reason(finding.reason)));
}

QString SurveyWords::by_how_much(const Finding& finding) const
{
    switch (finding.kind) {
    case FindingKind::PositionDiffers:
        return metres(finding.size);
    case FindingKind::SameNameDiffers:
        // The larger of the two: how far apart, or the difference in Z.
        return std::abs(finding.dz) > finding.size ? signed_metres(finding.dz) : metres(finding.size);
    case FindingKind::HeightDiffers:
    case FindingKind::HorizontalDistanceDiffers:
    case FindingKind::VerticalDistanceDiffers:
        return signed_metres(finding.size);
    case FindingKind::CannotCompute:
    case FindingKind::HeightCannotCompute:
    case FindingKind::Count:
        break;
    }
    return QString();
}

QString SurveyWords::finding(const Finding& finding) const
{
    return fill_values(text(SurveyText::FindingTip), {QString::number(finding.row + 1), finding.name}) +
           what_differs(finding);
}

QString SurveyWords::orientation(const Setup& s) const
{
    const QString row = QString::number(s.station_row + 1);
    const QString orientation = angle_with_marks(radians_to_seconds(s.orientation));
    if (!s.problem.none())
        return fill_values(text(SurveyText::CannotOrient), {s.name, row, reason(s.problem)});
    switch (s.source) {
    case OrientationSource::Backsight:
        return fill_values(text(SurveyText::OrientedOn),
                           {s.name, row, s.backsight_name, angle_with_marks(radians_to_seconds(s.backsight_azimuth)),
                            angle_with_marks(s.circle.seconds), orientation});
    case OrientationSource::Given:
        return fill_values(text(SurveyText::OrientationGiven), {s.name, row, orientation});
    case OrientationSource::Azimuths:
        break;
    }
    if (s.backsight_row < 0)
        return fill_values(text(SurveyText::NoBacksight), {s.name, row});
    return fill_values(text(SurveyText::BacksightUnknown), {s.name, row, s.backsight_name});
}
