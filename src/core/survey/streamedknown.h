// The known points of measured data read one row at a time, for a check or recompute that does not
// hold the rows. Orienting a station looks up only the names its backsight records give, so only the
// station records and plain rows are kept by name; each measured point leaves a 64-bit hash of its
// name. A backsight name that no station or plain row holds and whose hash no measured point left is
// known to be unknown; one whose hash a measured point left is taken from a further read of the rows
// (wanted(), add_measured()), so the result is exactly known_points_of() of the whole table. The
// hashes count the measured points of each name, so a check can keep only the names measured twice.
#ifndef STREAMEDKNOWN_H
#define STREAMEDKNOWN_H

#include "data/keymultiset.h"
#include "survey/surveyrows.h"

#include <QHash>
#include <QSet>

namespace survey
{

class StreamedKnownPoints
{
public:
    explicit StreamedKnownPoints(const KindLabels& labels) : labels_(labels) {}
    // Every row of the table, in order.
    void add_row(const QStringList& cells);
    // After every row (it ends add_row()): the backsight names a further read must give the measured
    // points of (empty: known() is whole already).
    QSet<QString> wanted();
    // A row of that further read (other rows and names are passed over).
    void add_measured(const QStringList& cells);
    const KnownPoints& known() const { return known_; }
    // After wanted(): false when no other measured point can have this name.
    bool measured_more_than_once(const QString& name) const;

private:
    KindLabels labels_;
    KnownPoints known_;        // station records and plain rows; later the wanted measured points
    QSet<QString> backsights_; // the names backsight records give
    KeyMultiset measured_;     // measured points by the hash of their name
    bool sealed_ = false;
    QSet<QString> wanted_; // filled by wanted(), for add_measured()
};

} // namespace survey

#endif // STREAMEDKNOWN_H
