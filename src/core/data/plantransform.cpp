// The plan's view transform and the scale bar's round length.
#include "data/plantransform.h"

#include <algorithm>
#include <cmath>

void PlanTransform::set(const QPointF& centre, double scale)
{
    centre_ = centre;
    scale_ = std::clamp(scale, kMinScale, kMaxScale);
}

void PlanTransform::fit(const QRectF& world, double margin, double least_extent)
{
    const double x0 = std::min(world.left(), world.right()), x1 = std::max(world.left(), world.right());
    const double y0 = std::min(world.top(), world.bottom()), y1 = std::max(world.top(), world.bottom());
    const double free_w = std::max(1.0, view_.width() - 2 * margin);
    const double free_h = std::max(1.0, view_.height() - 2 * margin);
    double scale;
    if (x1 - x0 <= 0 && y1 - y0 <= 0)
        scale = std::min(free_w, free_h) / least_extent;
    else
        scale = std::min(x1 > x0 ? free_w / (x1 - x0) : HUGE_VAL, y1 > y0 ? free_h / (y1 - y0) : HUGE_VAL);
    set(QPointF((x0 + x1) / 2, (y0 + y1) / 2), scale);
}

void PlanTransform::zoom_at(const QPointF& screen, double factor)
{
    const QPointF anchor = to_world(screen);
    scale_ = std::clamp(scale_ * factor, kMinScale, kMaxScale);
    // Put the anchor back under the screen place.
    const QPointF moved = to_screen(anchor);
    pan(screen - moved);
}

void PlanTransform::pan(const QPointF& delta)
{
    centre_ += QPointF(-delta.x() / scale_, delta.y() / scale_);
}

QPointF PlanTransform::to_screen(const QPointF& world) const
{
    return QPointF(view_.width() / 2 + (world.x() - centre_.x()) * scale_,
                   view_.height() / 2 - (world.y() - centre_.y()) * scale_);
}

QPointF PlanTransform::to_world(const QPointF& screen) const
{
    return QPointF(centre_.x() + (screen.x() - view_.width() / 2) / scale_,
                   centre_.y() - (screen.y() - view_.height() / 2) / scale_);
}

QRectF PlanTransform::visible_world() const
{
    const QPointF a = to_world(QPointF(0, view_.height()));
    const QPointF b = to_world(QPointF(view_.width(), 0));
    return QRectF(a, b); // x from E at the left edge, y from N at the bottom edge
}

double scale_bar_length(double scale, double max_pixels)
{
    const double most = max_pixels / scale;
    const double power = std::pow(10.0, std::floor(std::log10(most)));
    for (double step : {5.0, 2.0, 1.0}) {
        if (step * power <= most)
            return step * power;
    }
    return power;
}
