// The shipped UI texts hold every language whole (keys, items, placeholders and command keys as the
// English section has them), and the language-dependent choices: sections, dictionary, Qt's
// translations, isolated placeholders.
#include "config/languages.h"
#include "config/qttranslations.h"
#include "support/core/ktest_core.h"

#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString kTexts = QStringLiteral(KT_SOURCE_DIR "/dist/config/parameter.xml");
// Attributes that are no text: the menus' and toolbars' structure, icons and command keys.
const QStringList kTechnical = {"IconPath", "Iconpath", "attr", "numdata", "id"};

QDomElement shipped_section(const QString& tag)
{
    static QDomDocument doc = [] {
        QDomDocument d;
        QFile file(kTexts);
        if (file.open(QIODevice::ReadOnly))
            d.setContent(&file);
        return d;
    }();
    return doc.firstChildElement("PARAMETER").firstChildElement(tag);
}

// The placeholders of a text, sorted: "%2 of %1" and "%1 of %2" hold the same.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression placeholder("%L?[1-9][0-9]?");
    QStringList found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

// What is wrong with item `n` of `key` in `item` against the English `english`; "" when nothing.
QString item_fault(const QString& key, int n, const QDomElement& item, const QDomElement& english)
{
    const QDomNamedNodeMap attributes = english.attributes();
    for (int a = 0; a < attributes.count(); ++a) {
        const QString name = attributes.item(a).nodeName();
        const QString own = item.attribute(name), theirs = english.attribute(name);
        if (kTechnical.contains(name) ? own != theirs : placeholders(own) != placeholders(theirs))
            return QString("%1 item %2 %3: \"%4\" where English has \"%5\"").arg(key).arg(n).arg(name, own, theirs);
    }
    return QString();
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private slots:
    void sections_as_english_data()
    {
        QTest::addColumn<QString>("tag");
        for (const LanguageSection& section : language_sections(kTexts))
            QTest::newRow(qPrintable(section.tag)) << section.tag;
    }

    // Every key of English, with as many items, the same placeholders and the same command keys.
    void sections_as_english()
    {
        QFETCH(QString, tag);
        const QDomElement section = shipped_section(tag);
        const QDomElement english = shipped_section("English");
        QVERIFY(!english.isNull());
        QStringList faults;
        for (QDomElement key = english.firstChildElement(); !key.isNull(); key = key.nextSiblingElement()) {
            const QDomElement own = section.firstChildElement(key.tagName());
            if (own.isNull()) {
                faults << key.tagName() + " missing";
                continue;
            }
            const QDomNodeList items = own.elementsByTagName("item"), theirs = key.elementsByTagName("item");
            if (items.count() != theirs.count()) {
                faults << QString("%1: %2 items where English has %3")
                              .arg(key.tagName())
                              .arg(items.count())
                              .arg(theirs.count());
                continue;
            }
            for (int n = 0; n < items.count(); ++n) {
                const QString fault = item_fault(key.tagName(), n, items.at(n).toElement(), theirs.at(n).toElement());
                if (!fault.isEmpty())
                    faults << fault;
            }
        }
        const QString direction = section.firstChildElement("LayoutDirection").firstChildElement().attribute("Data");
        if (direction != "LeftToRight" && direction != "RightToLeft")
            faults << "LayoutDirection " + direction;
        QVERIFY2(faults.isEmpty(), qPrintable(tag + ": " + faults.join("\n")));
    }

    void shipped_sections()
    {
        const QList<LanguageSection> sections = language_sections(kTexts);
        QVERIFY(sections.size() >= 2);
        QCOMPARE(sections[0].tag, QString("Chinese")); // an empty language reads it
        QCOMPARE(sections[0].name, QString("中文"));
        QVERIFY(find_section(sections, "English"));
        QCOMPARE(find_section(sections, "English")->name, QString("English"));
        QVERIFY(!find_section(sections, "english")); // the reader compares with letter case
        for (const LanguageSection& section : sections)
            QCOMPARE(section.right_to_left, section.tag == "Arabic");
        QVERIFY(language_sections("/nonexistent/parameter.xml").isEmpty());
    }

    // The dictionary by language, in a folder holding dictionary.xml, _english and _spanish.
    void dictionary_of_language()
    {
        QTemporaryDir dir;
        for (const char* name : {"dictionary.xml", "dictionary_english.xml", "dictionary_spanish.xml"}) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const struct {
            const char* language;
            const char* file;
        } cases[] = {{"Chinese", "dictionary.xml"},
                     {"", "dictionary.xml"},
                     {"English", "dictionary_english.xml"},
                     {"Spanish", "dictionary_spanish.xml"},
                     {"Arabic", "dictionary_english.xml"}};
        for (const auto& c : cases)
            QCOMPARE(dictionary_file(dir.path(), c.language), dir.path() + "/" + c.file);
    }

    void isolated_placeholders_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("isolated");
        QTest::newRow("two") << "%1 من %2"
                             << "\u2066%1\u2069 من \u2066%2\u2069";
        QTest::newRow("two digits, localised") << "%12 %L1"
                                               << "\u2066%12\u2069 \u2066%L1\u2069";
        QTest::newRow("a filter's patterns stay bare") << "%1 (%2)"
                                                       << "\u2066%1\u2069 (%2)";
        QTest::newRow("no placeholder") << "100% %a"
                                        << "100% %a";
    }

    void isolated_placeholders()
    {
        QFETCH(QString, text);
        QFETCH(QString, isolated);
        QCOMPARE(isolate_placeholders(text), isolated);
        // Filled, the value is one isolated run.
        if (text.startsWith("%1 "))
            QVERIFY(isolate_placeholders(text).arg("P-12").startsWith("\u2066P-12\u2069"));
    }

    // The locale of Qt's translations and of the program's dates, and whether Debian ships Qt's own
    // texts in it.
    void qt_translations()
    {
        const struct {
            const char* language;
            const char* locale;
            bool shipped;
        } cases[] = {{"Chinese", "zh_CN", true},    {"English", "", true},   {"Spanish", "es", true},
                     {"Portuguese", "pt_BR", true}, {"russian", "ru", true}, {"French", "fr", true},
                     {"Turkish", "tr", true},       {"Arabic", "ar", true},  {"Vietnamese", "vi", false},
                     {"Indonesian", "id", false},   {"Klingon", "", true}};
        for (const auto& c : cases) {
            const QString locale = QString::fromLatin1(c.locale);
            QCOMPARE(qt_locale_of_language(c.language), locale);
            QCOMPARE(program_locale(c.language).name(), locale.isEmpty() ? QString("en_US") : QLocale(locale).name());
            QCOMPARE(install_qt_translations(c.language), c.shipped);
        }
        install_qt_translations("English");
    }
};

KT_CORE_TEST_MAIN(TestLanguages)
#include "tst_languages.moc"
