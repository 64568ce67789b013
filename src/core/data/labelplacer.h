// Which labels of a view are drawn: each is kept only if it overlaps no label kept before it, so
// labels never cover each other; the kept rectangles are bucketed by screen area for quick tests.
#ifndef LABELPLACER_H
#define LABELPLACER_H

#include <QHash>
#include <QRectF>
#include <QVector>
#include <functional>

class LabelPlacer
{
public:
    explicit LabelPlacer(double bucket_size = 64.0) : bucket_(bucket_size) {}

    // Labels must lie wholly inside `bounds` (the view) from now on, so none is cut at its edges.
    void set_bounds(const QRectF& bounds) { bounds_ = bounds; }

    // Whether `rect` overlaps a label kept so far.
    bool overlaps(const QRectF& rect) const;
    // Keeps `rect` and returns true when it overlaps no label kept so far (and lies inside the bounds,
    // when they are set); false otherwise.
    bool place(const QRectF& rect);
    // Places a label of `height` beside the point `at`, `gap` pixels from it: right and above, right and
    // below, left and above, left and below, the first of these that overlaps nothing kept. `width` is
    // asked for (once) only when a square of the label's height fits, as measuring text costs more than
    // testing. The kept rectangle in `placed`; false when none fits.
    bool place_beside(const QPointF& at, double gap, double height, const std::function<double()>& width,
                      QRectF* placed);
    // Keeps `rect` whatever it overlaps (a label that must show, such as the selected point's).
    void reserve(const QRectF& rect);

    int placed() const { return int(rects_.size()); }

private:
    template <typename Visit> void for_each_bucket(const QRectF& rect, Visit visit) const;

    double bucket_;
    QRectF bounds_; // null: anywhere
    QVector<QRectF> rects_;
    QHash<quint64, QVector<int>> buckets_; // bucket key to the kept rectangles touching it
};

#endif // LABELPLACER_H
