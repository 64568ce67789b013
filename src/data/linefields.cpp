// Locating the fields of a comma-separated line.
#include "linefields.h"

#include <algorithm>

LineFields::LineFields(const QString& line, int wanted) : line_(&line)
{
    wanted = std::min(std::max(wanted, 0), kMaxFields);
    const QChar* data = line.constData();
    const int size = line.size();
    int pos = 0;
    while (count_ < wanted) {
        int end = pos;
        while (end < size && data[end] != QLatin1Char(','))
            ++end;
        start_[count_] = pos;
        end_[count_] = end;
        ++count_;
        if (end >= size)
            break;
        pos = end + 1;
    }
}
