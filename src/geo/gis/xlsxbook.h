// An XLSX workbook read part by part from its zip package, without GDAL's XLSX driver: the sheets
// in their tab order and whether each is hidden, the cell formats that show numbers as dates or
// times, the shared texts, and a sheet's rows streamed one at a time (memory flat in the rows; the
// shared texts are held packed in one string).
#ifndef GEO_XLSXBOOK_H
#define GEO_XLSXBOOK_H

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QXmlStreamReader;

struct XlsxSheet {
    QString name;
    QString part; // its member in the package ("xl/worksheets/sheet1.xml")
    bool hidden = false;
};

class XlsxBook
{
public:
    // Gets a row's cells, trailing empty cells left out; false stops the reading.
    using RowSink = std::function<bool(const QStringList& cells)>;

    // Reads the package's workbook, relations, cell formats and shared texts; false with error()
    // set when `path` is not a readable workbook.
    bool open(const QString& path);
    QString error() const { return error_; }
    const QVector<XlsxSheet>& sheets() const { return sheets_; }

    // Hands the rows of sheet `index` to `sink` from the first row of the sheet on, an empty row for
    // each row the sheet leaves out, so that every row keeps its place. A number cell gives the
    // number it holds whatever format shows it; *dated_columns (grown as needed) counts, by column,
    // the numbers a date or time format shows. False with error() set when the sheet is damaged.
    bool read_rows(int index, const RowSink& sink, QVector<int>* dated_columns);

    // The shared text at `index`; empty text for an index the workbook does not hold.
    QString shared(int index) const;

private:
    bool read_part(const QString& member, bool optional, const std::function<void(QXmlStreamReader&)>& start);

    QString path_;
    QString error_;
    QVector<XlsxSheet> sheets_;
    QVector<bool> dated_styles_; // by cell format (a cell's "s")
    QString shared_texts_;       // every shared text, one after the other
    QVector<int> shared_ends_;   // where each ends in shared_texts_
};

// Whether a number format shows a number as a date or a time: without a code of its own the built-in
// formats 14 to 22, 27 to 36, 45 to 47 and 50 to 58, else a format code with day, month, year, era, hour
// or second outside quoted texts, escaped characters and colour or condition brackets ("yyyy/mm/dd",
// "[h]:mm"; not "0.000", "0.00E+00", "#,##0.0 \"m\"").
bool is_date_format(int id, const QString& format_code);

#endif // GEO_XLSXBOOK_H
