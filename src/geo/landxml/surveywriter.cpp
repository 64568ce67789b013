// The Survey part of a LandXML file, made as UTF-8 bytes like the writer's CgPoint lines.
#include "landxml/surveywriter.h"

#include "data/pointfields.h"
#include "data/tablecolumns.h"
#include "landxml/surveyxml.h"
#include "landxml/xmlbytes.h"
#include "survey/surveyangle.h"

#include <QDir>

namespace
{

constexpr int kChunk = 1 << 16;

QString cell(const QStringList& cells, int column)
{
    return cells.value(column).trimmed();
}

} // namespace

bool SurveyWriter::open(QString* error)
{
    file_.setFileTemplate(QDir::tempPath() + QStringLiteral("/ktlink-survey-XXXXXX"));
    if (!file_.open()) {
        *error = file_.errorString();
        return false;
    }
    out_.reserve(2 * kChunk);
    return true;
}

void SurveyWriter::line(int indent)
{
    out_ += '\n';
    out_.append(indent, ' ');
}

void SurveyWriter::attribute(const char* name, const QString& text)
{
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    append_attribute(out_, text, &dropped_);
    out_ += '"';
}

void SurveyWriter::number(const char* name, const QStringList& cells, int column, bool required)
{
    const QString text = cell(cells, column);
    if (is_number_text(text)) {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        append_ascii(out_, text);
        out_ += '"';
        return;
    }
    if (!text.isEmpty() || required)
        ++not_kept_;
    if (required)
        attribute(name, QStringLiteral("0"));
}

void SurveyWriter::angle(const char* name, const QStringList& cells, int column, bool required)
{
    const QString text = cell(cells, column);
    const survey::AngleReading reading = survey::read_angle(text);
    if (!reading.ok() && (!text.isEmpty() || required))
        ++not_kept_;
    if (reading.ok() || required)
        attribute(name, surveyxml::dms_text(reading.ok() ? reading.seconds : 0));
}

// <Element name=".." code="..">N E Z</Element>, the text left empty unless N and E are numbers.
void SurveyWriter::point_element(const char* element, const QStringList& cells, int indent, bool with_name)
{
    line(indent);
    out_ += '<';
    out_ += element;
    if (with_name && !cell(cells, ObsColumn::Name).isEmpty())
        attribute("name", cells.value(ObsColumn::Name));
    if (!cells.value(ObsColumn::Code).isEmpty())
        attribute("code", cells.value(ObsColumn::Code));
    const QString n = cell(cells, ObsColumn::North);
    const QString e = cell(cells, ObsColumn::East);
    const QString z = cell(cells, ObsColumn::Height);
    const bool plane = is_number_text(n) && is_number_text(e);
    if (!plane && !(n.isEmpty() && e.isEmpty() && z.isEmpty()))
        ++not_kept_;
    if (!plane) {
        out_ += "/>";
        return;
    }
    out_ += '>';
    append_ascii(out_, n);
    out_ += ' ';
    append_ascii(out_, e);
    if (is_number_text(z)) {
        out_ += ' ';
        append_ascii(out_, z);
    } else if (!z.isEmpty()) {
        ++not_kept_;
    }
    out_ += "</";
    out_ += element;
    out_ += '>';
}

void SurveyWriter::count_unkept(const QStringList& cells, std::initializer_list<int> kept)
{
    for (int column = ObsColumn::Code + 1; column < ObsColumn::Count; ++column) {
        if (!cells.value(column).trimmed().isEmpty() && std::find(kept.begin(), kept.end(), column) == kept.end())
            ++not_kept_;
    }
}

void SurveyWriter::start_survey(const QString& job)
{
    if (in_survey_) {
        close_container();
        line(1);
        out_ += "</Survey>";
    }
    line(1);
    out_ += "<Survey>";
    line(2);
    out_ += "<SurveyHeader";
    attribute("name", job);
    out_ += "/>";
    in_survey_ = true;
    job_ = job;
}

void SurveyWriter::close_container()
{
    static const char* const kEnd[] = {"", "</CgPoints>", "</InstrumentSetup>", "</ObservationGroup>"};
    if (open_ != Open::Nothing) {
        line(2);
        out_ += kEnd[int(open_)];
    }
    open_ = Open::Nothing;
    group_names_.clear();
}

// The records of the current setup that cannot stand in its InstrumentSetup any more.
void SurveyWriter::open_group()
{
    close_container();
    line(2);
    out_ += "<ObservationGroup id=\"g";
    out_ += QByteArray::number(++groups_);
    out_ += '"';
    if (!setup_id_.isEmpty())
        attribute("setupID", setup_id_);
    out_ += '>';
    open_ = Open::Group;
}

