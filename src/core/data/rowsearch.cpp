// Finding a row by name or code.
#include "data/rowsearch.h"

int find_row(int row_count, int from, bool forward, const QString& text,
             const std::function<QString(int, int)>& name_and_code)
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty() || row_count <= 0)
        return -1;
    // Starting before the first row going forward, or after the last going back, visits every row once.
    int row = from >= 0 && from < row_count ? from : (forward ? -1 : row_count);
    for (int step = 0; step < row_count; ++step) {
        row = forward ? (row + 1) % row_count : (row - 1 + row_count) % row_count;
        for (int which = 0; which < 2; ++which) {
            if (name_and_code(row, which).contains(wanted, Qt::CaseInsensitive))
                return row;
        }
    }
    return -1;
}
