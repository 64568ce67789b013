// Reading a workbook's first visible sheet as texts: XLSX from its package, OpenDocument through GDAL.
#include "gis/workbookreader.h"

#include "geologging.h"
#include "gis/gdalsupport.h"
#include "gis/xlsxbook.h"

#include <QFileInfo>

#include <cmath>

namespace
{

// A spreadsheet shows 15 significant digits; a stored fraction with more ("2.1000000000000001", what
// binary fractions become) is taken as the sheet shows it. Other texts, whole numbers (long
// identifiers) and numbers with an exponent among them, are left alone.
QString as_shown(const QString& text)
{
    if (!text.contains(QLatin1Char('.')) || text.contains(QLatin1Char('e')) || text.contains(QLatin1Char('E')))
        return text;
    int digits = 0;
    bool leading = true;
    for (const QChar c : text) {
        if (!c.isDigit())
            continue;
        if (leading && c == QLatin1Char('0'))
            continue;
        leading = false;
        ++digits;
    }
    double value = 0;
    if (digits <= 15 || !parse_number(text, &value))
        return text;
    // Fifteen significant digits, written without an exponent.
    const int whole = value == 0 ? 1 : int(std::floor(std::log10(std::fabs(value)))) + 1;
    return format_number(value, qBound(0, 15 - whole, 30));
}

// An OpenDocument sheet through GDAL's ODS driver, every cell as text and the first row as data.
bool read_ods(const QString& path, const WorkbookRows::RowSink& sink, WorkbookRows* result)
{
    ensure_gdal();
    GdalMessages messages;
    ScopedGdalConfig config({{"OGR_ODS_FIELD_TYPES", "STRING"}, {"OGR_ODS_HEADERS", "DISABLE"}});
    const char* const drivers[] = {"ODS", nullptr};
    const QByteArray file = path.toUtf8();
    GdalDataset dataset(GDALOpenEx(file.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, nullptr, nullptr));
    if (!dataset) {
        result->status = WorkbookRows::CannotOpen;
        result->message = messages.text();
        return false;
    }
    result->sheet_count = GDALDatasetGetLayerCount(dataset.get());
    OGRLayerH sheet = result->sheet_count > 0 ? GDALDatasetGetLayer(dataset.get(), 0) : nullptr;
    if (!sheet) {
        result->status = WorkbookRows::NoSheet;
        return false;
    }
    result->sheet = QString::fromUtf8(OGR_L_GetName(sheet));
    OGR_L_ResetReading(sheet);
    QStringList row;
    for (OgrFeature feature(OGR_L_GetNextFeature(sheet)); feature; feature.reset(OGR_L_GetNextFeature(sheet))) {
        row.clear();
        const int count = OGR_F_GetFieldCount(feature.get());
        for (int i = 0; i < count; ++i) {
            row << (OGR_F_IsFieldSetAndNotNull(feature.get(), i)
                        ? as_shown(QString::fromUtf8(OGR_F_GetFieldAsString(feature.get(), i)))
                        : QString());
        }
        while (!row.isEmpty() && row.last().isEmpty())
            row.removeLast();
        if (!sink(row))
            break;
    }
    if (messages.failed())
        result->complaint = messages.text();
    return true;
}

bool read_xlsx(const QString& path, const WorkbookRows::RowSink& sink, WorkbookRows* result)
{
    XlsxBook book;
    if (!book.open(path)) {
        result->status = WorkbookRows::CannotOpen;
        result->message = book.error();
        return false;
    }
    const QVector<XlsxSheet>& sheets = book.sheets();
    result->sheet_count = sheets.size();
    int first = 0;
    while (first < sheets.size() && sheets.at(first).hidden)
        ++first;
    if (first == sheets.size()) // no sheet shown: the first is read
        first = 0;
    if (sheets.isEmpty()) {
        result->status = WorkbookRows::NoSheet;
        return false;
    }
    for (int i = 0; i < first; ++i)
        result->hidden_sheets << sheets.at(i).name;
    result->sheet = sheets.at(first).name;
    QStringList shown;
    const bool read = book.read_rows(
        first,
        [&](const QStringList& cells) {
            shown.clear();
            for (const QString& cell : cells)
                shown << as_shown(cell);
            return sink(shown);
        },
        &result->dated_columns);
    if (!read) {
        result->status = WorkbookRows::CannotOpen;
        result->message = book.error();
    }
    return read;
}

} // namespace

int WorkbookRows::dated_in(const QList<int>& columns) const
{
    int count = 0;
    for (const int column : columns)
        count += dated_columns.value(column);
    return count;
}

bool read_workbook_rows(const QString& path, const WorkbookRows::RowSink& sink, WorkbookRows* result)
{
    *result = WorkbookRows();
    if (!gdal_may_open(path, &result->message)) {
        result->status = WorkbookRows::CannotOpen;
        return false;
    }
    qint64 rows = 0;
    const auto counted = [&](const QStringList& row) {
        ++rows;
        return sink(row);
    };
    const bool ods = QFileInfo(path).suffix().compare(QLatin1String("ods"), Qt::CaseInsensitive) == 0;
    const bool read = ods ? read_ods(path, counted, result) : read_xlsx(path, counted, result);
    if (read)
        qCDebug(lcGeo) << rows << "rows read from sheet" << result->sheet << "of" << path;
    return read;
}

WorkbookRows read_workbook(const QString& path)
{
    WorkbookRows result;
    TextRows rows;
    read_workbook_rows(
        path,
        [&rows](const QStringList& row) {
            rows.append(row);
            return true;
        },
        &result);
    if (result.ok())
        result.rows = rows;
    return result;
}
