// Writing the table to a point file: the lines each format takes, the GB18030 question before a text
// file GBK cannot hold, and what the write did.
#include "config/prompts.h"
#include "data/fileoperation.h"
#include "data/pointformats.h"
#include "data/replacefile.h"
#include "data/tablecolumns.h"
#include "modal/modal.h"
#include "plan/planview.h"
#include "survey/linework.h"
#include "table/filetexts.h"
#include "table/tablerows.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QFileInfo>
#include <QSet>
#include <QTableWidget>
#include <climits>

QString with_what_was_left(const QStringList& texts, const QString& reason, const QString& path, bool existed)
{
    // Entries of "DamagedFileTexts": %1 the reason.
    enum : int { OldFileKept = 5, NoFile = 6 };
    switch (after_failed_write(path, existed)) {
    case AfterFailedWrite::OldFileKept:
        return texts.value(OldFileKept, "%1").arg(reason);
    case AfterFailedWrite::NoFile:
        return texts.value(NoFile, "%1").arg(reason);
    case AfterFailedWrite::WrittenThrough:
        break;
    }
    return reason;
}

namespace
{

// The observation layout's columns as a GIS layer's attributes (short, for a shapefile's ten bytes).
struct AttributeName {
    int column;
    const char* name;
};
constexpr AttributeName kObservationAttributes[] = {
    {ObsColumn::Kind, "kind"},
    {ObsColumn::Job, "job"},
    {ObsColumn::Name, "name"},
    {ObsColumn::North, "N"},
    {ObsColumn::East, "E"},
    {ObsColumn::Height, "Z"},
    {ObsColumn::Code, "code"},
    {ObsColumn::InstrumentHeight, "inst_h"},
    {ObsColumn::BacksightAngle, "bs_angle"},
    {ObsColumn::HorizontalAngle, "hz_angle"},
    {ObsColumn::VerticalAngle, "v_angle"},
    {ObsColumn::SlopeDistance, "slope_dist"},
    {ObsColumn::VerticalDistance, "vert_dist"},
    {ObsColumn::HorizontalDistance, "horiz_dist"},
    {ObsColumn::ReflectorHeight, "refl_h"},
};

constexpr bool one_name_per_column()
{
    int column = 0;
    for (const AttributeName& attribute : kObservationAttributes) {
        if (attribute.column != column++)
            return false;
    }
    return column == ObsColumn::Count;
}
static_assert(one_name_per_column(), "the attributes name the observation columns in the table's order");

const PointFields& observation_layer_fields()
{
    static const PointFields fields = [] {
        QStringList names;
        for (const AttributeName& attribute : kObservationAttributes)
            names << QLatin1String(attribute.name);
        return PointFields(names, kObservationPointColumns);
    }();
    return fields;
}

// The fields of the lines of `shape` in the observation layout, each with the role of its column:
// where a text format's lines hold N and E, for the check of the system's area of use.
PointFields observation_shape_fields(const RowShape& shape)
{
    QStringList names;
    for (int field = 0; field < shape.fields; ++field)
        names << QString::number(field);
    PointFields fields(names);
    for (int field = 0; field < shape.fields; ++field) {
        for (int role = 0; role < kPointRoleCount; ++role) {
            if (kObservationPointColumns[role] == shape.columns[field])
                fields.set_field(PointRole(role), field);
        }
    }
    return fields;
}

// Every column of every row, a comma in a cell (which would split the line) written as ";".
QStringList whole_rows(const QTableWidget* table)
{
    QStringList lines;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << cell_text(table, row, column).replace(QLatin1Char(','), QLatin1Char(';'));
        lines << cells.join(QLatin1Char(','));
    }
    return lines;
}

QList<int> shape_columns(const RowShape& shape)
{
    QList<int> columns;
    for (int field = 0; field < shape.fields; ++field)
        columns << shape.columns[field];
    return columns;
}

// The captions of the columns a file leaves out that hold a value in some row.
QStringList columns_left_out(const QTableWidget* table, const QList<int>& kept)
{
    QStringList captions;
    for (int column = 0; column < table->columnCount(); ++column) {
        if (kept.contains(column))
            continue;
        for (int row = 0; row < table->rowCount(); ++row) {
            if (!cell_text(table, row, column).isEmpty()) {
                const QTableWidgetItem* header = table->horizontalHeaderItem(column);
                captions << (header ? header->text() : QString::number(column + 1));
                break;
            }
        }
    }
    return captions;
}

} // namespace