bool SurveyWriter::write(const QStringList& cells)
{
    const survey::RowKind kind = surveyxml::row_kind(cells);
    if (kind == survey::RowKind::Plain &&
        !(is_number_text(cell(cells, ObsColumn::North)) && is_number_text(cell(cells, ObsColumn::East))))
        return false;
    if (kind == survey::RowKind::Backsight && setup_id_.isEmpty())
        return false;
    const QString job = cells.value(ObsColumn::Job);
    if (!in_survey_ || job != job_)
        start_survey(job);
    switch (kind) {
    case survey::RowKind::Plain:
        write_plain(cells);
        break;
    case survey::RowKind::Station:
        write_station(cells);
        break;
    case survey::RowKind::Backsight:
        write_backsight(cells);
        break;
    case survey::RowKind::Measured:
        write_measured(cells);
        break;
    }
    if (out_.size() >= kChunk)
        flush();
    return true;
}

void SurveyWriter::write_plain(const QStringList& cells)
{
    const QString name = cell(cells, ObsColumn::Name);
    if (open_ != Open::Points || (!name.isEmpty() && group_names_.contains(name))) {
        close_container();
        line(2);
        out_ += "<CgPoints>";
        open_ = Open::Points;
    }
    if (!name.isEmpty())
        group_names_.insert(name);
    // A plain row's kind cell holds nothing the file can carry.
    if (!cell(cells, ObsColumn::Kind).isEmpty())
        ++not_kept_;
    count_unkept(cells, {});
    point_element("CgPoint", cells, 3, true);
}

void SurveyWriter::write_station(const QStringList& cells)
{
    close_container();
    setup_id_ = QStringLiteral("s%1").arg(++setups_);
    // What a reader gives the setup's measured points: the height as written.
    setup_height_ = cell(cells, ObsColumn::InstrumentHeight);
    if (!is_number_text(setup_height_))
        setup_height_ = QStringLiteral("0");
    line(2);
    out_ += "<InstrumentSetup";
    attribute("id", setup_id_);
    attribute("stationName", cells.value(ObsColumn::Name));
    number("instrumentHeight", cells, ObsColumn::InstrumentHeight, true);
    out_ += '>';
    open_ = Open::Setup;
    count_unkept(cells, {ObsColumn::InstrumentHeight});
    point_element("InstrumentPoint", cells, 3, false);
}

void SurveyWriter::write_backsight(const QStringList& cells)
{
    if (open_ != Open::Setup && open_ != Open::Group)
        open_group();
    // A row read from a ten-field line holds the circle reading as its horizontal angle.
    const int circle =
        cell(cells, ObsColumn::BacksightAngle).isEmpty() ? ObsColumn::HorizontalAngle : ObsColumn::BacksightAngle;
    line(3);
    out_ += "<Backsight";
    angle("circle", cells, circle, true);
    out_ += '>';
    count_unkept(cells, {circle});
    point_element("BacksightPoint", cells, 4, true);
    line(3);
    out_ += "</Backsight>";
}

void SurveyWriter::write_measured(const QStringList& cells)
{
    if (open_ != Open::Setup && open_ != Open::Group)
        open_group();
    const QString height = cell(cells, ObsColumn::InstrumentHeight);
    if (!height.isEmpty() && height != setup_height_)
        ++not_kept_;
    line(3);
    out_ += "<RawObservation";
    angle("horizAngle", cells, ObsColumn::HorizontalAngle);
    angle("zenithAngle", cells, ObsColumn::VerticalAngle);
    number("slopeDistance", cells, ObsColumn::SlopeDistance);
    number("horizDistance", cells, ObsColumn::HorizontalDistance);
    number("vertDistance", cells, ObsColumn::VerticalDistance);
    number("targetHeight", cells, ObsColumn::ReflectorHeight);
    out_ += '>';
    count_unkept(cells, {ObsColumn::InstrumentHeight, ObsColumn::HorizontalAngle, ObsColumn::VerticalAngle,
                         ObsColumn::SlopeDistance, ObsColumn::HorizontalDistance, ObsColumn::VerticalDistance,
                         ObsColumn::ReflectorHeight});
    point_element("TargetPoint", cells, 4, true);
    line(3);
    out_ += "</RawObservation>";
}

bool SurveyWriter::flush()
{
    if (!failed_ && file_.write(out_) != out_.size())
        failed_ = true;
    out_.resize(0);
    return !failed_;
}
