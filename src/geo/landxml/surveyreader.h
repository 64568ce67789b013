// The survey data of a LandXML file as rows of the observation layout's fifteen columns, in the order
// of the file: a Survey's SurveyHeader gives the job, an InstrumentSetup a station record, a Backsight
// a backsight record, a RawObservation a measured point (its instrument height its setup's), the
// CgPoints of a Survey plain rows. The CgPoints outside the Surveys that are not the points of its
// records (control points of another program) come first, as plain rows. Angles are read in the
// file's angularUnit and shown as the table shows them (DDD°MM'SS"); points given by pntRef take the
// coordinates of the CgPoint of that name. What the file writer (landxml/surveywriter.h) writes
// reads back cell for cell. The rows are handed on one at a time: memory does not grow with them.
#ifndef GEO_SURVEYREADER_H
#define GEO_SURVEYREADER_H

#include "landxml/landxmlreader.h"
#include "survey/surveyrows.h"

#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class QIODevice;
class SurveyParse;

// A record read that refers to what the file does not hold; the row is read all the same.
struct SurveyReference {
    enum Kind {
        MissingSetup, // an observation's setupID names no InstrumentSetup: no instrument height
        MissingPoint, // a pntRef names no CgPoint with coordinates: no N E Z
    };
    Kind kind = MissingSetup;
    int row = -1;      // the row, from 0
    QString name;      // the row's point name
    QString reference; // the setupID or the pntRef
};

struct LandXmlSurvey {
    LandXmlPoints::Status status = LandXmlPoints::Ok; // CannotOpen, NotWellFormed or NotLandXml refuse
    QString message;
    qint64 line = 0;
    qint64 column = 0;

    QVector<QStringList> rows; // read_landxml_survey's; a LandXmlSurveyReader hands them on instead
    int surveys = 0;
    int setups = 0;
    int observations = 0;
    QVector<SurveyReference> references; // as of the last read with observations
    // Attributes and coordinate texts that are no number or angle in the file's units, read as empty.
    int bad_values = 0;
    bool bad_unit = false; // an angularUnit the schema does not name: angles read as radians

    bool ok() const { return status == LandXmlPoints::Ok; }
    bool has_survey() const { return surveys > 0; }
};

// Gets each row, `row` its index in the table from 0.
using SurveyRowSink = std::function<void(int row, const QStringList& cells)>;

// The rows of a LandXML file's survey data, read as often as a caller needs them. Made, it reads the
// file once for what the rows refer to (the setups' heights, which points pntRefs name, which CgPoints
// outside the Surveys are records' points again); each read() then hands every row in table order.
// `labels` are the kind cells of the rows made. That first read hands the Surveys' rows to `preview`
// as they stand before anything is resolved: when preview_is_table() they are the table's rows but for
// their observation cells (no pntRef to resolve, no plain CgPoint outside the Surveys), and a caller
// that only needs names, kinds and coordinates can spare a read.
class LandXmlSurveyReader
{
public:
    LandXmlSurveyReader(QIODevice* device, const survey::KindLabels& labels,
                        const SurveyRowSink& preview = SurveyRowSink());
    LandXmlSurveyReader(const QString& path, const survey::KindLabels& labels,
                        const SurveyRowSink& preview = SurveyRowSink());
    ~LandXmlSurveyReader();
    LandXmlSurveyReader(const LandXmlSurveyReader&) = delete;
    LandXmlSurveyReader& operator=(const LandXmlSurveyReader&) = delete;

    // Whether it can be read, why not, and the counts (rows stays empty).
    const LandXmlSurvey& info() const;
    bool preview_is_table() const;
    // Every row to `sink`. Without `observations` only the kind, job, name, code and N E Z cells are
    // filled (what orienting on known points needs), in less time. False when the file cannot be read
    // (info() says why).
    bool read(const SurveyRowSink& sink, bool observations = true);

private:
    std::unique_ptr<QIODevice> file_;
    std::unique_ptr<SurveyParse> parse_;
};

// Every row at once.
LandXmlSurvey read_landxml_survey(QIODevice* device, const survey::KindLabels& labels);
LandXmlSurvey read_landxml_survey_file(const QString& path, const survey::KindLabels& labels);
// Whether the file holds a Survey element, found by one pass that holds nothing (a file of points
// alone is then read as points, in flat memory). False also for a file that cannot be read or is
// not well-formed up to its first Survey: the points reader tells why.
bool landxml_has_survey(const QString& path);

// "row 5 P03: refers to setup s9, which the file does not hold" and the like.
QString reference_in_english(const SurveyReference& reference);

#endif // GEO_SURVEYREADER_H
