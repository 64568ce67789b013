// The code list, its XML file read and written, and where the file is found.
#include "survey/codelist.h"

#include "config/runtimefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cstring>

namespace
{

const char kFileName[] = "/codes.xml";
const char kRoot[] = "CODELIST";
const char kEntry[] = "code";

// Characters a DXF layer or block name cannot hold.
const char kNameForbidden[] = "<>/\\\":;?*|=`,";
// AutoCAD's limit for a table name.
constexpr int kLayerMaxLength = 255;

const struct {
    CodeKind kind;
    const char* name;
} kKinds[] = {{CodeKind::Point, "point"}, {CodeKind::Line, "line"}, {CodeKind::Area, "area"}};

bool usable_control(QChar c)
{
    return !c.isNull() && !c.isLetterOrNumber() && !c.isSpace() && c.unicode() >= 0x20 && c.unicode() < 0x7f;
}

bool controls_usable(QChar start, QChar end, QChar close)
{
    return usable_control(start) && usable_control(end) && usable_control(close) && start != end && start != close &&
           end != close;
}

CodeListError error_at(CodeListError::Kind kind, const QString& detail, const QXmlStreamReader& xml)
{
    CodeListError error;
    error.kind = kind;
    error.detail = detail;
    error.line = xml.lineNumber();
    error.column = xml.columnNumber();
    return error;
}

// The entry of one <code> element; its attribute texts as they stand.
CodeEntry entry_of(const QXmlStreamAttributes& attributes)
{
    CodeEntry entry;
    entry.code = attributes.value(QLatin1String("code")).toString().trimmed();
    entry.layer = attributes.value(QLatin1String("layer")).toString().trimmed();
    if (entry.layer.isEmpty())
        entry.layer = entry.code;
    entry.english = attributes.value(QLatin1String("english")).toString();
    entry.chinese = attributes.value(QLatin1String("chinese")).toString();
    return entry;
}

// The control character of root attribute `name`, its default when absent; false when it is not one
// character.
bool control_of(const QXmlStreamAttributes& attributes, const char* name, QChar fallback, QChar* control)
{
    if (!attributes.hasAttribute(QLatin1String(name))) {
        *control = fallback;
        return true;
    }
    const QString text = attributes.value(QLatin1String(name)).toString();
    if (text.size() != 1)
        return false;
    *control = text.at(0);
    return true;
}

// Reads the <code> elements of the root into *list; the reader stands on the root's start.
bool read_entries(QXmlStreamReader& xml, CodeList* list, CodeListError* error)
{
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String(kEntry)) {
            *error = error_at(CodeListError::UnexpectedElement, xml.name().toString(), xml);
            return false;
        }
        const QXmlStreamAttributes attributes = xml.attributes();
        CodeEntry entry = entry_of(attributes);
        const QString kind_text = attributes.value(QLatin1String("kind")).toString().trimmed();
        if (!code_kind_of_name(kind_text, &entry.kind)) {
            *error = error_at(CodeListError::UnknownKind, kind_text, xml);
            return false;
        }
        if (attributes.hasAttribute(QLatin1String("colour"))) {
            bool ok = false;
            const QString colour = attributes.value(QLatin1String("colour")).toString();
            entry.colour = colour.trimmed().toInt(&ok);
            if (!ok) {
                *error = error_at(CodeListError::BadColour, colour, xml);
                return false;
            }
        }
        // Where the element starts is the place to show; the entry is judged before its children.
        const CodeListError at = error_at(CodeListError::None, QString(), xml);
        CodeListError refused;
        if (!list->append(entry, &refused)) {
            *error = at;
            error->kind = refused.kind;
            error->detail = refused.detail;
            return false;
        }
        xml.skipCurrentElement();
    }
    return !xml.hasError();
}

} // namespace

bool CodeList::set_controls(QChar start, QChar end, QChar close)
{
    if (!controls_usable(start, end, close))
        return false;
    for (const CodeEntry& entry : qAsConst(entries_)) {
        if (entry.code.contains(start) || entry.code.contains(end) || entry.code.contains(close))
            return false;
    }
    start_ = start;
    end_ = end;
    close_ = close;
    return true;
}

int CodeList::find(const QString& code) const
{
    return index_.value(code.toUpper(), -1);
}

int CodeList::find(QStringView code) const
{
    return find(code.toString());
}

CodeListError::Kind CodeList::validate(const CodeEntry& entry) const
{
    // A code names the block of its symbol in a drawing, and comes over the instrument's wire: printable
    // ASCII without blanks.
    if (entry.code.isEmpty())
        return CodeListError::MissingCode;
    for (const QChar c : entry.code) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f || is_control(c) || std::strchr(kNameForbidden, c.toLatin1()))
            return CodeListError::MissingCode;
    }
    if (entry.colour < 1 || entry.colour > 255)
        return CodeListError::BadColour;
    // Layer names are written as they stand into a drawing whose texts are in code page 1252: printable
    // ASCII, blanks inside allowed.
    if (entry.layer.trimmed().size() != entry.layer.size() || entry.layer.isEmpty() ||
        entry.layer.size() > kLayerMaxLength)
        return CodeListError::BadLayer;
    for (const QChar c : entry.layer) {
        if (c.unicode() < 0x20 || c.unicode() >= 0x7f || std::strchr(kNameForbidden, c.toLatin1()))
            return CodeListError::BadLayer;
    }
    return CodeListError::None;
}

bool CodeList::append(const CodeEntry& entry, CodeListError* error)
{
    return replace(entries_.size(), entry, error);
}

