// The survey check and the recompute in the window's language: the entries of the UI-text list
// "SurveyCheckTexts" and the findings, reasons and orientations worded from them. A cell is named by
// the table's own column caption.
#ifndef SURVEYWORDS_H
#define SURVEYWORDS_H

#include "survey/surveycheck.h"

#include <QStringList>

namespace SurveyText
{
enum : int {
    // The check dialog: title, labels, buttons, the findings' column captions.
    CheckTitle,
    HorizontalTolerance,
    VerticalTolerance,
    Curvature,
    OrientationsCaption,
    FindingsCaption,
    CloseButton,
    RowColumn,
    NameColumn,
    StationColumn,
    WhatColumn,
    ByColumn,
    Summary,      // %1 measured, %2 computed, %3 cannot be computed, %4 with findings
    FitsOff,      // %1 height findings with the correction off, %2 with it on
    FitsOn,       // the same
    FitsEither,   // no difference between the two
    FindingTexts, // one per survey::FindingKind, %1 to %7 as survey::finding_values
    ReasonTexts = FindingTexts + int(survey::FindingKind::Count), // one per Unreduced after None
    AngleWords = ReasonTexts + int(survey::Unreduced::Count) - 1, // one per AngleProblem after None
    OrientedOn = AngleWords + 5, // %1 station, %2 row, %3 backsight, %4 azimuth, %5 circle, %6 orientation
    OrientationGiven,            // %1 station, %2 row, %3 orientation
    NoBacksight,                 // %1 station, %2 row
    BacksightUnknown,            // %1 station, %2 row, %3 backsight
    CannotOrient,                // %1 station, %2 row, %3 reason
    // The window: status line and messages.
    RowsWithFindings,                     // counted: %1
    CheckedStatus = RowsWithFindings + 2, // %1 measured points, %2 with findings
    NoMeasuredPoints,
    RecomputedStatus, // counted: %1 points
    NothingRecomputed = RecomputedStatus + 2,
    SettingNotSaved, // %1 file, %2 why
    FindingTip,      // "row %1 %2: " before a finding's text
    // The recompute dialog.
    RecomputeTitle,
    ChosenPoints, // counted: %1 measured points
    ReflectorHeight = ChosenPoints + 2,
    InstrumentHeight,
    StationNorth,
    StationEast,
    StationHeight,
    Orientation,
    PreviewCaption,
    OkButton,
    CancelButton,
    OldNorthColumn,
    OldEastColumn,
    OldHeightColumn,
    NewNorthColumn,
    NewEastColumn,
    NewHeightColumn,
    PreviewCount,  // %1 new N E Z, %2 unchanged, %3 cannot be computed
    NotANumber,    // %1 the field's caption
    NotAnAngle,    // %1 the field's caption
    CannotCompute, // a preview cell: %1 reason
    // Open of survey data in the window.
    OpenedSurvey, // %1 stations, %2 measured points
    MissingSetup, // %1 row, %2 name, %3 the setup
    MissingPoint, // %1 row, %2 name, %3 the point
    BadValues,    // %1 values
    BadUnit,
    Count
};
} // namespace SurveyText

class SurveyWords
{
public:
    // `texts` the list "SurveyCheckTexts", `columns` the table's column captions (ObsColumn order).
    SurveyWords(const QStringList& texts, const QStringList& columns) : texts_(texts), columns_(columns) {}

    QString text(int entry) const { return texts_.value(entry); }
    QString counted(int entry, qint64 count) const;
    QString reason(const survey::Reason& reason) const;
    // The findings table's "what differs" and "by how much" (empty where no figure belongs; for a point
    // measured twice the larger of the distance apart and the difference in Z).
    QString what_differs(const survey::Finding& finding) const;
    QString by_how_much(const survey::Finding& finding) const;
    // "row 12 P09: Z differs" for a tooltip.
    QString finding(const survey::Finding& finding) const;
    QString orientation(const survey::Setup& setup) const;

private:
    QStringList texts_;
    QStringList columns_;
};

#endif // SURVEYWORDS_H
