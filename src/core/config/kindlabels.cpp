// The kind labels of every shipped language section.
#include "config/kindlabels.h"

#include "config/sectionlists.h"

namespace
{

const QString kKindList = QStringLiteral("CoordinateType");

QVector<survey::KindLabels> kind_labels_in(const QVector<SectionLists>& sections)
{
    QVector<survey::KindLabels> all;
    for (const SectionLists& section : sections) {
        survey::KindLabels labels;
        for (const QXmlStreamAttributes& attributes : section.value(kKindList)) {
            const auto type = attributes.value(QLatin1String("Type"));
            const QString text = attributes.value(QLatin1String("Data")).toString();
            if (type == QLatin1String("STN"))
                labels.station = text;
            else if (type == QLatin1String("BK"))
                labels.backsight = text;
            else if (type == QLatin1String("MP"))
                labels.measured = text;
        }
        if (!labels.station.isEmpty() && !labels.backsight.isEmpty() && !labels.measured.isEmpty())
            all.append(labels);
    }
    return all;
}

} // namespace

QVector<survey::KindLabels> kind_labels_of(QIODevice* device)
{
    return kind_labels_in(section_lists_of(device, {kKindList}));
}

const QVector<survey::KindLabels>& shipped_kind_labels()
{
    static const QVector<survey::KindLabels> labels = kind_labels_in(shipped_section_lists({kKindList}));
    return labels;
}
