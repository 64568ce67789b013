// The job report in the window: Print, Print preview and Export report as PDF. Each asks the plan's
// scale and the title page's note (kept in config.xml), gathers the table's rows into the report and
// lays it out page by page; a table of very many rows is asked about first, and writing can be cancelled.
#include "config/prompts.h"
#include "config/runtimefiles.h"
#include "config/settingwriter.h"
#include "config/xml_analysis.h"
#include "data/pointrows.h"
#include "data/replacefile.h"
#include "data/tablecolumns.h"
#include "modal/modal.h"
#include "report/reportoptionsdialog.h"
#include "report/reportpages.h"
#include "window/mainwindow.h"

#include "ui_mainwindow.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTableWidget>

namespace
{

constexpr int kAskFromRows = 100000;
constexpr int kRowsPerPage = 60; // about, for the question before a large report

const int kObservationTable[] = {ObsColumn::Kind,
                                 ObsColumn::Name,
                                 ObsColumn::Code,
                                 ObsColumn::North,
                                 ObsColumn::East,
                                 ObsColumn::Height,
                                 ObsColumn::InstrumentHeight,
                                 ObsColumn::ReflectorHeight,
                                 ObsColumn::BacksightAngle,
                                 ObsColumn::HorizontalAngle,
                                 ObsColumn::VerticalAngle,
                                 ObsColumn::SlopeDistance,
                                 ObsColumn::HorizontalDistance,
                                 ObsColumn::VerticalDistance};

} // namespace

ReportInput MainWindow::report_input()
{
    ReportInput input;
    const QList<QStringList> rows = table_texts();
    input.rows = QVector<QStringList>(rows.begin(), rows.end());
    for (int column = 0; column < tableWidget->columnCount(); ++column) {
        const QTableWidgetItem* item = tableWidget->horizontalHeaderItem(column);
        input.captions << (item ? item->text() : QString());
    }
    const QString station = get_map_data("STN", CoordinateType), backsight = get_map_data("BK", CoordinateType);
    input.observation = table_layout(InstrumentType) == TableLayout::Observation;
    if (input.observation) {
        input.table_columns = QVector<int>(std::begin(kObservationTable), std::end(kObservationTable));
        input.plan_columns = observation_plan_columns();
        input.suspect_columns = observation_suspect_columns({station, backsight, "STN", "BK"});
        input.kinds = {station, backsight, get_map_data("MP", CoordinateType)};
    } else {
        input.table_columns = QVector<int>(kCoordinatePointColumns.begin(), kCoordinatePointColumns.end());
        input.plan_columns = coordinate_plan_columns();
        input.suspect_columns = coordinate_suspect_columns();
    }
    input.plan_labels = {station, backsight};
    input.codes = code_list;
    input.resolutions = duplicate_resolutions;
    for (const QStringList& cells : input.rows) {
        if (input.observation && !cells.value(ObsColumn::Job).isEmpty()) {
            input.job = cells.value(ObsColumn::Job);
            break;
        }
    }
    if (input.job.isEmpty())
        input.job = QFileInfo(ui->lineEdit->text()).completeBaseName();
    input.when = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm");
    input.instrument = InstrumentType;
    input.program = QStringLiteral("ktlink ") + version_number;
    input.crs = coordinate_system;
    return input;
}

bool MainWindow::prepare_report(JobReport* report)
{
    const QStringList texts = get_parametretitle("ReportTexts");
    const int rows = tableWidget->rowCount();
    if (rows >= kAskFromRows &&
        ask_question(this, getpopup_prompt(Prompt::ProgramName),
                     texts.value(kAskLarge).arg(rows).arg(rows / kRowsPerPage + 3)) != QMessageBox::Yes)
        return false;
    if (!report_options_read) {
        xml_analysis xml;
        report_scale = xml.get_config(config_file_to_read(exe_path), "reportscale").toInt();
        report_note = xml.get_config(config_file_to_read(exe_path), "reportnote");
        report_options_read = true;
    }
    ReportOptionsDialog options(texts, report_scale, report_note, this);
    if (options.exec() != QDialog::Accepted)
        return false;
    if (options.scale() != report_scale || options.note() != report_note) {
        report_scale = options.scale();
        report_note = options.note();
        QString error;
        if (!replace_setting(settings_file(), "reportscale", QString::number(report_scale), &error) ||
            !replace_setting(settings_file(), "reportnote", report_note, &error))
            show_statemsg(texts.value(kNotSaved).arg(settings_file(), error), Status::Message);
    }
    ReportInput input = report_input();
    input.scale = report_scale;
    input.note = report_note;
    *report = build_job_report(input, texts);
    return true;
}

bool MainWindow::paint_report_with_progress(QPagedPaintDevice* device, const JobReport& report, QString* error,
                                            int* pages)
{
    QProgressDialog progress(report.texts.value(kLayingOut), report.texts.value(kCancelText), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    return paint_report(
        device, report,
        [&progress](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        },
        error, pages);
}

void MainWindow::program_exportreport()
{
    JobReport report;
    if (!prepare_report(&report))
        return;
    const QString path = get_save_file_name(this, report.texts.value(kExportCaption), file_dialog_folder(),
                                            report.texts.value(kPdfFilter));
    if (!path.isEmpty())
        export_report(report, path);
}

bool MainWindow::export_report(const JobReport& report, const QString& path)
{
    const bool existed = QFileInfo::exists(path);
    QProgressDialog progress(report.texts.value(kLayingOut), report.texts.value(kCancelText), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    bool cancelled = false;
    QString error;
    int pages = 0;
    const bool written = write_report_pdf(
        report, path,
        [&](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            cancelled = progress.wasCanceled();
            return !cancelled;
        },
        &error, &pages);
    if (written) {
        remember_file(path, false);
        show_statemsg(report.texts.value(kWritten).arg(path).arg(pages), Status::Message);
        return true;
    }
    if (cancelled) {
        show_statemsg(report.texts.value(kCancelled), Status::Message);
        return false;
    }
    const bool kept = after_failed_write(path, existed) == AfterFailedWrite::OldFileKept;
    show_warning(this, getpopup_prompt(Prompt::ProgramName),
                 report.texts.value(kept ? kNotWritten : kNotWrittenNew).arg(path, error));
    return false;
}

void MainWindow::program_print()
{
    JobReport report;
    if (!prepare_report(&report))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report_page_layout());
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString error;
    if (!paint_report_with_progress(&printer, report, &error, nullptr) && !error.isEmpty())
        show_warning(this, getpopup_prompt(Prompt::ProgramName), report.texts.value(kNotPrinted).arg(error));
}

void MainWindow::program_printpreview()
{
    JobReport report;
    if (!prepare_report(&report))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report_page_layout());
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName("reportPreview");
    preview.setWindowTitle(report.texts.value(kReportTitle));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, &report](QPrinter* device) {
        QString error;
        paint_report_with_progress(device, report, &error, nullptr);
    });
    preview.resize(900, 700);
    preview.exec();
}
