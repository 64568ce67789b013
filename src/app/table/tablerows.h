// The point table's rows as lines and lines as rows.
#ifndef TABLEROWS_H
#define TABLEROWS_H

#include "data/pointrows.h"

#include <QStringList>

class QTableWidget;

// The text of a cell; empty for a cell without an item.
QString cell_text(const QTableWidget* table, int row, int column);
// The lines of every row of `table`, top to bottom; cells without an item read as empty text.
QStringList table_lines(const QTableWidget* table, const RowShape& shape);
// Replaces the table's rows by the rows the lines fill; lines with too few fields are skipped.
void fill_table(QTableWidget* table, const RowShape& shape, const QStringList& lines);

#endif // TABLEROWS_H
