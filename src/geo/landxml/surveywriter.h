// The Survey part of a LandXML file of observation-layout rows, written row by row in table order:
// per run of rows of one job a Survey with its SurveyHeader; a station record opens an
// InstrumentSetup (InstrumentPoint "N E Z"), a backsight record is its Backsight (circle,
// BacksightPoint), a measured point a RawObservation with its TargetPoint; plain rows are CgPoints of
// the Survey. Records that follow a plain row or a change of job go into an ObservationGroup that
// names their setup, so that a reader puts every row back in its place. Angles are written in
// "decimal dd.mm.ss" from their whole seconds. The XML goes to a temporary file: memory stays flat.
#ifndef GEO_SURVEYWRITER_H
#define GEO_SURVEYWRITER_H

#include "survey/surveyrows.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

class SurveyWriter
{
public:
    // False, with the system's words in *error, when the temporary file cannot be made.
    bool open(QString* error);
    // Writes one row (fifteen cells); false when nothing of it is written (a plain row or a backsight
    // before any station without usable coordinates).
    bool write(const QStringList& cells);
    // Ends the last Survey and hands the bytes to `sink` in pieces; false when the temporary file failed.
    template <typename Sink> bool finish(Sink sink);

    // Cells the file cannot carry (a text that is no number or angle, a cell the record has no place
    // for, a measured point's instrument height other than its station's) and the missing required
    // values written as 0.
    int not_kept() const { return not_kept_; }
    int dropped_characters() const { return dropped_; }

private:
    enum class Open { Nothing, Points, Setup, Group };
    void start_survey(const QString& job);
    void close_container();
    void open_group();
    void write_plain(const QStringList& cells);
    void write_station(const QStringList& cells);
    void write_backsight(const QStringList& cells);
    void write_measured(const QStringList& cells);
    void attribute(const char* name, const QString& text);
    void number(const char* name, const QStringList& cells, int column, bool required = false);
    void angle(const char* name, const QStringList& cells, int column, bool required = false);
    void point_element(const char* element, const QStringList& cells, int indent, bool with_name);
    void count_unkept(const QStringList& cells, std::initializer_list<int> kept);
    void line(int indent);
    bool flush();

    QTemporaryFile file_;
    QByteArray out_;
    bool failed_ = false;
    bool in_survey_ = false;
    QString job_;
    Open open_ = Open::Nothing;
    QString setup_id_; // the current station's setup, empty before the first
    QString setup_height_;
    QSet<QString> group_names_; // the names of the current CgPoints group
    int setups_ = 0;
    int groups_ = 0;
    int not_kept_ = 0;
    int dropped_ = 0;
};

template <typename Sink> bool SurveyWriter::finish(Sink sink)
{
    if (in_survey_) {
        close_container();
        line(1);
        out_ += "</Survey>";
    }
    if (!flush() || !file_.seek(0))
        return false;
    while (!file_.atEnd()) {
        const QByteArray piece = file_.read(1 << 16);
        if (piece.isEmpty())
            return false;
        sink(piece);
    }
    return true;
}

#endif // GEO_SURVEYWRITER_H
