// The point table's rows as lines and lines as rows.
#ifndef TABLEROWS_H
#define TABLEROWS_H

#include "data/pointrows.h"

#include <QStringList>
#include <functional>

class QAbstractItemModel;
class QObject;
class QTableWidget;

// The text of a cell; empty for a cell without an item.
QString cell_text(const QTableWidget* table, int row, int column);
// The lines of every row of `table`, top to bottom; cells without an item read as empty text.
QStringList table_lines(const QTableWidget* table, const RowShape& shape);
// Replaces the table's rows by the rows the lines fill; lines with too few fields are skipped.
void fill_table(QTableWidget* table, const RowShape& shape, const QStringList& lines);

// Makes `row` the current row and the only one selected, whatever keys are held (the table allows
// several rows to be selected; a Shift held for "find backwards" must not extend the selection).
void select_only_row(QTableWidget* table, int row);
// The rows selected, ascending.
QList<int> selected_rows(const QTableWidget* table);

// Calls `changed(first)` whenever the model's rows from `first` on may have changed (rows inserted,
// removed or edited; 0 for a reset, a new layout or moved rows), for as long as `context` lives.
void follow_row_changes(QAbstractItemModel* model, QObject* context, const std::function<void(int first)>& changed);

#endif // TABLEROWS_H
