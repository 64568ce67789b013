// Reading an XLSX package: its relations, workbook, cell formats, shared texts and sheets.
#include "gis/xlsxbook.h"

#include "data/columnmapping.h"
#include "gis/zippart.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

namespace
{

// The most rows and columns a sheet can hold.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

bool is_name(const QXmlStreamReader& xml, const char* name)
{
    return xml.name() == QLatin1String(name);
}

QString attribute(const QXmlStreamReader& xml, const char* name)
{
    return xml.attributes().value(QLatin1String(name)).toString();
}

// The relation id of an element ("r:id"), whichever prefix its namespace has.
QString relation_id(const QXmlStreamReader& xml)
{
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
            return a.value().toString();
    }
    return QString();
}

// The member a relation's target names, from the folder of the part that holds the relation.
QString member_of(const QString& folder, const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    return QDir::cleanPath(folder.isEmpty() ? target : folder + QLatin1Char('/') + target);
}

QString folder_of(const QString& member)
{
    const int slash = member.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : member.left(slash);
}

// The relations file of a part: "xl/workbook.xml" has "xl/_rels/workbook.xml.rels".
QString relations_of(const QString& member)
{
    const QString folder = folder_of(member);
    const QString file = member.mid(folder.isEmpty() ? 0 : folder.size() + 1);
    return (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/") + file +
           QStringLiteral(".rels");
}

// The text of a shared or inline string element (<si>, <is>): its <t> texts, plain or in runs,
// without the phonetic guides (<rPh>). Reads to the element's end.
QString rich_text(QXmlStreamReader& xml)
{
    QString text;
    int phonetic = 0;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (is_name(xml, "rPh")) {
                ++phonetic;
            } else if (is_name(xml, "t")) {
                const QString t = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
                if (phonetic == 0)
                    text += t;
            }
        } else if (xml.isEndElement()) {
            --depth;
            if (is_name(xml, "rPh"))
                --phonetic;
        }
    }
    return text;
}

// "AB12" -> column 27; -1 when the reference has no letters.
int column_of_reference(const QString& reference)
{
    int letters = 0;
    while (letters < reference.size() && reference.at(letters).isLetter())
        ++letters;
    return letters == 0 ? -1 : column_from_letters(reference.left(letters));
}

struct Cell {
    int column = -1;
    QString text;
    bool dated = false;
};

// A cell's text (a shared text looked up), from its start to its end; `dated` when a date or time
// format shows its number.
void read_cell(QXmlStreamReader& xml, const XlsxBook& book, const QVector<bool>& dated_styles, Cell* cell)
{
    const QString type = attribute(xml, "t");
    const int style = attribute(xml, "s").toInt();
    QString value;
    while (xml.readNextStartElement()) {
        if (is_name(xml, "v"))
            value = xml.readElementText();
        else if (is_name(xml, "is"))
            value = rich_text(xml);
        else
            xml.skipCurrentElement();
    }
    if (type == QLatin1String("s")) {
        bool ok = false;
        const int shared_index = value.trimmed().toInt(&ok);
        cell->text = ok ? book.shared(shared_index) : QString();
    } else {
        cell->text = value;
        cell->dated =
            (type.isEmpty() || type == QLatin1String("n")) && !value.isEmpty() && dated_styles.value(style, false);
    }
}

} // namespace

bool is_date_format(int id, const QString& format_code)
{
    if (format_code.isEmpty())
        return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
    // "General" holds letters of no date.
    const QString code = format_code.toLower().remove(QLatin1String("general"));
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == QLatin1Char('"')) {
            i = code.indexOf(QLatin1Char('"'), i + 1);
            if (i < 0)
                return false;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i; // an escaped, padding or fill character
        } else if (c == QLatin1Char('[')) {
            const int end = code.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0)
                return false;
            // Elapsed time ("[h]", "[mm]", "[ss]") is a time; colours, conditions and locales are not.
            const QString inside = code.mid(i + 1, end - i - 1);
            if (!inside.isEmpty() && inside.count(inside.at(0)) == inside.size() &&
                QStringLiteral("hms").contains(inside.at(0)))
                return true;
            i = end;
        } else if (c == QLatin1Char('e')) {
            // "0.00E+00" is a number's exponent; "e" alone is a year of an era.
            if (i + 1 < code.size() && (code.at(i + 1) == QLatin1Char('+') || code.at(i + 1) == QLatin1Char('-')))
                ++i;
            else
                return true;
        } else if (QStringLiteral("dmyhs").contains(c)) {
            return true;
        }
    }
    return false;
}

bool XlsxBook::read_part(const QString& member, bool optional, const std::function<void(QXmlStreamReader&)>& start)
{
    ZipPart part;
    if (!part.open_member(path_, member)) {
        if (!optional)
            error_ = part.errorString();
        return optional;
    }
    QXmlStreamReader xml(&part);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            start(xml);
    }
    if (xml.hasError()) {
        error_ = QStringLiteral("the workbook's part %1 is damaged: %2")
                     .arg(member, part.damaged() ? part.errorString() : xml.errorString());
        return false;
    }
    return true;
}

