// Reading the language sections of a UI-text file, and the language-dependent dictionary file and
// placeholders.
#include "config/languages.h"
#include "config/uitextfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QList<LanguageSection> language_sections(const QString& file_name)
{
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const UiTextFile texts = read_ui_text_file(&file, {});
    return texts.well_formed ? texts.sections : QList<LanguageSection>();
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
