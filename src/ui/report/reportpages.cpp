// The report's pages: the title block, the point table and the checks; the plan's drawing is in
// report/reportplan.cpp, the devices in report/reportpdf.cpp.
#include "report/reportpages.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace
{

constexpr double kHeadingHeight = 28; // the page's heading, points
constexpr double kFooterHeight = 16;  // the page number
constexpr double kTableRow = 11;
constexpr double kCheckLine = 12;
constexpr int kTablePixels = 8;
constexpr int kBodyPixels = 9;
constexpr int kMeasuredRows = 2000; // rows measured for the table's column widths
constexpr double kCellPad = 4;

} // namespace

QFont report_font(int pixels, bool bold)
{
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    // No ligatures: the PDF's text is searched and copied ("fi", not one glyph for both). Not in a
    // right-to-left language: without shaping its letters would not join, nor its words run right to left.
    if (QGuiApplication::layoutDirection() != Qt::RightToLeft)
        font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

ReportPages::ReportPages(const JobReport& report, const QSizeF& area) : report_(report), area_(area)
{
    const double height = body().height();
    rows_per_page_ = std::max(1, int(height / kTableRow) - 1); // one row for the header
    table_pages_ = std::max(1, int((report.table.size() + rows_per_page_ - 1) / rows_per_page_));

    // Each column as wide as its widest text among the header and the first rows, scaled to the page.
    const QFontMetricsF metrics(report_font(kTablePixels));
    const QFontMetricsF bold(report_font(kTablePixels, true));
    column_widths_.fill(0, report.header.size());
    for (int c = 0; c < report.header.size(); ++c)
        column_widths_[c] = bold.horizontalAdvance(report.header[c]);
    const int measured = std::min(int(report.table.size()), kMeasuredRows);
    for (int r = 0; r < measured; ++r) {
        for (int c = 0; c < report.header.size(); ++c)
            column_widths_[c] = std::max(column_widths_[c], metrics.horizontalAdvance(report.table[r].value(c)));
    }
    double total = 0;
    for (double& width : column_widths_)
        total += (width += 2 * kCellPad);
    if (total > 0) {
        for (double& width : column_widths_)
            width *= area.width() / total;
    }

    for (const ReportSection& section : report.checks) {
        check_lines_.append({section.heading, true});
        if (section.lines.isEmpty())
            check_lines_.append({report.texts.value(kNoFindings), false});
        for (const QString& line : section.lines)
            check_lines_.append({line, false});
    }
    lines_per_page_ = std::max(1, int(height / kCheckLine));
    check_pages_ = std::max(1, int((check_lines_.size() + lines_per_page_ - 1) / lines_per_page_));

    const QRectF plan = body();
    plan_points_per_metre_ =
        report.scale > 0 ? 72000.0 / 25.4 / report.scale : fitted_points_per_metre(report, plan.size());
    plan_scale_ = int(std::lround(72000.0 / 25.4 / plan_points_per_metre_));
}

QRectF ReportPages::body() const
{
    return QRectF(0, kHeadingHeight, area_.width(), area_.height() - kHeadingHeight - kFooterHeight);
}

void ReportPages::draw_page(QPainter* painter, int page) const
{
    painter->save();
    if (page == 0) {
        draw_frame(painter, page, report_.texts.value(kReportTitle));
        draw_title(painter);
    } else if (page == 1) {
        const QString scale = report_.texts.value(report_.scale > 0 ? kScaleFixed : kScaleFit).arg(plan_scale_);
        draw_frame(painter, page, report_.texts.value(kPlanTitle) + QStringLiteral("  ") + scale);
        draw_plan(painter);
    } else if (page < 2 + table_pages_) {
        draw_frame(painter, page, report_.texts.value(kTableTitle));
        draw_table(painter, page - 2);
    } else {
        draw_frame(painter, page, report_.texts.value(kChecksTitle));
        draw_checks(painter, page - 2 - table_pages_);
    }
    painter->restore();
}

void ReportPages::draw_frame(QPainter* painter, int page, const QString& heading) const
{
    painter->setPen(Qt::black);
    painter->setFont(report_font(14, true));
    painter->drawText(QRectF(0, 0, area_.width() * 0.7, kHeadingHeight - 6), Qt::AlignLeft | Qt::AlignBottom, heading);
    painter->setFont(report_font(kBodyPixels));
    const QString job = report_.title.isEmpty() ? QString() : report_.title.first().second;
    painter->drawText(QRectF(area_.width() * 0.7, 0, area_.width() * 0.3, kHeadingHeight - 6),
                      Qt::AlignRight | Qt::AlignBottom, job);
    painter->setPen(QPen(Qt::black, 0.8));
    painter->drawLine(QPointF(0, kHeadingHeight - 3), QPointF(area_.width(), kHeadingHeight - 3));
    const QString number = report_.texts.value(kPageNumber).arg(page + 1).arg(page_count());
    painter->drawText(QRectF(0, area_.height() - kFooterHeight + 4, area_.width(), kFooterHeight - 4),
                      Qt::AlignHCenter | Qt::AlignBottom, number);
}

void ReportPages::draw_title(QPainter* painter) const
{
    const QRectF area = body();
    double y = area.top() + 24;
    const QFont label = report_font(11, true);
    const QFont value = report_font(11);
    const double label_width = area.width() * 0.3;
    for (const auto& field : report_.title) {
        painter->setFont(label);
        painter->drawText(QRectF(0, y, label_width, 18), Qt::AlignLeft | Qt::AlignTop, field.first);
        painter->setFont(value);
        const QRectF room(label_width, y, area.width() - label_width, area.bottom() - y);
        const QRectF used = painter->boundingRect(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, field.second);
        painter->drawText(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, field.second);
        y += std::max(18.0, used.height() + 6);
    }
}

void ReportPages::draw_plan(QPainter* painter) const
{
    draw_report_plan(painter, report_, body(), plan_points_per_metre_);
}

void ReportPages::draw_table(QPainter* painter, int table_page) const
{
    const QRectF area = body();
    const QFont bold = report_font(kTablePixels, true);
    const QFont plain = report_font(kTablePixels);
    const auto draw_row = [&](const QStringList& cells, double y) {
        double x = 0;
        for (int c = 0; c < column_widths_.size(); ++c) {
            const QRectF cell(x + kCellPad, y, column_widths_[c] - 2 * kCellPad, kTableRow);
            const QString text =
                painter->fontMetrics().elidedText(cells.value(c), Qt::ElideRight, int(std::floor(cell.width())) + 1);
            painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
            x += column_widths_[c];
        }
    };
    painter->setFont(bold);
    draw_row(report_.header, area.top());
    painter->setPen(QPen(Qt::black, 0.5));
    painter->drawLine(QPointF(0, area.top() + kTableRow), QPointF(area_.width(), area.top() + kTableRow));
    painter->setFont(plain);
    const int first = table_page * rows_per_page_;
    const int last = std::min(int(report_.table.size()), first + rows_per_page_);
    for (int r = first; r < last; ++r) {
        const double y = area.top() + kTableRow * (r - first + 1);
        if ((r - first) % 2 == 1)
            painter->fillRect(QRectF(0, y, area_.width(), kTableRow), QColor(242, 242, 242));
        draw_row(report_.table[r], y);
    }
}

void ReportPages::draw_checks(QPainter* painter, int check_page) const
{
    const QRectF area = body();
    const QFont bold = report_font(10, true);
    const QFont plain = report_font(kBodyPixels);
    const int first = check_page * lines_per_page_;
    const int last = std::min(int(check_lines_.size()), first + lines_per_page_);
    for (int i = first; i < last; ++i) {
        const CheckLine& line = check_lines_[i];
        painter->setFont(line.heading ? bold : plain);
        const double indent = line.heading ? 0 : 12;
        const QRectF rect(indent, area.top() + kCheckLine * (i - first), area.width() - indent, kCheckLine);
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(line.text, Qt::ElideRight, int(rect.width())));
    }
}
