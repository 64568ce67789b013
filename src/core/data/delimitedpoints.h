// Point lines from delimited text written with decimal commas (what a spreadsheet saves as CSV in most
// of Europe, Latin America and Russia, and the CSV for spreadsheets this program writes): the
// delimiter told from the lines, the columns named by a header row or a column choice, each decimal
// comma made a point. A file delimited by commas cannot hold decimal commas, and a number grouped by
// thousands ("3.520.100,123", "3 520 100,123") or written with a point is never guessed at: either
// refuses the whole file, naming its line.
#ifndef DELIMITEDPOINTS_H
#define DELIMITEDPOINTS_H

#include <QString>
#include <QStringList>

struct DelimitedPoints {
    QStringList lines;     // "name,code,N,E,Z" with decimal points
    int skipped = 0;       // lines above the data, the header and blank lines
    QString refusal;       // why nothing is read; empty when the lines were read
    int refused_line = 0;  // the line (from 1) a grouped number stands in; 0 for other refusals
    int grouped_lines = 0; // lines holding a grouped number
};

// `columns`: "name,code,N,E,Z" by header text or letter (data/columnmapping.h); empty: the header's
// words name them.
DelimitedPoints read_decimal_comma_lines(const QStringList& lines, const QString& columns);

#endif // DELIMITEDPOINTS_H
