// The chosen lists of every language section of a UI-text file.
#include "config/sectionlists.h"

#include <QFile>
#include <QXmlStreamReader>

// The shipped UI texts built into ktcore; outside any namespace, as the resource's initialiser is.
static void init_section_list_texts()
{
    Q_INIT_RESOURCE(shippedtexts);
}

QVector<SectionLists> section_lists_of(QIODevice* device, const QStringList& keys)
{
    QVector<SectionLists> sections;
    QXmlStreamReader xml(device);
    QString list; // the key of the list read now; empty outside the lists asked for
    int depth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (depth == 2) {
                sections.append(SectionLists());
            } else if (depth == 3) {
                list = xml.name().toString();
                if (!keys.contains(list))
                    list.clear();
            } else if (depth == 4 && !list.isEmpty()) {
                sections.last()[list].append(xml.attributes());
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    return sections;
}

QVector<SectionLists> shipped_section_lists(const QStringList& keys)
{
    init_section_list_texts();
    QFile file(QStringLiteral(":/ktcore/parameter.xml"));
    return file.open(QIODevice::ReadOnly) ? section_lists_of(&file, keys) : QVector<SectionLists>();
}
