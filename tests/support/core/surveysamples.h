// The sample jobs (samples/*.obs) as rows of the observation layout, and rows written as LandXML
// survey data, for the suites of measured data and the converter's commands on it.
#ifndef SURVEYSAMPLES_H
#define SURVEYSAMPLES_H

#include <QString>
#include <QStringList>
#include <QVector>

// A sample job's lines as the window holds them: fields of the ten-field line and the heights and
// slope distance after it, angles with marks, in the job "ROAD"; the kinds as record codes.
QVector<QStringList> sample_rows(const QString& file);
// `rows` as LandXML survey data at `path`, every value kept.
bool write_rows(const QString& path, const QVector<QStringList>& rows);

#endif // SURVEYSAMPLES_H
