// The report's plan: the points at a scale in a frame, with their names where they fit, the linework
// of their codes, a coordinate grid with labels, a scale bar and a north arrow; all vector.
#include "report/reportpages.h"

#include "data/labelplacer.h"
#include "data/plantransform.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace
{

constexpr double kMargin = 24; // points kept free around the fitted points
constexpr int kNamePixels = 6;
constexpr int kGridPixels = 7;
const QColor kPointColour(29, 53, 87);
const QColor kStationColour(192, 57, 43);
const QColor kGridColour(200, 200, 200);

QString grid_number(double value)
{
    return QString::number(value, 'f', std::fabs(value - std::round(value)) < 1e-9 ? 0 : 2);
}

// Draws the grid lines and their labels; the labels' rectangles, where no name goes.
QVector<QRectF> draw_grid(QPainter* painter, const PlanTransform& view, const QRectF& frame)
{
    QVector<QRectF> labels;
    const double step = scale_bar_length(view.scale(), frame.width() / 4);
    if (step <= 0)
        return labels;
    const QRectF world = view.visible_world();
    painter->setFont(report_font(kGridPixels));
    for (double e = std::ceil(world.left() / step) * step; e <= world.right(); e += step) {
        const double x = view.to_screen(QPointF(e, 0)).x() + frame.left();
        painter->setPen(QPen(kGridColour, 0.4));
        painter->drawLine(QPointF(x, frame.top()), QPointF(x, frame.bottom()));
        painter->setPen(Qt::darkGray);
        const QString label = QStringLiteral("E ") + grid_number(e);
        painter->drawText(QPointF(x + 2, frame.bottom() - 3), label);
        labels << painter->boundingRect(QRectF(x + 2, frame.bottom() - 12, 200, 12), Qt::AlignLeft, label);
    }
    for (double n = std::ceil(world.top() / step) * step; n <= world.bottom(); n += step) {
        const double y = view.to_screen(QPointF(0, n)).y() + frame.top();
        painter->setPen(QPen(kGridColour, 0.4));
        painter->drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
        painter->setPen(Qt::darkGray);
        const QString label = QStringLiteral("N ") + grid_number(n);
        painter->drawText(QPointF(frame.left() + 3, y - 2), label);
        labels << painter->boundingRect(QRectF(frame.left() + 3, y - 11, 200, 12), Qt::AlignLeft, label);
    }
    return labels;
}

void draw_points(QPainter* painter, const JobReport& report, const PlanTransform& view, const QRectF& frame,
                 const QVector<QRectF>& kept_free)
{
    painter->setFont(report_font(kNamePixels));
    const QFontMetricsF metrics(painter->font());
    LabelPlacer placer(24);
    placer.set_bounds(frame);
    for (const QRectF& rect : kept_free)
        placer.reserve(rect);
    QVector<QPointF> at(report.points.size());
    for (int i = 0; i < report.points.size(); ++i) {
        at[i] = view.to_screen(report.points[i].position) + frame.topLeft();
        placer.reserve(QRectF(at[i] - QPointF(1.5, 1.5), QSizeF(3, 3)));
    }
    painter->setPen(Qt::NoPen);
    for (int i = 0; i < report.points.size(); ++i) {
        const PlanPoint& p = report.points[i];
        if (!frame.contains(at[i]))
            continue;
        if (p.kind == PlanKind::Point) {
            painter->setBrush(kPointColour);
            painter->drawEllipse(at[i], 1.2, 1.2);
        } else {
            QPainterPath triangle;
            triangle.moveTo(at[i] + QPointF(0, -3.5));
            triangle.lineTo(at[i] + QPointF(3, 2));
            triangle.lineTo(at[i] + QPointF(-3, 2));
            triangle.closeSubpath();
            painter->setBrush(p.kind == PlanKind::Station ? kStationColour : Qt::darkGreen);
            painter->drawPath(triangle);
        }
    }
    painter->setPen(QColor(40, 40, 40));
    for (int i = 0; i < report.points.size(); ++i) {
        const QString& name = report.points[i].name;
        QRectF rect;
        if (!name.isEmpty() && frame.contains(at[i]) &&
            placer.place_beside(
                at[i], 2, metrics.height(), [&] { return metrics.horizontalAdvance(name); }, &rect))
            painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

void draw_linework(QPainter* painter, const JobReport& report, const PlanTransform& view, const QRectF& frame)
{
    painter->setBrush(Qt::NoBrush);
    for (const ReportShape& shape : report.shapes) {
        QPolygonF paper;
        paper.reserve(shape.world.size());
        for (const QPointF& world : shape.world)
            paper.append(view.to_screen(world) + frame.topLeft());
        painter->setPen(QPen(shape.colour, 0.8));
        if (shape.closed)
            painter->drawPolygon(paper);
        else
            painter->drawPolyline(paper);
    }
}

void draw_scale_bar(QPainter* painter, const JobReport& report, double per_metre, const QRectF& frame)
{
    const double length = scale_bar_length(per_metre, frame.width() / 4);
    const double width = length * per_metre;
    const QPointF left(frame.left() + 12, frame.bottom() - 18);
    painter->fillRect(QRectF(left - QPointF(6, 18), QSizeF(width + 40, 28)), QColor(255, 255, 255, 220));
    painter->setPen(QPen(Qt::black, 1.2));
    painter->drawLine(left, left + QPointF(width, 0));
    painter->drawLine(left, left + QPointF(0, -4));
    painter->drawLine(left + QPointF(width, 0), left + QPointF(width, -4));
    painter->setFont(report_font(kGridPixels));
    painter->drawText(left + QPointF(0, -6), report.texts.value(kMetres).arg(QString::number(length, 'g', 12)));
}

void draw_north_arrow(QPainter* painter, const JobReport& report, const QRectF& frame)
{
    const QPointF tip(frame.right() - 20, frame.top() + 10);
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(6, 20));
    arrow.lineTo(tip + QPointF(0, 15));
    arrow.lineTo(tip + QPointF(-6, 20));
    arrow.closeSubpath();
    painter->setPen(QPen(Qt::black, 0.8));
    painter->setBrush(Qt::black);
    painter->drawPath(arrow);
    painter->setFont(report_font(10));
    painter->drawText(QRectF(tip.x() - 10, tip.y() + 21, 20, 14), Qt::AlignCenter, report.texts.value(kNorthLetter));
}

} // namespace

double fitted_points_per_metre(const JobReport& report, const QSizeF& frame)
{
    PlanTransform view;
    view.set_view_size(frame);
    view.fit(report.bounds.isNull() ? QRectF(0, 0, 1, 1) : report.bounds, kMargin);
    return view.scale();
}

void draw_report_plan(QPainter* painter, const JobReport& report, const QRectF& frame, double per_metre)
{
    painter->save();
    // A map is not mirrored in a right-to-left language: its names and numbers read left to right.
    painter->setLayoutDirection(Qt::LeftToRight);
    painter->setPen(QPen(Qt::black, 0.8));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(frame);
    if (report.points.isEmpty()) {
        painter->setFont(report_font(12));
        painter->drawText(frame, Qt::AlignCenter | Qt::TextWordWrap, report.texts.value(kPlanEmpty));
        painter->restore();
        return;
    }
    painter->setClipRect(frame);
    painter->setRenderHint(QPainter::Antialiasing);
    PlanTransform view;
    view.set_view_size(frame.size());
    view.set(report.bounds.center(), per_metre);
    const QVector<QRectF> grid_labels = draw_grid(painter, view, frame);
    draw_linework(painter, report, view, frame);
    draw_points(painter, report, view, frame, grid_labels);
    draw_scale_bar(painter, report, per_metre, frame);
    draw_north_arrow(painter, report, frame);
    if (report.left_out > 0) {
        painter->setPen(Qt::black);
        painter->setFont(report_font(kGridPixels));
        painter->drawText(frame.adjusted(8, 6, -40, -6), Qt::AlignLeft | Qt::AlignTop,
                          report.texts.value(kPlanLeftOut).arg(report.left_out));
    }
    painter->restore();
}
