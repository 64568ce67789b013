// Suspect rows of the point table, counted as rows change.
#include "data/suspectrows.h"

#include "data/planpoints.h"

#include <algorithm>

namespace
{

// Separates kind and name in a key: no label or name holds it.
constexpr QChar kKeySeparator(0x1F);

} // namespace

SuspectColumns coordinate_suspect_columns()
{
    return SuspectColumns();
}

SuspectColumns observation_suspect_columns(const QStringList& repeating)
{
    SuspectColumns columns;
    columns.kind = ObsColumn::Kind;
    columns.name = ObsColumn::Name;
    columns.coordinates[0] = ObsColumn::North;
    columns.coordinates[1] = ObsColumn::East;
    columns.coordinates[2] = ObsColumn::Height;
    for (const QString& kind : repeating) {
        if (!kind.isEmpty())
            columns.kinds_not_compared << kind;
    }
    return columns;
}

bool suspect_coordinate(const QString& text)
{
    double value = 0;
    return !text.isEmpty() && !plan_coordinate(text, &value);
}

void SuspectRows::changed_from(int row)
{
    stale_from_ = std::min(stale_from_, std::max(0, row));
}

void SuspectRows::refresh(int row_count, const std::function<QString(int, int)>& cell)
{
    if (!stale())
        return;
    drop_rows_from(std::min({stale_from_, std::max(0, row_count), int(rows_.size())}));
    rows_.reserve(row_count);
    for (int r = int(rows_.size()); r < row_count; ++r) {
        Row row;
        for (int i = 0; i < 3; ++i) {
            if (suspect_coordinate(cell(r, columns_.coordinates[i])))
                row.bad |= quint8(1u << i);
        }
        const QString name = cell(r, columns_.name);
        const QString kind = columns_.kind >= 0 ? cell(r, columns_.kind) : QString();
        if (!name.isEmpty() && !columns_.kinds_not_compared.contains(kind))
            row.key = kind + kKeySeparator + name;
        add_row(row);
    }
    stale_from_ = INT_MAX;
}

void SuspectRows::drop_rows_from(int row)
{
    for (int r = int(rows_.size()) - 1; r >= row; --r) {
        const Row& gone = rows_[r];
        if (gone.bad)
            --bad_rows_;
        if (!gone.key.isEmpty()) {
            auto found = names_.find(gone.key);
            const int count = found.value();
            if (count >= 2)
                repeated_rows_ -= count == 2 ? 2 : 1;
            if (count <= 1)
                names_.erase(found);
            else
                --found.value();
        }
    }
    rows_.resize(row);
}

void SuspectRows::add_row(Row row)
{
    if (row.bad)
        ++bad_rows_;
    if (!row.key.isEmpty()) {
        const int count = ++names_[row.key];
        if (count >= 2)
            repeated_rows_ += count == 2 ? 2 : 1;
    }
    rows_.append(std::move(row));
}

bool SuspectRows::bad_coordinate(int row, int column) const
{
    if (row < 0 || row >= rows_.size())
        return false;
    for (int i = 0; i < 3; ++i) {
        if (columns_.coordinates[i] == column)
            return (rows_[row].bad >> i) & 1u;
    }
    return false;
}

int SuspectRows::name_count(int row) const
{
    if (row < 0 || row >= rows_.size() || rows_[row].key.isEmpty())
        return 0;
    return names_.value(rows_[row].key);
}
