// The streamed LandXML 1.2 point writer. QXmlStreamWriter writes the document around the points; the
// CgPoint lines, a million in a large file, are made here as UTF-8 directly, which is four times as
// fast: their numbers are checked number texts and their names and codes are escaped below.
#include "landxml/landxmlwriter.h"

#include "crs/crs.h"
#include "data/replacefile.h"
#include "geologging.h"
#include "landxml/surveywriter.h"
#include "landxml/surveyxml.h"
#include "landxml/xmlbytes.h"

#include <QCoreApplication>
#include <vector>

namespace
{

const char* const kNamespace = "http://www.landxml.org/schema/LandXML-1.2";
constexpr size_t kGroupNames = 100000;
constexpr int kChunk = 1 << 16;

// 64-bit FNV-1a: a collision only starts a group early.
quint64 name_hash(const QByteArray& name)
{
    quint64 hash = 14695981039346656037ull;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash == 0 ? 1 : hash;
}

} // namespace

// The names of the current group as 64-bit hashes in an open-addressing table sized for a full
// group: a group of at most kGroupNames names fills it to less than two fifths.
class LandXmlWriter::NameSet
{
public:
    NameSet() : slots_(size_t(1) << 18, 0) {}

    size_t size() const { return used_.size(); }
    // Adds the name; false when it is already there.
    bool insert(const QByteArray& name)
    {
        const quint64 hash = name_hash(name);
        const size_t mask = slots_.size() - 1;
        size_t i = hash & mask;
        while (slots_[i] != 0) {
            if (slots_[i] == hash)
                return false;
            i = (i + 1) & mask;
        }
        slots_[i] = hash;
        used_.push_back(quint32(i));
        return true;
    }
    // Forgets the names, in proportion to their number.
    void clear()
    {
        for (const quint32 i : used_)
            slots_[i] = 0;
        used_.clear();
    }

private:
    std::vector<quint64> slots_;
    std::vector<quint32> used_;
};

LandXmlWriter::LandXmlWriter(const QString& path, const PointFields& fields)
    : path_(path), fields_(fields), names_(std::make_unique<NameSet>())
{
    if (surveyxml::is_observation_layout(fields))
        survey_ = std::make_unique<SurveyWriter>();
}

LandXmlWriter::~LandXmlWriter() = default;

bool LandXmlWriter::fail(FileFinding failure, const QString& error)
{
    failure_ = failure;
    error_ = error;
    return false;
}

bool LandXmlWriter::open(const QString& crs, const QDateTime& stamp)
{
    crs_ = crs;
    if (!crs.isEmpty() && !area_.open(crs))
        return fail(FileFinding::UnknownCrs, crs);
    if (fields_.field(PointRole::North) < 0 || fields_.field(PointRole::East) < 0)
        return fail(FileFinding::WriteFailed, QStringLiteral("the rows have no N or E field"));
    QString survey_error;
    if (survey_ && !survey_->open(&survey_error))
        return fail(FileFinding::WriteFailed, survey_error);
    file_ = replacement_file(path_);
    if (!file_->open(QIODevice::WriteOnly)) {
        const QString error = file_->errorString();
        file_.reset();
        return fail(FileFinding::WriteFailed, error);
    }
    write_failed_ = false;
    write_error_.clear();
    chunk_.buffer().reserve(2 * kChunk);
    chunk_.open(QIODevice::WriteOnly);
    xml_.setDevice(&chunk_);
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
    // Survey data keeps the instrument's angles digit for digit.
    const QString angles = survey_ ? QStringLiteral("decimal dd.mm.ss") : QStringLiteral("decimal degrees");
    xml_.writeAttribute(QStringLiteral("angularUnit"), angles);
    xml_.writeAttribute(QStringLiteral("directionUnit"), angles);
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
    if (groups_ > 0) {
        chunk_.write("\n ");
        xml_.writeEndElement();
    }
    xml_.writeStartElement(QStringLiteral("CgPoints"));
    xml_.writeCharacters(QString()); // ends the start tag: the points follow as bytes
    names_->clear();
    ++groups_;
}

