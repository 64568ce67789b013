// Files of measured data for the command-line converter: the observation rows of a file that carries
// them, and rows written to any format (every column to LandXML and the GIS layers, the points to
// the others).
#ifndef GEO_SURVEYFILES_H
#define GEO_SURVEYFILES_H

#include "data/layerreport.h"
#include "data/textfile.h"
#include "landxml/surveyreader.h"

#include <QString>
#include <QVector>

// The kind cells the converter reads rows with: the record codes.
const survey::KindLabels& record_code_labels();

// The observation rows of `path`: LandXML survey data, or the observation layout's workbook (xlsx,
// ods) when its first row captions the observation columns; any other suffix is refused with
// `message` saying so. `notes` gets what a workbook's reading did not keep, in English.
LandXmlSurvey read_survey_file(const QString& path, QStringList* notes = nullptr);

// Whether rows of the observation layout written to `suffix` keep every column (LandXML, GIS layers).
bool keeps_observation_columns(const QString& suffix);

struct SurveyWrite {
    bool done = false;
    int written = 0;
    QString reason; // why not
    LayerReport report;
};

// Writes `rows` to `path` in the format of its suffix: every row and column where the format keeps
// them, else the point (name, code, N, E, Z) of every row with N and E.
SurveyWrite write_survey_file(const QString& path, const QVector<QStringList>& rows, OutputEncoding encoding);

#endif // GEO_SURVEYFILES_H
