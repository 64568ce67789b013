// A uniform grid over plan points: the points inside a rectangle and the point nearest a place,
// without looking at every point.
#ifndef PLANGRID_H
#define PLANGRID_H

#include <QPointF>
#include <QRectF>
#include <QVector>
#include <algorithm>

class PlanGrid
{
public:
    // Indexes `positions` (x = E, y = N); about `per_cell` points to a cell on average.
    void build(const QVector<QPointF>& positions, int per_cell = 8);

    // Calls `visit(index)` for every point inside `area` (x and y ranges, edges included).
    template <typename Visit> void for_each_in(const QRectF& area, Visit visit) const;
    // The index of the point nearest `place` within `radius`, or -1.
    int nearest(const QPointF& place, double radius) const;

    int size() const { return int(positions_.size()); }

private:
    // The range of cells [first, last] that covers world coordinates [low, high] on one axis.
    static void cell_range(double low, double high, double origin, double cell, int cells, int* first, int* last);

    QVector<QPointF> positions_;
    double left_ = 0, bottom_ = 0, cell_w_ = 1, cell_h_ = 1;
    int columns_ = 0, rows_ = 0;
    QVector<int> cell_start_; // per cell, where its points begin in order_; one extra entry at the end
    QVector<int> order_;      // point indices, cell by cell
};

template <typename Visit> void PlanGrid::for_each_in(const QRectF& area, Visit visit) const
{
    if (positions_.isEmpty())
        return;
    const double x0 = area.left(), x1 = area.right(), y0 = area.top(), y1 = area.bottom();
    int c0, c1, r0, r1;
    cell_range(std::min(x0, x1), std::max(x0, x1), left_, cell_w_, columns_, &c0, &c1);
    cell_range(std::min(y0, y1), std::max(y0, y1), bottom_, cell_h_, rows_, &r0, &r1);
    for (int r = r0; r <= r1; ++r) {
        for (int c = c0; c <= c1; ++c) {
            const int cell = r * columns_ + c;
            for (int k = cell_start_[cell]; k < cell_start_[cell + 1]; ++k) {
                const int index = order_[k];
                const QPointF& p = positions_[index];
                if (p.x() >= std::min(x0, x1) && p.x() <= std::max(x0, x1) && p.y() >= std::min(y0, y1) &&
                    p.y() <= std::max(y0, y1))
                    visit(index);
            }
        }
    }
}

#endif // PLANGRID_H
