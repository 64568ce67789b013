// The column mapping of table rows: the first line is a column choice, the rest are rows of
// tab-separated cells (comma-separated when the input holds no tab); the first byte says how many
// rows come before the header.
#include "data/columnmapping.h"

namespace
{

// Every data row becomes a line or is counted as blank.
void check(const TextRows& rows, const ColumnMapping& mapping)
{
    const MappedPoints points = apply_mapping(rows, mapping);
    const int data_rows = qMax(0, int(rows.size()) - qMax(0, mapping.first_data_row()));
    if (points.lines.size() + points.blank_rows != data_rows)
        __builtin_trap();
    for (const QString& line : points.lines) {
        if (split_point_line(line).size() != kPointRoleCount)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int skip = data[0] % 4;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), int(size - 1));
    const QChar separator = text.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(',');
    QStringList lines = text.split(QLatin1Char('\n'));
    const QString choice = lines.takeFirst();
    TextRows rows;
    for (const QString& line : lines)
        rows << line.split(separator);

    ColumnMapping mapping = guess_mapping(rows, skip);
    check(rows, mapping);
    ColumnChoiceError error;
    const QStringList header = mapping.header && skip < rows.size() ? rows.at(skip) : QStringList();
    if (parse_column_choice(choice, header, &mapping, &error))
        check(rows, mapping);
    // Letters read back as they were written.
    const int column = column_from_letters(choice);
    if (column >= 0 && column_letters(column) != choice.trimmed().toUpper())
        __builtin_trap();
    return 0;
}
