// Reading config/config.xml and config/parameter.xml into the language and the UI-text table.
#include "config/xml_analysis.h"
#include "config/runtimefiles.h"
#include "config/uitextfile.h"
#include "corelog.h"

#include <QBuffer>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

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

// The program's words for the messages of "DamagedFileTexts" (the window's own are in both languages
// in its UI texts), by entry.
const char* const kDamagedTexts[] = {
    "Damaged file",
    "",
    "The settings file %1 cannot be read (line %2, column %3: %4). The settings of %5 are used instead; %1 is "
    "left as it is and will not be overwritten.",
    "The settings file %1 cannot be read (line %2, column %3: %4). The program's own defaults are used; %1 is "
    "left as it is and will not be overwritten.",
    "The UI-text file %1 lacks %2 keys in its section \"%3\": %4. The program's own texts stand in for them.",
};
enum DamagedEntry { ConfigInstead = 2, ConfigDefaults = 3, TextsMissing = 4 };
// The keys a message names at most; the count says how many there are.
constexpr int kKeysNamed = 12;

} // namespace

// The shipped UI texts built into the program (config/shippedtexts.qrc); outside any namespace, as
// Qt's resource initialiser needs.
static void init_shipped_texts()
{
    Q_INIT_RESOURCE(shippedtexts);
}

void xml_analysis::report(const QString& text)
{
    messages_.append({"title", text, -1, {}});
}

void xml_analysis::report_worded(int entry, const QStringList& values)
{
    messages_.append(
        {QString::fromUtf8(kDamagedTexts[0]), fill(QString::fromUtf8(kDamagedTexts[entry]), values), entry, values});
}

QString xml_analysis::fill(const QString& pattern, const QStringList& values)
{
    QString out;
    for (int i = 0; i < pattern.size(); ++i) {
        const int n = i + 1 < pattern.size() ? pattern[i + 1].digitValue() : -1;
        if (pattern[i] == QLatin1Char('%') && n >= 1 && n <= values.size()) {
            out += values[n - 1];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
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
        report_not_well_formed(row, column);
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

void xml_analysis::report_not_well_formed(qint64 line, qint64 column)
{
    report("parse file failed at line row and column" + QString::number(line) + "," + QString::number(column));
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

bool xml_analysis::read_ui_text_file_of(const QString& language, const QString& folder)
{
    const QString file_name = "config/parameter.xml";
    const QString path = folder.isEmpty() ? file_name : folder + "/" + file_name;
    if (path == read_path_ && (language == read_language_ || language == QLatin1String("English")))
        return true; // this pass holds both sections
    read_path_.clear();
    read_ = UiTextFile();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcCore).noquote() << QString("%1 open error!").arg(file.fileName());
        return false;
    }
    // English too, in the same pass: the fallback and the completion take it from here.
    read_bytes_ = file.readAll();
    QBuffer buffer(&read_bytes_);
    buffer.open(QIODevice::ReadOnly);
    read_ = read_ui_text_file(&buffer, {language, QStringLiteral("English")});
    read_path_ = path;
    read_language_ = language;
    return true;
}

QList<LanguageSection> xml_analysis::ui_text_sections(const QString& language, const QString& folder)
{
    return read_ui_text_file_of(language, folder) && read_.well_formed ? read_.sections : QList<LanguageSection>();
}

QList<QStringList> xml_analysis::get_parameter(QString language, const QString& folder)
{
    if (!read_ui_text_file_of(language, folder))
        return {};
    if (!read_.well_formed) {
        report_not_well_formed(read_.error_line, read_.error_column);
        return {};
    }
    const QList<QStringList> table = read_.tables.value(language);
    if (table.isEmpty())
        report(QString("Can't find child node(language = %1) of a PARAMETER's subnode!").arg(language));
    return table;
}

void xml_analysis::check_runtime_files(const QString& runtime, const QString& language, QList<QStringList>* table)
{
    report_damaged_config(runtime);
    if (!table->isEmpty())
        complete_texts(runtime + "/config/parameter.xml", language, table);
}

void xml_analysis::report_damaged_config(const QString& runtime)
{
    const QString user = user_config_file();
    const QString shipped = shipped_config_file(runtime);
    const bool user_there = QFileInfo(user).isFile();
    const ConfigDamage user_damage = user_there ? config_damage(user) : ConfigDamage();
    if (user_there && !user_damage.damaged())
        return; // the shipped file is not read
    const ConfigDamage shipped_damage = QFileInfo(shipped).isFile() ? config_damage(shipped) : ConfigDamage();
    const auto where = [](const QString& file, const ConfigDamage& damage) {
        return QStringList{file, QString::number(damage.line), QString::number(damage.column), damage.reason};
    };
    if (user_damage.damaged()) {
        if (QFileInfo(shipped).isFile() && !shipped_damage.damaged())
            report_worded(ConfigInstead, where(user, user_damage) << shipped);
        else
            report_worded(ConfigDefaults, where(user, user_damage));
    }
    if (shipped_damage.damaged())
        report_worded(ConfigDefaults, where(shipped, shipped_damage));
}

void xml_analysis::complete_texts(const QString& file_name, const QString& language, QList<QStringList>* table)
{
    init_shipped_texts();
    QFile file(":/ktcore/parameter.xml");
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString english = QStringLiteral("English");
    QByteArray shipped_bytes = file.readAll();
    // The runtime file is most often the shipped one: then its pass gave both sections already.
    const bool same = read_.well_formed && read_.tables.contains(language) && shipped_bytes == read_bytes_;
    QBuffer buffer(&shipped_bytes);
    buffer.open(QIODevice::ReadOnly);
    const UiTextFile shipped = same ? read_ : read_ui_text_file(&buffer, {language, english});
    if (!shipped.well_formed)
        return;
    QSet<QString> keys;
    for (const QStringList& row : qAsConst(*table))
        keys.insert(row.value(0));
    QStringList missing;
    // The shipped texts of the language first, then the English ones for every key still missing (a
    // language the program does not ship, or one whose shipped section lacks keys too).
    const auto fill_from = [&](const QString& section_name) {
        const QList<QStringList> own = shipped.tables.value(section_name);
        QStringList added;
        for (const QStringList& row : own) {
            if (keys.contains(row.value(0)) || row.value(0).startsWith(QLatin1Char('#')))
                continue;
            table->append(row);
            if (!added.contains(row.value(0)))
                added.append(row.value(0));
        }
        for (const QString& key : qAsConst(added))
            keys.insert(key);
        missing += added;
        return added.size();
    };
    if (language != english)
        fill_from(language);
    filled_in_english_ = fill_from(english);
    if (missing.isEmpty())
        return;
    QString named = QStringList(missing.mid(0, kKeysNamed)).join(QStringLiteral(", "));
    if (missing.size() > kKeysNamed)
        named += QStringLiteral(", …");
    const QString section = language.isEmpty() ? shipped.sections.value(0).tag : language;
    report_worded(TextsMissing, {file_name, QString::number(missing.size()), section, named});
}
