// The streamed LandXML 1.2 point writer.
#include "geo/landxmlwriter.h"

#include "geo/crs.h"
#include "geo/geologging.h"

#include <QCoreApplication>
#include <vector>

namespace
{

const char* const kNamespace = "http://www.landxml.org/schema/LandXML-1.2";

bool is_xml_char(char16_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

// 64-bit FNV-1a of the name's UTF-16 units: a collision only starts a group early.
quint64 name_hash(const QString& name)
{
    quint64 hash = 14695981039346656037ull;
    for (const QChar c : name) {
        hash ^= c.unicode();
        hash *= 1099511628211ull;
    }
    return hash == 0 ? 1 : hash;
}

} // namespace

// The names of the current group as 64-bit hashes in an open-addressing table: 8 to 16 bytes a
// name rather than a copy of every name.
class LandXmlWriter::NameSet
{
public:
    // Adds the name; false when it is already there.
    bool insert(const QString& name)
    {
        if (slots_.empty() || (count_ + 1) * 2 > slots_.size())
            grow();
        const quint64 hash = name_hash(name);
        size_t i = hash & (slots_.size() - 1);
        while (slots_[i] != 0) {
            if (slots_[i] == hash)
                return false;
            i = (i + 1) & (slots_.size() - 1);
        }
        slots_[i] = hash;
        ++count_;
        return true;
    }
    // Forgets every name, and the table with them: a new group costs in proportion to its own size.
    void clear()
    {
        std::vector<quint64>().swap(slots_);
        count_ = 0;
    }

private:
    void grow()
    {
        std::vector<quint64> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 1024 : old.size() * 2, 0);
        for (const quint64 hash : old) {
            if (hash == 0)
                continue;
            size_t i = hash & (slots_.size() - 1);
            while (slots_[i] != 0)
                i = (i + 1) & (slots_.size() - 1);
            slots_[i] = hash;
        }
    }

    std::vector<quint64> slots_;
    size_t count_ = 0;
};

LandXmlWriter::LandXmlWriter(const QString& path, const PointFields& fields)
    : path_(path), fields_(fields), names_(std::make_unique<NameSet>())
{
}

LandXmlWriter::~LandXmlWriter() = default;

bool LandXmlWriter::open(const QString& crs, const QDateTime& stamp)
{
    if (fields_.field(PointRole::North) < 0 || fields_.field(PointRole::East) < 0) {
        error_ = QStringLiteral("the rows have no N or E field");
        return false;
    }
    file_ = std::make_unique<QSaveFile>(path_);
    if (!file_->open(QIODevice::WriteOnly)) {
        error_ = file_->errorString();
        file_.reset();
        return false;
    }
    xml_.setDevice(file_.get());
    xml_.setAutoFormatting(true);
    xml_.setAutoFormattingIndent(1);
    xml_.writeStartDocument();
    xml_.writeStartElement(QStringLiteral("LandXML"));
    xml_.writeDefaultNamespace(kNamespace);
    xml_.writeAttribute(QStringLiteral("date"), stamp.toString(QStringLiteral("yyyy-MM-dd")));
    xml_.writeAttribute(QStringLiteral("time"), stamp.toString(QStringLiteral("HH:mm:ss")));
    xml_.writeAttribute(QStringLiteral("version"), QStringLiteral("1.2"));

    xml_.writeStartElement(QStringLiteral("Units"));
    xml_.writeEmptyElement(QStringLiteral("Metric"));
    xml_.writeAttribute(QStringLiteral("areaUnit"), QStringLiteral("squareMeter"));
    xml_.writeAttribute(QStringLiteral("linearUnit"), QStringLiteral("meter"));
    xml_.writeAttribute(QStringLiteral("volumeUnit"), QStringLiteral("cubicMeter"));
    xml_.writeAttribute(QStringLiteral("temperatureUnit"), QStringLiteral("celsius"));
    xml_.writeAttribute(QStringLiteral("pressureUnit"), QStringLiteral("milliBars"));
    xml_.writeAttribute(QStringLiteral("angularUnit"), QStringLiteral("decimal degrees"));
    xml_.writeAttribute(QStringLiteral("directionUnit"), QStringLiteral("decimal degrees"));
    xml_.writeEndElement();

    if (!crs.isEmpty()) {
        const CrsInfo system = describe_crs(crs);
        xml_.writeEmptyElement(QStringLiteral("CoordinateSystem"));
        xml_.writeAttribute(QStringLiteral("name"), system.is_valid() ? system.name : crs);
        if (system.authority == QLatin1String("EPSG"))
            xml_.writeAttribute(QStringLiteral("epsgCode"), system.code);
        else
            xml_.writeAttribute(QStringLiteral("desc"), crs);
    }

    xml_.writeEmptyElement(QStringLiteral("Application"));
    xml_.writeAttribute(QStringLiteral("name"), QStringLiteral("ktlink"));
    if (!QCoreApplication::applicationVersion().isEmpty())
        xml_.writeAttribute(QStringLiteral("version"), QCoreApplication::applicationVersion());

    start_group();
    return true;
}

