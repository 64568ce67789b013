// Known points gathered from rows read one at a time.
#include "survey/streamedknown.h"

#include "data/tablecolumns.h"
#include "data/texthash.h"

namespace survey
{

void StreamedKnownPoints::add_row(const QStringList& cells)
{
    switch (row_kind(cells, labels_)) {
    case RowKind::Measured:
        measured_.add(text_hash(cells.value(ObsColumn::Name).trimmed()));
        break;
    case RowKind::Backsight:
        backsights_.insert(cells.value(ObsColumn::Name).trimmed());
        break;
    case RowKind::Station:
    case RowKind::Plain:
        known_.add_row(cells, labels_);
        break;
    }
}

QSet<QString> StreamedKnownPoints::wanted()
{
    if (!sealed_) {
        measured_.seal();
        sealed_ = true;
    }
    wanted_.clear();
    double n = 0;
    double e = 0;
    for (const QString& name : qAsConst(backsights_)) {
        if (!name.isEmpty() && !known_.find(name, &n, &e) && measured_.count(text_hash(name)) > 0)
            wanted_.insert(name);
    }
    return wanted_;
}

void StreamedKnownPoints::add_measured(const QStringList& cells)
{
    if (row_kind(cells, labels_) == RowKind::Measured && wanted_.contains(cells.value(ObsColumn::Name).trimmed()))
        known_.add_row(cells, labels_);
}

bool StreamedKnownPoints::measured_more_than_once(const QString& name) const
{
    return measured_.count(text_hash(name)) > 1;
}

} // namespace survey
