// Finding a point in the table by its name or code: the next (or previous) row after the current one
// whose name or code holds the text, going round the end of the table.
#ifndef ROWSEARCH_H
#define ROWSEARCH_H

#include <QString>
#include <functional>

// The first row after `from` (before it when `forward` is false) among `row_count` rows whose name or
// code, as `name_and_code(row)` gives them, holds `text` (letter case not minding); the search goes
// round the end and ends with `from` itself. `from` may be -1 (nothing current). -1 when no row
// matches or `text` is empty after trimming.
int find_row(int row_count, int from, bool forward, const QString& text,
             const std::function<QString(int row, int which)>& name_and_code);

#endif // ROWSEARCH_H
