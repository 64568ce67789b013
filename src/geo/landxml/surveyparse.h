// The walks of the LandXML survey reader (landxml/surveyreader.h) over a document: a first walk
// learns what the rows refer to; each later walk makes the rows again and hands each on as soon as
// nothing more can change it, so at most one row is held.
#ifndef GEO_SURVEYPARSE_H
#define GEO_SURVEYPARSE_H

#include "data/keymultiset.h"
#include "landxml/surveyreader.h"
#include "landxml/surveyxml.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>

class SurveyParse
{
public:
    SurveyParse(QIODevice* device, const survey::KindLabels& labels) : device_(device), labels_(labels) {}
    // The first walks, handing the Surveys' rows to `preview` as they stand before anything is
    // resolved; false (result() telling why) when the document cannot be read.
    bool index(const SurveyRowSink& preview);
    // Whether the preview gave the rows of the table (but for their observations).
    bool preview_is_table() const { return targets_.isEmpty() && plain_outside_ == 0; }
    bool read(const SurveyRowSink& sink, bool observations);
    LandXmlSurvey& result() { return result_; }

private:
    struct Coordinates {
        QString code;
        QStringList numbers; // N, E and optionally Z as written
    };

    // A record whose point is a pntRef: its key is known once the CgPoint it names is.
    struct ReferringRecord {
        QString name;
        QString code;
        QString target;
    };

    enum class Walk {
        Index,   // the setups' heights, the pntRef targets, the records' points; no observations
        Targets, // the CgPoints that pntRefs name
        Known,   // rows with names and coordinates only
        Rows,    // rows with every cell
    };
    enum class Emit { All, Outside, Surveys };
    bool walk(Walk walk, Emit which);
    void start_element();
    void end_element();
    QString attribute(const char* name) const { return attributes_.value(QLatin1String(name)).toString(); }
    QStringList& new_row(const QString& kind);
    void end_row();
    void read_cg_point();
    void read_point_of(bool take_name);
    void read_setup();
    void read_backsight();
    void read_observation();
    void put_angle(int column, const char* name);
    void put_number(int column, const char* name);
    bool split_coordinates(const QString& text, QStringList* numbers);
    void refer(SurveyReference::Kind kind, const QString& reference);
    void fail(LandXmlPoints::Status status, const QString& message);
    bool full() const { return walk_ == Walk::Rows; }

    QIODevice* device_;
    QXmlStreamReader xml_;
    QXmlStreamAttributes attributes_; // the current start element's
    survey::KindLabels labels_;
    LandXmlSurvey result_;

    // What the index walks learn.
    QHash<QString, QString> setup_heights_; // setup id -> instrument height as written
    QSet<QString> targets_;                 // names pntRefs give without coordinates
    QHash<QString, Coordinates> named_;     // the first CgPoint with coordinates of each target
    KeyMultiset records_;                   // the records' points by key
    QVector<ReferringRecord> referring_;
    QVector<quint64> outside_; // the CgPoints outside the Surveys with coordinates, by key
    int plain_outside_ = 0;    // of them, the points of no record
    bool outside_after_survey_ = false;

    // The walk under way.
    Walk walk_ = Walk::Index;
    Emit emit_ = Emit::All;
    const SurveyRowSink* sink_ = nullptr;
    int next_row_ = 0;
    surveyxml::AngleUnit unit_ = surveyxml::AngleUnit::Radians;
    int survey_depth_ = 0;
    int surveys_seen_ = 0;
    QString job_;
    QString setup_; // the InstrumentSetup the reader is in, empty outside one
    bool in_group_ = false;
    QString group_setup_; // the ObservationGroup's setupID
    // The row being filled: the station record until its InstrumentPoint, a backsight record or a
    // measured point until its element ends.
    enum class Open { None, Station, Backsight, Observation, Done };
    Open open_ = Open::None;
    QStringList row_;
    QString row_target_;                      // its pntRef, in the index walk
    QVector<SurveyReference> row_references_; // its references, named when it is handed on
};

#endif // GEO_SURVEYPARSE_H
