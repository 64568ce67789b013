// The rows the layer writers take and the readers give: a list of field names, which field holds the
// point's name, code, N, E and Z, and which fields are numbers. The five-field point line
// "name,code,N,E,Z" is one such layout; the observation layout with its further columns is another.
// Also the number texts the formats share and the joining of fields into a point line.
#ifndef POINTFIELDS_H
#define POINTFIELDS_H

#include "data/tablecolumns.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

enum class PointRole { Name, Code, North, East, Height };
constexpr int kPointRoleCount = 5;

class PointFields
{
public:
    // Fields named `names`, none of them with a role yet, all texts.
    explicit PointFields(const QStringList& names = QStringList());
    // Fields named `names` laid out as a row of a table layout: `roles` names the fields holding the
    // point's name, code, N, E and Z (N, E and Z numbers).
    PointFields(const QStringList& names, const PointColumns& roles);
    // The five-field point line: name, code, N, E, Z (Z a number).
    static PointFields point_line();

    const QStringList& names() const { return names_; }
    int count() const { return names_.size(); }

    // The field holding `role`, or -1.
    int field(PointRole role) const { return roles_[int(role)]; }
    void set_field(PointRole role, int field);
    // The role of `field`, false when it has none.
    bool role_of(int field, PointRole* role) const;

    // Whether a field holds numbers (written as reals where a format has types). N, E and Z are.
    bool is_number(int field) const;
    void set_number(int field, bool number);

    // The text of `role` in `row`; empty when the layout has no such field or the row is shorter.
    QString text(const QStringList& row, PointRole role) const;

private:
    QStringList names_;
    QVector<bool> numbers_;
    int roles_[kPointRoleCount] = {-1, -1, -1, -1, -1};
};

// The fields of a point line: split at every ",", empty fields kept.
QStringList split_point_line(const QString& line);

// Joins fields into a point line. A field cannot hold ",", a carriage return or a line feed there:
// each such character becomes ";" or a space and is counted in *changed (when given).
QString join_point_line(const QStringList& fields, int* changed = nullptr);

// Whether `text` is a decimal number as XML Schema and the GIS formats read one: an optional sign,
// digits with an optional decimal point ("12", "12.", ".5", "12.50"), an optional exponent ("1e3");
// no spaces, no "inf" or "nan", no hexadecimal.
bool is_number_text(QStringView text);

// The value of a coordinate text: a number text with spaces around allowed. False for anything else
// and for numbers too large for a double.
// This is the one rule of what a coordinate is, shared by every reader and writer.
bool parse_number(QStringView text, double* value);
inline bool parse_number(const QString& text, double* value)
{
    return parse_number(QStringView(text), value);
}

// A number as text, without noise: `decimals` places with trailing zeros dropped ("12.5", "300").
QString format_number(double value, int decimals);
// A number as the shortest text that reads back to the same double ("100.123").
QString format_number_exact(double value);

#endif // POINTFIELDS_H
