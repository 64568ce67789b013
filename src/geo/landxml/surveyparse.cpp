// The walks of the LandXML survey reader over a document.
#include "landxml/surveyparse.h"

#include "data/pointfields.h"
#include "data/tablecolumns.h"
#include "data/texthash.h"
#include "survey/surveyangle.h"

namespace
{

QStringList empty_row()
{
    QStringList cells;
    cells.reserve(ObsColumn::Count);
    for (int column = 0; column < ObsColumn::Count; ++column)
        cells << QString();
    return cells;
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

// A point by name, code and coordinates, as 64 bits: two points are one when these agree (a
// CgPoint outside the Surveys that is a record's point again).
quint64 point_key(const QString& name, const QString& code, const QStringList& numbers)
{
    quint64 hash = text_hash(QChar(0), text_hash(code, text_hash(QChar(0), text_hash(name))));
    for (int i = 0; i < numbers.size(); ++i)
        hash = text_hash(numbers[i], i > 0 ? text_hash(QChar(' '), hash) : hash);
    return hash;
}

} // namespace

QStringList& SurveyParse::new_row(const QString& kind)
{
    end_row();
    row_ = empty_row();
    row_[ObsColumn::Kind] = kind;
    row_[ObsColumn::Job] = job_;
    row_target_.clear();
    row_references_.clear();
    open_ = Open::Done;
    return row_;
}

// The row is whole: the index walk counts a record's point, the others hand the row on.
void SurveyParse::end_row()
{
    if (open_ == Open::None)
        return;
    open_ = Open::None;
    const QString& kind = row_[ObsColumn::Kind];
    if (walk_ == Walk::Index) {
        if (kind.isEmpty() || kind == labels_.backsight) {
        } else if (!row_target_.isEmpty()) {
            referring_.append({row_[ObsColumn::Name], row_[ObsColumn::Code], row_target_});
        } else {
            QStringList numbers = row_.mid(ObsColumn::North, 3);
            if (numbers.last().isEmpty())
                numbers.removeLast();
            records_.add(point_key(row_[ObsColumn::Name], row_[ObsColumn::Code], numbers));
        }
        if (sink_)
            (*sink_)(next_row_++, row_);
        return;
    }
    if (walk_ == Walk::Targets || emit_ == Emit::Outside)
        return;
    for (SurveyReference& reference : row_references_) {
        reference.name = row_[ObsColumn::Name];
        result_.references.append(reference);
    }
    row_references_.clear();
    (*sink_)(next_row_++, row_);
}

void SurveyParse::refer(SurveyReference::Kind kind, const QString& reference)
{
    if (full())
        row_references_.append({kind, next_row_, QString(), reference});
}

bool SurveyParse::split_coordinates(const QString& text, QStringList* numbers)
{
    const QStringList parts = words(text);
    double value = 0;
    bool good = parts.size() == 2 || parts.size() == 3;
    for (const QString& part : parts)
        good = good && parse_number(part, &value);
    if (!good && !parts.isEmpty() && full())
        ++result_.bad_values;
    *numbers = good ? parts : QStringList();
    return good;
}

void SurveyParse::put_angle(int column, const char* name)
{
    if (!full())
        return;
    const QString text = attribute(name);
    qint64 seconds = 0;
    if (text.isEmpty())
        return;
    if (surveyxml::angle_seconds(text, unit_, &seconds))
        row_[column] = survey::angle_with_marks(seconds);
    else
        ++result_.bad_values;
}

void SurveyParse::put_number(int column, const char* name)
{
    const QString text = attribute(name).trimmed();
    if (is_number_text(text))
        row_[column] = text;
    else if (!text.isEmpty() && full())
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
    const bool outside = survey_depth_ == 0;
    if (outside && walk_ == Walk::Index) {
        outside_after_survey_ = outside_after_survey_ || surveys_seen_ > 0;
        if (!point.numbers.isEmpty())
            outside_.append(point_key(name, point.code, point.numbers));
        return;
    }
    if (walk_ == Walk::Targets) {
        if (!point.numbers.isEmpty() && targets_.contains(name) && !named_.contains(name))
            named_.insert(name, point);
        return;
    }
    if (outside) {
        // A record's point again, or a plain row before all others.
        if (point.numbers.isEmpty())
            return;
        if (records_.take(point_key(name, point.code, point.numbers)))
            return;
        if (emit_ == Emit::Surveys)
            return;
        QStringList cells = empty_row();
        cells[ObsColumn::Name] = name;
        cells[ObsColumn::Code] = point.code;
        for (int i = 0; i < point.numbers.size(); ++i)
            cells[ObsColumn::North + i] = point.numbers[i];
        (*sink_)(next_row_++, cells);
        return;
    }
    QStringList& cells = new_row(QString());
    cells[ObsColumn::Name] = name;
    cells[ObsColumn::Code] = point.code;
    for (int i = 0; i < point.numbers.size(); ++i)
        cells[ObsColumn::North + i] = point.numbers[i];
}

// An InstrumentPoint, BacksightPoint or TargetPoint of the open row: its code and N E Z, its name
// too when `take_name`; a pntRef without coordinates takes those of the CgPoint it names.
void SurveyParse::read_point_of(bool take_name)
{
    const QString ref = attribute("pntRef").trimmed();
    const QString name = attribute("name");
    if (take_name)
        row_[ObsColumn::Name] = name.isEmpty() ? ref : name;
    row_[ObsColumn::Code] = attribute("code");
    QStringList numbers;
    if (split_coordinates(xml_.readElementText(QXmlStreamReader::SkipChildElements), &numbers)) {
        for (int i = 0; i < numbers.size(); ++i)
            row_[ObsColumn::North + i] = numbers[i];
        return;
    }
    if (ref.isEmpty() || open_ == Open::Backsight)
        return;
    if (walk_ == Walk::Index) {
        targets_.insert(ref);
        row_target_ = ref;
        return;
    }
    const auto point = named_.constFind(ref);
    if (point == named_.constEnd()) {
        refer(SurveyReference::MissingPoint, ref);
        return;
    }
    if (row_[ObsColumn::Code].isEmpty())
        row_[ObsColumn::Code] = point->code;
    for (int i = 0; i < point->numbers.size(); ++i)
        row_[ObsColumn::North + i] = point->numbers[i];
}

void SurveyParse::read_setup()
{
    ++result_.setups;
    setup_ = attribute("id");
    new_row(labels_.station)[ObsColumn::Name] = attribute("stationName");
    put_number(ObsColumn::InstrumentHeight, "instrumentHeight");
    if (walk_ == Walk::Index && !setup_.isEmpty() && !setup_heights_.contains(setup_))
        setup_heights_.insert(setup_, row_[ObsColumn::InstrumentHeight]);
    open_ = Open::Station;
}

void SurveyParse::read_backsight()
{
    new_row(labels_.backsight);
    put_angle(ObsColumn::BacksightAngle, "circle");
    open_ = Open::Backsight;
}

void SurveyParse::read_observation()
{
    ++result_.observations;
    new_row(labels_.measured);
    put_angle(ObsColumn::HorizontalAngle, "horizAngle");
    put_angle(ObsColumn::VerticalAngle, "zenithAngle");
    if (full()) {
        put_number(ObsColumn::SlopeDistance, "slopeDistance");
        put_number(ObsColumn::HorizontalDistance, "horizDistance");
        put_number(ObsColumn::VerticalDistance, "vertDistance");
        put_number(ObsColumn::ReflectorHeight, "targetHeight");
    }
    open_ = Open::Observation;
    QString setup = attribute("setupID").trimmed();
    if (setup.isEmpty())
        setup = in_group_ ? group_setup_ : setup_;
    if (setup.isEmpty() || walk_ == Walk::Index)
        return;
    const auto height = setup_heights_.constFind(setup);
    if (height != setup_heights_.constEnd())
        row_[ObsColumn::InstrumentHeight] = *height;
    else
        refer(SurveyReference::MissingSetup, setup);
}

void SurveyParse::start_element()
{
    const auto name = xml_.name();
    if (name == QLatin1String("CgPoint")) {
        read_cg_point();
    } else if (walk_ == Walk::Targets) {
        return;
    } else if (name == QLatin1String("Survey")) {
        ++survey_depth_;
        ++surveys_seen_;
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
        end_row();
    } else if (name == QLatin1String("Backsight") && (!setup_.isEmpty() || in_group_)) {
        read_backsight();
    } else if (name == QLatin1String("RawObservation")) {
        read_observation();
    } else if (name == QLatin1String("InstrumentPoint") && !setup_.isEmpty()) {
        if (open_ == Open::Station)
            read_point_of(false);
    } else if (name == QLatin1String("BacksightPoint")) {
        if (open_ == Open::Backsight)
            read_point_of(true);
    } else if (name == QLatin1String("TargetPoint")) {
        if (open_ == Open::Observation)
            read_point_of(true);
    }
}

void SurveyParse::end_element()
{
    const auto name = xml_.name();
    if (name == QLatin1String("Survey") && survey_depth_ > 0) {
        end_row();
        --survey_depth_;
    } else if (name == QLatin1String("InstrumentSetup")) {
        setup_.clear();
        end_row();
    } else if (name == QLatin1String("ObservationGroup")) {
        in_group_ = false;
        end_row();
    } else if (name == QLatin1String("Backsight") || name == QLatin1String("RawObservation")) {
        end_row();
    }
}

void SurveyParse::fail(LandXmlPoints::Status status, const QString& message)
{
    result_ = LandXmlSurvey();
    result_.status = status;
    result_.message = message;
    result_.line = xml_.lineNumber();
    result_.column = xml_.columnNumber();
}

bool SurveyParse::walk(Walk walk, Emit which)
{
    walk_ = walk;
    emit_ = which;
    unit_ = surveyxml::AngleUnit::Radians;
    survey_depth_ = surveys_seen_ = 0;
    const bool counting = walk != Walk::Targets;
    if (counting)
        result_.setups = result_.observations = 0;
    job_.clear();
    setup_.clear();
    in_group_ = false;
    open_ = Open::None;
    if (walk != Walk::Index && !device_->seek(0)) {
        fail(LandXmlPoints::CannotOpen, device_->errorString());
        return false;
    }
    xml_.setDevice(device_);
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
                return false;
            }
            continue;
        }
        attributes_ = xml_.attributes();
        start_element();
    }
    if (xml_.hasError() || !root_seen) {
        fail(LandXmlPoints::NotWellFormed, root_seen ? xml_.errorString() : QStringLiteral("no root element"));
        return false;
    }
    end_row();
    if (counting)
        result_.surveys = surveys_seen_;
    return true;
}

