// The report's checks: names held by more than one row (counted as the table marks them), how such
// names were resolved in this session, the measured-data check's findings, points outside the coordinate
// system's area of use, and coordinate cells that are not numbers.
#include "report/jobreport.h"

#include "crs/crstransform.h"
#include "survey/surveycheck.h"
#include "survey/surveytext.h"

#include <QHash>

namespace
{

ReportSection duplicate_names(const ReportInput& input, const QStringList& texts)
{
    ReportSection section{texts.value(kDuplicatesHeading), {}};
    SuspectRows suspect(input.suspect_columns);
    suspect.refresh(int(input.rows.size()), [&](int row, int column) { return input.rows[row].value(column); });
    // The groups in the order of their first rows; a group is the kind and the name, as the marks count.
    QHash<QString, int> group_of;
    QVector<QPair<QString, QStringList>> groups;
    for (int row = 0; row < input.rows.size(); ++row) {
        if (suspect.name_count(row) < 2)
            continue;
        const QStringList& cells = input.rows[row];
        const QString name = cells.value(input.suspect_columns.name);
        const QString key = cells.value(input.suspect_columns.kind) + QChar(0x1f) + name;
        auto found = group_of.find(key);
        if (found == group_of.end()) {
            found = group_of.insert(key, int(groups.size()));
            groups.append({name, {}});
        }
        groups[found.value()].second << QString::number(row + 1);
    }
    for (const auto& group : groups)
        section.lines << texts.value(kDuplicateGroup)
                             .arg(group.first, QString::number(group.second.size()), group.second.join(", "));
    return section;
}

ReportSection survey_findings(const ReportInput& input, const QStringList& texts)
{
    ReportSection section{texts.value(kSurveyCheckHeading), {}};
    const survey::CheckResult result = survey::check_rows(input.rows, input.kinds);
    for (const survey::Finding& finding : result.findings) {
        const QString pattern = texts.value(kFindingTexts + int(finding.kind));
        section.lines << survey::fill_values(
            pattern, survey::finding_values(finding, survey::reason_in_english(finding.reason)));
    }
    return section;
}

ReportSection outside_area(const ReportInput& input, const QStringList& texts)
{
    AreaOfUse area;
    if (input.crs.isEmpty() || !area.open(input.crs))
        return {texts.value(kNoAreaChecked), {}};
    ReportSection section{texts.value(kOutsideHeading).arg(area.system().id()), {}};
    const PlanColumns& columns = input.plan_columns;
    for (int row = 0; row < input.rows.size(); ++row) {
        const QStringList& cells = input.rows[row];
        double n = 0, e = 0;
        if (!plan_coordinate(cells.value(columns.n_column), &n) || !plan_coordinate(cells.value(columns.e_column), &e))
            continue;
        if (!area.contains(e, n))
            section.lines << texts.value(kOutsideRow)
                                 .arg(QString::number(row + 1), cells.value(columns.name_column),
                                      cells.value(columns.n_column), cells.value(columns.e_column));
    }
    return section;
}

ReportSection not_numbers(const ReportInput& input, const QStringList& texts)
{
    ReportSection section{texts.value(kNotNumbersHeading), {}};
    for (int row = 0; row < input.rows.size(); ++row) {
        const QStringList& cells = input.rows[row];
        for (int column : input.suspect_columns.coordinates) {
            if (suspect_coordinate(cells.value(column)))
                section.lines << texts.value(kNotNumberRow)
                                     .arg(QString::number(row + 1), cells.value(input.suspect_columns.name),
                                          input.captions.value(column), cells.value(column));
        }
    }
    return section;
}

} // namespace

QVector<ReportSection> report_checks(const ReportInput& input, const QStringList& texts)
{
    QVector<ReportSection> sections{duplicate_names(input, texts)};
    if (!input.resolutions.isEmpty())
        sections << ReportSection{texts.value(kResolvedHeading), input.resolutions};
    if (input.observation)
        sections << survey_findings(input, texts);
    sections << outside_area(input, texts) << not_numbers(input, texts);
    return sections;
}
