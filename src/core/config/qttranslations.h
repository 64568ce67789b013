// Qt's own texts (standard buttons, file dialogs, model captions) in the language the configuration
// chooses.
#ifndef QTTRANSLATIONS_H
#define QTTRANSLATIONS_H

#include <QLocale>
#include <QString>
#include <QStringList>

// The locale of Qt's translations for a language value (the name of a UI-text section, compared
// without regard to letter case); "" when Qt's own English is to stay.
QString qt_locale_of_language(const QString& language);

// The locale the program writes dates and numbers for the user in (the PC tree's dates and sizes):
// that of the language's Qt translations, else English.
QLocale program_locale(const QString& language);

// The folders Qt's translation files are looked for in, in order: "translations" beside the
// executable (where a bundle ships them), then Qt's own translations folder.
QStringList qt_translation_folders();

// Replaces the Qt translations installed by an earlier call with those of `language`; true when
// they were found, or when the language needs none.
bool install_qt_translations(const QString& language);

#endif // QTTRANSLATIONS_H
