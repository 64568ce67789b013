// The plan view widget: reading the table's rows as they change, drawing the visible points with a
// level of detail, zooming, panning, picking and exporting the view.
#include "plan/planview.h"

#include "data/labelplacer.h"
#include "modal/modal.h"

#include <QBuffer>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

// Indices into the plan's texts.
enum TextIndex {
    kPointsText,
    kLeftOutText,
    kFitText,
    kCodesText,
    kPngText,
    kSvgText,
    kPngFilter,
    kSvgFilter,
    kWriteFailedText,
    kScaleUnitText,
    kNorthText,
    kTitleText,
};

constexpr double kFitMargin = 30;
constexpr double kPickRadius = 8;
constexpr int kDragThreshold = 3;
constexpr double kWheelStep = 1.25;      // zoom per wheel notch
constexpr int kDotGrid = 3;              // pixels: one dot per 3 x 3 pixel block when points crowd
constexpr int kRoundDotsLimit = 4000;    // more dots than this are drawn as squares, which is much faster
constexpr int kLabelPointsLimit = 20000; // visible points beyond which names are not tried
const QColor kPointColour(29, 53, 87);
const QColor kStationColour(192, 57, 43);
const QColor kBacksightColour(46, 125, 50);
const QColor kSelectedColour(233, 120, 20);

QString table_cell(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
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

PlanView::PlanView(QTableWidget* table, const PlanColumns& columns, const PlanKindLabels& labels, QWidget* parent)
    : QWidget(parent), table_(table), columns_(columns), labels_(labels)
{
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 160);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QAbstractItemModel* model = table_->model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int) { rows_changed_from(first); });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int) { rows_changed_from(first); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& top_left, const QModelIndex&) { rows_changed_from(top_left.row()); });
    const auto everything = [this] { rows_changed_from(0); };
    connect(model, &QAbstractItemModel::modelReset, this, everything);
    connect(model, &QAbstractItemModel::layoutChanged, this, everything);
    connect(model, &QAbstractItemModel::rowsMoved, this, everything);
}

void PlanView::set_texts(const QStringList& texts)
{
    texts_ = texts;
    update();
}

void PlanView::rows_changed_from(int row)
{
    // Read when next drawn: while records stream in, the window's drawing is paced, and so is this.
    stale_from_ = std::min(stale_from_, std::max(0, row));
    update();
}

void PlanView::refresh()
{
    if (stale_from_ == INT_MAX)
        return;
    points_.truncate_from_row(stale_from_);
    const int rows = table_->rowCount();
    PlanPoint point;
    for (int row = stale_from_; row < rows; ++row) {
        const auto cell = [this, row](int column) { return table_cell(table_, row, column); };
        if (plan_point_of_row(columns_, labels_, cell, row, &point))
            points_.points.append(point);
        else
            ++points_.rows_left_out;
    }
    stale_from_ = INT_MAX;
    QVector<QPointF> positions;
    positions.reserve(points_.points.size());
    for (const PlanPoint& p : qAsConst(points_.points))
        positions.append(p.position);
    grid_.build(positions);
    bounds_ = points_.bounds();
    if (points_.points.isEmpty())
        following_ = true; // the next points are shown whole again
    view_.set_view_size(size());
    if (following_ && !points_.points.isEmpty())
        view_.fit(bounds_, kFitMargin);
}

const PlanPoints& PlanView::plan_points()
{
    refresh();
    return points_;
}

const PlanTransform& PlanView::view_transform()
{
    refresh();
    return view_;
}

QString PlanView::status_text()
{
    refresh();
    QString status = text(kPointsText).arg(points_.points.size());
    if (points_.rows_left_out > 0)
        status += QStringLiteral("  ") + text(kLeftOutText).arg(points_.rows_left_out);
    return status;
}

int PlanView::point_of_row(int row) const
{
    const auto found = std::lower_bound(points_.points.begin(), points_.points.end(), row,
                                        [](const PlanPoint& p, int r) { return p.row < r; });
    return found != points_.points.end() && found->row == row ? int(found - points_.points.begin()) : -1;
}

int PlanView::row_at(const QPoint& screen)
{
    refresh();
    const int index = grid_.nearest(view_.to_world(screen), kPickRadius / view_.scale());
    return index < 0 ? -1 : points_.points[index].row;
}

void PlanView::set_selected_row(int row)
{
    if (row == selected_row_)
        return;
    selected_row_ = row;
    refresh();
    const int index = point_of_row(row);
    if (index >= 0) {
        const QPointF at = view_.to_screen(points_.points[index].position);
        if (!QRectF(QPointF(0, 0), QSizeF(size())).contains(at)) {
            view_.set(points_.points[index].position, view_.scale());
            following_ = false;
        }
    }
    update();
}

void PlanView::fit_to_points()
{
    following_ = true;
    refresh();
    view_.set_view_size(size());
    if (!points_.points.isEmpty())
        view_.fit(bounds_, kFitMargin);
    update();
}

