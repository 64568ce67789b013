// Lines of delimited text (the point lists other programs write) split into cells: a comma, a
// semicolon or a tab between fields, or runs of spaces and tabs as one delimiter. A field may be
// enclosed in double quotes, so that it can hold the delimiter; "" inside quotes is one quote.
#ifndef DELIMITEDTEXT_H
#define DELIMITEDTEXT_H

#include "data/columnmapping.h"

#include <QString>
#include <QStringList>

enum class Delimiter { Comma, Semicolon, Tab, Spaces };
constexpr int kDelimiterCount = 4;

// The cells of one line. Cells keep their spaces (only quotes are taken away); with Spaces, blanks
// before the first and after the last field are no fields. An empty line is one empty cell, or none
// with Spaces. A quote left open runs to the end of the line.
QStringList split_delimited(const QString& line, Delimiter delimiter);

// Every line split, in order.
TextRows split_delimited_lines(const QStringList& lines, Delimiter delimiter);

// The delimiter the lines from `first` on are written with, judged on up to 30 lines that are not
// empty: the one that splits the most of them into the same number (two or more) of fields, so that
// a title line above the table does not mislead; on a tie tab, semicolon, comma, spaces in that order.
// Comma when none splits any line.
Delimiter guess_delimiter(const QStringList& lines, int first = 0);

// "comma", "semicolon", "tab", "spaces"; delimiter_from_name gives false for any other text.
QString delimiter_name(Delimiter delimiter);
bool delimiter_from_name(const QString& name, Delimiter* delimiter);

#endif // DELIMITEDTEXT_H
