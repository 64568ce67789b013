// Checking and cleaning single file names.
#include "data/safefilename.h"

#include <QRegularExpression>
#include <QStringList>

namespace
{

bool is_forbidden(QChar c)
{
    return c.unicode() < 0x20 || QStringLiteral("<>:\"/\\|?*").contains(c);
}

bool is_reserved_device(const QString& name)
{
    static const QRegularExpression reserved("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$",
                                             QRegularExpression::CaseInsensitiveOption);
    return reserved.match(name).hasMatch();
}

} // namespace

bool is_safe_file_name(const QString& name)
{
    if (name.trimmed().isEmpty() || name.contains(".."))
        return false;
    for (const QChar c : name) {
        if (is_forbidden(c))
            return false;
    }
    if (name.endsWith('.') || name.endsWith(' '))
        return false;
    return !is_reserved_device(name);
}

QString make_safe_file_name(const QString& name, const QString& fallback)
{
    QString cleaned;
    for (const QChar c : name) {
        if (!is_forbidden(c))
            cleaned.append(c);
    }
    while (cleaned.contains(".."))
        cleaned.replace("..", ".");
    cleaned = cleaned.trimmed();
    while (cleaned.endsWith('.') || cleaned.endsWith(' '))
        cleaned.chop(1);
    while (cleaned.startsWith('.'))
        cleaned.remove(0, 1);
    if (cleaned.isEmpty() || is_reserved_device(cleaned))
        return fallback;
    return cleaned;
}
