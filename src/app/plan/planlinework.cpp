// The plan's linework: the rows' codes joined by the code list into lines and areas, kept up to date
// as rows arrive, and drawn under the points in the colours of their codes.
#include "plan/planview.h"

#include "survey/acicolour.h"
#include "survey/linework.h"
#include "table/tablerows.h"

#include <QPainter>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

// Screen pixels of linework up to which lines are drawn smooth (about 100 times across the plan).
constexpr double kSmoothLinesLength = 200000;

} // namespace

void PlanView::set_code_list(const CodeList& codes)
{
    linework_ = std::make_unique<LineworkBuilder>(codes);
    linework_rows_ = 0;
    stale_from_ = 0; // every row is joined again with the new list
    update();
}

void PlanView::set_show_linework(bool on)
{
    show_linework_ = on;
    update();
}

const LineworkBuilder& PlanView::linework()
{
    if (!linework_)
        linework_ = std::make_unique<LineworkBuilder>(CodeList());
    refresh();
    return *linework_;
}

void PlanView::refresh_linework(int row)
{
    if (!linework_)
        return;
    // Rows that arrive are added at the end; any other change joins every row again, in row order.
    if (row < linework_rows_) {
        linework_->clear();
        linework_rows_ = 0;
    }
    const int rows = table_->rowCount();
    if (linework_rows_ >= rows && row >= rows)
        return;
    for (int r = linework_rows_; r < rows; ++r) {
        const auto cell = [this, r](int column) { return cell_text(table_, r, column); };
        if (is_setup_record(columns_, labels_, cell))
            continue;
        linework_->add(r, cell(columns_.name_column), cell(columns_.code_column), cell(columns_.n_column),
                       cell(columns_.e_column), cell(columns_.z_column));
    }
    linework_rows_ = rows;

    shapes_.clear();
    const CodeList& codes = linework_->codes();
    for (const LineworkLine& line : linework_->lines()) {
        if (!line.drawable())
            continue;
        LineworkShape shape;
        shape.world.reserve(line.vertices.size());
        for (const LineworkVertex& vertex : line.vertices)
            shape.world.append(QPointF(vertex.e, vertex.n));
        shape.closed = line.closed || line.area;
        shape.bounds = shape.world.boundingRect();
        const AciRgb rgb = aci_colour(codes.entries().value(line.entry).colour);
        shape.colour = QColor(rgb.red, rgb.green, rgb.blue);
        shapes_.push_back(std::move(shape));
    }
}

void PlanView::draw_linework(QPainter* painter, const PlanTransform& view)
{
    if (!show_linework_ || shapes_.empty())
        return;
    const QRectF world = view.visible_world();
    // The segments in view on the screen, by colour: one drawing call a colour costs far less than
    // one a line. Their length together decides whether they are smoothed.
    std::vector<std::pair<QRgb, QVector<QLineF>>> by_colour;
    double length = 0;
    for (const LineworkShape& shape : shapes_) {
        // A line lying along an axis has an empty rectangle: compare the extents, not the rectangles.
        if (shape.bounds.left() > world.right() || shape.bounds.right() < world.left() ||
            shape.bounds.top() > world.bottom() || shape.bounds.bottom() < world.top())
            continue;
        const QRgb rgb = shape.colour.rgb();
        auto found = std::find_if(by_colour.begin(), by_colour.end(), [rgb](const auto& c) { return c.first == rgb; });
        if (found == by_colour.end())
            found = by_colour.insert(by_colour.end(), {rgb, {}});
        QVector<QLineF>& segments = found->second;
        const int count = shape.world.size();
        QPointF from = view.to_screen(shape.world[0]);
        const QPointF first = from;
        for (int i = 1; i <= count; ++i) {
            if (i == count && (!shape.closed || count < 3))
                break;
            const QPointF to = i < count ? view.to_screen(shape.world[i]) : first;
            segments.append(QLineF(from, to));
            length += std::abs(to.x() - from.x()) + std::abs(to.y() - from.y());
            from = to;
        }
    }
    painter->save();
    // Smooth lines cost time by the pixel: lines that cross the plan many times over (points of one
    // code spread over the whole site) are drawn plain, so that a frame stays quick.
    painter->setRenderHint(QPainter::Antialiasing, length < kSmoothLinesLength);
    for (const auto& [rgb, segments] : by_colour) {
        QPen pen{QColor(rgb), 1.5};
        pen.setCosmetic(true);
        painter->setPen(pen);
        painter->drawLines(segments);
    }
    painter->restore();
}
