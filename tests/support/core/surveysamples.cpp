// Sample jobs as table rows, and rows as LandXML.
#include "support/core/surveysamples.h"

#include "data/fileoperation.h"
#include "data/tablecolumns.h"
#include "landxml/landxmlwriter.h"
#include "landxml/surveyxml.h"
#include "survey/surveyangle.h"

#include <QDateTime>

QVector<QStringList> sample_rows(const QString& file)
{
    // The ten-field line, then the instrument height, the backsight's circle, SD and the reflector.
    QVector<int> columns(kObservationLineColumns.begin(), kObservationLineColumns.end());
    columns << ObsColumn::InstrumentHeight << ObsColumn::BacksightAngle << ObsColumn::SlopeDistance
            << ObsColumn::ReflectorHeight;
    QVector<QStringList> rows;
    for (const QString& line : FileOperation().readfile(QString(KT_SOURCE_DIR) + "/samples/" + file)) {
        const QStringList fields = line.split(',');
        QStringList row;
        for (int column = 0; column < ObsColumn::Count; ++column)
            row << QString();
        row[ObsColumn::Job] = "ROAD";
        for (int i = 0; i < fields.size() && i < 14; ++i)
            row[columns[i]] = fields[i];
        for (const int angle : {ObsColumn::HorizontalAngle, ObsColumn::VerticalAngle, ObsColumn::BacksightAngle}) {
            const survey::AngleReading reading = survey::read_angle(row[angle]);
            if (reading.ok())
                row[angle] = survey::angle_with_marks(reading.seconds);
        }
        if (row[ObsColumn::Kind] == "BK") // the circle reading stands in its own column
            row[ObsColumn::HorizontalAngle].clear();
        rows << row;
    }
    return rows;
}

bool write_rows(const QString& path, const QVector<QStringList>& rows)
{
    LandXmlWriter writer(path, surveyxml::observation_fields());
    if (!writer.open(QString(), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))))
        return false;
    for (const QStringList& row : rows)
        writer.write(row);
    return writer.finish() && writer.report().changed_values == 0 && writer.skipped() == 0;
}
