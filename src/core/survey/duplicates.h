// Rows of the point table that share a point name, and what becomes of them: one kept, the rows
// averaged, the later rows renamed, or all kept. Names are compared as the instrument stores them:
// the name is built into the record a send makes and read back, so names equal once cut to the
// instrument's field are one group, and no field width is restated here.
#ifndef DUPLICATES_H
#define DUPLICATES_H

#include "comm/kt2040_frames.h"
#include "data/tablecolumns.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace duplicates
{

using Rows = QList<QStringList>;

// Where the rows keep what is compared, and how the instrument stores names.
struct Layout {
    PointColumns columns = kCoordinatePointColumns; // name, code, N, E, Z
    int kind = -1;                                  // the record kind label; -1 where the layout has none
    QStringList kinds_left; // kinds whose names repeat by design (stations, backsights): never grouped
    kt2040::FrameSet set = kt2040::FrameSet::None; // None: names compared as they stand
};

// The coordinate layout, and the observation layout with the labels `repeating` (station and
// backsight) whose rows never take part; rows of other kinds group only with rows of their own kind.
Layout coordinate_layout(kt2040::FrameSet set);
Layout observation_layout(kt2040::FrameSet set, const QStringList& repeating);

// The name of `cells` (a row of the layout) as the instrument stores it, trimmed.
QString stored_name(const Layout& layout, const QStringList& cells);

enum class Choice { KeepFirst, KeepLast, Average, Rename, KeepAll };
constexpr int kChoices = int(Choice::KeepAll) + 1;

struct Group {
    QString name;          // as its first row holds it
    QList<int> rows;       // ascending, at least two
    double horizontal = 0; // greatest horizontal distance between two of its rows
    double vertical = 0;   // greatest height difference between two rows with a height
    bool within(double tolerance) const;
};

// Every group of rows with coordinates (N and E numbers) sharing a stored name (and, in the
// observation layout, a kind), in the order of their first rows.
QList<Group> find_groups(const Rows& rows, const Layout& layout);

struct Options {
    double tolerance = 0.02; // metres: the greatest spread a group is averaged within
    QString suffix = "_%1";  // a later row's new name: its name and this, %1 its number from 2
};

struct Renamed {
    int row;        // in the rows given
    QString from;   // the name it had
    QString to;     // its new name
    bool shortened; // its name and the suffix are longer than the instrument's field: the name was cut
                    // to fit, so that the new name arrives as it stands
};

struct Result {
    Rows rows;              // the rows after every choice
    QList<int> kept;        // for each of them, the row it was among those given
    int removed = 0;        // rows taken out (kept first or last, averaged)
    int averaged = 0;       // groups made one row by their mean
    QList<Renamed> renamed; // later rows given new names
    QList<int> beyond;      // groups (by index) left as they were: Average asked, spread beyond tolerance
};

// `choice` for each of `groups`.
QList<Choice> for_every_group(const QList<Group>& groups, Choice choice);

// The rows after `choices[i]` for `groups[i]` (of find_groups(rows, layout)); a group without a
// choice keeps all its rows. Average takes the mean of N, E and Z and keeps the first row's other
// texts, in the first row's place; Rename never gives a name the table holds or another new name,
// as they stand or as the instrument stores them.
Result resolve(const Rows& rows, const Layout& layout, const QList<Group>& groups, const QList<Choice>& choices,
               const Options& options = Options());

} // namespace duplicates

#endif // DUPLICATES_H
