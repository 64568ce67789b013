// The observation layout's workbook: the first visible sheet of an XLSX or OpenDocument workbook
// whose first row captions the table's columns (in any shipped language, the table's fifteen
// captions or the ten titles of the program's export), read back into the table's fifteen columns.
#ifndef GEO_SURVEYWORKBOOK_H
#define GEO_SURVEYWORKBOOK_H

#include "gis/workbookreader.h"

#include <QString>
#include <QStringList>
#include <functional>

struct ObservationWorkbook {
    enum Status {
        Ok,
        CannotOpen,           // not a workbook that can be read: message says why
        NoSheet,              // a workbook without a visible sheet
        NoObservationColumns, // the first row names no kind, name, angles and distance
    };
    Status status = Ok;
    QString message;
    WorkbookRows book;     // what the workbook reader met: the sheet read, hidden sheets, dates; no rows
    qint64 rows = 0;       // rows handed on
    qint64 empty_rows = 0; // rows with no cell in the columns read, skipped
    // Not kept: the captions that name no column (or a column named before), the cells under them,
    // and the numbers the sheet shows as dates or times (read as their numbers).
    QStringList unknown_captions;
    qint64 cells_not_read = 0;
    int dated_cells = 0;

    bool ok() const { return status == Ok; }
};

// Hands each row after the caption row to `sink` as the fifteen cells of the observation layout
// (columns the sheet lacks are empty), holding none: the kind as its record code ("STN", "BK",
// "MP") whatever language labels it, angles as the table shows them (DDD°MM'SS"). False, with
// status and message, when the workbook cannot be read or names no observation columns.
bool read_observation_workbook(const QString& path, const std::function<void(const QStringList& cells)>& sink,
                               ObservationWorkbook* result);

// What `read` did not keep as it stands, one English line each, for the command line.
QStringList workbook_notes_in_english(const ObservationWorkbook& read);

#endif // GEO_SURVEYWORKBOOK_H
