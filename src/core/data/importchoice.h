// What the user chose when importing a point list (the delimiter of a text file, the lines skipped,
// the header row and the column of each role), as a setting text for the next import, and the choice
// a new file starts with: what can be read from the file itself, the last choice for the rest.
#ifndef IMPORTCHOICE_H
#define IMPORTCHOICE_H

#include "data/columnmapping.h"
#include "data/delimitedtext.h"

struct ImportChoice {
    Delimiter delimiter = Delimiter::Comma;
    ColumnMapping mapping;
    // Told from each file (never kept in the setting): a comma only with another delimiter.
    DecimalMark decimal_mark = DecimalMark::Point;
};

// "delimiter=semicolon;skip=2;header=1;columns=0,1,2,3,-1" (columns in the order name, code, N, E, Z).
QString import_choice_text(const ImportChoice& choice);
// False, with *choice unchanged, for a text that is not such a setting.
bool parse_import_choice(const QString& text, ImportChoice* choice);

// The rows above a table (a title, a date): the table starts at the first row with as many cells as
// most of the first 30 rows that have two or more.
int guess_skip(const TextRows& rows);

// The mapping of rows whose first `skip` rows are left out: whether a header follows and the columns
// its words name (guess_mapping); when those do not give both N and E, the roles left without a column
// take the column `last` gave them, where the rows reach it and no other role holds it.
ColumnMapping mapping_after(const TextRows& rows, int skip, const ColumnMapping* last);

// The mapping rows already split (a workbook's sheet) start with: the rows above the table guessed,
// then mapping_after.
ColumnMapping starting_mapping(const TextRows& rows, const ColumnMapping* last);

// The choice a delimited text starts with: the delimiter guessed from its lines, its rows' starting
// mapping, then the decimal mark of its data rows. What the file shows is read from it; the last choice gives only what
// it cannot show (the columns when no header names N and E).
ImportChoice starting_choice(const QStringList& lines, const ImportChoice* last);

#endif // IMPORTCHOICE_H
