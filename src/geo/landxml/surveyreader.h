// The survey data of a LandXML file as rows of the observation layout's fifteen columns, in the order
// of the file: a Survey's SurveyHeader gives the job, an InstrumentSetup a station record, a Backsight
// a backsight record, a RawObservation a measured point (its instrument height its setup's), the
// CgPoints of a Survey plain rows. The CgPoints outside the Surveys that are not the points of its
// records (control points of another program) come first, as plain rows. Angles are read in the
// file's angularUnit and shown as the table shows them (DDD°MM'SS"); points given by pntRef take the
// coordinates of the CgPoint of that name. What the file writer (landxml/surveywriter.h) writes
// reads back cell for cell.
#ifndef GEO_SURVEYREADER_H
#define GEO_SURVEYREADER_H

#include "landxml/landxmlreader.h"
#include "survey/surveyrows.h"

#include <QStringList>
#include <QVector>

class QIODevice;

// A record read that refers to what the file does not hold; the row is read all the same.
struct SurveyReference {
    enum Kind {
        MissingSetup, // an observation's setupID names no InstrumentSetup: no instrument height
        MissingPoint, // a pntRef names no CgPoint with coordinates: no N E Z
    };
    Kind kind = MissingSetup;
    int row = -1;      // the row, from 0
    QString reference; // the setupID or the pntRef
};

struct LandXmlSurvey {
    LandXmlPoints::Status status = LandXmlPoints::Ok; // CannotOpen, NotWellFormed or NotLandXml refuse
    QString message;
    qint64 line = 0;
    qint64 column = 0;

    QVector<QStringList> rows;
    int surveys = 0;
    int setups = 0;
    int observations = 0;
    QVector<SurveyReference> references;
    // Attributes and coordinate texts that are no number or angle in the file's units, read as empty.
    int bad_values = 0;
    bool bad_unit = false; // an angularUnit the schema does not name: angles read as radians

    bool ok() const { return status == LandXmlPoints::Ok; }
    bool has_survey() const { return surveys > 0; }
};

// `labels` are the kind cells of the rows made.
LandXmlSurvey read_landxml_survey(QIODevice* device, const survey::KindLabels& labels);
LandXmlSurvey read_landxml_survey_file(const QString& path, const survey::KindLabels& labels);
// Whether the file holds a Survey element, found by one pass that holds nothing (a file of points
// alone is then read as points, in flat memory). False also for a file that cannot be read or is
// not well-formed up to its first Survey: the points reader tells why.
bool landxml_has_survey(const QString& path);

// "row 5 P03: refers to setup s9, which the file does not hold" and the like.
QString reference_in_english(const SurveyReference& reference, const QVector<QStringList>& rows);

#endif // GEO_SURVEYREADER_H
