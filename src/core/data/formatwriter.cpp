// Rows handed to a fields writer as lines.
#include "data/formatwriter.h"

namespace
{

// `line` split at its commas into `fields`, as QString::split keeps empty parts; the strings of
// `fields` are overwritten in place, so a writer called a million times allocates no field texts.
void split_fields(const QString& line, QStringList* fields)
{
    int count = 0;
    const QChar* data = line.constData();
    for (int start = 0;; ++count) {
        int end = line.indexOf(QLatin1Char(','), start);
        if (end < 0)
            end = int(line.size());
        if (count < fields->size())
            (*fields)[count].setUnicode(data + start, end - start);
        else
            fields->append(QString(data + start, end - start));
        if (end == line.size())
            break;
        start = end + 1;
    }
    fields->erase(fields->begin() + count + 1, fields->end());
}

} // namespace

bool FieldsWriter::write_line(const QString& line)
{
    split_fields(line, &fields_);
    return write(fields_);
}
