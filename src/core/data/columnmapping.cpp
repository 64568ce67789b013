// Header words, column letters and the column choice of point tables.
#include "data/columnmapping.h"

#include "data/decimalmark.h"

#include <QHash>
#include <algorithm>

namespace
{

// Header words by role, as normalized() leaves them.
const QHash<QString, PointRole>& header_words()
{
    static const QHash<QString, PointRole> words = [] {
        QHash<QString, PointRole> table;
        const auto add = [&table](PointRole role, const QStringList& list) {
            for (const QString& word : list)
                table.insert(word, role);
        };
        add(PointRole::Name,
            {QStringLiteral("点名"), QStringLiteral("点号"), QStringLiteral("名称"), QStringLiteral("点名称"),
             QStringLiteral("测点"), QStringLiteral("测点名"), QStringLiteral("测点号"), QStringLiteral("编号"), "name",
             "pointname", "point", "pointid", "pt", "ptname", "id"});
        add(PointRole::Code, {QStringLiteral("编码"), QStringLiteral("代码"), QStringLiteral("属性"),
                              QStringLiteral("特征码"), QStringLiteral("地物编码"), QStringLiteral("描述"), "code",
                              "pointcode", "featurecode", "feature", "desc", "description"});
        add(PointRole::North, {QStringLiteral("北"), QStringLiteral("北坐标"), QStringLiteral("北向"),
                               QStringLiteral("北向坐标"), "n", "north", "northing"});
        add(PointRole::East, {QStringLiteral("东"), QStringLiteral("东坐标"), QStringLiteral("东向"),
                              QStringLiteral("东向坐标"), "e", "east", "easting"});
        add(PointRole::Height, {QStringLiteral("高程"), QStringLiteral("高"), QStringLiteral("高度"),
                                QStringLiteral("标高"), "z", "h", "elevation", "elev", "height", "altitude"});
        return table;
    }();
    return words;
}

// Lower case, without units in brackets, anything after "/", spaces and punctuation.
QString normalized(const QString& header)
{
    QString text;
    int depth = 0;
    for (const QChar c : header.toLower()) {
        const char16_t u = c.unicode();
        if (u == '(' || u == '[' || u == 0xFF08 || u == 0x3010) { // ( [ （ 【
            ++depth;
            continue;
        }
        if (u == ')' || u == ']' || u == 0xFF09 || u == 0x3011) {
            depth = qMax(0, depth - 1);
            continue;
        }
        if (depth > 0)
            continue;
        if (u == '/')
            break;
        if (c.isSpace() || u == '_' || u == '-' || u == '.' || u == ':' || u == 0xFF1A)
            continue;
        text += c;
    }
    return text;
}

QString cell(const QStringList& row, int column)
{
    return (column >= 0 && column < row.size()) ? row.at(column).trimmed() : QString();
}

} // namespace

bool role_of_header(const QString& header, PointRole* role)
{
    const auto found = header_words().constFind(normalized(header));
    if (found == header_words().constEnd())
        return false;
    *role = found.value();
    return true;
}

bool looks_like_data(const QStringList& row)
{
    int filled = 0;
    int numbers = 0;
    double value = 0;
    QString number;
    for (const QString& text : row) {
        if (text.trimmed().isEmpty())
            continue;
        ++filled;
        numbers +=
            parse_number(text, &value) || read_number_text(text, DecimalMark::Comma, &number) == NumberReading::Number
                ? 1
                : 0;
    }
    return filled > 0 && numbers * 2 > filled;
}

ColumnMapping guess_mapping(const TextRows& rows, int skip_rows)
{
    ColumnMapping mapping;
    mapping.skip_rows = qMax(0, skip_rows);
    if (mapping.skip_rows >= rows.size())
        return mapping;
    const QStringList& first = rows.at(mapping.skip_rows);
    mapping.header = !looks_like_data(first);
    if (!mapping.header)
        return mapping;
    PointRole role;
    for (int column = 0; column < first.size(); ++column) {
        if (role_of_header(first.at(column), &role) && mapping.column(role) < 0)
            mapping.set_column(role, column);
    }
    return mapping;
}

QString column_letters(int column)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar('A' + (n - 1) % 26));
    return letters;
}

int column_from_letters(const QString& letters)
{
    const QString text = letters.trimmed().toUpper();
    if (text.isEmpty() || text.size() > 3)
        return -1;
    int column = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('A') || c > QLatin1Char('Z'))
            return -1;
        column = column * 26 + (c.unicode() - 'A' + 1);
    }
    return column - 1;
}

bool parse_column_choice(const QString& choice, const QStringList& header, ColumnMapping* mapping,
                         ColumnChoiceError* error)
{
    *error = ColumnChoiceError();
    const QStringList items = choice.split(QLatin1Char(','));
    if (items.size() != kPointRoleCount) {
        error->kind = ColumnChoiceError::WrongCount;
        error->item = choice;
        return false;
    }
    ColumnMapping chosen = *mapping;
    QVector<int> taken;
    for (int role = 0; role < kPointRoleCount; ++role) {
        const QString item = items.at(role).trimmed();
        int column = -1;
        for (int i = 0; i < header.size() && column < 0 && !item.isEmpty(); ++i) {
            if (header.at(i).trimmed().compare(item, Qt::CaseInsensitive) == 0)
                column = i;
        }
        if (column < 0 && !item.isEmpty())
            column = column_from_letters(item);
        if (column < 0 && !item.isEmpty()) {
            *error = {ColumnChoiceError::UnknownColumn, item};
            return false;
        }
        if (column >= 0 && taken.contains(column)) {
            *error = {ColumnChoiceError::SameColumnTwice, item};
            return false;
        }
        if (column >= 0)
            taken.append(column);
        chosen.columns[role] = column;
    }
    if (!chosen.has_coordinates()) {
        error->kind = ColumnChoiceError::NoCoordinates;
        return false;
    }
    *mapping = chosen;
    return true;
}

bool map_row(const QStringList& row, const ColumnMapping& mapping, MappedPoints* counts, QString* line,
             DecimalMark mark, int row_number)
{
    if (std::all_of(row.begin(), row.end(), [](const QString& text) { return text.trimmed().isEmpty(); })) {
        ++counts->blank_rows;
        return false;
    }
    QStringList fields;
    for (int role = 0; role < kPointRoleCount; ++role)
        fields << cell(row, mapping.columns[role]);
    QString number;
    bool grouped = false;
    for (const PointRole role : {PointRole::North, PointRole::East, PointRole::Height}) {
        QString& field = fields[int(role)];
        const NumberReading reading = read_number_text(field, mark, &number);
        if (reading == NumberReading::Number && number != field) {
            field = number;
            ++counts->decimal_commas;
        } else if (reading == NumberReading::Grouped && !grouped) {
            grouped = true;
            if (counts->grouped_rows++ == 0)
                counts->first_grouped = {row_number, field};
        }
    }
    double value = 0;
    if (!parse_number(fields.at(int(PointRole::North)), &value) ||
        !parse_number(fields.at(int(PointRole::East)), &value))
        ++counts->not_numbers;
    *line = join_point_line(fields, &counts->changed_characters);
    return true;
}

MappedPoints apply_mapping(const TextRows& rows, const ColumnMapping& mapping, DecimalMark mark)
{
    MappedPoints mapped;
    QString line;
    for (int r = qMax(0, mapping.first_data_row()); r < rows.size(); ++r) {
        if (map_row(rows.at(r), mapping, &mapped, &line, mark, r))
            mapped.lines << line;
    }
    return mapped;
}
