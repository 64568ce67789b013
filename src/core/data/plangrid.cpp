// The plan's grid index: points sorted into cells by a counting sort.
#include "data/plangrid.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int kMaxCellsPerAxis = 2048;

} // namespace

void PlanGrid::build(const QVector<QPointF>& positions, int per_cell)
{
    positions_ = positions;
    order_.clear();
    cell_start_.clear();
    columns_ = rows_ = 0;
    if (positions_.isEmpty())
        return;
    double left = positions_.first().x(), right = left, bottom = positions_.first().y(), top = bottom;
    for (const QPointF& p : positions_) {
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        bottom = std::min(bottom, p.y());
        top = std::max(top, p.y());
    }
    const double width = std::max(right - left, 1e-9);
    const double height = std::max(top - bottom, 1e-9);
    // Square-ish cells, about `per_cell` points each if the points were spread evenly.
    const double cells_wanted = std::max(1.0, double(positions_.size()) / std::max(1, per_cell));
    const double side = std::sqrt(width * height / cells_wanted);
    columns_ = int(std::clamp(std::ceil(width / side), 1.0, double(kMaxCellsPerAxis)));
    rows_ = int(std::clamp(std::ceil(height / side), 1.0, double(kMaxCellsPerAxis)));
    left_ = left;
    bottom_ = bottom;
    cell_w_ = width / columns_;
    cell_h_ = height / rows_;

    QVector<int> cell_of(positions_.size());
    cell_start_.fill(0, columns_ * rows_ + 1);
    for (int i = 0; i < positions_.size(); ++i) {
        const int c = std::min(columns_ - 1, int((positions_[i].x() - left_) / cell_w_));
        const int r = std::min(rows_ - 1, int((positions_[i].y() - bottom_) / cell_h_));
        cell_of[i] = r * columns_ + c;
        ++cell_start_[cell_of[i] + 1];
    }
    for (int cell = 0; cell < columns_ * rows_; ++cell)
        cell_start_[cell + 1] += cell_start_[cell];
    QVector<int> next = cell_start_;
    order_.resize(positions_.size());
    for (int i = 0; i < positions_.size(); ++i)
        order_[next[cell_of[i]]++] = i;
}

void PlanGrid::cell_range(double low, double high, double origin, double cell, int cells, int* first, int* last)
{
    const double a = std::floor((low - origin) / cell);
    const double b = std::floor((high - origin) / cell);
    *first = int(std::clamp(a, 0.0, double(cells - 1)));
    *last = int(std::clamp(b, 0.0, double(cells - 1)));
    if (b < 0 || a > cells - 1) // wholly outside: an empty range
        *last = *first - 1;
}

int PlanGrid::nearest(const QPointF& place, double radius) const
{
    int best = -1;
    double best_distance = radius * radius;
    for_each_in(QRectF(place.x() - radius, place.y() - radius, 2 * radius, 2 * radius), [&](int index) {
        const QPointF d = positions_[index] - place;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= best_distance) {
            best_distance = distance;
            best = index;
        }
    });
    return best;
}
