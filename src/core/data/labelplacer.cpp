// Greedy label placement against the labels already kept, looked up by screen bucket.
#include "data/labelplacer.h"

#include <cmath>

template <typename Visit> void LabelPlacer::for_each_bucket(const QRectF& rect, Visit visit) const
{
    const qint64 x0 = qint64(std::floor(rect.left() / bucket_)), x1 = qint64(std::floor(rect.right() / bucket_));
    const qint64 y0 = qint64(std::floor(rect.top() / bucket_)), y1 = qint64(std::floor(rect.bottom() / bucket_));
    for (qint64 y = y0; y <= y1; ++y) {
        for (qint64 x = x0; x <= x1; ++x)
            visit((quint64(quint32(qint32(x))) << 32) | quint32(qint32(y)));
    }
}

bool LabelPlacer::overlaps(const QRectF& rect) const
{
    bool hit = false;
    for_each_bucket(rect, [&](quint64 key) {
        if (hit)
            return;
        const auto found = buckets_.constFind(key);
        if (found == buckets_.constEnd())
            return;
        for (int index : *found) {
            if (rects_[index].intersects(rect)) {
                hit = true;
                return;
            }
        }
    });
    return hit;
}

bool LabelPlacer::place(const QRectF& rect)
{
    if (!bounds_.isNull() && !bounds_.contains(rect))
        return false;
    if (overlaps(rect))
        return false;
    reserve(rect);
    return true;
}

void LabelPlacer::reserve(const QRectF& rect)
{
    const int index = int(rects_.size());
    rects_.append(rect);
    for_each_bucket(rect, [&](quint64 key) { buckets_[key].append(index); });
}

bool LabelPlacer::place_beside(const QPointF& at, double gap, double height, const std::function<double()>& width,
                               QRectF* placed)
{
    double measured = -1;
    for (int side = 0; side < 4; ++side) {
        const bool right = side < 2, above = side % 2 == 0;
        const double top = above ? at.y() - height + 1 : at.y() + 1;
        const QRectF square(right ? at.x() + gap : at.x() - gap - height, top, height, height);
        if (overlaps(square))
            continue;
        if (measured < 0)
            measured = width();
        const QRectF rect(right ? at.x() + gap : at.x() - gap - measured, top, measured, height);
        if (place(rect)) {
            *placed = rect;
            return true;
        }
    }
    return false;
}
