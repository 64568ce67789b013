// Drawing the plan: the visible points with a level of detail, their names, the scale bar and the
// north arrow.
#include "plan/planview.h"

#include "data/labelplacer.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

constexpr int kDotGrid = 3;              // pixels: one dot per 3 x 3 pixel block when points crowd
constexpr int kRoundDotsLimit = 4000;    // more dots than this are drawn as squares, which is much faster
constexpr int kLabelPointsLimit = 20000; // visible points beyond which names are not tried
const QColor kPointColour(29, 53, 87);
const QColor kStationColour(192, 57, 43);
const QColor kBacksightColour(46, 125, 50);
const QColor kSelectedColour(233, 120, 20);
constexpr int kLabelPixels = 12; // names, the status text and the scale bar's length

QFont label_font(const QFont& base)
{
    QFont font = base;
    font.setPixelSize(kLabelPixels);
    return font;
}

// A white ground under the north arrow, the scale bar and the status text, so that points under them
// do not make them hard to read.
void draw_ground(QPainter* painter, const QRectF& rect)
{
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(255, 255, 255, 210));
    painter->drawRoundedRect(rect, 4, 4);
    painter->restore();
}

void draw_symbol(QPainter* painter, PlanKind kind, const QPointF& at)
{
    if (kind == PlanKind::Station) {
        QPainterPath triangle;
        triangle.moveTo(at + QPointF(0, -7));
        triangle.lineTo(at + QPointF(6, 4));
        triangle.lineTo(at + QPointF(-6, 4));
        triangle.closeSubpath();
        painter->setPen(QPen(kStationColour, 1.6));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(triangle);
        painter->setBrush(kStationColour);
        painter->drawEllipse(at, 1.5, 1.5);
    } else {
        painter->setPen(QPen(kBacksightColour, 1.6));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(at - QPointF(4.5, 4.5), QSizeF(9, 9)));
        painter->drawLine(at - QPointF(4.5, 0), at + QPointF(4.5, 0));
        painter->drawLine(at - QPointF(0, 4.5), at + QPointF(0, 4.5));
    }
}

} // namespace

void PlanView::paintEvent(QPaintEvent*)
{
    refresh();
    QPainter painter(this);
    render_plan(&painter, size());
}

void PlanView::render_plan(QPainter* painter, const QSize& size)
{
    refresh();
    PlanTransform view = view_;
    view.set_view_size(size);
    // A map is not mirrored in a right-to-left language: its names and numbers read left to right.
    painter->setLayoutDirection(Qt::LeftToRight);
    painter->fillRect(QRect(QPoint(0, 0), size), Qt::white);
    draw_linework(painter, view);
    draw_points(painter, view, size);
    painter->setFont(label_font(font()));
    draw_scale_bar(painter, view, size);
    draw_north_arrow(painter, size);
    const QRectF status = status_rect(size);
    draw_ground(painter, status.adjusted(-3, -1, 3, 1));
    painter->setPen(QColor(60, 60, 60));
    painter->drawText(status, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, status_text());
}

void PlanView::draw_points(QPainter* painter, const PlanTransform& view, const QSize& size)
{
    // What the view shows, widened by a symbol's size so that points at its edges are drawn too.
    const double pad = 10 / view.scale();
    const QRectF world = view.visible_world().adjusted(-pad, -pad, pad, pad);
    std::vector<int> visible;
    grid_.for_each_in(world, [&](int index) { visible.push_back(index); });
    // Symbols first, so their names win over those of plain points.
    std::stable_partition(visible.begin(), visible.end(),
                          [this](int index) { return points_.points[index].kind != PlanKind::Point; });

    // Level of detail: of plain points that fall on a block of pixels already drawn, none is drawn.
    const int blocks_x = size.width() / kDotGrid + 1, blocks_y = size.height() / kDotGrid + 1;
    std::vector<bool> drawn(size_t(blocks_x) * size_t(blocks_y), false);
    QVector<QPointF> dots;
    std::vector<int> shown; // the points drawn, symbols first
    for (int index : visible) {
        const PlanPoint& p = points_.points[index];
        const QPointF at = view.to_screen(p.position);
        if (p.kind == PlanKind::Point) {
            const int bx = int(at.x()) / kDotGrid, by = int(at.y()) / kDotGrid;
            if (at.x() >= 0 && at.y() >= 0 && bx < blocks_x && by < blocks_y) {
                const size_t block = size_t(by) * size_t(blocks_x) + size_t(bx);
                if (drawn[block])
                    continue;
                drawn[block] = true;
            }
            dots.append(at);
        }
        shown.push_back(index);
    }
    if (dots.size() <= kRoundDotsLimit) {
        painter->setPen(QPen(kPointColour, 4, Qt::SolidLine, Qt::RoundCap));
        painter->drawPoints(dots.constData(), int(dots.size()));
    } else {
        QVector<QRectF> squares;
        squares.reserve(dots.size());
        for (const QPointF& at : qAsConst(dots))
            squares.append(QRectF(at.x() - 1.5, at.y() - 1.5, 3, 3));
        painter->setPen(Qt::NoPen);
        painter->setBrush(kPointColour);
        painter->drawRects(squares.constData(), int(squares.size()));
    }
    for (int index : shown) {
        const PlanPoint& p = points_.points[index];
        if (p.kind == PlanKind::Point)
            break; // symbols come first
        draw_symbol(painter, p.kind, view.to_screen(p.position));
    }
    draw_labels(painter, view, shown);
    const int selected = point_of_row(selected_row_);
    if (selected >= 0) {
        painter->setPen(QPen(kSelectedColour, 2.5));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(view.to_screen(points_.points[selected].position), 9, 9);
    }
}

