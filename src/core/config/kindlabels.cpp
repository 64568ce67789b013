// The kind labels of every shipped language section.
#include "config/kindlabels.h"

#include <QFile>
#include <QXmlStreamReader>

static void init_kind_label_texts()
{
    Q_INIT_RESOURCE(shippedtexts);
}

QVector<survey::KindLabels> kind_labels_of(QIODevice* device)
{
    QVector<survey::KindLabels> all;
    QXmlStreamReader xml(device);
    survey::KindLabels labels;
    int depth = 0;
    bool in_types = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 2)
                labels = {};
            else if (depth == 3)
                in_types = xml.name() == QLatin1String("CoordinateType");
            else if (depth == 4 && in_types) {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QString type = attributes.value(QLatin1String("Type")).toString();
                const QString text = attributes.value(QLatin1String("Data")).toString();
                if (type == QLatin1String("STN"))
                    labels.station = text;
                else if (type == QLatin1String("BK"))
                    labels.backsight = text;
                else if (type == QLatin1String("MP"))
                    labels.measured = text;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 2 && !labels.station.isEmpty() && !labels.backsight.isEmpty() && !labels.measured.isEmpty())
                all.append(labels);
            --depth;
        }
    }
    return all;
}

const QVector<survey::KindLabels>& shipped_kind_labels()
{
    static const QVector<survey::KindLabels> labels = [] {
        init_kind_label_texts();
        QFile file(QStringLiteral(":/ktcore/parameter.xml"));
        return file.open(QIODevice::ReadOnly) ? kind_labels_of(&file) : QVector<survey::KindLabels>();
    }();
    return labels;
}
