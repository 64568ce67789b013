// The report on a paged device: every page in turn with the painter in points, and the PDF file
// written beside its path and put in place only when complete.
#include "report/reportpages.h"

#include "data/replacefile.h"

#include <QLocale>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace
{

// Passes the PDF writer's bytes on with write_all: the writer does not look at what a write returns,
// so a short write (a disk filling up) would otherwise leave a cut file that counts as written.
class CheckedDevice : public QIODevice
{
public:
    explicit CheckedDevice(QIODevice* target) : target_(target) { open(QIODevice::WriteOnly); }
    const QString& error() const { return error_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (!error_.isEmpty() || !write_all(*target_, data, size, &error_))
            return -1;
        return size;
    }

private:
    QIODevice* target_;
    QString error_;
};

} // namespace

QPageLayout report_page_layout()
{
    const QPageSize size(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                            : QPageSize::A4);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

bool paint_report(QPagedPaintDevice* device, const JobReport& report, const std::function<bool(int, int)>& progress,
                  QString* error, int* pages)
{
    const QRectF area = device->pageLayout().paintRect(QPageLayout::Point);
    const ReportPages layout(report, area.size());
    if (pages)
        *pages = layout.page_count();
    QPainter painter;
    if (!painter.begin(device)) {
        if (error)
            *error = QStringLiteral("the device cannot be drawn on");
        return false;
    }
    const double dots = device->logicalDpiX() / 72.0;
    for (int page = 0; page < layout.page_count(); ++page) {
        if (page > 0 && !device->newPage()) {
            if (error)
                *error = QStringLiteral("no new page");
            painter.end();
            return false;
        }
        painter.resetTransform();
        painter.scale(dots, device->logicalDpiY() / 72.0);
        layout.draw_page(&painter, page);
        if (progress && !progress(page + 1, layout.page_count())) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

bool write_report_pdf(const JobReport& report, const QString& path, const std::function<bool(int, int)>& progress,
                      QString* error, int* pages)
{
    std::unique_ptr<QFileDevice> file = replacement_file(path);
    if (!file->open(QIODevice::WriteOnly)) {
        *error = file->errorString();
        return false;
    }
    bool painted = false;
    CheckedDevice checked(file.get());
    {
        QPdfWriter writer(&checked);
        writer.setResolution(600);
        writer.setPageLayout(report_page_layout());
        writer.setTitle(report.texts.value(kReportTitle));
        writer.setCreator(report.title.size() > 4 ? report.title[4].second : QString());
        painted = paint_report(&writer, report, progress, error, pages);
    }
    if (!painted) {
        cancel_replacement(*file);
        return false;
    }
    if (!checked.error().isEmpty()) {
        *error = checked.error();
        cancel_replacement(*file);
        return false;
    }
    return commit_replacement(*file, error);
}
