// Locating the fields of a comma-separated line.
#include "data/linefields.h"

#include <algorithm>

LineFields::LineFields(const QString& line, int wanted) : line_(&line)
{
    wanted = std::min(std::max(wanted, 0), kMaxFields);
    const ushort* const begin = line.utf16();
    const ushort* const end = begin + line.size();
    const ushort* field = begin;
    while (count_ < wanted) {
        const ushort* comma = std::find(field, end, ushort(','));
        start_[count_] = int(field - begin);
        end_[count_] = int(comma - begin);
        ++count_;
        if (comma == end)
            break;
        field = comma + 1;
    }
}

void LineFields::join(const signed char* order, int size, const QChar* extra, int extra_size, QString* out) const
{
    int length = size > 0 ? size - 1 : 0;
    for (int i = 0; i < size; ++i)
        length += order[i] < 0 ? extra_size : end_[order[i]] - start_[order[i]];
    // One piece of memory for the whole line, kept from the last line where it is large enough.
    out->resize(length);
    QChar* to = out->data();
    const QChar* from = line_->constData();
    for (int i = 0; i < size; ++i) {
        if (i > 0)
            *to++ = QLatin1Char(',');
        const QChar* piece = order[i] < 0 ? extra : from + start_[order[i]];
        const int piece_size = order[i] < 0 ? extra_size : end_[order[i]] - start_[order[i]];
        std::copy(piece, piece + piece_size, to);
        to += piece_size;
    }
}
