// What the workbook export writes into its sheet: the title row, and below it one row per observation
// line.
#ifndef EXPORTSHEET_H
#define EXPORTSHEET_H

#include <QStringList>

class Workbook;

// Sheet row 1 (0-based row 0): title k in column k.
void write_title_row(Workbook& book, const QStringList& titles);
// Observation line i goes into 0-based row i + 1, field j into column j, when it has exactly `fields`
// fields; a line with another field count leaves its row empty.
void write_observation_rows(Workbook& book, int fields, const QStringList& lines);

#endif // EXPORTSHEET_H
