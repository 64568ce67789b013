// ktconvert --duplicates: points that share a name resolved as the window's Resolve duplicates does.
#include "convert/console.h"
#include "survey/duplicates.h"

namespace
{

const char* const kDuplicateChoices[] = {"first", "last", "average", "rename"};
const duplicates::Choice kChoiceOf[] = {duplicates::Choice::KeepFirst, duplicates::Choice::KeepLast,
                                        duplicates::Choice::Average, duplicates::Choice::Rename};

} // namespace

int duplicate_choice(const QString& text)
{
    for (int i = 0; i < 4; ++i) {
        if (text == QLatin1String(kDuplicateChoices[i]))
            return i;
    }
    return -1;
}

// Lines that are not five-field points pass as they are.
int resolve_duplicate_lines(const Options& options, QStringList* lines)
{
    duplicates::Rows rows;
    for (const QString& line : *lines) {
        const QStringList fields = line.split(',');
        rows << (fields.size() == 5 ? fields : QStringList());
    }
    const duplicates::Layout layout = duplicates::coordinate_layout(kt2040::FrameSet::None);
    const QList<duplicates::Group> groups = duplicates::find_groups(rows, layout);
    duplicates::Options choice;
    if (options.tolerance_given)
        choice.tolerance = options.tolerance.horizontal;
    const duplicates::Result result = duplicates::resolve(
        rows, layout, groups, duplicates::for_every_group(groups, kChoiceOf[duplicate_choice(options.duplicates)]),
        choice);
    QStringList kept;
    for (int i = 0; i < result.rows.size(); ++i) {
        const int row = result.kept[i];
        kept << (rows[row].isEmpty() ? lines->at(row) : result.rows[i].join(','));
    }
    *lines = kept;
    for (int g : result.beyond)
        say(stderr,
            QString("ktconvert: %1: %2 points %3 m apart across and %4 m in height, beyond %5 m; left as they are")
                .arg(groups[g].name)
                .arg(groups[g].rows.size())
                .arg(groups[g].horizontal, 0, 'f', 3)
                .arg(groups[g].vertical, 0, 'f', 3)
                .arg(choice.tolerance, 0, 'f', 3));
    say(stderr, QString("ktconvert: names shared by more than one point: %1; points removed: %2, groups averaged: %3, "
                        "points renamed: %4, groups left as they are: %5")
                    .arg(groups.size())
                    .arg(result.removed)
                    .arg(result.averaged)
                    .arg(result.renamed.size())
                    .arg(result.beyond.size()));
    return int(result.beyond.size());
}
