// What ktsim's instrument holds: points and measured jobs read from files, KT90 job folders read and
// written back.
#ifndef SIMDATA_H
#define SIMDATA_H

#include "comm/kt2040_instrument.h"
#include "comm/kt90_instrument.h"

#include <QMap>
#include <QString>

// The records of a coordinate file (format by suffix) for the frame set; false with `error` set when
// the file cannot be read or holds no point. What reading met (an encoding other than GBK, bytes that
// could not be decoded, lines skipped) is added to `notes`.
bool load_points(const QString& path, kt2040::FrameSet set, QList<kt2040::InstrumentRecord>* records, QString* error,
                 QStringList* notes = nullptr);
// A measured job: a file header named after the file, then one station, backsight or measured-point
// record per observation line.
bool load_measured(const QString& path, QList<kt2040::InstrumentRecord>* records, QString* error,
                   QStringList* notes = nullptr);
// The records of observation lines (kind, name, HA, VA, HD, VD, E, N, Z, code, and optionally
// instrument height, backsight angle, slope distance, reflector height); lines of an unknown kind or
// fewer than 10 fields are counted in `skipped`.
QList<kt2040::InstrumentRecord> observation_records(const QStringList& lines, int* skipped);

// KT90 jobs, a folder each: "NN_NAME" (NN the job number 1..16) holding fixed.txt and
// observations.txt, one record a line; codes.txt beside the folders holds the code list.
class JobFolders
{
public:
    // False with `error` set when `dir` is not a readable folder.
    bool load(const QString& dir, QString* error);
    QList<kt90::Job> jobs() const { return jobs_; }
    QStringList codes() const { return codes_; }
    // Writes job `job.number` into its folder, creating or renaming it; false with `error` set.
    bool store(const kt90::Job& job, QString* error);
    // Folders skipped when loading, and what reading the files met.
    QStringList skipped;
    QStringList notes;

private:
    QString dir_;
    QList<kt90::Job> jobs_;
    QStringList codes_;
    QMap<int, QString> folders_; // job number -> folder name
};

#endif // SIMDATA_H
