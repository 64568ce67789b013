// Loading Qt's own translations for the configured language.
#include "config/qttranslations.h"
#include "corelog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace
{

struct LanguageLocale {
    const char* language; // the language value of config.xml
    const char* locale;   // the locale of Qt's translation files; "" for none
};

const LanguageLocale kLanguageLocales[] = {
    {"Chinese", "zh_CN"},
    {"English", ""},
    {"Spanish", "es"},
    {"Portuguese", "pt_BR"},
    {"Russian", "ru"},
    {"French", "fr"},
    {"Turkish", "tr"},
    {"Arabic", "ar"},
    // Qt ships no translation of its own texts for these two: its English buttons stay, the dates
    // and numbers follow the language.
    {"Vietnamese", "vi"},
    {"Indonesian", "id"},
};

// The catalogue of Qt's own texts: qtbase_<locale>.qm.
const char kCatalogue[] = "qtbase";

QPointer<QTranslator>& installed_translator()
{
    static QPointer<QTranslator> translator;
    return translator;
}

} // namespace

QString qt_locale_of_language(const QString& language)
{
    for (const LanguageLocale& entry : kLanguageLocales) {
        if (language.compare(QLatin1String(entry.language), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(entry.locale);
    }
    return QString();
}

QLocale program_locale(const QString& language)
{
    const QString locale = qt_locale_of_language(language);
    return locale.isEmpty() ? QLocale(QLocale::English, QLocale::UnitedStates) : QLocale(locale);
}

QStringList qt_translation_folders()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString qt_folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString qt_folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"), qt_folder};
}

bool install_qt_translations(const QString& language)
{
    QPointer<QTranslator>& installed = installed_translator();
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    const QString locale = qt_locale_of_language(language);
    if (locale.isEmpty())
        return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString file = QStringLiteral("%1_%2").arg(QLatin1String(kCatalogue), locale);
    for (const QString& folder : qt_translation_folders()) {
        if (translator->load(file, folder)) {
            QCoreApplication::installTranslator(translator);
            installed = translator;
            return true;
        }
    }
    qCDebug(lcCore).noquote() << QStringLiteral("%1.qm not found").arg(file);
    delete translator;
    return false;
}
