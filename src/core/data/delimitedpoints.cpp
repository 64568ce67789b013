// Delimited text with decimal commas into point lines.
#include "data/delimitedpoints.h"

#include "data/decimalmark.h"
#include "data/fileoperation.h"
#include "data/importchoice.h"
#include "data/pointformats.h"
#include "data/textfile.h"

namespace
{

DelimitedPoints refused(const QString& why)
{
    DelimitedPoints read;
    read.refusal = why;
    return read;
}

} // namespace

DelimitedPoints read_decimal_comma_lines(const QStringList& lines, const QString& columns)
{
    ImportChoice choice = starting_choice(lines, nullptr);
    if (choice.delimiter == Delimiter::Comma)
        return refused(QStringLiteral("its fields are delimited by commas, so no comma in them is a decimal mark "
                                      "(a field such as \"1,234\" is not read as 1.234); delimit them by "
                                      "semicolons or tabs"));
    const TextRows rows = split_delimited_lines(lines, choice.delimiter);
    ColumnMapping& mapping = choice.mapping;
    if (!columns.isEmpty()) {
        const QStringList header = mapping.header ? rows.value(mapping.skip_rows) : QStringList();
        ColumnChoiceError error;
        if (!parse_column_choice(columns, header, &mapping, &error))
            return refused(QStringLiteral("--columns: \"%1\" names no column (five items: name,code,N,E,Z, each "
                                          "a header text or a letter)")
                               .arg(error.item.isEmpty() ? columns : error.item));
    } else if (!mapping.has_coordinates()) {
        return refused(QStringLiteral("no columns named N and E in the header row: give them with --columns "
                                      "name,code,N,E,Z"));
    }
    const MappedPoints mapped = apply_mapping(rows, mapping, DecimalMark::Comma);
    if (mapped.grouped_rows > 0) {
        DelimitedPoints read =
            refused(QStringLiteral("line %1: \"%2\" is grouped by thousands or has a decimal point where commas mark "
                                   "decimals (%3 lines so); write the numbers without thousands separators")
                        .arg(mapped.first_grouped.row + 1)
                        .arg(mapped.first_grouped.text)
                        .arg(mapped.grouped_rows));
        read.refused_line = mapped.first_grouped.row + 1;
        read.grouped_lines = mapped.grouped_rows;
        return read;
    }
    DelimitedPoints read;
    read.lines = mapped.lines;
    read.skipped = qMin(int(rows.size()), mapping.first_data_row()) + mapped.blank_rows;
    return read;
}

bool FileOperation::reads_decimal_commas(const QString& filename, const QString& extension) const
{
    const PointFormat format = PointFormat::for_suffix(extension);
    if (format.kind() == PointFormat::Spreadsheet)
        return true;
    if (format.kind() != PointFormat::Raw)
        return false;
    if (decimal_comma)
        return true;
    TextFileReader reader;
    QString first;
    return reader.open(filename) && reader.read_line(&first) &&
           first.trimmed().compare(QLatin1String(PointFormat::kSpreadsheetHeader), Qt::CaseInsensitive) == 0;
}

bool FileOperation::read_decimal_comma_points(const QString& filename, const PointSink& sink)
{
    const QStringList lines = readfile(filename);
    if (!last_read_ok)
        return false;
    const DelimitedPoints read = read_decimal_comma_lines(lines, columns);
    if (!read.refusal.isEmpty()) {
        last_error = read.refusal;
        return last_read_ok = false;
    }
    for (const QString& line : read.lines)
        sink(line);
    return true;
}
