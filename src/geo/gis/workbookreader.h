// The first visible sheet of a workbook (xlsx, ods) as rows of cell texts: a number keeps the digits
// it is stored with whatever format shows it (a date format too: the number, not the date), a text
// that looks like a number ("001") stays as it is. Empty rows between rows keep their place. An XLSX
// workbook is read from its package, its rows one at a time; an OpenDocument sheet (its first)
// through GDAL's ODS driver.
#ifndef GEO_WORKBOOKREADER_H
#define GEO_WORKBOOKREADER_H

#include "data/columnmapping.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

struct WorkbookRows {
    // Gets each row; false stops the reading.
    using RowSink = std::function<bool(const QStringList& row)>;
    enum Status {
        Ok,
        CannotOpen, // not a workbook GDAL reads: message says why
        NoSheet,    // a workbook without a sheet
    };
    Status status = Ok;
    QString message;
    QString sheet;              // the name of the sheet read
    int sheet_count = 0;        // sheets in the workbook
    QStringList hidden_sheets;  // hidden sheets before it, not read
    QVector<int> dated_columns; // by column, the numbers read that the sheet shows as dates or times
    TextRows rows;              // trailing empty cells left out (read_workbook)
    // What GDAL complained of while reading the rows (such as a gap of very many empty rows, after
    // which the rows are not where the sheet has them); empty when all went well.
    QString complaint;

    bool ok() const { return status == Ok; }
    // The numbers shown as dates in `columns` (a mapping's N, E and Z).
    int dated_in(const QList<int>& columns) const;
};

// Reads every row into rows.
WorkbookRows read_workbook(const QString& path);
// Hands each row to `sink` as it is read, holding none; *result gets all but rows. False (status
// and message set) when the workbook or its sheet cannot be read, also after some rows were handed.
bool read_workbook_rows(const QString& path, const WorkbookRows::RowSink& sink, WorkbookRows* result);

#endif // GEO_WORKBOOKREADER_H
