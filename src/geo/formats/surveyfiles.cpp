// Reading and writing the observation rows of measured data by file suffix.
#include "formats/surveyfiles.h"

#include "data/formatwriter.h"
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

LandXmlSurvey read_survey_file(const QString& path, QStringList* notes)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0)
        return read_landxml_survey_file(path, record_code_labels());
    LandXmlSurvey survey;
    if (!is_workbook_suffix(suffix)) {
        survey.status = LandXmlPoints::CannotOpen;
        survey.message = QStringLiteral("only LandXML survey data (\"xml\") and the observation layout's workbook "
                                        "(\"xlsx\", \"ods\") carry the observation columns");
        return survey;
    }
    ObservationWorkbook book;
    if (!read_observation_workbook(
            path, [&survey](const QStringList& cells) { survey.rows << cells; }, &book)) {
        survey.status = LandXmlPoints::CannotOpen;
        survey.message = book.message;
        survey.rows.clear();
        return survey;
    }
    survey.surveys = 1;
    if (notes)
        *notes = workbook_notes_in_english(book);
    return survey;
}

bool keeps_observation_columns(const QString& suffix)
{
    return PointFormat::for_suffix(suffix).kind() == PointFormat::Layer && !is_workbook_suffix(suffix);
}

namespace
{

// The lines a writer takes: whole rows (a comma in a cell as ";"), or point lines of the rows with N and E.
QStringList lines_for(const QVector<QStringList>& rows, bool whole)
{
    QStringList lines;
    double number = 0;
    for (const QStringList& cells : rows) {
        if (whole) {
            QStringList kept = cells;
            for (QString& cell : kept)
                cell.replace(QLatin1Char(','), QLatin1Char(';'));
            lines << kept.join(QLatin1Char(','));
        } else if (parse_number(cells.value(ObsColumn::North), &number) &&
                   parse_number(cells.value(ObsColumn::East), &number)) {
            QStringList point;
            for (const int column : kObservationPointColumns)
                point << cells.value(column).trimmed();
            lines << join_point_line(point);
        }
    }
    return lines;
}

} // namespace

SurveyWrite write_survey_file(const QString& path, const QVector<QStringList>& rows, OutputEncoding encoding)
{
    SurveyWrite result;
    const QString suffix = QFileInfo(path).suffix();
    const bool whole = keeps_observation_columns(suffix);
    const std::unique_ptr<FormatWriter> writer =
        format_writer(path, suffix, encoding, whole ? surveyxml::observation_fields() : PointFields::point_line());
    if (!writer) {
        result.reason = PointFormat::unknown_reason(suffix);
        return result;
    }
    const QStringList lines = lines_for(rows, whole);
    if (writer->needs_first_pass()) {
        for (const QString& line : lines)
            writer->first_pass(line);
    }
    bool done = writer->open(QString());
    for (int i = 0; done && i < lines.size(); ++i) {
        if (writer->write_line(lines[i]))
            ++result.written;
        done = !writer->failed();
    }
    done = done && writer->flush() && writer->report().unencodable == 0;
    if (!done) {
        result.report = writer->report();
        writer->cancel();
        result.reason =
            result.report.unencodable > 0
                ? QStringLiteral("%1 characters GBK cannot hold; --gb18030 writes them").arg(result.report.unencodable)
                : result.report.message;
        return result;
    }
    result.done = writer->finish();
    result.report = writer->report();
    if (!result.done)
        result.reason = result.report.message;
    return result;
}
