// The lists of a UI-text file by language section: for the texts a program must know in every
// language at once (kind labels, column captions), not only in the one it shows.
#ifndef CONFIG_SECTIONLISTS_H
#define CONFIG_SECTIONLISTS_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QXmlStreamAttributes>

class QIODevice;

// A section's lists by key: the attributes of each item, in the file's order.
using SectionLists = QHash<QString, QVector<QXmlStreamAttributes>>;

// Each language section of `device` in the file's order, with those of its lists named in `keys`.
QVector<SectionLists> section_lists_of(QIODevice* device, const QStringList& keys);

// section_lists_of the shipped parameter.xml; none when it cannot be read.
QVector<SectionLists> shipped_section_lists(const QStringList& keys);

#endif // CONFIG_SECTIONLISTS_H