bool CodeList::replace(int index, const CodeEntry& entry, CodeListError* error)
{
    CodeListError why;
    why.kind = validate(entry);
    const int holder = find(entry.code);
    if (why.kind == CodeListError::None && holder >= 0 && holder != index)
        why.kind = CodeListError::DuplicateCode;
    if (why.kind != CodeListError::None || index < 0 || index > entries_.size()) {
        why.detail = why.kind == CodeListError::BadColour  ? QString::number(entry.colour)
                     : why.kind == CodeListError::BadLayer ? entry.layer
                                                           : entry.code;
        if (error)
            *error = why;
        return false;
    }
    if (index == entries_.size())
        entries_.append(entry);
    else
        entries_[index] = entry;
    reindex();
    return true;
}

void CodeList::remove(int index)
{
    if (index < 0 || index >= entries_.size())
        return;
    entries_.remove(index);
    reindex();
}

void CodeList::reindex()
{
    index_.clear();
    for (int i = 0; i < entries_.size(); ++i)
        index_.insert(entries_[i].code.toUpper(), i);
}

QString code_kind_name(CodeKind kind)
{
    for (const auto& each : kKinds) {
        if (each.kind == kind)
            return QString::fromLatin1(each.name);
    }
    return QString();
}

bool code_kind_of_name(const QString& name, CodeKind* kind)
{
    for (const auto& each : kKinds) {
        if (name == QLatin1String(each.name)) {
            *kind = each.kind;
            return true;
        }
    }
    return false;
}

bool read_code_list(const QByteArray& bytes, CodeList* list, CodeListError* error)
{
    QXmlStreamReader xml(bytes);
    CodeList read;
    *error = CodeListError();
    if (!xml.readNextStartElement()) {
        *error = error_at(CodeListError::NotWellFormed, xml.errorString(), xml);
        return false;
    }
    if (xml.name() != QLatin1String(kRoot)) {
        *error = error_at(CodeListError::NotCodeList, xml.name().toString(), xml);
        return false;
    }
    const QXmlStreamAttributes root = xml.attributes();
    QChar controls[3];
    const char* names[3] = {"start", "end", "close"};
    const QChar defaults[3] = {read.start(), read.end(), read.close()};
    for (int i = 0; i < 3; ++i) {
        if (!control_of(root, names[i], defaults[i], &controls[i])) {
            *error = error_at(CodeListError::BadControl, QString::fromLatin1(names[i]), xml);
            return false;
        }
    }
    if (!read.set_controls(controls[0], controls[1], controls[2])) {
        *error = error_at(CodeListError::BadControl, QStringLiteral("start, end, close"), xml);
        return false;
    }
    if (!read_entries(xml, &read, error)) {
        if (!error->failed())
            *error = error_at(CodeListError::NotWellFormed, xml.errorString(), xml);
        return false;
    }
    // Whatever follows the root must be well-formed too.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        *error = error_at(CodeListError::NotWellFormed, xml.errorString(), xml);
        return false;
    }
    *list = read;
    return true;
}

bool read_code_list_file(const QString& path, CodeList* list, CodeListError* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = CodeListError();
        error->kind = CodeListError::CannotOpen;
        error->detail = file.errorString();
        return false;
    }
    return read_code_list(file.readAll(), list, error);
}

QByteArray code_list_xml(const CodeList& list)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeComment(QStringLiteral(" ktlink code list. kind: point, line or area; colour: AutoCAD colour index "
                                    "(1 red, 2 yellow, 3 green, 4 cyan, 5 blue, 6 magenta, 7 white). "));
    xml.writeStartElement(QLatin1String(kRoot));
    xml.writeAttribute(QStringLiteral("start"), QString(list.start()));
    xml.writeAttribute(QStringLiteral("end"), QString(list.end()));
    xml.writeAttribute(QStringLiteral("close"), QString(list.close()));
    for (const CodeEntry& entry : list.entries()) {
        xml.writeEmptyElement(QLatin1String(kEntry));
        xml.writeAttribute(QStringLiteral("code"), entry.code);
        xml.writeAttribute(QStringLiteral("kind"), code_kind_name(entry.kind));
        xml.writeAttribute(QStringLiteral("layer"), entry.layer);
        xml.writeAttribute(QStringLiteral("colour"), QString::number(entry.colour));
        xml.writeAttribute(QStringLiteral("english"), entry.english);
        xml.writeAttribute(QStringLiteral("chinese"), entry.chinese);
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

bool write_code_list_file(const QString& path, const CodeList& list, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    file.write(code_list_xml(list));
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

QString code_list_error_text(const CodeListError& error)
{
    static const char* const texts[] = {
        "no error",
        "cannot be opened: %1",
        "is not well-formed XML: %1",
        "is not a code list (its root element is %1, not CODELIST)",
        "has an unusable control character (%1): one character each, no letter, digit or blank, all three "
        "different",
        "holds an element %1 where a code is expected",
        "has a code \"%1\" that is empty, not printable ASCII, or holds a blank, a control character or a "
        "character a drawing cannot hold",
        "has an unknown kind \"%1\" (point, line or area)",
        "holds the code %1 twice",
        "has a colour %1 that is not an AutoCAD colour index from 1 to 255",
        "has a layer name \"%1\" that a drawing cannot hold",
    };
    const QString what = QString::fromLatin1(texts[error.kind]).arg(error.detail);
    if (error.line <= 0)
        return QStringLiteral("The code list %1.").arg(what);
    return QStringLiteral("The code list %1 (line %2, column %3).").arg(what).arg(error.line).arg(error.column);
}

QString code_list_file_to_read(const QString& runtime)
{
    const QString user = user_config_folder() + kFileName;
    return QFileInfo(user).isFile() ? user : runtime + "/config" + kFileName;
}

QString code_list_file_to_write()
{
    const QString folder = user_config_folder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    return folder + kFileName;
}
