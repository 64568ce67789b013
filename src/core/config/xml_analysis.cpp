// Reading config/config.xml and config/parameter.xml into the language and the UI-text table.
#include "config/xml_analysis.h"
#include "corelog.h"

#include <QDomDocument>
#include <QFile>
#include <QHash>

namespace
{

struct KeyGroup {
    QStringList attributes;
    QStringList keys;
};

const QList<KeyGroup>& key_groups()
{
    static const QList<KeyGroup> groups = {
        {{"Type", "Data"},
         {"Treewidget",
          "SetupUploadDataDlgTableWidgetHeader4",
          "TreeWidgetSYSPopMenu",
          "TreeWidgetSYSSubPopMenu",
          "TreeWidgetUserPopMenu",
          "TreeWidgetUserSubPopMenu",
          "FunctionAttr",
          "FunctionFileType",
          "TableWidgetSYSPopMenu",
          "TabPagePopMenus",
          "SettingAttr",
          "CommunicationtablewidgetTitle",
          "DownloadTableWidgetTitle",
          "MonitorTableTitle",
          "EventTabwidgetTitle",
          "OperationEvents",
          "CommunicationMessages",
          "DeviceEvents",
          "PromptEvents",
          "TableWidgetMapdataTitle",
          "PersonnelManagementDlgTableWidgetTitle",
          "KT90PopMenuCopyPCtoYC",
          "KT90PopMenuCopyYCtoPC",
          "CoordinateType",
          "PointTableWidgetHeadTitleKT20",
          "PointTableWidgetHeadTitleKT20KT40",
          "PointTableWidgetHeadTitle"}},
        {{"Type", "Data", "ConType"}, {"CommunicationTitle"}},
        {{"Data", "Iconpath", "StatusTip", "width", "id"},
         {"ToolbarKT95VirtualTree", "ToolbarKT90VirtualTree", "ToolbarKT20VirtualTree", "ToolbarKT20KT40VirtualTree"}},
        {{"Data", "IconPath", "StatusTip", "attr", "numdata"},
         {"MainMenuKT95RTitle", "MainMenuKT90RTitle", "MainMenuKT20Title", "MainMenuKT20KT40Title"}},
        {{"Type", "IconPath", "IconPathReverse"}, {"EventIconPath"}},
    };
    return groups;
}

} // namespace

void xml_analysis::report(const QString& text)
{
    messages_.append({"title", text});
}

QList<XmlMessage> xml_analysis::take_messages()
{
    QList<XmlMessage> messages;
    messages.swap(messages_);
    return messages;
}

// Opens and parses an XML file the way both readers do; false (after the messages) when it fails.
bool xml_analysis::load_document(const QString& file_name, QDomDocument& doc)
{
    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCDebug(lcCore).noquote() << QString("%1 open error!").arg(file_name);
        return false;
    }
    QString error;
    int row = 0;
    int column = 0;
    if (!doc.setContent(&file, false, &error, &row, &column)) {
        report("parse file failed at line row and column" + QString::number(row) + "," + QString::number(column));
        file.close();
        return false;
    }
    file.close();
    if (doc.isNull()) {
        report("document is null!");
        return false;
    }
    return true;
}

QStringList xml_analysis::item_attributes(const QString& key)
{
    static const QHash<QString, QStringList> by_key = [] {
        QHash<QString, QStringList> map;
        for (const KeyGroup& group : key_groups())
            for (const QString& k : group.keys)
                map.insert(k, group.attributes);
        return map;
    }();
    static const QStringList plain = {"Data"};
    return by_key.value(key, plain);
}

QString xml_analysis::get_config(QString file_name, QString type)
{
    if (file_name.isEmpty()) {
        qCDebug(lcCore).noquote() << QString("%1 does not exist!").arg(file_name);
        return "";
    }
    QDomDocument doc;
    if (!load_document(file_name, doc))
        return "";
    const QDomElement config = doc.firstChildElement("CONFIG");
    if (!config.hasChildNodes()) {
        report("Can't find A child node of User!");
        return "";
    }
    for (QDomNode node = config.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isElement() && node.nodeName() == type)
            return node.toElement().text();
    }
    return "";
}

QList<QStringList> xml_analysis::get_parameter(QString language, const QString& folder)
{
    QList<QStringList> table;
    QDomDocument doc;
    const QString file_name = "config/parameter.xml";
    if (!load_document(folder.isEmpty() ? file_name : folder + "/" + file_name, doc))
        return table;
    const QDomElement root = doc.firstChildElement("PARAMETER");
    const QDomElement section = language.isEmpty() ? root.firstChildElement() : root.firstChildElement(language);
    if (!section.hasChildNodes()) {
        report(QString("Can't find child node(language = %1) of a PARAMETER's subnode!").arg(language));
        return table;
    }
    for (QDomNode key = section.firstChild(); !key.isNull(); key = key.nextSibling()) {
        QStringList row;
        row << key.nodeName();
        const QStringList attributes = item_attributes(key.nodeName());
        for (QDomNode item = key.firstChild(); !item.isNull(); item = item.nextSibling()) {
            const QDomElement element = item.toElement(); // null for comments and text
            for (const QString& attribute : attributes)
                row << (element.isNull() ? QString() : element.attribute(attribute));
        }
        table.append(row);
    }
    return table;
}
