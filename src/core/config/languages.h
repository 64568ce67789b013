// The language sections a UI-text file holds, the files and runs of text that depend on the language.
#ifndef LANGUAGES_H
#define LANGUAGES_H

#include <QList>
#include <QString>

// One language section of a UI-text file.
struct LanguageSection {
    QString tag;                // the section's element name, as config.xml names it ("English")
    QString name;               // its "LanguageName": the language's own name; the tag when absent
    bool right_to_left = false; // its "LayoutDirection" is "RightToLeft"
};

// The sections of the UI-text file `file_name`, in document order; empty when it cannot be read.
QList<LanguageSection> language_sections(const QString& file_name);

// The section of `sections` tagged `tag` (exact letter case, as the reader looks it up); null when
// there is none.
const LanguageSection* find_section(const QList<LanguageSection>& sections, const QString& tag);

// The communication dictionary of `language` in the folder `config_folder`: dictionary.xml for Chinese
// (and for an empty language, whose texts are the first section's, the Chinese), else
// dictionary_<language in lower case>.xml when it exists, else dictionary_english.xml.
QString dictionary_file(const QString& config_folder, const QString& language);

// `text` with each placeholder (%1 to %99, also %L1) wrapped in a left-to-right isolate, so that a
// number or point name filled in stays one left-to-right run inside right-to-left text. A closing
// "(%1)" stays bare: it may hold a file dialog filter's patterns.
QString isolate_placeholders(const QString& text);

#endif // LANGUAGES_H
