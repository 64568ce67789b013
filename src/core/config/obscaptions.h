// The captions of the observation layout's columns in every language of the shipped UI-text file:
// the table's fifteen and the ten titles of the program's workbook export (the ten-field
// observation line's order), so that a sheet captioned in any language is read by its columns.
#ifndef CONFIG_OBSCAPTIONS_H
#define CONFIG_OBSCAPTIONS_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class QIODevice;

// One language's captions (trimmed) and the column (ObsColumn) each names.
using ColumnCaptions = QHash<QString, int>;

// The captions of each language section of `device` that holds any.
QVector<ColumnCaptions> observation_captions_of(QIODevice* device);
// observation_captions_of the shipped parameter.xml, read once.
const QVector<ColumnCaptions>& shipped_observation_captions();

// The columns a caption row names.
struct CaptionColumns {
    QVector<int> columns; // by column of the row, the ObsColumn it holds; -1 for none
    QStringList unknown;  // captions that name no column, or a column named before, as they stand

    bool has(int column) const { return columns.contains(column); }
    // Kind, name, horizontal and vertical angle, and a slope or horizontal distance.
    bool has_observations() const;
};

// The columns `captions` name in `languages`. A caption two languages give to different columns
// takes the column of the language that knows most of the row's captions.
CaptionColumns caption_columns(const QStringList& captions, const QVector<ColumnCaptions>& languages);

#endif // CONFIG_OBSCAPTIONS_H
