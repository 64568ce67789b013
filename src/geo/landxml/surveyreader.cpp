// Reading LandXML survey data into observation rows: one pass over the document, then the pntRef
// and setupID references resolved against everything the file holds.
#include "landxml/surveyreader.h"

#include "data/pointfields.h"
#include "data/tablecolumns.h"
#include "landxml/surveyxml.h"
#include "survey/surveyangle.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

namespace
{

struct Coordinates {
    QString code;
    QStringList numbers; // N, E and optionally Z as written
};

// A row's reference to resolve once the whole file is read.
struct Pending {
    int row;
    QString point; // pntRef, for N E Z (and name and code where the element gives none)
    QString setup; // setupID, for the instrument height
};

class SurveyParse
{
public:
    SurveyParse(QIODevice* device, const survey::KindLabels& labels) : xml_(device), labels_(labels) {}
    LandXmlSurvey run();

private:
    void start_element();
    void end_element();
    QString attribute(const char* name) const { return attributes_.value(QLatin1String(name)).toString(); }
    QStringList& new_row(const QString& kind);
    void read_cg_point();
    void read_point_of(int row, bool take_name);
    void read_setup();
    void read_backsight();
    void read_observation();
    void put_angle(QStringList& cells, int column, const char* name);
    void put_number(QStringList& cells, int column, const char* name);
    bool split_coordinates(const QString& text, QStringList* numbers);
    void resolve();
    void merge_outside();
    void fail(LandXmlPoints::Status status, const QString& message);

