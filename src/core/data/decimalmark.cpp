// Reading numbers under a decimal mark, and telling the mark a file uses.
#include "data/decimalmark.h"

#include "data/pointfields.h"

namespace
{

constexpr int kRowsJudged = 30;

bool is_digit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The characters that group digits in the numbers spreadsheets write: points, commas, apostrophes
// and spaces, the no-break ones among them.
bool is_group_mark(QChar c)
{
    const char16_t u = c.unicode();
    return u == '.' || u == ',' || u == '\'' || u == ' ' || u == 0x00A0 || u == 0x202F || u == 0x2009;
}

// Digits with marks between them, an optional sign before: what a grouped number looks like.
bool looks_grouped(QStringView text)
{
    int i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    if (i >= text.size() || !is_digit(text[i]) || !is_digit(text[text.size() - 1]))
        return false;
    bool marked = false;
    for (; i < text.size(); ++i) {
        if (is_group_mark(text[i]))
            marked = true;
        else if (!is_digit(text[i]))
            return false;
    }
    return marked;
}

} // namespace

NumberReading read_number_text(QStringView text, DecimalMark mark, QString* point_text)
{
    const QStringView trimmed = text.trimmed();
    QString candidate = trimmed.toString();
    const int comma = int(candidate.indexOf(QLatin1Char(',')));
    if (mark == DecimalMark::Comma && comma >= 0 && !candidate.contains(QLatin1Char('.')) &&
        candidate.indexOf(QLatin1Char(','), comma + 1) < 0)
        candidate[comma] = QLatin1Char('.');
    else if (mark == DecimalMark::Comma && candidate.contains(QLatin1Char('.')))
        candidate.clear(); // a point where commas mark decimals: a thousands point, never a decimal
    if (!candidate.isEmpty() && is_number_text(candidate)) {
        *point_text = candidate;
        return NumberReading::Number;
    }
    return looks_grouped(trimmed) ? NumberReading::Grouped : NumberReading::NotNumber;
}

DecimalMark guess_decimal_mark(const TextRows& rows, int first, Delimiter delimiter)
{
    if (delimiter == Delimiter::Comma)
        return DecimalMark::Point;
    int commas = 0;
    int points = 0;
    QString number;
    for (int r = qMax(0, first); r < rows.size() && r < first + kRowsJudged; ++r) {
        for (const QString& cell : rows[r]) {
            if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('.')))
                continue;
            if (read_number_text(cell, DecimalMark::Comma, &number) == NumberReading::Number)
                ++commas;
            else if (read_number_text(cell, DecimalMark::Point, &number) == NumberReading::Number)
                ++points;
        }
    }
    return commas > points ? DecimalMark::Comma : DecimalMark::Point;
}

QString with_decimal_comma(const QString& text)
{
    if (!is_number_text(text))
        return text;
    QString comma = text;
    comma.replace(QLatin1Char('.'), QLatin1Char(','));
    return comma;
}