bool SurveyParse::index(const SurveyRowSink& preview)
{
    sink_ = preview ? &preview : nullptr;
    next_row_ = 0;
    const bool indexed = walk(Walk::Index, Emit::All);
    sink_ = nullptr;
    if (!indexed)
        return false;
    if (!targets_.isEmpty()) {
        if (!walk(Walk::Targets, Emit::All))
            return false;
        for (const ReferringRecord& record : qAsConst(referring_)) {
            const Coordinates point = named_.value(record.target);
            records_.add(point_key(record.name, record.code.isEmpty() ? point.code : record.code, point.numbers));
        }
        referring_.clear();
    }
    records_.seal();
    for (const quint64 key : qAsConst(outside_)) {
        if (!records_.take(key))
            ++plain_outside_;
    }
    outside_.clear();
    outside_.squeeze();
    return true;
}

bool SurveyParse::read(const SurveyRowSink& sink, bool observations)
{
    if (!result_.ok())
        return false;
    sink_ = &sink;
    records_.untake_all();
    next_row_ = 0;
    const Walk walk = observations ? Walk::Rows : Walk::Known;
    if (observations) {
        result_.references.clear();
        result_.bad_values = 0;
    }
    // Plain rows come first: when some of them follow a Survey, they are read in a walk of their own.
    if (!outside_after_survey_)
        return this->walk(walk, Emit::All);
    return this->walk(walk, Emit::Outside) && this->walk(walk, Emit::Surveys);
}
