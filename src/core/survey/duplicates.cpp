// Groups of rows sharing a stored name, their spread, and the rows after the choices made for them.
#include "survey/duplicates.h"

#include "comm/sendcheck.h"
#include "data/numbertext.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace duplicates
{

namespace
{

enum Field { Name, Code, North, East, Height };

QString cell(const Layout& layout, const QStringList& cells, int field)
{
    return cells.value(layout.columns[size_t(field)]).trimmed();
}

bool has_number(const Layout& layout, const QStringList& cells, int field)
{
    return sendcheck::is_number(cell(layout, cells, field));
}

double number(const Layout& layout, const QStringList& cells, int field)
{
    return text_to_double(cell(layout, cells, field));
}

// Places after the decimal point of a number text.
int decimals_of(const QString& text)
{
    const int point = text.indexOf('.');
    return point < 0 ? 0 : int(text.size()) - point - 1;
}

// The key rows group by: kind and stored name; empty for a row that takes no part.
QString group_key(const Layout& layout, const QStringList& cells)
{
    const QString kind = layout.kind < 0 ? QString() : cells.value(layout.kind).trimmed();
    if (layout.kinds_left.contains(kind) || !has_number(layout, cells, North) || !has_number(layout, cells, East))
        return QString();
    const QString name = stored_name(layout, cells);
    return name.isEmpty() ? QString() : kind + QChar(0) + name;
}

void measure(const Rows& rows, const Layout& layout, Group* group)
{
    for (int i = 0; i < group->rows.size(); ++i) {
        const QStringList& a = rows[group->rows[i]];
        for (int j = i + 1; j < group->rows.size(); ++j) {
            const QStringList& b = rows[group->rows[j]];
            group->horizontal =
                std::max(group->horizontal, std::hypot(number(layout, a, North) - number(layout, b, North),
                                                       number(layout, a, East) - number(layout, b, East)));
            if (has_number(layout, a, Height) && has_number(layout, b, Height))
                group->vertical =
                    std::max(group->vertical, std::fabs(number(layout, a, Height) - number(layout, b, Height)));
        }
    }
}

// The first row of `group` with the mean of each coordinate, written with the most decimals its
// rows have; a height only from the rows that have one.
QStringList averaged_row(const Rows& rows, const Layout& layout, const Group& group)
{
    QStringList result = rows[group.rows.first()];
    for (int field : {North, East, Height}) {
        double sum = 0;
        int count = 0;
        int decimals = 0;
        for (int row : group.rows) {
            if (!has_number(layout, rows[row], field))
                continue;
            sum += number(layout, rows[row], field);
            decimals = std::max(decimals, decimals_of(cell(layout, rows[row], field)));
            ++count;
        }
        if (count > 0)
            result[layout.columns[size_t(field)]] = double_to_fixed(sum / count, decimals);
    }
    return result;
}

// New names for the later rows of groups: unique as they stand and as the instrument stores them.
class Renamer
{
public:
    Renamer(const Rows& rows, const Layout& layout, const QString& suffix) : layout_(layout), suffix_(suffix)
    {
        for (const QStringList& cells : rows) {
            taken_.insert(cell(layout, cells, Name));
            taken_.insert(stored_name(layout, cells));
        }
    }

    Renamed rename(int row, const QStringList& cells, int number)
    {
        const QString from = cell(layout_, cells, Name);
        QStringList renamed = cells;
        // A suffix the field cannot hold makes every number arrive alike: the tries end at the names taken.
        for (int tries = 0;; ++number, ++tries) {
            const QString suffix = suffix_.arg(number);
            QString base = from;
            QString to = base + suffix;
            bool shortened = false;
            // The suffix is what tells the rows apart: the name gives way when the field cannot hold both.
            while (!fits(&renamed, to) && !base.isEmpty()) {
                base.chop(1);
                to = base + suffix;
                shortened = true;
            }
            if (base.isEmpty() && !fits(&renamed, to)) {
                to = from + suffix;
                shortened = false;
            }
            renamed[layout_.columns[Name]] = to;
            const QString stored = stored_name(layout_, renamed);
            if ((taken_.contains(to) || taken_.contains(stored)) && tries <= taken_.size())
                continue;
            taken_.insert(to);
            taken_.insert(stored);
            return {row, from, to, shortened};
        }
    }

private:
    bool fits(QStringList* cells, const QString& name) const
    {
        (*cells)[layout_.columns[Name]] = name;
        return stored_name(layout_, *cells) == name;
    }

    const Layout& layout_;
    QString suffix_;
    QSet<QString> taken_;
};

} // namespace

Layout coordinate_layout(kt2040::FrameSet set)
{
    Layout layout;
    layout.set = set;
    return layout;
}

Layout observation_layout(kt2040::FrameSet set, const QStringList& repeating)
{
    Layout layout;
    layout.columns = kObservationPointColumns;
    layout.kind = ObsColumn::Kind;
    layout.kinds_left = repeating;
    layout.set = set;
    return layout;
}

QString stored_name(const Layout& layout, const QStringList& cells)
{
    const int column = layout.columns[Name];
    if (layout.set == kt2040::FrameSet::None)
        return cells.value(column).trimmed();
    QStringList full = cells;
    while (full.size() <= column)
        full << QString();
    const kt2040::Record got = kt2040::received_record(layout.set, kt2040::sent_record(layout.set, 0, 1, full));
    return got.cells.value(column).trimmed();
}

bool Group::within(double tolerance) const
{
    // A spread of 0.02 read from millimetre texts is 0.02 give or take the binary fractions' error.
    const double slack = 1e-9;
    return horizontal <= tolerance + slack && vertical <= tolerance + slack;
}

QList<Group> find_groups(const Rows& rows, const Layout& layout)
{
    QHash<QString, int> index; // key to its group
    QList<Group> groups;
    for (int row = 0; row < rows.size(); ++row) {
        const QString key = group_key(layout, rows[row]);
        if (key.isEmpty())
            continue;
        const auto found = index.constFind(key);
        if (found == index.constEnd()) {
            index.insert(key, groups.size());
            groups.append({cell(layout, rows[row], Name), {row}});
        } else {
            groups[*found].rows.append(row);
        }
    }
    groups.erase(std::remove_if(groups.begin(), groups.end(), [](const Group& g) { return g.rows.size() < 2; }),
                 groups.end());
    for (Group& group : groups)
        measure(rows, layout, &group);
    return groups;
}

QList<Choice> for_every_group(const QList<Group>& groups, Choice choice)
{
    QList<Choice> choices;
    for (int i = 0; i < groups.size(); ++i)
        choices << choice;
    return choices;
}

Result resolve(const Rows& rows, const Layout& layout, const QList<Group>& groups, const QList<Choice>& choices,
               const Options& options)
{
    Result result;
    Rows after = rows;
    QVector<bool> gone(rows.size(), false);
    Renamer renamer(rows, layout, options.suffix);
    for (int g = 0; g < groups.size(); ++g) {
        const Group& group = groups[g];
        Choice choice = choices.value(g, Choice::KeepAll);
        if (choice == Choice::Average && !group.within(options.tolerance)) {
            result.beyond << g;
            choice = Choice::KeepAll;
        }
        switch (choice) {
        case Choice::KeepFirst:
        case Choice::Average:
            for (int i = 1; i < group.rows.size(); ++i)
                gone[group.rows[i]] = true;
            if (choice == Choice::Average) {
                after[group.rows.first()] = averaged_row(rows, layout, group);
                ++result.averaged;
            }
            result.removed += group.rows.size() - 1;
            break;
        case Choice::KeepLast:
            for (int i = 0; i + 1 < group.rows.size(); ++i)
                gone[group.rows[i]] = true;
            result.removed += group.rows.size() - 1;
            break;
        case Choice::Rename:
            for (int i = 1; i < group.rows.size(); ++i) {
                const Renamed renamed = renamer.rename(group.rows[i], rows[group.rows[i]], i + 1);
                after[group.rows[i]][layout.columns[Name]] = renamed.to;
                result.renamed << renamed;
            }
            break;
        case Choice::KeepAll:
            break;
        }
    }
    for (int row = 0; row < after.size(); ++row) {
        if (gone[row])
            continue;
        result.rows << after[row];
        result.kept << row;
    }
    return result;
}

} // namespace duplicates
