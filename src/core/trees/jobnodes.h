// The texts of the instrument tree's job nodes, built from job list lines, and what the copies read
// back out of them: which points a leaf stands for, and a job node's number and name.
#ifndef JOBNODES_H
#define JOBNODES_H

#include <QList>
#include <QString>
#include <QStringList>

struct JobNodeTexts {
    QString job;                // "JobList 3:ROAD", or "JobList 4:<empty>" for a free job
    QString fix_points;         // "FixPoints:12"
    QString measurement_points; // "MeasurementPoints:40"
};

// One entry per job line of more than 3 fields, in order; none when `captions` (the instrument tree
// texts: 0 job-list node, 1 job, 2 and 3 the leaves, 9 the free-job word) has fewer than 10 entries.
QList<JobNodeTexts> job_node_texts(const QStringList& job_lines, const QStringList& captions);

// A leaf of fixed points or of measured points (the words in any letter case).
bool is_points_node(const QString& text);
// A job node (the word "JobList" in any letter case).
bool is_job_node(const QString& text);
// The download command of a leaf: coordinates for fixed points, observations for measured points,
// or "" for any other node.
QString point_type_of_node(const QString& text);

struct JobOfNode {
    bool valid = false; // the text has a colon
    QString name;       // the text between the first and the second colon
    QString number;     // the second word before the colon, "" when there is none
};
JobOfNode job_of_node(const QString& text);

#endif // JOBNODES_H
