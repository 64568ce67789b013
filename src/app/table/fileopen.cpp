// Opening a point file into the table, and telling what the file commands met: the outcome in the
// status line, what was changed or left out in one message, a refusal in a warning.
#include "applog.h"
#include "config/prompts.h"
#include "data/fileoperation.h"
#include "data/linefields.h"
#include "data/pointformats.h"
#include "formats/geoformats.h"
#include "modal/modal.h"
#include "table/filetexts.h"
#include "table/tablerows.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QFileInfo>
#include <QTableWidget>

namespace
{

// Findings that change nothing in the points: the status line says them. The others (what was
// replaced, left out, or lies outside the system) are shown in a message as well.
bool is_note(FileFinding kind)
{
    return kind == FileFinding::Encoding || kind == FileFinding::LayerChosen || kind == FileFinding::Transformed ||
           kind == FileFinding::WrittenWithoutCrs || kind == FileFinding::DxfNamesFromTexts;
}

// Lines that are not blank and fill no row of `shape`.
int lines_without_row(const QStringList& lines, const RowShape& shape)
{
    int skipped = 0;
    for (const QString& line : lines) {
        if (!LineFields(line, shape.fields).has(shape.fields) && !line.trimmed().isEmpty())
            ++skipped;
    }
    return skipped;
}

} // namespace

void MainWindow::tell_file_outcome(const QString& summary, const QString& heading,
                                   const QList<FileFindingText>& findings, const QStringList& left_out)
{
    const QStringList texts = get_parametretitle("FileFindingMsg");
    const QStringList words = get_parametretitle("FileCommandMsg");
    QStringList notes{summary};
    QStringList changes = left_out;
    for (const FileFindingText& finding : findings)
        (is_note(finding.kind) ? notes : changes) << finding_in_texts(texts, finding);
    show_statemsg(notes.join(words.value(FileText::Separator)), Status::Message);
    if (!changes.isEmpty())
        show_information(this, getpopup_prompt(Prompt::ProgramName), heading + "\n" + changes.join("\n"));
}

bool MainWindow::open_point_file(const QString& path)
{
    // A workbook has no fixed columns: the user confirms them in the import dialog.
    if (is_workbook_suffix(QFileInfo(path).suffix()))
        return import_file(path);
    const QString suffix = QFileInfo(path).suffix();
    if (table_layout(InstrumentType) == TableLayout::Observation &&
        suffix.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0 && open_survey_data(path))
        return true;
    FileOperation files;
    files.crs = coordinate_system;
    const QStringList lines = files.readfile_byextension(path, suffix);
    if (!files.last_read_ok) {
        // The table keeps its rows: nothing of the file was read.
        const FileFindingText refusal = read_refusal(files.last_read, files.last_layer, files.last_error);
        show_warning(this, getpopup_prompt(Prompt::ProgramName),
                     getpopup_prompt(Prompt::FileNotRead)
                         .arg(path, finding_in_texts(get_parametretitle("FileFindingMsg"), refusal)));
        return false;
    }
    const TableLayout layout = table_layout(InstrumentType);
    // The layer formats and decimal-comma text give point lines, which fill the point columns of either
    // layout.
    const bool point_lines =
        PointFormat::for_suffix(suffix).kind() == PointFormat::Layer || files.reads_decimal_commas(path, suffix);
    const RowShape& shape =
        layout == TableLayout::Observation && !point_lines ? observation_line_shape() : point_line_shape(layout);
    load_table_rows(shape, lines, path);
    remember_file(path);

    QList<FileFindingText> findings = read_findings(files.last_read, files.last_layer);
    if (const int skipped = lines_without_row(lines, shape))
        findings.append({FileFinding::LinesSkipped, {QString::number(skipped), QString::number(shape.fields)}});
    const QStringList words = get_parametretitle("FileCommandMsg");
    tell_file_outcome(words.value(FileText::Opened).arg(path, counted_rows()),
                      words.value(FileText::ReadingFile).arg(path), findings);
    return true;
}
