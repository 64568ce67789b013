// Reading the observation layout's workbook row by row.
#include "formats/surveyworkbook.h"

#include "config/obscaptions.h"
#include "data/fieldtext.h"
#include "data/filefindings.h"
#include "data/tablecolumns.h"
#include "formats/surveyfiles.h"
#include "landxml/surveyxml.h"

namespace
{

// A sheet's row as the table's fifteen cells; false for a row with none of them. Cells under
// columns that were not mapped are counted in `not_read`.
bool table_cells(const QStringList& row, const CaptionColumns& columns, QStringList* cells, qint64* not_read)
{
    cells->clear();
    for (int column = 0; column < ObsColumn::Count; ++column)
        cells->append(QString());
    bool any = false;
    for (int i = 0; i < row.size(); ++i) {
        const int column = columns.columns.value(i, -1);
        if (row[i].isEmpty())
            continue;
        if (column < 0) {
            ++*not_read;
            continue;
        }
        any = true;
        // As a file's field becomes a table cell: the digits with the table's marks; a cell that
        // holds the marks already is marked once.
        (*cells)[column] = is_angle_column(column) ? angle_text(angle_text(row[i], 1), 0) : row[i];
    }
    if (!any)
        return false;
    const survey::RowKind kind = surveyxml::row_kind(*cells);
    const survey::KindLabels& codes = record_code_labels();
    if (kind == survey::RowKind::Station)
        (*cells)[ObsColumn::Kind] = codes.station;
    else if (kind == survey::RowKind::Backsight)
        (*cells)[ObsColumn::Kind] = codes.backsight;
    else if (kind == survey::RowKind::Measured)
        (*cells)[ObsColumn::Kind] = codes.measured;
    return true;
}

// The sheet's columns that hold numbers (angles, coordinates, heights, distances).
QList<int> number_columns(const CaptionColumns& columns)
{
    QList<int> numbers;
    for (int i = 0; i < columns.columns.size(); ++i) {
        const int column = columns.columns[i];
        if (column >= 0 && column != ObsColumn::Kind && column != ObsColumn::Job && column != ObsColumn::Name &&
            column != ObsColumn::Code)
            numbers << i;
    }
    return numbers;
}

} // namespace

bool read_observation_workbook(const QString& path, const std::function<void(const QStringList& cells)>& sink,
                               ObservationWorkbook* result)
{
    *result = ObservationWorkbook();
    bool captioned = false;
    CaptionColumns columns;
    QStringList cells;
    const auto take_row = [&](const QStringList& row) {
        if (!captioned) {
            captioned = true;
            columns = caption_columns(row, shipped_observation_captions());
            return columns.has_observations();
        }
        if (!table_cells(row, columns, &cells, &result->cells_not_read)) {
            ++result->empty_rows;
            return true;
        }
        ++result->rows;
        sink(cells);
        return true;
    };
    const WorkbookRows& book = result->book;
    const bool read = read_workbook_rows(path, take_row, &result->book);
    if (!read) {
        result->status =
            book.status == WorkbookRows::NoSheet ? ObservationWorkbook::NoSheet : ObservationWorkbook::CannotOpen;
        result->message = book.message;
        return false;
    }
    if (!columns.has_observations()) {
        result->status = ObservationWorkbook::NoObservationColumns;
        result->message = QStringLiteral("the first row of sheet %1 names no observation columns (kind, name, "
                                         "horizontal and vertical angle, a distance)")
                              .arg(book.sheet);
        return false;
    }
    result->unknown_captions = columns.unknown;
    result->dated_cells = book.dated_in(number_columns(columns));
    return true;
}

QStringList workbook_notes_in_english(const ObservationWorkbook& read)
{
    QStringList notes;
    LayerReport sheets;
    sheets.hidden_layers = read.book.hidden_sheets;
    for (const FileFindingText& finding : read_findings(FileOperation::ReadReport(), sheets))
        notes << finding_in_english(finding);
    const int others = read.book.sheet_count - read.book.hidden_sheets.size() - 1;
    if (others > 0)
        notes << QStringLiteral("sheet \"%1\" read, %2 further sheets not").arg(read.book.sheet).arg(others);
    if (!read.unknown_captions.isEmpty())
        notes << QStringLiteral("%1 columns not read, their captions name no observation column: %2")
                     .arg(read.unknown_captions.size())
                     .arg(read.unknown_captions.join(QLatin1String(", ")));
    if (read.cells_not_read > 0)
        notes
            << QStringLiteral("%1 cells not read, in columns that name no observation column").arg(read.cells_not_read);
    if (read.empty_rows > 0)
        notes << QStringLiteral("%1 empty rows skipped: rows are numbered without them and the caption row")
                     .arg(read.empty_rows);
    if (read.dated_cells > 0)
        notes << QStringLiteral("%1 numbers shown as dates or times in the workbook were read as their numbers")
                     .arg(read.dated_cells);
    if (!read.book.complaint.isEmpty())
        notes << read.book.complaint;
    return notes;
}