void LandXmlWriter::start_group()
{
    if (groups_ > 0)
        xml_.writeEndElement();
    xml_.writeStartElement(QStringLiteral("CgPoints"));
    names_->clear();
    ++groups_;
}

QString LandXmlWriter::xml_text(const QString& text)
{
    QString clean;
    bool dropped = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // Surrogates only in pairs.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            if (dropped)
                clean += text.mid(i, 2);
            ++i;
            continue;
        }
        if (is_xml_char(c.unicode()) && !c.isSurrogate()) {
            if (dropped)
                clean += c;
            continue;
        }
        if (!dropped)
            clean = text.left(i);
        dropped = true;
        ++dropped_characters_;
    }
    return dropped ? clean : text;
}

bool LandXmlWriter::write(const QStringList& row)
{
    if (!file_)
        return false;
    const QString north = fields_.text(row, PointRole::North).trimmed();
    const QString east = fields_.text(row, PointRole::East).trimmed();
    const QString height = fields_.text(row, PointRole::Height).trimmed();
    double value = 0;
    if (!parse_number(north, &value) || !parse_number(east, &value) ||
        (!height.isEmpty() && !parse_number(height, &value))) {
        ++skipped_;
        return false;
    }
    const QString name = xml_text(fields_.text(row, PointRole::Name));
    const QString code = xml_text(fields_.text(row, PointRole::Code));
    if (!name.isEmpty() && !names_->insert(name)) {
        start_group();
        names_->insert(name);
    }
    xml_.writeStartElement(QStringLiteral("CgPoint"));
    // An empty name is left out: names are unique within a group, absent ones are not compared.
    if (!name.isEmpty())
        xml_.writeAttribute(QStringLiteral("name"), name);
    if (!code.isEmpty())
        xml_.writeAttribute(QStringLiteral("code"), code);
    QString text = north + QLatin1Char(' ') + east;
    if (!height.isEmpty())
        text += QLatin1Char(' ') + height;
    xml_.writeCharacters(text);
    xml_.writeEndElement();
    ++written_;
    return true;
}

bool LandXmlWriter::finish()
{
    if (!file_)
        return false;
    xml_.writeEndDocument();
    bool done = !xml_.hasError();
    if (!done)
        file_->flush(); // for the reason; the temporary file is never put in place
    else
        done = file_->commit();
    if (!done) {
        error_ = QStringLiteral("%1: %2").arg(path_, file_->errorString());
        qCWarning(lcGeo) << "LandXML not written:" << error_;
        cancel();
        return false;
    }
    file_.reset();
    qCDebug(lcGeo) << written_ << "points written to" << path_ << "in" << groups_ << "groups";
    return true;
}

void LandXmlWriter::cancel()
{
    if (file_)
        file_->cancelWriting();
    file_.reset();
}
