// The import choice as a setting text, and the choice a file starts with.
#include "data/importchoice.h"

#include "data/decimalmark.h"

#include <QHash>
#include <algorithm>

namespace
{

constexpr int kRowsLooked = 20; // rows after the skipped ones that tell how wide a file is
constexpr int kLargestSkip = 1000;

int widest_row(const TextRows& rows, int from)
{
    int widest = 0;
    for (int r = qMax(0, from); r < rows.size() && r < from + kRowsLooked; ++r)
        widest = qMax(widest, int(rows[r].size()));
    return widest;
}

bool parse_count(const QString& text, int lowest, int highest, int* value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < lowest || number > highest)
        return false;
    *value = number;
    return true;
}

} // namespace

QString import_choice_text(const ImportChoice& choice)
{
    QStringList columns;
    for (int column : choice.mapping.columns)
        columns << QString::number(column);
    return QStringLiteral("delimiter=%1;skip=%2;header=%3;columns=%4")
        .arg(delimiter_name(choice.delimiter))
        .arg(choice.mapping.skip_rows)
        .arg(choice.mapping.header ? 1 : 0)
        .arg(columns.join(QLatin1Char(',')));
}

bool parse_import_choice(const QString& text, ImportChoice* choice)
{
    QHash<QString, QString> values;
    for (const QString& item : text.split(QLatin1Char(';'))) {
        const int equals = item.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return false;
        values.insert(item.left(equals).trimmed(), item.mid(equals + 1).trimmed());
    }
    ImportChoice read;
    int header = 0;
    if (!delimiter_from_name(values.value(QStringLiteral("delimiter")), &read.delimiter) ||
        !parse_count(values.value(QStringLiteral("skip")), 0, kLargestSkip, &read.mapping.skip_rows) ||
        !parse_count(values.value(QStringLiteral("header")), 0, 1, &header))
        return false;
    read.mapping.header = header == 1;
    const QStringList columns = values.value(QStringLiteral("columns")).split(QLatin1Char(','));
    if (columns.size() != kPointRoleCount)
        return false;
    for (int role = 0; role < kPointRoleCount; ++role) {
        if (!parse_count(columns[role], -1, 16383, &read.mapping.columns[role]))
            return false;
    }
    *choice = read;
    return true;
}

int guess_skip(const TextRows& rows)
{
    QHash<int, int> rows_by_cells;
    int most = 0;
    int cells = 0;
    for (int r = 0; r < rows.size() && r < kRowsLooked; ++r) {
        const int size = int(rows[r].size());
        if (size < 2)
            continue;
        const int count = ++rows_by_cells[size];
        if (count > most || (count == most && size > cells)) {
            most = count;
            cells = size;
        }
    }
    for (int r = 0; r < rows.size() && r < kRowsLooked && cells > 0; ++r) {
        if (rows[r].size() == cells)
            return r;
    }
    return 0;
}

ColumnMapping mapping_after(const TextRows& rows, int skip, const ColumnMapping* last)
{
    ColumnMapping mapping = guess_mapping(rows, skip);
    if (!last || mapping.has_coordinates())
        return mapping;
    // The roles the header does not name take the last choice's columns that the rows reach and that
    // no other role holds.
    const int width = widest_row(rows, mapping.first_data_row());
    for (int role = 0; role < kPointRoleCount; ++role) {
        const int column = last->columns[role];
        const bool taken =
            std::find(std::begin(mapping.columns), std::end(mapping.columns), column) != std::end(mapping.columns);
        if (mapping.columns[role] < 0 && column >= 0 && column < width && !taken)
            mapping.columns[role] = column;
    }
    return mapping;
}

ColumnMapping starting_mapping(const TextRows& rows, const ColumnMapping* last)
{
    return mapping_after(rows, guess_skip(rows), last);
}

ImportChoice starting_choice(const QStringList& lines, const ImportChoice* last)
{
    ImportChoice choice;
    choice.delimiter = guess_delimiter(lines);
    const TextRows rows = split_delimited_lines(lines.mid(0, 2 * kRowsLooked), choice.delimiter);
    choice.mapping = starting_mapping(rows, last ? &last->mapping : nullptr);
    choice.decimal_mark = guess_decimal_mark(rows, choice.mapping.first_data_row(), choice.delimiter);
    return choice;
}
