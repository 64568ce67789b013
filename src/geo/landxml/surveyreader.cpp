// Reading LandXML survey data into observation rows, as often as a caller needs them.
#include "landxml/surveyreader.h"

#include "data/tablecolumns.h"
#include "landxml/surveyparse.h"

#include <QFile>
#include <QXmlStreamReader>

LandXmlSurveyReader::LandXmlSurveyReader(QIODevice* device, const survey::KindLabels& labels,
                                         const SurveyRowSink& preview)
    : parse_(new SurveyParse(device, labels))
{
    parse_->index(preview);
}

LandXmlSurveyReader::LandXmlSurveyReader(const QString& path, const survey::KindLabels& labels,
                                         const SurveyRowSink& preview)
{
    auto* file = new QFile(path);
    file_.reset(file);
    parse_.reset(new SurveyParse(file, labels));
    if (!file->open(QIODevice::ReadOnly)) {
        parse_->result().status = LandXmlPoints::CannotOpen;
        parse_->result().message = file->errorString();
        return;
    }
    parse_->index(preview);
}

LandXmlSurveyReader::~LandXmlSurveyReader() = default;

const LandXmlSurvey& LandXmlSurveyReader::info() const
{
    return parse_->result();
}

bool LandXmlSurveyReader::preview_is_table() const
{
    return parse_->result().ok() && parse_->preview_is_table();
}

bool LandXmlSurveyReader::read(const SurveyRowSink& sink, bool observations)
{
    return parse_->read(sink, observations);
}

namespace
{

LandXmlSurvey read_all(LandXmlSurveyReader& reader)
{
    QVector<QStringList> rows;
    reader.read([&rows](int, const QStringList& cells) { rows.append(cells); });
    LandXmlSurvey result = reader.info();
    if (result.ok())
        result.rows = rows;
    return result;
}

} // namespace

LandXmlSurvey read_landxml_survey(QIODevice* device, const survey::KindLabels& labels)
{
    LandXmlSurveyReader reader(device, labels);
    return read_all(reader);
}

LandXmlSurvey read_landxml_survey_file(const QString& path, const survey::KindLabels& labels)
{
    LandXmlSurveyReader reader(path, labels);
    return read_all(reader);
}

bool landxml_has_survey(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("Survey"))
            return true;
    }
    return false;
}

QString reference_in_english(const SurveyReference& reference)
{
    const QString head = QStringLiteral("row %1 %2: ").arg(reference.row + 1).arg(reference.name);
    if (reference.kind == SurveyReference::MissingSetup)
        return head + QStringLiteral("refers to setup %1, which the file does not hold: read without an instrument "
                                     "height")
                          .arg(reference.reference);
    return head + QStringLiteral("refers to point %1, which the file does not hold with coordinates: read without "
                                 "N E Z")
                      .arg(reference.reference);
}
