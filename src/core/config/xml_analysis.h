// Reader of the configuration file (the language setting) and of the UI-text file (all captions,
// menus and prompts of one language). It shows nothing: what went wrong is kept as messages for
// the caller to show.
#ifndef XML_ANALYSIS_H
#define XML_ANALYSIS_H

#include "config/uitextfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QDomDocument;

// A message a reading gives the user: an information box with this title and text, which the
// caller shows (the reader knows no window).
struct XmlMessage {
    QString title;
    QString text;
    // A message the window words in its language: entry `text_entry` of the UI-text list
    // "DamagedFileTexts" (its entry 0 the title) filled with `values`; -1: `text` as it stands.
    int text_entry = -1;
    QStringList values;
};

class xml_analysis
{
public:
    // The text of setting `type` in the configuration file `file_name`, or "".
    QString get_config(QString file_name, QString type);
    // The UI-text table of the language section `language` of config/parameter.xml in `folder` (the
    // working directory when empty): one row per key, the key first, then its items' values; empty when
    // the file or the section cannot be read.
    QList<QStringList> get_parameter(QString language, const QString& folder = QString());
    // The language sections of that file, in document order; empty when it cannot be read. It is read
    // once for this and for get_parameter of `language` or English.
    QList<LanguageSection> ui_text_sections(const QString& language, const QString& folder);

    // The attributes read from each item of `key`, in order (the key's group).
    static QStringList item_attributes(const QString& key);

    // At start-up, once the UI texts are read: tells each configuration file of `runtime` that cannot be
    // read, and what is read instead; and completes `table` (the section `language` of the UI texts in
    // `runtime`) with the program's own texts for every key it lacks, telling once which. An empty table
    // stays empty (start-up ends).
    void check_runtime_files(const QString& runtime, const QString& language, QList<QStringList>* table);
    // `pattern` with %1, %2, ... (up to %9) filled by `values` in one pass: a value holding "%1" stays.
    static QString fill(const QString& pattern, const QStringList& values);

    // The keys the last completion took from the program's English texts (those of the language
    // itself first): more than 0 says the language's texts are incomplete.
    int filled_in_english() const { return filled_in_english_; }

    // The messages the readings gave since the last call, in order; the caller shows each one.
    QList<XmlMessage> take_messages();

private:
    bool load_document(const QString& file_name, QDomDocument& doc);
    void report(const QString& text);
    void report_not_well_formed(qint64 line, qint64 column);
    void report_worded(int entry, const QStringList& values);
    void report_damaged_config(const QString& runtime);
    void complete_texts(const QString& file_name, const QString& language, QList<QStringList>* table);
    QList<XmlMessage> messages_;
    int filled_in_english_ = 0;
    // Reads config/parameter.xml of `folder` into read_ unless read_ holds it for `language`; false when
    // it cannot be opened.
    bool read_ui_text_file_of(const QString& language, const QString& folder);
    // The UI-text file read last: its path, bytes and the language asked for (its and English's tables).
    QString read_path_;
    QByteArray read_bytes_;
    QString read_language_;
    UiTextFile read_;
};

#endif // XML_ANALYSIS_H