bool LandXmlWriter::write(const QStringList& row)
{
    if (!file_)
        return false;
    const QString north = fields_.text(row, PointRole::North).trimmed();
    const QString east = fields_.text(row, PointRole::East).trimmed();
    const QString height = fields_.text(row, PointRole::Height).trimmed();
    // The numbers are written as their texts stand, once they are finite numbers ("1e400" is not).
    double value = 0;
    const bool usable = parse_number(north, &value) && parse_number(east, &value) &&
                        (height.isEmpty() || parse_number(height, &value));
    if (survey_) {
        const bool in_survey = survey_->write(row);
        const survey::RowKind kind = surveyxml::row_kind(row);
        // Plain rows are points of the Survey; stations and measured points are CgPoints too.
        if (usable && (kind == survey::RowKind::Station || kind == survey::RowKind::Measured))
            return write_point(row, north, east, height);
        if (!in_survey) {
            ++skipped_;
            return false;
        }
        ++written_;
        return true;
    }
    if (!usable) {
        ++skipped_;
        return false;
    }
    return write_point(row, north, east, height);
}

bool LandXmlWriter::write_point(const QStringList& row, const QString& north, const QString& east,
                                const QString& height)
{
    name_.resize(0);
    append_attribute(name_, fields_.text(row, PointRole::Name), &dropped_characters_);
    if (!name_.isEmpty() && (names_->size() >= kGroupNames || !names_->insert(name_))) {
        start_group();
        names_->insert(name_);
    }
    QByteArray& out = chunk_.buffer();
    out += "\n  <CgPoint";
    // An empty name is left out: names are unique within a group, absent ones are not compared.
    if (!name_.isEmpty()) {
        out += " name=\"";
        out += name_;
        out += '"';
    }
    const QString code = fields_.text(row, PointRole::Code);
    if (!code.isEmpty()) {
        out += " code=\"";
        const int before = int(out.size());
        append_attribute(out, code, &dropped_characters_);
        if (out.size() == before) // nothing left of the code: no attribute
            out.chop(7);
        else
            out += '"';
    }
    out += '>';
    append_ascii(out, north); // number texts are ASCII
    out += ' ';
    append_ascii(out, east);
    if (!height.isEmpty()) {
        out += ' ';
        append_ascii(out, height);
    }
    out += "</CgPoint>";
    chunk_.seek(out.size());
    ++written_;
    double n = 0, e = 0;
    if (!crs_.isEmpty() && parse_number(north, &n) && parse_number(east, &e) && !area_.contains(e, n))
        ++outside_area_;
    if (out.size() >= kChunk)
        flush_chunk();
    return true;
}

bool LandXmlWriter::flush_chunk()
{
    const QByteArray& bytes = chunk_.buffer();
    if (!write_failed_ && !write_all(*file_, bytes.constData(), bytes.size(), &write_error_))
        write_failed_ = true;
    chunk_.seek(0);
    chunk_.buffer().resize(0);
    return !write_failed_;
}

bool LandXmlWriter::finish()
{
    if (!file_)
        return false;
    chunk_.write("\n ");
    if (survey_) {
        xml_.writeEndElement(); // the CgPoints: the Surveys follow them
        const bool surveyed = survey_->finish([this](const QByteArray& piece) {
            chunk_.buffer() += piece;
            chunk_.seek(chunk_.buffer().size());
            if (chunk_.buffer().size() >= kChunk)
                flush_chunk();
        });
        if (!surveyed && !write_failed_) {
            write_failed_ = true;
            write_error_ = QStringLiteral("the survey data's temporary file failed");
        }
    }
    xml_.writeEndDocument();
    bool done = flush_chunk() && !xml_.hasError();
    QString reason = write_error_;
    if (done)
        done = commit_replacement(*file_, &reason);
    if (!done) {
        fail(FileFinding::WriteFailed,
             QStringLiteral("%1: %2").arg(path_, reason.isEmpty() ? file_->errorString() : reason));
        qCWarning(lcGeo) << "LandXML not written:" << error_;
        cancel();
        return false;
    }
    file_.reset();
    chunk_.close();
    qCDebug(lcGeo) << written_ << "points written to" << path_ << "in" << groups_ << "groups";
    return true;
}

LayerReport LandXmlWriter::report() const
{
    LayerReport report;
    report.failure = failure_;
    report.message = error_;
    report.crs = crs_;
    report.without_crs = crs_.isEmpty();
    report.written = written_;
    report.skipped = skipped_;
    report.outside_area = outside_area_;
    report.dropped_characters = dropped_characters_ + (survey_ ? survey_->dropped_characters() : 0);
    report.changed_values = survey_ ? survey_->not_kept() : 0;
    return report;
}

void LandXmlWriter::cancel()
{
    if (file_)
        cancel_replacement(*file_);
    file_.reset();
    chunk_.close();
    chunk_.buffer().clear();
}