void PlanView::draw_labels(QPainter* painter, const PlanTransform& view, const std::vector<int>& shown)
{
    // The selected point's name always shows; the others where they cover no point, no other name and
    // neither the north arrow, the scale bar nor the status, and where the view shows them whole.
    const QFont font = label_font(painter->font());
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF metrics(font);
    const QSize size = view.view_size().toSize();
    LabelPlacer placer;
    placer.set_bounds(QRectF(QPointF(0, 0), QSizeF(size)));
    for (const QRectF& chrome : {north_arrow_rect(size), scale_bar_rect(size), status_rect(size)})
        placer.reserve(chrome);
    const auto label_of = [this](const PlanPoint& p) {
        return show_codes_ && !p.code.isEmpty() ? p.name + QStringLiteral("  ") + p.code : p.name;
    };
    const int selected = point_of_row(selected_row_);
    if (selected >= 0) {
        const PlanPoint& p = points_.points[selected];
        const QString label = label_of(p);
        const QPointF at = view.to_screen(p.position);
        const double width = QFontMetricsF(bold).horizontalAdvance(label);
        // Beside the point on the right, or on the left where the right edge would cut it.
        const double left = at.x() + 9 + width + 2 <= size.width() ? at.x() + 9 : at.x() - 9 - width;
        const QRectF rect(left, at.y() - metrics.height() + 2, width, metrics.height());
        placer.reserve(rect);
        painter->setFont(bold);
        painter->setPen(kSelectedColour);
        painter->fillRect(rect.adjusted(-2, 0, 2, 0), QColor(255, 240, 200));
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, label);
    }
    painter->setFont(font);
    if (shown.size() > size_t(kLabelPointsLimit))
        return;
    // Names go where they cover no point: every point drawn is kept free first.
    for (int index : shown) {
        const PlanPoint& p = points_.points[index];
        const double half = p.kind == PlanKind::Point ? 2.5 : 7.5;
        placer.reserve(QRectF(view.to_screen(p.position) - QPointF(half, half), QSizeF(2 * half, 2 * half)));
    }
    painter->setPen(QColor(40, 40, 40));
    for (int index : shown) {
        if (index == selected)
            continue;
        const PlanPoint& p = points_.points[index];
        if (p.name.isEmpty() && !(show_codes_ && !p.code.isEmpty()))
            continue;
        const QString label = label_of(p);
        const double gap = p.kind == PlanKind::Point ? 4 : 9;
        QRectF rect;
        if (placer.place_beside(
                view.to_screen(p.position), gap, metrics.height(), [&] { return metrics.horizontalAdvance(label); },
                &rect))
            painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, label);
    }
}

QRectF PlanView::north_arrow_rect(const QSize& size) const
{
    return QRectF(size.width() - 40, 8, 32, 52);
}

QRectF PlanView::scale_bar_rect(const QSize& size) const
{
    const double longest = std::max(100.0, std::min(150.0, size.width() / 3.0));
    return QRectF(8, size.height() - 42, longest + 12, 34);
}

QRectF PlanView::status_rect(const QSize& size)
{
    const QFontMetricsF metrics(label_font(font()));
    const double room = std::max(40.0, size.width() - 60.0);
    const QRectF needed =
        metrics.boundingRect(QRectF(0, 0, room, 1000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, status_text());
    return QRectF(8, 6, std::min(room, needed.width() + 1), needed.height());
}

void PlanView::draw_scale_bar(QPainter* painter, const PlanTransform& view, const QSize& size)
{
    const double length = scale_bar_length(view.scale(), std::min(150.0, size.width() / 3.0));
    const double pixels = length * view.scale();
    const QPointF left(14, size.height() - 16);
    painter->setPen(QPen(Qt::black, 2));
    painter->drawLine(left, left + QPointF(pixels, 0));
    painter->drawLine(left, left + QPointF(0, -6));
    painter->drawLine(left + QPointF(pixels, 0), left + QPointF(pixels, -6));
    const QString number = QString::number(length, 'g', 12);
    painter->drawText(QRectF(left.x(), left.y() - 24, std::max(pixels, 100.0), 18), Qt::AlignLeft | Qt::AlignBottom,
                      text(kScaleUnitText).isEmpty() ? number : text(kScaleUnitText).arg(number));
}

void PlanView::draw_north_arrow(QPainter* painter, const QSize& size)
{
    draw_ground(painter, north_arrow_rect(size));
    const QPointF tip(size.width() - 24, 14);
    QPainterPath arrow;
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(8, 26));
    arrow.lineTo(tip + QPointF(0, 19));
    arrow.lineTo(tip + QPointF(-8, 26));
    arrow.closeSubpath();
    painter->setPen(QPen(Qt::black, 1.2));
    painter->setBrush(Qt::black);
    painter->drawPath(arrow);
    painter->setBrush(Qt::NoBrush);
    painter->drawText(QRectF(tip.x() - 12, tip.y() + 27, 24, 16), Qt::AlignCenter, text(kNorthText));
}
