// The plan view: the point table's points drawn at (E, N), north up, one scale on both axes, with
// names (and codes on request), station and backsight symbols, a scale bar and a north arrow. It
// follows the table's rows as they change and draws only what the view shows. The widget's methods are
// in plan/planview.cpp (rows, selection, view), plan/plandrawing.cpp and plan/planinput.cpp (input, export).
#ifndef PLANVIEW_H
#define PLANVIEW_H

#include "data/plangrid.h"
#include "data/planpoints.h"
#include "data/plantransform.h"
#include "survey/codelist.h"

#include <QColor>
#include <QPoint>
#include <QPolygonF>
#include <QStringList>
#include <QWidget>
#include <climits>
#include <memory>
#include <vector>

class LineworkBuilder;
class QPainter;
class QTableWidget;

class PlanView : public QWidget
{
    Q_OBJECT

public:
    // Draws the rows of `table`, read by `columns`; `labels` tell stations and backsights apart.
    PlanView(QTableWidget* table, const PlanColumns& columns, const PlanKindLabels& labels, QWidget* parent = nullptr);
    ~PlanView() override;

    // The plan's texts: point count, rows left out, the context menu's entries, the export filters,
    // the write failure message, the scale bar's unit, the north arrow's letter, the drawing title.
    void set_texts(const QStringList& texts);
    // The counts of the status in the form for one and the form for others: points (entries 0 and 1),
    // rows left out (2 and 3). Without them the status takes its two counts from the plan's texts.
    void set_count_texts(const QStringList& texts);

    // The highlighted row (-1 for none). A row whose point lies outside the view is brought into it.
    void set_selected_row(int row);
    int selected_row() const { return selected_row_; }

    // Shows every point and keeps doing so as points come, until the user zooms or pans.
    void fit_to_points();
    void zoom_at(const QPointF& screen, double factor);
    void pan_by(const QPointF& delta);
    void set_show_codes(bool on);
    bool show_codes() const { return show_codes_; }

    // The code list the points' codes are joined by into lines and areas, drawn under the points in
    // their colours; with an empty list there is no linework.
    void set_code_list(const CodeList& codes);
    void set_show_linework(bool on);
    bool show_linework() const { return show_linework_; }
    // The linework of the rows as they stand: added to as rows arrive, built again after other changes.
    const LineworkBuilder& linework();

    // The points, the view and the status as they stand after the table's latest changes.
    const PlanPoints& plan_points();
    const PlanTransform& view_transform();
    QString status_text();
    // The table row of the point drawn nearest `screen` (within a few pixels), or -1.
    int row_at(const QPoint& screen);

    // Draws the current view into `painter`, whose device is `size` pixels.
    void render_plan(QPainter* painter, const QSize& size);
    // Writes the current view; false (and the user told) when the file cannot be written.
    bool export_png(const QString& path);
    bool export_svg(const QString& path);

signals:
    // The user picked the point of `row` on the plan.
    void row_picked(int row);
    // The mouse is over the world place `world` (x = E, y = N); with mouse tracking on, also when no
    // button is down.
    void cursor_moved(const QPointF& world);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
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

    // The rows from `row` on are to be read again.
    void rows_changed_from(int row);
    // Reads the rows that changed, when any did.
    void refresh();
    void user_moved_view();
    // Brings the linework up to the rows read, from `row` on.
    void refresh_linework(int row);
    void draw_linework(QPainter* painter, const PlanTransform& view);
    void draw_points(QPainter* painter, const PlanTransform& view, const QSize& size);
    void draw_labels(QPainter* painter, const PlanTransform& view, const std::vector<int>& shown);
    void draw_scale_bar(QPainter* painter, const PlanTransform& view, const QSize& size);
    void draw_north_arrow(QPainter* painter, const QSize& size);
    // Where the north arrow, the scale bar and the status text are drawn: no name goes there.
    QRectF north_arrow_rect(const QSize& size) const;
    QRectF scale_bar_rect(const QSize& size) const;
    QRectF status_rect(const QSize& size);
    void pick(const QPoint& screen);
    void export_as(bool svg);
    bool write_file(const QString& path, const QByteArray& bytes);
    QString text(int index) const { return texts_.value(index); }
    int point_of_row(int row) const;

    QTableWidget* table_;
    PlanColumns columns_;
    PlanKindLabels labels_;
    QStringList texts_;
    QStringList count_texts_;
    PlanPoints points_;
    PlanGrid grid_;
    QRectF bounds_;
    PlanTransform view_;
    int stale_from_ = 0; // INT_MAX when every row has been read
    bool following_ = true;
    bool show_codes_ = false;

    // A drawable line or area of the linework in plan coordinates.
    struct LineworkShape {
        QPolygonF world;
        QRectF bounds;
        QColor colour;
        bool closed = false;
    };
    std::unique_ptr<LineworkBuilder> linework_;
    int linework_rows_ = 0; // the rows the linework has been given
    std::vector<LineworkShape> shapes_;
    bool show_linework_ = true;
    int selected_row_ = -1;
    QPoint press_at_;
    QPoint last_drag_at_;
    bool pressed_ = false;
    bool dragging_ = false;
};

#endif // PLANVIEW_H
