// Reading and writing the observation rows of measured data by file suffix.
#include "formats/surveyfiles.h"

#include "data/pointformats.h"
#include "data/tablecolumns.h"
#include "formats/geoformats.h"
#include "formats/surveyworkbook.h"
#include "landxml/surveyxml.h"

#include <QFileInfo>

const survey::KindLabels& record_code_labels()
{
    static const survey::KindLabels labels{QStringLiteral("STN"), QStringLiteral("BK"), QStringLiteral("MP")};
    return labels;
}

SurveySource::SurveySource(const QString& path, const SurveyRowSink& preview)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0) {
        landxml_.reset(new LandXmlSurveyReader(path, record_code_labels(), preview));
        return;
    }
    if (is_workbook_suffix(suffix)) {
        workbook_ = path;
        other_.surveys = 1;
        read_workbook(preview ? preview : SurveyRowSink([](int, const QStringList&) {}));
        return;
    }
    other_.status = LandXmlPoints::CannotOpen;
    other_.message = QStringLiteral("only LandXML survey data (\"xml\") and the observation layout's workbook "
                                    "(\"xlsx\", \"ods\") carry the observation columns");
}

SurveySource::~SurveySource() = default;

const LandXmlSurvey& SurveySource::info() const
{
    return landxml_ ? landxml_->info() : other_;
}

bool SurveySource::preview_is_table() const
{
    return landxml_ ? landxml_->preview_is_table() : other_.ok();
}

bool SurveySource::read_workbook(const SurveyRowSink& sink)
{
    ObservationWorkbook book;
    int row = 0;
    if (!read_observation_workbook(
            workbook_, [&](const QStringList& cells) { sink(row++, cells); }, &book)) {
        other_.status = LandXmlPoints::CannotOpen;
        other_.message = book.message;
        return false;
    }
    notes_ = workbook_notes_in_english(book);
    return true;
}

bool SurveySource::read(const SurveyRowSink& sink, bool observations)
{
    if (landxml_)
        return landxml_->read(sink, observations);
    return other_.ok() && !workbook_.isEmpty() && read_workbook(sink);
}

bool keeps_observation_columns(const QString& suffix)
{
    return PointFormat::for_suffix(suffix).kind() == PointFormat::Layer && !is_workbook_suffix(suffix);
}

SurveyOutput::SurveyOutput(const QString& path, OutputEncoding encoding)
{
    const QString suffix = QFileInfo(path).suffix();
    whole_ = keeps_observation_columns(suffix);
    writer_ =
        format_writer(path, suffix, encoding, whole_ ? surveyxml::observation_fields() : PointFields::point_line());
    if (!writer_)
        reason_ = PointFormat::unknown_reason(suffix);
    fields_writer_ = dynamic_cast<FieldsWriter*>(writer_.get());
}

SurveyOutput::~SurveyOutput()
{
    if (writer_ && !failed_)
        writer_->cancel();
}

// The line a writer takes: the whole row (a comma in a cell as ";"), or the point line of a row with
// N and E; false for a row without them.
bool SurveyOutput::line_for(const QStringList& cells)
{
    line_.clear();
    if (whole_) {
        for (int column = 0; column < cells.size(); ++column) {
            if (column > 0)
                line_ += QLatin1Char(',');
            const int start = line_.size();
            line_ += cells[column];
            for (int i = start; i < line_.size(); ++i) {
                if (line_[i] == QLatin1Char(','))
                    line_[i] = QLatin1Char(';');
            }
        }
        return true;
    }
    double number = 0;
    if (!parse_number(cells.value(ObsColumn::North), &number) || !parse_number(cells.value(ObsColumn::East), &number))
        return false;
    QStringList point;
    for (const int column : kObservationPointColumns)
        point << cells.value(column).trimmed();
    line_ = join_point_line(point);
    return true;
}

void SurveyOutput::first_pass(const QStringList& cells)
{
    if (writer_ && line_for(cells))
        writer_->first_pass(line_);
}

bool SurveyOutput::open()
{
    if (!writer_)
        return false;
    if (!writer_->open(QString()))
        fail();
    return !failed_;
}

bool SurveyOutput::write(const QStringList& cells)
{
    if (failed_)
        return false;
    bool written = false;
    if (whole_ && fields_writer_) {
        // The cells as the fields a line of them would split into: a comma in a cell as ";".
        fields_ = cells;
        for (QString& cell : fields_) {
            if (cell.contains(QLatin1Char(',')))
                cell.replace(QLatin1Char(','), QLatin1Char(';'));
        }
        written = fields_writer_->write(fields_);
    } else {
        if (!line_for(cells))
            return false;
        written = writer_->write_line(line_);
    }
    if (writer_->failed()) {
        fail();
        return false;
    }
    written_ += written ? 1 : 0;
    return written;
}

void SurveyOutput::fail()
{
    failed_ = true;
    report_ = writer_->report();
    writer_->cancel();
    reason_ = report_.unencodable > 0
                  ? QStringLiteral("%1 characters GBK cannot hold; --gb18030 writes them").arg(report_.unencodable)
                  : report_.message;
}

bool SurveyOutput::finish()
{
    if (!writer_ || failed_)
        return false;
    if (!writer_->flush() || writer_->report().unencodable > 0) {
        fail();
        return false;
    }
    const bool done = writer_->finish();
    report_ = writer_->report();
    failed_ = true; // finished: nothing more to cancel
    if (!done)
        reason_ = report_.message;
    return done;
}
