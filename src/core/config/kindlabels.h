// The kind labels of the observation layout's rows in every language the shipped UI-text file holds,
// so that rows typed or received in any of them are known for what they are.
#ifndef CONFIG_KINDLABELS_H
#define CONFIG_KINDLABELS_H

#include "survey/surveyrows.h"

#include <QVector>

class QIODevice;

// The CoordinateType entries of type STN, BK and MP of each language section of `device`, in the
// file's order; a section lacking one of them gives none.
QVector<survey::KindLabels> kind_labels_of(QIODevice* device);

// kind_labels_of the shipped parameter.xml, read once.
const QVector<survey::KindLabels>& shipped_kind_labels();

#endif // CONFIG_KINDLABELS_H
