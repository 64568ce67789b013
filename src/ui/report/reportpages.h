// The job report laid out on pages of any paged device (a PDF writer, a printer, the print preview):
// the title page, the plan, the point table with its header on every page, the checks, each page with
// its number. The page count is known from the row and line counts alone, so any page is drawn
// without laying out the ones before it. Coordinates are points (1/72 inch) from the page's printable
// area's top left.
#ifndef REPORTPAGES_H
#define REPORTPAGES_H

#include "report/jobreport.h"

#include <QFont>
#include <QPageLayout>
#include <QSizeF>
#include <functional>

class QPagedPaintDevice;
class QPainter;

class ReportPages
{
public:
    // `report` must outlive the pages; `area` is the printable area in points.
    ReportPages(const JobReport& report, const QSizeF& area);

    int page_count() const { return 2 + table_pages_ + check_pages_; }
    // Draws page `page` (from 0) into `painter`, whose units are points from the printable area's top left.
    void draw_page(QPainter* painter, int page) const;
    // The scale the plan is drawn at (the fitted one when the report fits the plan to the page).
    int plan_scale() const { return plan_scale_; }

private:
    struct CheckLine {
        QString text;
        bool heading = false;
    };
    void draw_frame(QPainter* painter, int page, const QString& heading) const;
    void draw_title(QPainter* painter) const;
    void draw_plan(QPainter* painter) const;
    void draw_table(QPainter* painter, int table_page) const;
    void draw_checks(QPainter* painter, int check_page) const;
    QRectF body() const; // below the page heading, above the page number

    const JobReport& report_;
    QSizeF area_;
    QVector<double> column_widths_;
    int rows_per_page_ = 1;
    int table_pages_ = 1;
    QVector<CheckLine> check_lines_;
    int lines_per_page_ = 1;
    int check_pages_ = 1;
    double plan_points_per_metre_ = 1;
    int plan_scale_ = 0;
};

// The plan page's drawing: the points, their names, the linework, grid, scale bar and north arrow of
// `report` in `frame`, `per_metre` points to a metre around the points' centre: report/reportplan.cpp
void draw_report_plan(QPainter* painter, const JobReport& report, const QRectF& frame, double per_metre);
// The scale of the fitted plan, points to a metre, for `frame`.
double fitted_points_per_metre(const JobReport& report, const QSizeF& frame);

// The report's font of `pixels` points (the painter's units), without ligatures.
QFont report_font(int pixels, bool bold = false);

// A4, or Letter where the locale measures in US units; portrait, margins of 15 mm.
QPageLayout report_page_layout();

// Draws every page of `report` onto `device`, which has the page size and margins set; `progress(done,
// total)` after each page returns false to stop. False (with `error` set when the device failed) when
// the report was stopped or could not be drawn.
bool paint_report(QPagedPaintDevice* device, const JobReport& report, const std::function<bool(int, int)>& progress,
                  QString* error, int* pages = nullptr);
// Writes the report as a PDF file; the file that stood at `path` is kept unless the new one is complete.
bool write_report_pdf(const JobReport& report, const QString& path, const std::function<bool(int, int)>& progress,
                      QString* error, int* pages = nullptr);

#endif // REPORTPAGES_H
