// The plan's input and output: the wheel, the mouse and the keys, picking a point, the context menu
// and the export of the view as PNG or SVG.
#include "data/replacefile.h"
#include "plan/planview.h"

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
#include <QSvgGenerator>
#include <QWheelEvent>
#include <cmath>

namespace
{

constexpr int kDragThreshold = 3;
constexpr double kWheelStep = 1.25; // zoom per wheel notch

} // namespace

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
    emit cursor_moved(view_transform().to_world(event->pos()));
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
    // A device or a pipe is written straight through (data/replacefile.h).
    const std::unique_ptr<QFileDevice> file = replacement_file(path);
    QString error;
    if (!bytes.isEmpty() && file->open(QIODevice::WriteOnly) &&
        write_all(*file, bytes.constData(), bytes.size(), &error) && commit_replacement(*file, &error))
        return true;
    show_warning(this, text(kTitleText), text(kWriteFailedText).arg(QDir::toNativeSeparators(path)));
    return false;
}
