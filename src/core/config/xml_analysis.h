// Reader of the configuration file (the language setting) and of the UI-text file (all captions,
// menus and prompts of one language). It shows nothing: what went wrong is kept as messages for
// the caller to show.
#ifndef XML_ANALYSIS_H
#define XML_ANALYSIS_H

#include <QList>
#include <QString>
#include <QStringList>

class QDomDocument;

// A message a reading gives the user: an information box with this title and text, which the
// caller shows (the reader knows no window).
struct XmlMessage {
    QString title;
    QString text;
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

    // The attributes read from each item of `key`, in order (the key's group).
    static QStringList item_attributes(const QString& key);

    // The messages the readings gave since the last call, in order; the caller shows each one.
    QList<XmlMessage> take_messages();

private:
    bool load_document(const QString& file_name, QDomDocument& doc);
    void report(const QString& text);
    QList<XmlMessage> messages_;
};

#endif // XML_ANALYSIS_H