bool MainWindow::settle_output_encoding(const QStringList& lines, const QList<int>& line_columns,
                                        OutputEncoding* encoding)
{
    *encoding = OutputEncoding::Gbk;
    const QList<UnencodableCharacter> beyond = characters_gbk_cannot_hold(lines, INT_MAX);
    if (beyond.isEmpty())
        return true;
    const UnencodableCharacter& first = beyond.first();
    const QTableWidgetItem* header = tableWidget->horizontalHeaderItem(line_columns.value(first.field));
    const QStringList words = get_parametretitle("FileCommandMsg");
    const QString question = words.value(FileText::Gb18030Question)
                                 .arg(QString::number(beyond.size()), first.character, QString::number(first.line + 1),
                                      header ? header->text() : QString());
    if (ask_question(this, words.value(FileText::Gb18030Title), question, QMessageBox::Yes | QMessageBox::Cancel,
                     QMessageBox::Cancel) != QMessageBox::Yes)
        return false;
    *encoding = OutputEncoding::Gb18030;
    return true;
}

bool MainWindow::save_point_file(const QString& path, const QString& format_name)
{
    const QString suffix = format_name.isEmpty() ? QFileInfo(path).suffix() : format_name;
    const PointFormat format = PointFormat::for_suffix(suffix);
    if (!format.is_known()) {
        show_warning(
            this, getpopup_prompt(Prompt::ProgramName),
            getpopup_prompt(Prompt::FileNotWritten).arg(path, getpopup_prompt(Prompt::UnknownSuffix).arg(suffix)));
        return false;
    }
    FileOperation files;
    files.crs = coordinate_system;
    const TableLayout layout = table_layout(InstrumentType);
    const bool observations = layout == TableLayout::Observation;
    const bool layer = format.kind() == PointFormat::Layer;
    const bool landxml = layer && suffix.compare("xml", Qt::CaseInsensitive) == 0;
    // Observation tables keep their observation lines in the raw formats and every column in a GIS
    // layer; every other format, and every coordinate table, gets five-field point lines.
    const RowShape& shape =
        observations && format.kind() == PointFormat::Raw ? observation_line_shape() : point_line_shape(layout);
    QStringList lines;
    QList<int> kept = shape_columns(shape);
    if (observations && layer) {
        lines = whole_rows(tableWidget);
        files.layer_fields = observation_layer_fields();
        // A GIS layer keeps every column as an attribute, LandXML as survey data.
        for (int column = 0; column < tableWidget->columnCount(); ++column)
            kept << column;
    } else {
        lines = table_lines(tableWidget, shape);
        if (observations)
            files.layer_fields = observation_shape_fields(shape);
        if (format.kind() == PointFormat::Drawing)
            kept.removeAt(int(PointRole::Code)); // a drawing has no code
    }
    if (lines.isEmpty())
        return false;
    // UTF-8 holds every character: only GBK asks.
    if (!layer && format.kind() != PointFormat::Spreadsheet) {
        // Only the names of a drawing are written as text.
        const QStringList checked = format.kind() == PointFormat::Drawing
                                        ? table_lines(tableWidget, {shape.columns, 1, 0, shape.column_count})
                                        : lines;
        if (!settle_output_encoding(checked, shape_columns(shape), &files.write_encoding))
            return false;
    }
    // GIS layers get the lines and areas the codes make beside the points.
    if (layer && !landxml && plan_view)
        files.linework = &plan_view->linework();
    const bool existed = QFileInfo(path).exists() || QFileInfo(path).isSymLink();
    if (!files.writefile_byextension(path, suffix, lines, false)) {
        const LayerReport& report = files.last_layer;
        QString reason = report.failed() ? finding_in_texts(get_parametretitle("FileFindingMsg"), layer_refusal(report))
                                         : files.last_error;
        // A write that failed on the way (not a refusal before it) says what it left.
        if (!report.failed() || report.failure == FileFinding::WriteFailed || report.failure == FileFinding::CannotOpen)
            reason = with_what_was_left(get_parametretitle("DamagedFileTexts"), reason, path, existed);
        show_warning(this, getpopup_prompt(Prompt::ProgramName),
                     getpopup_prompt(Prompt::FileNotWritten).arg(path, reason));
        return false;
    }
    table_saved();
    remember_file(path);
    const QStringList words = get_parametretitle("FileCommandMsg");
    QString summary = words.value(FileText::Saved).arg(path, counted_rows());
    if (files.write_encoding == OutputEncoding::Gb18030)
        summary += words.value(FileText::InGb18030);
    const QStringList left_out = columns_left_out(tableWidget, kept);
    QStringList told;
    if (!left_out.isEmpty())
        told << words.value(FileText::ColumnsNotKept).arg(left_out.join(words.value(FileText::ListSeparator)));
    if (files.last_layer.linework_lines > 0 || files.last_layer.linework_areas > 0) {
        summary += linework_layers_text(files.last_layer.linework_lines, files.last_layer.linework_areas);
        if (!plan_view->linework().issues().isEmpty())
            told << linework_report_text();
    }
    tell_file_outcome(summary, words.value(FileText::WritingFile).arg(path), write_findings(files.last_layer), told);
    return true;
}
