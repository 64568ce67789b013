// A UI-text file read as a stream: the root PARAMETER, its sections, their keys, the keys' items.
#include "config/uitextfile.h"
#include "config/xml_analysis.h"

#include <QIODevice>
#include <QXmlStreamReader>

namespace
{

enum Depth { kRoot = 1, kSection = 2, kKey = 3, kItem = 4 };

// The name a node other than an element has where a key or an item stands; empty for text that is
// only white space, which is no node.
QString node_name(const QXmlStreamReader& xml)
{
    switch (xml.tokenType()) {
    case QXmlStreamReader::Comment:
        return QStringLiteral("#comment");
    case QXmlStreamReader::Characters:
        if (xml.isCDATA())
            return QStringLiteral("#cdata-section");
        return xml.isWhitespace() ? QString() : QStringLiteral("#text");
    case QXmlStreamReader::ProcessingInstruction:
        return xml.processingInstructionTarget().toString();
    default:
        return QString();
    }
}

class Walk
{
public:
    Walk(QIODevice* device, const QStringList& wanted) : xml_(device), wanted_(wanted)
    {
        xml_.setNamespaceProcessing(false);
    }

    UiTextFile run()
    {
        while (!xml_.atEnd()) {
            switch (xml_.readNext()) {
            case QXmlStreamReader::StartElement:
                start_element();
                break;
            case QXmlStreamReader::EndElement:
                end_element();
                break;
            default:
                other_node();
                break;
            }
        }
        out_.well_formed = !xml_.hasError();
        if (!out_.well_formed) {
            out_.error_line = xml_.lineNumber();
            out_.error_column = xml_.columnNumber();
        }
        return out_;
    }

private:
    void start_element()
    {
        ++depth_;
        const QString name = xml_.qualifiedName().toString();
        if (depth_ == kRoot) {
            in_root_ = name == QLatin1String("PARAMETER");
        } else if (depth_ == kSection && in_root_) {
            start_section(name);
        } else if (depth_ == kKey && in_root_) {
            section_.has_content = true;
            if (table_) {
                row_ = QStringList{name};
                attributes_ = xml_analysis::item_attributes(name);
            }
            self_value_ = nullptr;
            if (name == QLatin1String("LanguageName") && !name_seen_)
                self_value_ = &section_.entry.name;
            else if (name == QLatin1String("LayoutDirection") && !direction_seen_)
                self_value_ = &direction_;
            name_seen_ = name_seen_ || name == QLatin1String("LanguageName");
            direction_seen_ = direction_seen_ || name == QLatin1String("LayoutDirection");
        } else if (depth_ == kItem && in_root_) {
            const QXmlStreamAttributes attributes = xml_.attributes();
            if (table_) {
                for (const QString& attribute : qAsConst(attributes_))
                    row_ << attributes.value(attribute).toString();
            }
            if (self_value_) {
                *self_value_ = attributes.value(QLatin1String("Data")).toString().trimmed();
                self_value_ = nullptr; // the key's first item only
            }
        }
    }

    void end_element()
    {
        if (in_root_ && depth_ == kKey) {
            if (table_)
                table_->append(row_);
            self_value_ = nullptr;
        } else if (in_root_ && depth_ == kSection) {
            end_section();
        }
        --depth_;
    }

    void other_node()
    {
        if (!in_root_ || (depth_ != kSection && depth_ != kKey))
            return;
        const QString name = node_name(xml_);
        if (name.isEmpty())
            return;
        if (depth_ == kSection) {
            section_.has_content = true;
            if (table_)
                table_->append(QStringList{name});
        } else if (table_) {
            for (int i = 0; i < attributes_.size(); ++i)
                row_ << QString();
        }
    }

    void start_section(const QString& tag)
    {
        section_ = Section();
        section_.entry.tag = tag;
        name_seen_ = direction_seen_ = false;
        direction_.clear();
        keep_as_.clear();
        if (sections_seen_++ == 0 && wanted_.contains(QString()))
            keep_as_ << QString();
        if (wanted_.contains(tag) && !out_.tables.contains(tag))
            keep_as_ << tag;
        table_ = nullptr;
        if (!keep_as_.isEmpty()) {
            current_.clear();
            table_ = &current_;
        }
    }

    void end_section()
    {
        for (const QString& name : qAsConst(keep_as_))
            out_.tables.insert(name, current_);
        table_ = nullptr;
        if (!section_.has_content)
            return;
        if (section_.entry.name.isEmpty())
            section_.entry.name = section_.entry.tag;
        section_.entry.right_to_left = direction_ == QLatin1String("RightToLeft");
        out_.sections.append(section_.entry);
    }

    struct Section {
        LanguageSection entry;
        bool has_content = false;
    };

    QXmlStreamReader xml_;
    const QStringList wanted_;
    UiTextFile out_;
    int depth_ = 0;
    bool in_root_ = false;
    int sections_seen_ = 0;
    Section section_;
    QStringList keep_as_;        // the names the section read now is kept under
    QList<QStringList> current_; // its table
    QList<QStringList>* table_ = nullptr; // &current_ while the section is kept; else null
    QStringList row_;
    QStringList attributes_;
    bool name_seen_ = false;
    bool direction_seen_ = false;
    QString direction_;
    QString* self_value_ = nullptr; // where the current key's first item value goes
};

} // namespace

UiTextFile read_ui_text_file(QIODevice* device, const QStringList& wanted)
{
    return Walk(device, wanted).run();
}
