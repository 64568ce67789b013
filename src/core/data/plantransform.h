// The plan's view: world (x = E, y = N) to screen pixels with E to the right, N up and one scale on
// both axes; fitting, zooming around a place and panning.
#ifndef PLANTRANSFORM_H
#define PLANTRANSFORM_H

#include <QPointF>
#include <QRectF>
#include <QSizeF>

class PlanTransform
{
public:
    // The view size in pixels; the world centre stays in the middle of the view.
    void set_view_size(const QSizeF& size) { view_ = size; }
    QSizeF view_size() const { return view_; }

    // Shows all of `world` (x and y ranges) with `margin` pixels left free on every side, centred. A
    // rectangle without extent (one point, or points on one line) is shown at a scale that gives it
    // `least_extent` world units across the smaller side of the view.
    void fit(const QRectF& world, double margin, double least_extent = 10.0);
    // Multiplies the scale by `factor`; the world place under `screen` stays under it.
    void zoom_at(const QPointF& screen, double factor);
    // Moves the view by `delta` pixels: what was at p is then at p + delta.
    void pan(const QPointF& delta);

    QPointF to_screen(const QPointF& world) const;
    QPointF to_world(const QPointF& screen) const;
    // The world's x and y ranges the view shows.
    QRectF visible_world() const;

    double scale() const { return scale_; } // pixels per world unit
    QPointF centre() const { return centre_; }
    void set(const QPointF& centre, double scale);

    // The scale stays within these, so that zooming can neither collapse nor overflow the view.
    static constexpr double kMinScale = 1e-7;
    static constexpr double kMaxScale = 1e5;

private:
    QSizeF view_{1, 1};
    QPointF centre_{0, 0};
    double scale_ = 1;
};

// A length for a scale bar: the largest 1, 2 or 5 times a power of ten world units that is at most
// `max_pixels` long at `scale` pixels per unit.
double scale_bar_length(double scale, double max_pixels);

#endif // PLANTRANSFORM_H
