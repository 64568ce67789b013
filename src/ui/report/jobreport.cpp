// The report's title block, table and plan content from the rows.
#include "report/jobreport.h"

#include "crs/crs.h"
#include "survey/acicolour.h"
#include "survey/linework.h"

namespace
{

struct Counts {
    int points = 0;
    int stations = 0;
    int measured = 0;
};

Counts count_rows(const ReportInput& input)
{
    Counts counts;
    for (const QStringList& cells : input.rows) {
        const survey::RowKind kind = input.observation ? survey::row_kind(cells, input.kinds) : survey::RowKind::Plain;
        if (kind == survey::RowKind::Station)
            ++counts.stations;
        else if (kind == survey::RowKind::Measured)
            ++counts.measured;
        if (kind == survey::RowKind::Plain || kind == survey::RowKind::Measured)
            ++counts.points;
    }
    return counts;
}

QString system_text(const QString& crs, const QStringList& texts)
{
    if (crs.isEmpty())
        return texts.value(kLocalCoordinates);
    const CrsInfo info = describe_crs(crs);
    return texts.value(kSystemValue).arg(info.name.isEmpty() ? crs : info.name, info.is_valid() ? info.id() : crs);
}

void add_plan(const ReportInput& input, JobReport* report)
{
    LineworkBuilder linework(input.codes);
    for (int row = 0; row < input.rows.size(); ++row) {
        const QStringList& cells = input.rows[row];
        const auto cell = [&cells](int column) { return cells.value(column); };
        PlanPoint point;
        if (plan_point_of_row(input.plan_columns, input.plan_labels, cell, row, &point))
            report->points.append(point);
        else if (!has_no_place_by_design(input.plan_columns, input.plan_labels, cell))
            ++report->left_out;
        if (!is_setup_record(input.plan_columns, input.plan_labels, cell))
            linework.add(row, cell(input.plan_columns.name_column), cell(input.plan_columns.code_column),
                         cell(input.plan_columns.n_column), cell(input.plan_columns.e_column),
                         cell(input.plan_columns.z_column));
    }
    PlanPoints points;
    points.points = report->points;
    report->bounds = points.bounds();
    for (const LineworkLine& line : linework.lines()) {
        if (!line.drawable())
            continue;
        ReportShape shape;
        for (const LineworkVertex& vertex : line.vertices)
            shape.world.append(QPointF(vertex.e, vertex.n));
        shape.closed = line.closed || line.area;
        const AciRgb rgb = aci_colour(input.codes.entries().value(line.entry).colour);
        shape.colour = QColor(rgb.red, rgb.green, rgb.blue);
        report->shapes.append(shape);
    }
}

} // namespace

JobReport build_job_report(const ReportInput& input, const QStringList& texts)
{
    JobReport report;
    report.texts = texts;
    const Counts counts = count_rows(input);
    report.title = {
        {texts.value(kJobLabel), input.job},
        {texts.value(kDateLabel), input.when},
        {texts.value(kInstrumentLabel), input.instrument},
        {texts.value(kSystemLabel), system_text(input.crs, texts)},
        {texts.value(kProgramLabel), input.program},
        {texts.value(kPointsLabel), QString::number(counts.points)},
    };
    if (input.observation) {
        report.title.append({texts.value(kStationsLabel), QString::number(counts.stations)});
        report.title.append({texts.value(kMeasuredLabel), QString::number(counts.measured)});
    }
    if (!input.note.trimmed().isEmpty())
        report.title.append({texts.value(kNoteLabel), input.note.trimmed()});

    for (int column : input.table_columns)
        report.header << input.captions.value(column);
    report.table.reserve(input.rows.size());
    for (const QStringList& cells : input.rows) {
        QStringList shown;
        shown.reserve(input.table_columns.size());
        for (int column : input.table_columns)
            shown << cells.value(column);
        report.table.append(shown);
    }
    add_plan(input, &report);
    report.scale = input.scale;
    report.checks = report_checks(input, texts);
    for (const ReportSection& section : report.checks)
        report.findings += section.lines.size();
    return report;
}
