// Job node texts of the instrument tree.
#include "trees/jobnodes.h"

#include "comm/kt90_message_types.h"

QList<JobNodeTexts> job_node_texts(const QStringList& job_lines, const QStringList& captions)
{
    QList<JobNodeTexts> nodes;
    if (captions.size() <= 9)
        return nodes;
    for (const QString& line : job_lines) {
        const QStringList fields = line.split(',');
        if (fields.size() <= 3)
            continue;
        JobNodeTexts node;
        node.job = fields[0].isEmpty() ? QString("%1 %2:<%3>").arg(captions[1], fields[1], captions[9])
                                       : QString("%1 %2:%3").arg(captions[1], fields[1], fields[0]);
        node.fix_points = QString("%1:%2").arg(captions[2], fields[2]);
        node.measurement_points = QString("%1:%2").arg(captions[3], fields[3]);
        nodes.append(node);
    }
    return nodes;
}

bool is_points_node(const QString& text)
{
    return !point_type_of_node(text).isEmpty();
}

bool is_job_node(const QString& text)
{
    return text.contains("JobList", Qt::CaseInsensitive);
}

QString point_type_of_node(const QString& text)
{
    if (text.contains("FixPoints", Qt::CaseInsensitive))
        return kt90::command_text(kt90::Message::ReceiveCoordinates);
    if (text.contains("MeasurementPoints", Qt::CaseInsensitive))
        return kt90::command_text(kt90::Message::ReceiveObservations);
    return QString();
}

JobOfNode job_of_node(const QString& text)
{
    JobOfNode job;
    const QStringList parts = text.split(':');
    if (parts.size() < 2)
        return job;
    job.valid = true;
    job.name = parts[1];
    const QStringList words = parts[0].split(' ', Qt::SkipEmptyParts);
    if (words.size() >= 2)
        job.number = words[1];
    return job;
}
