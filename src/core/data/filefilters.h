// The filters of the file dialogs ("Name (*.gdat)"): the suffixes they name, a filter that takes every
// suffix of a list, and the suffix a file name without one is given from the chosen filter.
#ifndef FILEFILTERS_H
#define FILEFILTERS_H

#include <QString>
#include <QStringList>

// The suffixes a filter names: "Points (*.gdat *.GDAT)" gives {"gdat", "GDAT"}; "*" and "*.*" none.
QStringList filter_suffixes(const QString& filter);
// `caption` ("All supported files (%1)") filled with every suffix the filters name, once each, as
// "*.ndad *.txt ...".
QString all_supported_filter(const QString& caption, const QStringList& filters);
// `path` with the first suffix of `filter` added when its file name has no suffix; unchanged when it
// has one or the filter names none.
QString with_filter_suffix(const QString& path, const QString& filter);

#endif // FILEFILTERS_H
