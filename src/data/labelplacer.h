// Which labels of a view are drawn: each is kept only if it overlaps no label kept before it, so
// labels never cover each other; the kept rectangles are bucketed by screen area for quick tests.
#ifndef LABELPLACER_H
#define LABELPLACER_H

#include <QHash>
#include <QRectF>
#include <QVector>

class LabelPlacer
{
public:
    explicit LabelPlacer(double bucket_size = 64.0) : bucket_(bucket_size) {}

    // Whether `rect` overlaps a label kept so far.
    bool overlaps(const QRectF& rect) const;
    // Keeps `rect` and returns true when it overlaps no label kept so far; false otherwise.
    bool place(const QRectF& rect);
    // Keeps `rect` whatever it overlaps (a label that must show, such as the selected point's).
    void reserve(const QRectF& rect);

    int placed() const { return int(rects_.size()); }

private:
    template <typename Visit> void for_each_bucket(const QRectF& rect, Visit visit) const;

    double bucket_;
    QVector<QRectF> rects_;
    QHash<quint64, QVector<int>> buckets_; // bucket key to the kept rectangles touching it
};

#endif // LABELPLACER_H
