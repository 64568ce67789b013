// The job report's content, gathered from the point table's rows: the title block, the points and
// linework of the plan, the table's columns, and the checks (repeated names, the measured-data check,
// points outside the coordinate system's area of use, coordinates that are not numbers), every text
// worded from the UI-text list "ReportTexts". reportpages.h lays it out on pages.
#ifndef JOBREPORT_H
#define JOBREPORT_H

#include "data/planpoints.h"
#include "data/suspectrows.h"
#include "survey/codelist.h"
#include "survey/surveyrows.h"

#include <QColor>
#include <QPair>
#include <QPolygonF>
#include <QStringList>
#include <QVector>

// The entries of the UI-text list "ReportTexts".
enum ReportText : int {
    kReportTitle,
    kJobLabel,
    kDateLabel,
    kInstrumentLabel,
    kSystemLabel,
    kSystemValue, // %1 name, %2 "EPSG:4547"
    kLocalCoordinates,
    kProgramLabel,
    kPointsLabel,
    kStationsLabel,
    kMeasuredLabel,
    kNoteLabel,
    kPlanTitle,
    kScaleFit,   // %1 the scale number
    kScaleFixed, // %1 the scale number
    kPlanEmpty,
    kPlanLeftOut, // %1 rows
    kNorthLetter,
    kMetres, // %1 a length
    kTableTitle,
    kChecksTitle,
    kDuplicatesHeading,
    kDuplicateGroup, // %1 name, %2 count, %3 rows from 1
    kSurveyCheckHeading,
    kOutsideHeading, // %1 the system
    kOutsideRow,     // %1 row from 1, %2 name, %3 N, %4 E
    kNotNumbersHeading,
    kNotNumberRow, // %1 row from 1, %2 name, %3 the column's caption, %4 the cell
    kNoFindings,
    kPageNumber, // %1 page, %2 pages
    kNoAreaChecked,
    kFindingTexts, // one per survey::FindingKind, filled with survey::finding_values
    kPdfFilter = kFindingTexts + 7,
    kExportCaption,
    kWritten,    // %1 file, %2 pages
    kNotWritten, // %1 file, %2 why
    kAskLarge,   // %1 rows, %2 pages
    kLayingOut,
    kCancelText,
    kOptionsTitle,
    kScaleLabel,
    kFitChoice,
    kNoteInput,
    kCancelled,
    kNotSaved,      // %1 file, %2 why: the options were not kept
    kNotWrittenNew, // %1 file, %2 why: no file stood there
    kNotPrinted,    // %1 why
    kResolvedHeading,
    kReportTextCount
};

// What the window gives: its rows and how to read them, and the job's particulars.
struct ReportInput {
    QVector<QStringList> rows;  // every cell of every row, in table order
    QStringList captions;       // the table's column captions
    QVector<int> table_columns; // the columns the point table pages show, in order
    PlanColumns plan_columns;   // where the plan finds name, code, N, E, Z
    PlanKindLabels plan_labels; // station and backsight labels
    SuspectColumns suspect_columns;
    survey::KindLabels kinds; // with the measured label: the observation layout, checked
    bool observation = false;
    CodeList codes;
    QString job, when, instrument, program;
    QString crs;             // "EPSG:4547"; empty: local coordinates
    QString note;            // the user's free text
    int scale = 0;           // the plan at 1:scale; 0: fit to the page
    QStringList resolutions; // what Resolve duplicates chose, one line per group, in the order done
};

struct ReportShape {
    QPolygonF world; // x = E, y = N
    QColor colour;
    bool closed = false;
};

// A heading of the checks page and its lines; no lines: "no findings" under it.
struct ReportSection {
    QString heading;
    QStringList lines;
};

struct JobReport {
    QStringList texts;                      // "ReportTexts"
    QVector<QPair<QString, QString>> title; // label and value, in order
    QStringList header;                     // the point table's captions
    QVector<QStringList> table;             // its rows, the cells of `header`
    QVector<PlanPoint> points;
    QVector<ReportShape> shapes;
    QRectF bounds; // of the points; null when none has coordinates
    int left_out = 0;
    int scale = 0;
    QVector<ReportSection> checks;
    int findings = 0; // lines over every section
};

JobReport build_job_report(const ReportInput& input, const QStringList& texts);

// The checks sections on their own (build_job_report's part), for the report's callers and tests.
QVector<ReportSection> report_checks(const ReportInput& input, const QStringList& texts);

#endif // JOBREPORT_H
