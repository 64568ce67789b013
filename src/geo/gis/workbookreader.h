// The first sheet of a workbook (xlsx, ods) as rows of cell texts, read through GDAL's XLSX and ODS
// drivers with every cell taken as text: a number keeps the digits it is stored with, a text that
// looks like a number ("001") stays as it is. Empty rows between rows keep their place.
#ifndef GEO_WORKBOOKREADER_H
#define GEO_WORKBOOKREADER_H

#include "data/columnmapping.h"

#include <QString>

struct WorkbookRows {
    enum Status {
        Ok,
        CannotOpen, // not a workbook GDAL reads: message says why
        NoSheet,    // a workbook without a sheet
    };
    Status status = Ok;
    QString message;
    QString sheet;       // the name of the sheet read
    int sheet_count = 0; // sheets in the workbook
    TextRows rows;       // trailing empty cells left out
    // What GDAL complained of while reading the rows (such as a gap of very many empty rows, after
    // which the rows are not where the sheet has them); empty when all went well.
    QString complaint;

    bool ok() const { return status == Ok; }
};

WorkbookRows read_workbook(const QString& path);

#endif // GEO_WORKBOOKREADER_H
