// One setting of config.xml replaced through the DOM and a save file.
#include "config/settingwriter.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool replace_setting(const QString& file_name, const QString& key, const QString& value, QString* error)
{
    QDomDocument doc;
    QFile in(file_name);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly)) {
            *error = in.errorString();
            return false;
        }
        QString message;
        if (!doc.setContent(&in, &message)) {
            *error = message;
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
    QSaveFile out(file_name);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    out.write(doc.toByteArray(2));
    if (!out.commit()) {
        *error = out.errorString();
        return false;
    }
    return true;
}
