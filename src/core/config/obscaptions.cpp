// Column captions of the observation layout in every shipped language, and a caption row's columns.
#include "config/obscaptions.h"

#include "config/sectionlists.h"
#include "data/tablecolumns.h"

#include <algorithm>
#include <numeric>

namespace
{

const QString kTableCaptions = QStringLiteral("PointTableWidgetHeadTitleKT20KT40");
const QString kExportTitles = QStringLiteral("PointExportKT20KT40");

QVector<ColumnCaptions> captions_in(const QVector<SectionLists>& sections)
{
    QVector<ColumnCaptions> all;
    for (const SectionLists& section : sections) {
        ColumnCaptions captions;
        const auto add = [&captions](const QXmlStreamAttributes& item, int column) {
            const QString caption = item.value(QLatin1String("Data")).toString().trimmed();
            if (!caption.isEmpty() && !captions.contains(caption))
                captions.insert(caption, column);
        };
        const QVector<QXmlStreamAttributes> table = section.value(kTableCaptions);
        for (int column = 0; column < table.size() && column < ObsColumn::Count; ++column)
            add(table[column], column);
        const QVector<QXmlStreamAttributes> titles = section.value(kExportTitles);
        for (int field = 0; field < titles.size() && field < int(kObservationLineColumns.size()); ++field)
            add(titles[field], kObservationLineColumns[size_t(field)]);
        if (!captions.isEmpty())
            all.append(captions);
    }
    return all;
}

} // namespace

QVector<ColumnCaptions> observation_captions_of(QIODevice* device)
{
    return captions_in(section_lists_of(device, {kTableCaptions, kExportTitles}));
}

const QVector<ColumnCaptions>& shipped_observation_captions()
{
    static const QVector<ColumnCaptions> captions = captions_in(shipped_section_lists({kTableCaptions, kExportTitles}));
    return captions;
}

bool CaptionColumns::has_observations() const
{
    return has(ObsColumn::Kind) && has(ObsColumn::Name) && has(ObsColumn::HorizontalAngle) &&
           has(ObsColumn::VerticalAngle) && (has(ObsColumn::SlopeDistance) || has(ObsColumn::HorizontalDistance));
}

CaptionColumns caption_columns(const QStringList& captions, const QVector<ColumnCaptions>& languages)
{
    // The languages by how many of the row's captions they know, most first (the file's order among
    // equals): a caption is looked up in that order.
    QVector<int> known(languages.size(), 0);
    for (int language = 0; language < languages.size(); ++language) {
        for (const QString& caption : captions)
            known[language] += languages[language].contains(caption.trimmed()) ? 1 : 0;
    }
    QVector<int> order(languages.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&known](int a, int b) { return known[a] > known[b]; });

    CaptionColumns result;
    for (const QString& caption : captions) {
        const QString trimmed = caption.trimmed();
        int column = -1;
        for (int i = 0; column < 0 && i < order.size(); ++i)
            column = languages[order[i]].value(trimmed, -1);
        if (column >= 0 && result.has(column))
            column = -1;
        if (column < 0 && !trimmed.isEmpty())
            result.unknown << caption;
        result.columns << column;
    }
    return result;
}
