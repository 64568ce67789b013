// One pass over a UI-text file (config/parameter.xml, one section per language): the tables of the
// sections asked for, and what every section says of itself. The file is read to its end, so a file
// that is not well-formed is refused wherever the damage lies, and only the sections asked for are
// kept: the other languages cost a scan, not a document.
#ifndef CONFIG_UITEXTFILE_H
#define CONFIG_UITEXTFILE_H

#include "config/languages.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

struct UiTextFile {
    bool well_formed = false;
    qint64 error_line = 0; // where reading stopped when the file is not well-formed
    qint64 error_column = 0;
    // Every section that holds anything, in document order.
    QList<LanguageSection> sections;
    // The tables of the sections asked for that the file holds, by the tag asked for: one row per key
    // node, the key's name first, then for each of its nodes the values of the key's item attributes
    // (xml_analysis::item_attributes; empty values for a node that is not an element). A comment
    // among the keys is a row "#comment".
    QHash<QString, QList<QStringList>> tables;
};

// `wanted`: the section tags whose tables are kept; "" stands for the first section, whatever its tag.
// A tag the file holds twice gives its first section.
UiTextFile read_ui_text_file(QIODevice* device, const QStringList& wanted);

#endif // CONFIG_UITEXTFILE_H
