// One setting of config.xml replaced through the DOM and a save file.
#include "config/settingwriter.h"

#include "data/replacefile.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>

bool replace_setting(const QString& file_name, const QString& key, const QString& value, QString* error)
{
    QDomDocument doc;
    QFile in(file_name);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly)) {
            *error = in.errorString();
            return false;
        }
        // A file that cannot be read is left as it is: replacing it would lose the settings it holds.
        QString message;
        int line = 0;
        int column = 0;
        if (!doc.setContent(&in, &message, &line, &column)) {
            *error = QString("%1 cannot be read (line %2, column %3: %4) and is left as it is")
                         .arg(file_name, QString::number(line), QString::number(column), message);
            return false;
        }
        if (!doc.documentElement().isNull() && doc.documentElement().tagName() != "CONFIG") {
            *error = QString("%1 is no settings file (its document element is %2) and is left as it is")
                         .arg(file_name, doc.documentElement().tagName());
            return false;
        }
    } else {
        doc.appendChild(doc.createProcessingInstruction("xml", "version=\"1.0\" encoding=\"UTF-8\""));
    }
    QDomElement config = doc.firstChildElement("CONFIG");
    if (config.isNull())
        config = doc.appendChild(doc.createElement("CONFIG")).toElement();
    QDomElement setting = config.firstChildElement(key);
    if (setting.isNull())
        setting = config.appendChild(doc.createElement(key)).toElement();
    while (setting.hasChildNodes())
        setting.removeChild(setting.firstChild());
    setting.appendChild(doc.createTextNode(value));

    QDir().mkpath(QFileInfo(file_name).path());
    const std::unique_ptr<QFileDevice> out = replacement_file(file_name);
    if (!out->open(QIODevice::WriteOnly)) {
        *error = out->errorString();
        return false;
    }
    const QByteArray bytes = doc.toByteArray(2);
    if (!write_all(*out, bytes.constData(), bytes.size(), error)) {
        cancel_replacement(*out);
        return false;
    }
    return commit_replacement(*out, error);
}
