// Files of measured data for the command-line converter: the observation rows of a file that carries
// them, read as often as needed, and rows written one at a time to any format (every column to
// LandXML and the GIS layers, the points to the others).
#ifndef GEO_SURVEYFILES_H
#define GEO_SURVEYFILES_H

#include "data/formatwriter.h"
#include "data/layerreport.h"
#include "data/textfile.h"
#include "landxml/surveyreader.h"

#include <QString>
#include <QStringList>
#include <memory>

// The kind cells the converter reads rows with: the record codes.
const survey::KindLabels& record_code_labels();

// The observation rows of `path`, in table order: LandXML survey data, or the observation layout's
// workbook (formats/surveyworkbook.h); any other suffix is refused with info().message saying so.
// `preview` may get rows while the file is opened: see LandXmlSurveyReader. A workbook is read
// through once as it is opened, its rows to `preview`.
class SurveySource
{
public:
    explicit SurveySource(const QString& path, const SurveyRowSink& preview = SurveyRowSink());
    ~SurveySource();
    const LandXmlSurvey& info() const;
    bool preview_is_table() const;
    // Every row to `sink`; without `observations` only names, kinds and coordinates need be filled.
    bool read(const SurveyRowSink& sink, bool observations = true);
    // What the last read of a workbook did not keep as it stands, one English line each.
    QStringList notes() const { return notes_; }

private:
    bool read_workbook(const SurveyRowSink& sink);

    std::unique_ptr<LandXmlSurveyReader> landxml_;
    QString workbook_;    // the path, when the source is a workbook
    LandXmlSurvey other_; // a workbook's status, or why the file is refused
    QStringList notes_;
};

// Whether rows of the observation layout written to `suffix` keep every column (LandXML, GIS layers).
bool keeps_observation_columns(const QString& suffix);

// Rows written to `path` in the format of its suffix: every row and column where the format keeps
// them, else the point (name, code, N, E, Z) of every row with N and E. A format that needs to see
// the points before it opens (a drawing) takes each row once through first_pass().
class SurveyOutput
{
public:
    SurveyOutput(const QString& path, OutputEncoding encoding);
    ~SurveyOutput();
    bool whole() const { return whole_; }
    bool needs_first_pass() const { return writer_ && writer_->needs_first_pass(); }
    void first_pass(const QStringList& cells);
    // False, reason() telling why, when the file cannot be started.
    bool open();
    // False when the format leaves the row out (it is not counted) or writing failed.
    bool write(const QStringList& cells);
    // Puts the file in place; false (reason() telling why, the old file kept) when anything failed.
    bool finish();
    int written() const { return written_; }
    QString reason() const { return reason_; }
    LayerReport report() const { return report_; }

private:
    bool line_for(const QStringList& cells);
    void fail();

    bool whole_ = false;
    std::unique_ptr<FormatWriter> writer_;
    FieldsWriter* fields_writer_ = nullptr; // the writer, when it takes fields without a line
    QStringList fields_;
    QString line_;
    bool failed_ = false;
    int written_ = 0;
    QString reason_;
    LayerReport report_;
};

#endif // GEO_SURVEYFILES_H
