// File dialog filters and suffixes.
#include "data/filefilters.h"

#include <QFileInfo>
#include <QRegularExpression>

QStringList filter_suffixes(const QString& filter)
{
    static const QRegularExpression kPattern(QStringLiteral("\\*\\.([^\\s*.()]+)(?=[\\s)])"));
    const int open = filter.lastIndexOf(QLatin1Char('('));
    QStringList suffixes;
    if (open < 0)
        return suffixes;
    QRegularExpressionMatchIterator it = kPattern.globalMatch(filter, open);
    while (it.hasNext())
        suffixes << it.next().captured(1);
    return suffixes;
}

QString all_supported_filter(const QString& caption, const QStringList& filters)
{
    QStringList patterns;
    for (const QString& filter : filters) {
        for (const QString& suffix : filter_suffixes(filter)) {
            const QString pattern = QStringLiteral("*.") + suffix;
            if (!patterns.contains(pattern, Qt::CaseInsensitive))
                patterns << pattern;
        }
    }
    return caption.arg(patterns.join(QLatin1Char(' ')));
}

QString with_filter_suffix(const QString& path, const QString& filter)
{
    const QStringList suffixes = filter_suffixes(filter);
    if (path.isEmpty() || suffixes.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    // "name." has an empty suffix too: the dot is not doubled.
    return path + (path.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + suffixes.first();
}
