// The plan view widget: following the table's rows as they change, the selection, and the view's
// zoom, pan and fit.
#include "plan/planview.h"

#include "config/countedtext.h"
#include "survey/linework.h"
#include "table/tablerows.h"

#include <QTableWidget>
#include <algorithm>
#include <cmath>

namespace
{

constexpr double kFitMargin = 30;
constexpr double kPickRadius = 8;

} // namespace

PlanView::PlanView(QTableWidget* table, const PlanColumns& columns, const PlanKindLabels& labels, QWidget* parent)
    : QWidget(parent), table_(table), columns_(columns), labels_(labels)
{
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(160, 160);
    setAttribute(Qt::WA_OpaquePaintEvent);
    follow_row_changes(table_->model(), this, [this](int first) { rows_changed_from(first); });
}

PlanView::~PlanView() = default;

void PlanView::set_texts(const QStringList& texts)
{
    texts_ = texts;
    update();
}

void PlanView::set_count_texts(const QStringList& texts)
{
    count_texts_ = texts;
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
        const auto cell = [this, row](int column) { return cell_text(table_, row, column); };
        if (plan_point_of_row(columns_, labels_, cell, row, &point))
            points_.points.append(point);
        else if (has_no_place_by_design(columns_, labels_, cell))
            points_.uncounted_rows.append(row);
        else
            ++points_.rows_left_out;
    }
    refresh_linework(stale_from_);
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
    const bool counted = count_texts_.size() >= 4;
    QString status =
        counted ? counted_text(count_texts_, 0, points_.points.size()) : text(kPointsText).arg(points_.points.size());
    if (points_.rows_left_out > 0) {
        status += QStringLiteral("  ") + (counted ? counted_text(count_texts_, 2, points_.rows_left_out)
                                                  : text(kLeftOutText).arg(points_.rows_left_out));
    }
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