    QXmlStreamReader xml_;
    QXmlStreamAttributes attributes_; // the current start element's
    survey::KindLabels labels_;
    LandXmlSurvey result_;
    surveyxml::AngleUnit unit_ = surveyxml::AngleUnit::Radians;
    int survey_depth_ = 0;
    QString job_;
    QString setup_; // the InstrumentSetup the reader is in, empty outside one
    bool in_group_ = false;
    QString group_setup_; // the ObservationGroup's setupID
    int station_row_ = -1;
    int backsight_row_ = -1;
    int observation_row_ = -1;
    QHash<QString, QString> setup_heights_; // setup id -> instrument height as written
    QHash<QString, Coordinates> named_;     // the first CgPoint with coordinates of each name
    QVector<Pending> pending_;
    struct Outside {
        QString name;
        Coordinates point;
    };
    QVector<Outside> outside_; // CgPoints outside the Surveys
};

QStringList empty_row()
{
    QStringList cells;
    cells.reserve(ObsColumn::Count);
    for (int column = 0; column < ObsColumn::Count; ++column)
        cells << QString();
    return cells;
}

QStringList& SurveyParse::new_row(const QString& kind)
{
    QStringList cells = empty_row();
    cells[ObsColumn::Kind] = kind;
    cells[ObsColumn::Job] = job_;
    result_.rows.append(cells);
    return result_.rows.last();
}

// The text split at white space.
QStringList words(const QString& text)
{
    QStringList parts;
    int start = -1;
    for (int i = 0; i <= text.size(); ++i) {
        const bool space = i == text.size() || text[i].isSpace();
        if (space && start >= 0) {
            parts << text.mid(start, i - start);
            start = -1;
        } else if (!space && start < 0) {
            start = i;
        }
    }
    return parts;
}

bool SurveyParse::split_coordinates(const QString& text, QStringList* numbers)
{
    const QStringList parts = words(text);
    double value = 0;
    bool good = parts.size() == 2 || parts.size() == 3;
    for (const QString& part : parts)
        good = good && parse_number(part, &value);
    if (!good && !parts.isEmpty())
        ++result_.bad_values;
    *numbers = good ? parts : QStringList();
    return good;
}

void SurveyParse::put_angle(QStringList& cells, int column, const char* name)
{
    const QString text = attribute(name);
    qint64 seconds = 0;
    if (text.isEmpty())
        return;
    if (surveyxml::angle_seconds(text, unit_, &seconds))
        cells[column] = survey::angle_with_marks(seconds);
    else
        ++result_.bad_values;
}

void SurveyParse::put_number(QStringList& cells, int column, const char* name)
{
    const QString text = attribute(name).trimmed();
    if (is_number_text(text))
        cells[column] = text;
    else if (!text.isEmpty())
        ++result_.bad_values;
}

void SurveyParse::read_cg_point()
{
    const QString name = attribute("name");
    Coordinates point;
    point.code = attribute("code");
    if (point.code.isEmpty())
        point.code = attribute("desc");
    split_coordinates(xml_.readElementText(QXmlStreamReader::SkipChildElements), &point.numbers);
    if (!point.numbers.isEmpty() && !name.isEmpty() && !named_.contains(name))
        named_.insert(name, point);
    if (survey_depth_ == 0) {
        outside_.append({name, point});
        return;
    }
    QStringList& cells = new_row(QString());
    cells[ObsColumn::Name] = name;
    cells[ObsColumn::Code] = point.code;
    for (int i = 0; i < point.numbers.size(); ++i)
        cells[ObsColumn::North + i] = point.numbers[i];
}

// An InstrumentPoint, BacksightPoint or TargetPoint: its code and N E Z into `row`, its name too when
// `take_name`; a pntRef without coordinates is resolved later.
void SurveyParse::read_point_of(int row, bool take_name)
{
    if (row < 0)
        return;
    QStringList& cells = result_.rows[row];
    const QString ref = attribute("pntRef").trimmed();
    const QString name = attribute("name");
    if (take_name)
        cells[ObsColumn::Name] = name.isEmpty() ? ref : name;
    cells[ObsColumn::Code] = attribute("code");
    QStringList numbers;
    if (split_coordinates(xml_.readElementText(QXmlStreamReader::SkipChildElements), &numbers)) {
        for (int i = 0; i < numbers.size(); ++i)
            cells[ObsColumn::North + i] = numbers[i];
    } else if (!ref.isEmpty() && row != backsight_row_) {
        pending_.append({row, ref, QString()});
    }
}

void SurveyParse::read_setup()
{
    ++result_.setups;
    setup_ = attribute("id");
    QStringList& cells = new_row(labels_.station);
    cells[ObsColumn::Name] = attribute("stationName");
    put_number(cells, ObsColumn::InstrumentHeight, "instrumentHeight");
    if (!setup_.isEmpty() && !setup_heights_.contains(setup_))
        setup_heights_.insert(setup_, cells[ObsColumn::InstrumentHeight]);
    station_row_ = result_.rows.size() - 1;
    backsight_row_ = observation_row_ = -1;
}

void SurveyParse::read_backsight()
{
    QStringList& cells = new_row(labels_.backsight);
    put_angle(cells, ObsColumn::BacksightAngle, "circle");
    backsight_row_ = result_.rows.size() - 1;
}

void SurveyParse::read_observation()
{
    ++result_.observations;
    QStringList& cells = new_row(labels_.measured);
    put_angle(cells, ObsColumn::HorizontalAngle, "horizAngle");
    put_angle(cells, ObsColumn::VerticalAngle, "zenithAngle");
    put_number(cells, ObsColumn::SlopeDistance, "slopeDistance");
    put_number(cells, ObsColumn::HorizontalDistance, "horizDistance");
    put_number(cells, ObsColumn::VerticalDistance, "vertDistance");
    put_number(cells, ObsColumn::ReflectorHeight, "targetHeight");
    observation_row_ = result_.rows.size() - 1;
    QString setup = attribute("setupID").trimmed();
    if (setup.isEmpty())
        setup = in_group_ ? group_setup_ : setup_;
    if (!setup.isEmpty())
        pending_.append({observation_row_, QString(), setup});
}

void SurveyParse::start_element()
{
    const auto name = xml_.name();
    if (name == QLatin1String("CgPoint")) {
        read_cg_point();
    } else if (name == QLatin1String("Survey")) {
        ++survey_depth_;
        ++result_.surveys;
        job_.clear();
    } else if (name == QLatin1String("SurveyHeader") && survey_depth_ > 0) {
        job_ = attribute("name");
    } else if ((name == QLatin1String("Metric") || name == QLatin1String("Imperial"))) {
        if (!surveyxml::angle_unit(attribute("angularUnit"), &unit_)) {
            result_.bad_unit = true;
            unit_ = surveyxml::AngleUnit::Radians;
        }
    } else if (survey_depth_ == 0) {
        return;
    } else if (name == QLatin1String("InstrumentSetup")) {
        read_setup();
    } else if (name == QLatin1String("ObservationGroup")) {
        in_group_ = true;
        group_setup_ = attribute("setupID").trimmed();
        backsight_row_ = observation_row_ = -1;
    } else if (name == QLatin1String("Backsight") && (!setup_.isEmpty() || in_group_)) {
        read_backsight();
    } else if (name == QLatin1String("RawObservation")) {
        read_observation();
    } else if (name == QLatin1String("InstrumentPoint") && !setup_.isEmpty()) {
        read_point_of(observation_row_ < 0 && backsight_row_ < 0 ? station_row_ : -1, false);
    } else if (name == QLatin1String("BacksightPoint")) {
        read_point_of(backsight_row_, true);
    } else if (name == QLatin1String("TargetPoint")) {
        read_point_of(observation_row_, true);
    }
}

void SurveyParse::end_element()
{
    const auto name = xml_.name();
    if (name == QLatin1String("Survey") && survey_depth_ > 0) {
        --survey_depth_;
    } else if (name == QLatin1String("InstrumentSetup")) {
        setup_.clear();
        station_row_ = backsight_row_ = observation_row_ = -1;
    } else if (name == QLatin1String("ObservationGroup")) {
        in_group_ = false;
        backsight_row_ = observation_row_ = -1;
    } else if (name == QLatin1String("Backsight")) {
        backsight_row_ = -1;
    } else if (name == QLatin1String("RawObservation")) {
        observation_row_ = -1;
    }
}

void SurveyParse::resolve()
{
    for (const Pending& p : qAsConst(pending_)) {
        QStringList& cells = result_.rows[p.row];
        if (!p.setup.isEmpty()) {
            const auto setup = setup_heights_.constFind(p.setup);
            if (setup != setup_heights_.constEnd())
                cells[ObsColumn::InstrumentHeight] = *setup;
            else
                result_.references.append({SurveyReference::MissingSetup, p.row, p.setup});
            continue;
        }
        const auto point = named_.constFind(p.point);
        if (point == named_.constEnd()) {
            result_.references.append({SurveyReference::MissingPoint, p.row, p.point});
            continue;
        }
        if (cells[ObsColumn::Code].isEmpty())
            cells[ObsColumn::Code] = point->code;
        for (int i = 0; i < point->numbers.size(); ++i)
            cells[ObsColumn::North + i] = point->numbers[i];
    }
}

QString point_key(const QString& name, const QString& code, const QStringList& numbers)
{
    return name + QChar(0) + code + QChar(0) + numbers.join(QChar(' '));
}

// The CgPoints outside the Surveys that are no station's or measured point's come first as plain
// rows; the others are those records' points again.
void SurveyParse::merge_outside()
{
    QHash<QString, int> records;
    for (const QStringList& cells : qAsConst(result_.rows)) {
        if (cells[ObsColumn::Kind].isEmpty() || cells[ObsColumn::Kind] == labels_.backsight)
            continue;
        QStringList numbers = cells.mid(ObsColumn::North, 3);
        if (numbers.last().isEmpty())
            numbers.removeLast();
        ++records[point_key(cells[ObsColumn::Name], cells[ObsColumn::Code], numbers)];
    }
    QVector<QStringList> plain;
    for (const Outside& point : qAsConst(outside_)) {
        if (point.point.numbers.isEmpty())
            continue;
        int& seen = records[point_key(point.name, point.point.code, point.point.numbers)];
        if (seen > 0) {
            --seen;
            continue;
        }
        QStringList cells = empty_row();
        cells[ObsColumn::Name] = point.name;
        cells[ObsColumn::Code] = point.point.code;
        for (int i = 0; i < point.point.numbers.size(); ++i)
            cells[ObsColumn::North + i] = point.point.numbers[i];
        plain.append(cells);
    }
    if (plain.isEmpty())
        return;
    for (SurveyReference& reference : result_.references)
        reference.row += plain.size();
    result_.rows = plain + result_.rows;
}

void SurveyParse::fail(LandXmlPoints::Status status, const QString& message)
{
    result_ = LandXmlSurvey();
    result_.status = status;
    result_.message = message;
    result_.line = xml_.lineNumber();
    result_.column = xml_.columnNumber();
}

LandXmlSurvey SurveyParse::run()
{
    bool root_seen = false;
    while (!xml_.atEnd()) {
        xml_.readNext();
        if (xml_.isEndElement()) {
            end_element();
            continue;
        }
        if (!xml_.isStartElement())
            continue;
        if (!root_seen) {
            root_seen = true;
            if (xml_.name() != QLatin1String("LandXML")) {
                fail(LandXmlPoints::NotLandXml, xml_.name().toString());
                return result_;
            }
            continue;
        }
        attributes_ = xml_.attributes();
        start_element();
    }
    if (xml_.hasError() || !root_seen) {
        fail(LandXmlPoints::NotWellFormed, root_seen ? xml_.errorString() : QStringLiteral("no root element"));
        return result_;
    }
    resolve();
    merge_outside();
    return result_;
}

} // namespace

LandXmlSurvey read_landxml_survey(QIODevice* device, const survey::KindLabels& labels)
{
    return SurveyParse(device, labels).run();
}

LandXmlSurvey read_landxml_survey_file(const QString& path, const survey::KindLabels& labels)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        LandXmlSurvey result;
        result.status = LandXmlPoints::CannotOpen;
        result.message = file.errorString();
        return result;
    }
    return read_landxml_survey(&file, labels);
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

QString reference_in_english(const SurveyReference& reference, const QVector<QStringList>& rows)
{
    const QString head =
        QStringLiteral("row %1 %2: ").arg(reference.row + 1).arg(rows.value(reference.row).value(ObsColumn::Name));
    if (reference.kind == SurveyReference::MissingSetup)
        return head + QStringLiteral("refers to setup %1, which the file does not hold: read without an instrument "
                                     "height")
                          .arg(reference.reference);
    return head + QStringLiteral("refers to point %1, which the file does not hold with coordinates: read without "
                                 "N E Z")
                      .arg(reference.reference);
}
