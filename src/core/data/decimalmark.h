// Numbers as other countries write them: the decimal mark of a delimited text (a point, or the
// comma most of Europe, Latin America and Russia write), told from the file and undone to the point
// the table, the files and the instruments use; and numbers grouped by thousands, which are refused
// rather than guessed ("1.234" and "1,234" each mean a thousand times more under the other mark).
#ifndef DECIMALMARK_H
#define DECIMALMARK_H

#include "data/delimitedtext.h"

#include <QString>
#include <QStringView>

enum class NumberReading {
    Number,    // a number under the mark
    NotNumber, // text: a name, a word, nothing
    Grouped,   // digits with separators the mark does not explain: thousands, or the other mark
};

// Reads a coordinate text (spaces around allowed) under `mark`; for a number, *point_text is the text
// trimmed with its decimal comma made a point ("42,15" gives "42.15"), nothing else changed.
NumberReading read_number_text(QStringView text, DecimalMark mark, QString* point_text);

// The mark a table of rows is written with, judged on up to 30 rows from `first`: comma when the
// delimiter is not a comma and more of the cells read as numbers with a decimal comma than as numbers
// with a decimal point.
DecimalMark guess_decimal_mark(const TextRows& rows, int first, Delimiter delimiter);

// A number text of the point line ("-12.5") with a decimal comma ("-12,5"); other texts unchanged.
QString with_decimal_comma(const QString& text);

#endif // DECIMALMARK_H
