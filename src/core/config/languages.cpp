// Reading the language sections of a UI-text file, and the language-dependent dictionary file and
// placeholders.
#include "config/languages.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace
{

// The first item's "Data" of key `key` in `section`.
QString first_value(const QDomElement& section, const QString& key)
{
    return section.firstChildElement(key).firstChildElement().attribute(QStringLiteral("Data")).trimmed();
}

} // namespace

QList<LanguageSection> language_sections(const QString& file_name)
{
    QFile file(file_name);
    QDomDocument doc;
    if (!file.open(QIODevice::ReadOnly) || !doc.setContent(&file))
        return {};
    QList<LanguageSection> sections;
    const QDomElement root = doc.firstChildElement(QStringLiteral("PARAMETER"));
    for (QDomElement section = root.firstChildElement(); !section.isNull(); section = section.nextSiblingElement()) {
        if (!section.hasChildNodes())
            continue; // the reader refuses an empty section
        LanguageSection entry;
        entry.tag = section.tagName();
        entry.name = first_value(section, QStringLiteral("LanguageName"));
        if (entry.name.isEmpty())
            entry.name = entry.tag;
        entry.right_to_left = first_value(section, QStringLiteral("LayoutDirection")) == QLatin1String("RightToLeft");
        sections.append(entry);
    }
    return sections;
}

const LanguageSection* find_section(const QList<LanguageSection>& sections, const QString& tag)
{
    for (const LanguageSection& section : sections) {
        if (section.tag == tag)
            return &section;
    }
    return nullptr;
}

QString dictionary_file(const QString& config_folder, const QString& language)
{
    if (language.isEmpty() || language.compare(QLatin1String("Chinese"), Qt::CaseInsensitive) == 0)
        return config_folder + QStringLiteral("/dictionary.xml");
    const QString own = config_folder + QStringLiteral("/dictionary_%1.xml").arg(language.toLower());
    return QFileInfo(own).isFile() ? own : config_folder + QStringLiteral("/dictionary_english.xml");
}

QString isolate_placeholders(const QString& text)
{
    if (!text.contains(QLatin1Char('%')))
        return text;
    // A text ending in "(%1)" may be a file dialog's filter, whose patterns must stay bare.
    static const QRegularExpression filter(QStringLiteral("^(.*)(\\(%L?[1-9][0-9]?\\))$"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = filter.match(text);
    if (match.hasMatch())
        return isolate_placeholders(match.captured(1)) + match.captured(2);
    static const QRegularExpression placeholder(QStringLiteral("(%L?[1-9][0-9]?)"));
    QString out = text;
    out.replace(placeholder, QStringLiteral("\u2066\\1\u2069"));
    return out;
}