bool XlsxBook::open(const QString& path)
{
    path_ = path;
    error_.clear();
    sheets_.clear();
    if (!ZipPart::is_archive(path)) {
        error_ = QStringLiteral("not a workbook: the file is not a zip package");
        return false;
    }
    // The workbook part the package names, where every workbook has it when it names none.
    QString workbook = QStringLiteral("xl/workbook.xml");
    const auto is_type = [](const QXmlStreamReader& xml, const char* type) {
        return attribute(xml, "Type").endsWith(QLatin1Char('/') + QLatin1String(type));
    };
    if (!read_part(QStringLiteral("_rels/.rels"), true, [&](QXmlStreamReader& xml) {
            if (is_name(xml, "Relationship") && is_type(xml, "officeDocument"))
                workbook = member_of(QString(), attribute(xml, "Target"));
        }))
        return false;
    QHash<QString, QString> targets; // relation id -> member
    QString styles, strings;
    const QString folder = folder_of(workbook);
    if (!read_part(relations_of(workbook), true, [&](QXmlStreamReader& xml) {
            if (!is_name(xml, "Relationship"))
                return;
            const QString member = member_of(folder, attribute(xml, "Target"));
            targets.insert(attribute(xml, "Id"), member);
            if (is_type(xml, "styles"))
                styles = member;
            else if (is_type(xml, "sharedStrings"))
                strings = member;
        }))
        return false;
    if (!read_part(workbook, false, [&](QXmlStreamReader& xml) {
            if (!is_name(xml, "sheet"))
                return;
            const QString state = attribute(xml, "state");
            sheets_.append({attribute(xml, "name"), targets.value(relation_id(xml)),
                            state == QLatin1String("hidden") || state == QLatin1String("veryHidden")});
        }))
        return false;

    // Cell formats: which show their number as a date or time.
    QHash<int, QString> codes;
    bool in_cell_formats = false;
    dated_styles_.clear();
    if (!styles.isEmpty() && !read_part(styles, true, [&](QXmlStreamReader& xml) {
            if (is_name(xml, "numFmt")) {
                codes.insert(attribute(xml, "numFmtId").toInt(), attribute(xml, "formatCode"));
            } else if (is_name(xml, "cellXfs")) {
                in_cell_formats = true;
            } else if (is_name(xml, "cellStyleXfs") || is_name(xml, "dxfs")) {
                in_cell_formats = false;
            } else if (is_name(xml, "xf") && in_cell_formats) {
                const int id = attribute(xml, "numFmtId").toInt();
                dated_styles_.append(is_date_format(id, codes.value(id)));
            }
        }))
        return false;

    shared_texts_.clear();
    shared_ends_.clear();
    return strings.isEmpty() || read_part(strings, true, [&](QXmlStreamReader& xml) {
               if (is_name(xml, "si")) {
                   shared_texts_ += rich_text(xml);
                   shared_ends_.append(shared_texts_.size());
               }
           });
}

QString XlsxBook::shared(int index) const
{
    if (index < 0 || index >= shared_ends_.size())
        return QString();
    const int start = index == 0 ? 0 : shared_ends_.at(index - 1);
    return shared_texts_.mid(start, shared_ends_.at(index) - start);
}

bool XlsxBook::read_rows(int index, const RowSink& sink, QVector<int>* dated_columns)
{
    const XlsxSheet& sheet = sheets_.at(index);
    ZipPart part;
    if (!part.open_member(path_, sheet.part)) {
        error_ = part.errorString();
        return false;
    }
    QXmlStreamReader xml(&part);
    QStringList cells;
    int next_row = 0; // the row the next <row> is when it gives no number
    bool stopped = false;
    while (!stopped && xml.readNextStartElement()) {
        if (!is_name(xml, "row")) {
            if (!is_name(xml, "worksheet") && !is_name(xml, "sheetData"))
                xml.skipCurrentElement();
            continue;
        }
        bool numbered = false;
        const int row = attribute(xml, "r").toInt(&numbered) - 1;
        if (numbered && (row < next_row || row >= kMaxRows)) {
            xml.raiseError(QStringLiteral("row %1 is out of order or beyond a sheet's rows").arg(row + 1));
            break;
        }
        for (; numbered && next_row < row && !stopped; ++next_row)
            stopped = !sink(QStringList());
        cells.clear();
        int next_column = 0;
        while (!stopped && xml.readNextStartElement()) {
            if (!is_name(xml, "c")) {
                xml.skipCurrentElement();
                continue;
            }
            Cell cell;
            const QString reference = attribute(xml, "r");
            cell.column = reference.isEmpty() ? next_column : column_of_reference(reference);
            read_cell(xml, *this, dated_styles_, &cell);
            if (cell.column < next_column || cell.column >= kMaxColumns) {
                xml.raiseError(QStringLiteral("cell %1 is out of order or beyond a sheet's columns").arg(reference));
                break;
            }
            next_column = cell.column + 1;
            if (cell.dated) {
                if (dated_columns->size() <= cell.column)
                    dated_columns->resize(cell.column + 1);
                ++(*dated_columns)[cell.column];
            }
            while (cells.size() < cell.column)
                cells << QString();
            cells << cell.text;
        }
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        ++next_row;
        if (!stopped && !xml.hasError())
            stopped = !sink(cells);
    }
    if (xml.hasError()) {
        error_ = QStringLiteral("the sheet \"%1\" is damaged: %2 (line %3)")
                     .arg(sheet.name, part.damaged() ? part.errorString() : xml.errorString())
                     .arg(xml.lineNumber());
        return false;
    }
    return true;
}