void PlanView::user_moved_view()
{
    following_ = false;
    update();
}

void PlanView::zoom_at(const QPointF& screen, double factor)
{
    refresh();
    view_.zoom_at(screen, factor);
    user_moved_view();
}

void PlanView::pan_by(const QPointF& delta)
{
    refresh();
    view_.pan(delta);
    user_moved_view();
}

void PlanView::set_show_codes(bool on)
{
    show_codes_ = on;
    update();
}

void PlanView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    view_.set_view_size(size());
    if (following_ && !points_.points.isEmpty())
        view_.fit(bounds_, kFitMargin);
}

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
    painter->fillRect(QRect(QPoint(0, 0), size), Qt::white);
    draw_points(painter, view, size);
    draw_scale_bar(painter, view, size);
    draw_north_arrow(painter, size);
    painter->setPen(QColor(60, 60, 60));
    painter->drawText(QRectF(8, 6, size.width() - 60, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                      status_text());
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
    // The selected point's name always shows; the others where they cover no point and no other name.
    QFont font = painter->font();
    font.setPixelSize(12);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF metrics(font);
    LabelPlacer placer;
    const auto label_of = [this](const PlanPoint& p) {
        return show_codes_ && !p.code.isEmpty() ? p.name + QStringLiteral("  ") + p.code : p.name;
    };
    const int selected = point_of_row(selected_row_);
    if (selected >= 0) {
        const PlanPoint& p = points_.points[selected];
        const QString label = label_of(p);
        const QPointF at = view.to_screen(p.position);
        const QRectF rect(at.x() + 9, at.y() - metrics.height() + 2, QFontMetricsF(bold).horizontalAdvance(label),
                          metrics.height());
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

void PlanView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoom_at(event->position(), std::pow(kWheelStep, notches));
    event->accept();
}

void PlanView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    pressed_ = true;
    dragging_ = false;
    press_at_ = last_drag_at_ = event->pos();
}

void PlanView::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_)
        return QWidget::mouseMoveEvent(event);
    if (!dragging_ && (event->pos() - press_at_).manhattanLength() < kDragThreshold)
        return;
    dragging_ = true;
    setCursor(Qt::ClosedHandCursor);
    pan_by(event->pos() - last_drag_at_);
    last_drag_at_ = event->pos();
}

void PlanView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return QWidget::mouseReleaseEvent(event);
    pressed_ = false;
    unsetCursor();
    if (!dragging_)
        pick(event->pos());
    dragging_ = false;
}

void PlanView::pick(const QPoint& screen)
{
    const int row = row_at(screen);
    if (row < 0)
        return;
    set_selected_row(row);
    emit row_picked(row);
}

void PlanView::keyPressEvent(QKeyEvent* event)
{
    const QPointF middle(width() / 2.0, height() / 2.0);
    const double step = std::min(width(), height()) / 8.0;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoom_at(middle, kWheelStep);
        break;
    case Qt::Key_Minus:
        zoom_at(middle, 1 / kWheelStep);
        break;
    case Qt::Key_Left:
        pan_by(QPointF(step, 0));
        break;
    case Qt::Key_Right:
        pan_by(QPointF(-step, 0));
        break;
    case Qt::Key_Up:
        pan_by(QPointF(0, step));
        break;
    case Qt::Key_Down:
        pan_by(QPointF(0, -step));
        break;
    case Qt::Key_F:
    case Qt::Key_Home:
        fit_to_points();
        break;
    case Qt::Key_C:
        set_show_codes(!show_codes_);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PlanView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(text(kFitText), this, &PlanView::fit_to_points);
    QAction* codes = menu.addAction(text(kCodesText), this, [this](bool on) { set_show_codes(on); });
    codes->setCheckable(true);
    codes->setChecked(show_codes_);
    menu.addSeparator();
    menu.addAction(text(kPngText), this, [this] { export_as(false); });
    menu.addAction(text(kSvgText), this, [this] { export_as(true); });
    menu.exec(event->globalPos());
}

void PlanView::export_as(bool svg)
{
    QString path = get_save_file_name(this, text(svg ? kSvgText : kPngText), QDir::currentPath(),
                                      text(svg ? kSvgFilter : kPngFilter));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    if (svg)
        export_svg(path);
    else
        export_png(path);
}

bool PlanView::export_png(const QString& path)
{
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        render_plan(&painter, image.size());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return write_file(path, bytes);
}

bool PlanView::export_svg(const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size());
    generator.setViewBox(QRect(QPoint(0, 0), size()));
    generator.setTitle(text(kTitleText));
    {
        QPainter painter(&generator);
        render_plan(&painter, size());
    }
    return write_file(path, bytes);
}

bool PlanView::write_file(const QString& path, const QByteArray& bytes)
{
    // Written whole or not at all: an existing file is replaced only by a complete one.
    QSaveFile file(path);
    if (!bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    show_warning(this, text(kTitleText), text(kWriteFailedText).arg(QDir::toNativeSeparators(path)));
    return false;
}
