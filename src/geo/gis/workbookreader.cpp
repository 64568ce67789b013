// Reading a workbook's first sheet as texts through GDAL.
#include "gis/workbookreader.h"

#include "geologging.h"
#include "gis/gdalsupport.h"

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

} // namespace

WorkbookRows read_workbook(const QString& path)
{
    WorkbookRows result;
    ensure_gdal();
    GdalMessages messages;
    // Every cell as text, and the first row as data rather than field names.
    ScopedGdalConfig config({{"OGR_XLSX_FIELD_TYPES", "STRING"},
                             {"OGR_XLSX_HEADERS", "DISABLE"},
                             {"OGR_ODS_FIELD_TYPES", "STRING"},
                             {"OGR_ODS_HEADERS", "DISABLE"}});
    if (!gdal_may_open(path, &result.message)) {
        result.status = WorkbookRows::CannotOpen;
        return result;
    }
    const char* const drivers[] = {"XLSX", "ODS", nullptr};
    const QByteArray file = path.toUtf8();
    GdalDataset dataset(GDALOpenEx(file.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, nullptr, nullptr));
    if (!dataset) {
        result.status = WorkbookRows::CannotOpen;
        result.message = messages.text();
        return result;
    }
    result.sheet_count = GDALDatasetGetLayerCount(dataset.get());
    OGRLayerH sheet = result.sheet_count > 0 ? GDALDatasetGetLayer(dataset.get(), 0) : nullptr;
    if (!sheet) {
        result.status = WorkbookRows::NoSheet;
        return result;
    }
    result.sheet = QString::fromUtf8(OGR_L_GetName(sheet));
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
        result.rows.append(row);
    }
    if (messages.failed())
        result.complaint = messages.text();
    qCDebug(lcGeo) << result.rows.size() << "rows read from sheet" << result.sheet << "of" << path;
    return result;
}
