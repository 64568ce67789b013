// The undo steps of the point table. The window makes each change itself and then pushes its step, so
// a step's first redo does nothing; later redos and undos change the table and tell the window as the
// change itself did (rows_appended, row_replaced, rows_removed, table_rewritten), so the unsaved rows
// and the recovery journal follow undo and redo as they follow every other change.
#ifndef TABLEUNDO_H
#define TABLEUNDO_H

#include <QList>
#include <QStringList>
#include <functional>

class MainWindow;
class QTableWidget;
class QUndoCommand;

using TableRows = QList<QStringList>;

// Rows `first`.. `first + count - 1` were appended. Steps with the same `merge_serial` (not -1) that
// follow one another join into one step: the records of one receive.
QUndoCommand* rows_appended_step(MainWindow& w, int first, int count, int merge_serial = -1);
// Row `row` changed from `before` to `after` (the texts of every column).
QUndoCommand* row_replaced_step(MainWindow& w, int row, const QStringList& before, const QStringList& after);
// The rows `rows` (ascending, numbered as before) with the texts `texts` were removed.
QUndoCommand* rows_removed_step(MainWindow& w, const QList<int>& rows, const TableRows& texts);
// The whole table was replaced: `before` were its rows, `fill_after` fills it as it is now.
QUndoCommand* table_replaced_step(MainWindow& w, const TableRows& before,
                                  const std::function<void(QTableWidget*)>& fill_after);

// The table's rows `before` replaced by `after` in the window, as one undo step, journaled.
void replace_table_rows(MainWindow& w, const TableRows& before, const TableRows& after);

// Gives row `row` the texts `texts`, column by column.
void set_row_texts(QTableWidget* table, int row, const QStringList& texts);
// Puts `rows` into the table as rows `at`.. (one item per text).
void insert_table_rows(QTableWidget* table, int at, const TableRows& rows);

#endif // TABLEUNDO_H
