// The row layout of the geo formats, number texts and point lines.
#include "data/pointfields.h"
#include "data/numbertext.h"

#include <QLocale>
#include <cmath>

PointFields::PointFields(const QStringList& names) : names_(names), numbers_(names.size(), false) {}

PointFields::PointFields(const QStringList& names, const PointColumns& roles) : PointFields(names)
{
    for (int role = 0; role < kPointRoleCount; ++role)
        set_field(PointRole(role), roles[role]);
}

PointFields PointFields::point_line()
{
    // The point line is the coordinate layout's row.
    return PointFields({"name", "code", "N", "E", "Z"}, kCoordinatePointColumns);
}

void PointFields::set_field(PointRole role, int field)
{
    roles_[int(role)] = (field >= 0 && field < names_.size()) ? field : -1;
    // Coordinates are numbers wherever they sit.
    if (roles_[int(role)] >= 0 && (role == PointRole::North || role == PointRole::East || role == PointRole::Height))
        numbers_[field] = true;
}

bool PointFields::role_of(int field, PointRole* role) const
{
    for (int r = 0; r < kPointRoleCount; ++r) {
        if (roles_[r] == field && field >= 0) {
            *role = PointRole(r);
            return true;
        }
    }
    return false;
}

bool PointFields::is_number(int field) const
{
    return field >= 0 && field < numbers_.size() && numbers_[field];
}

void PointFields::set_number(int field, bool number)
{
    if (field >= 0 && field < numbers_.size())
        numbers_[field] = number;
}

QString PointFields::text(const QStringList& row, PointRole role) const
{
    const int field = roles_[int(role)];
    return (field >= 0 && field < row.size()) ? row.at(field) : QString();
}

QStringList split_point_line(const QString& line)
{
    return line.split(QLatin1Char(','));
}

QString join_point_line(const QStringList& fields, int* changed)
{
    QString line;
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        const int start = line.size();
        line += fields.at(i);
        for (int pos = start; pos < line.size(); ++pos) {
            const QChar c = line.at(pos);
            if (c != QLatin1Char(',') && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
                continue;
            line[pos] = c == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(' ');
            if (changed)
                ++*changed;
        }
    }
    return line;
}

bool is_number_text(QStringView text)
{
    int i = 0;
    const int size = int(text.size());
    const auto digits = [&] {
        const int start = i;
        while (i < size && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            ++i;
        return i - start;
    };
    if (i < size && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    int mantissa = digits();
    if (i < size && text[i] == QLatin1Char('.')) {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < size && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        if (i < size && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == size;
}

bool parse_number(QStringView text, double* value)
{
    const QStringView trimmed = text.trimmed();
    if (!is_number_text(trimmed))
        return false;
    bool ok = false;
    const double parsed = text_to_double(trimmed, &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

QString format_number(double value, int decimals)
{
    QString text = double_to_fixed(value, decimals);
    if (text.contains(QLatin1Char('.'))) {
        int end = text.size();
        while (end > 0 && text.at(end - 1) == QLatin1Char('0'))
            --end;
        if (end > 0 && text.at(end - 1) == QLatin1Char('.'))
            --end;
        text.truncate(end);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QString format_number_exact(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}
