// The title row and the observation rows of the export's sheet.
#include "data/exportsheet.h"

#include "data/workbook.h"

void write_title_row(Workbook& book, const QStringList& titles)
{
    for (int column = 0; column < titles.size(); ++column)
        book.write_text(0, column, titles[column]);
}

void write_observation_rows(Workbook& book, int fields, const QStringList& lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList values = lines[i].split(QLatin1Char(','));
        if (values.size() != fields)
            continue;
        for (int j = 0; j < values.size(); ++j)
            book.write_text(i + 1, j, values[j]);
    }
}
