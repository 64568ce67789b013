// Splitting delimited lines, with quotes, and telling their delimiter.
#include "data/delimitedtext.h"

#include <QHash>

namespace
{

constexpr QChar kQuote = QLatin1Char('"');
constexpr int kLinesJudged = 30;

const char* const kNames[kDelimiterCount] = {"comma", "semicolon", "tab", "spaces"};

bool is_blank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QChar delimiter_char(Delimiter delimiter)
{
    switch (delimiter) {
    case Delimiter::Semicolon:
        return QLatin1Char(';');
    case Delimiter::Tab:
        return QLatin1Char('\t');
    default:
        return QLatin1Char(',');
    }
}

// Reads a quoted field from the quote at `i`; leaves `i` after the closing quote (or at the end).
void read_quoted(const QString& line, int& i, QString* cell)
{
    for (++i; i < line.size(); ++i) {
        if (line[i] != kQuote) {
            cell->append(line[i]);
        } else if (i + 1 < line.size() && line[i + 1] == kQuote) {
            cell->append(kQuote);
            ++i;
        } else {
            ++i;
            return;
        }
    }
}

QStringList split_at_char(const QString& line, QChar delimiter)
{
    QStringList cells;
    QString cell;
    int i = 0;
    while (true) {
        // A quote opens a quoted part only where a field begins; elsewhere it is a character.
        if (i < line.size() && line[i] == kQuote)
            read_quoted(line, i, &cell);
        while (i < line.size() && line[i] != delimiter)
            cell.append(line[i++]);
        cells << cell;
        cell.clear();
        if (i >= line.size())
            return cells;
        ++i; // past the delimiter: a field follows, empty at the end of the line
    }
}

QStringList split_at_blanks(const QString& line)
{
    QStringList cells;
    int i = 0;
    while (true) {
        while (i < line.size() && is_blank(line[i]))
            ++i;
        if (i >= line.size())
            return cells;
        QString cell;
        if (line[i] == kQuote)
            read_quoted(line, i, &cell);
        while (i < line.size() && !is_blank(line[i]))
            cell.append(line[i++]);
        cells << cell;
    }
}

} // namespace

QStringList split_delimited(const QString& line, Delimiter delimiter)
{
    return delimiter == Delimiter::Spaces ? split_at_blanks(line) : split_at_char(line, delimiter_char(delimiter));
}

TextRows split_delimited_lines(const QStringList& lines, Delimiter delimiter)
{
    TextRows rows;
    rows.reserve(lines.size());
    for (const QString& line : lines)
        rows << split_delimited(line, delimiter);
    return rows;
}

Delimiter guess_delimiter(const QStringList& lines, int first)
{
    QStringList judged;
    for (int i = qMax(0, first); i < lines.size() && judged.size() < kLinesJudged; ++i) {
        if (!lines[i].trimmed().isEmpty())
            judged << lines[i];
    }
    Delimiter best = Delimiter::Comma;
    int best_lines = 0;
    for (Delimiter candidate : {Delimiter::Tab, Delimiter::Semicolon, Delimiter::Comma, Delimiter::Spaces}) {
        QHash<int, int> lines_by_fields;
        int most = 0;
        for (const QString& line : judged) {
            const int fields = int(split_delimited(line, candidate).size());
            if (fields >= 2)
                most = qMax(most, ++lines_by_fields[fields]);
        }
        if (most > best_lines) {
            best = candidate;
            best_lines = most;
        }
    }
    return best;
}

QString delimiter_name(Delimiter delimiter)
{
    return QLatin1String(kNames[int(delimiter)]);
}

bool delimiter_from_name(const QString& name, Delimiter* delimiter)
{
    for (int i = 0; i < kDelimiterCount; ++i) {
        if (name == QLatin1String(kNames[i])) {
            *delimiter = Delimiter(i);
            return true;
        }
    }
    return false;
}
