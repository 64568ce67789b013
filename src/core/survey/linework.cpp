// Joining coded points into lines and areas, and what could not be joined.
#include "survey/linework.h"

#include "data/pointfields.h"

#include <algorithm>

namespace
{

// One track per code and string number.
int track_key(const LineCode& parsed)
{
    return parsed.entry * (kMaxStringNumber + 1) + parsed.string_number;
}

QString labelled(const QString& code, int string_number)
{
    return string_number > 0 ? code + QString::number(string_number) : code;
}

// The code field as typed, without its control character: what a grouped issue names.
QString typed_code(const QString& field, const CodeList& codes)
{
    QString typed = field.trimmed();
    if (typed.size() > 1 && codes.is_control(typed.back()))
        typed.chop(1);
    return typed;
}

// Reads the vertex's numbers; false when N or E is not a number, or Z is given and is not one.
bool place(LineworkVertex* vertex)
{
    if (!parse_number(vertex->north, &vertex->n) || !parse_number(vertex->east, &vertex->e))
        return false;
    vertex->has_height = !vertex->height.trimmed().isEmpty();
    return !vertex->has_height || parse_number(vertex->height, &vertex->z);
}

} // namespace

bool LineworkLine::has_heights() const
{
    return std::all_of(vertices.begin(), vertices.end(), [](const LineworkVertex& v) { return v.has_height; });
}

LineworkBuilder::LineworkBuilder(const CodeList& codes) : codes_(codes) {}

void LineworkBuilder::clear()
{
    lines_.clear();
    tracks_.clear();
    issues_.clear();
    grouped_.clear();
    double_started_.clear();
}

void LineworkBuilder::add(int row, const QString& name, const QString& code, const QString& north, const QString& east,
                          const QString& height)
{
    const LineCode parsed = parse_line_code(code, codes_);
    static const struct {
        LineCode::Problem problem;
        LineworkIssue::Kind kind;
    } kProblems[] = {
        {LineCode::Unknown, LineworkIssue::UnknownCode},
        {LineCode::ControlOnly, LineworkIssue::ControlOnly},
        {LineCode::StringOutOfRange, LineworkIssue::StringOutOfRange},
        {LineCode::StringWithoutLineCode, LineworkIssue::StringWithoutLineCode},
    };
    for (const auto& each : kProblems) {
        if (parsed.problem == each.problem) {
            note_grouped(each.kind, typed_code(code, codes_), row);
            return;
        }
    }
    if (!parsed.joins(codes_))
        return; // no code, or a point feature
    LineworkVertex vertex;
    vertex.row = row;
    vertex.name = name;
    vertex.north = north;
    vertex.east = east;
    vertex.height = height;
    const bool placed = place(&vertex);
    if (!placed)
        note_grouped(LineworkIssue::NoCoordinates, labelled(parsed.code, parsed.string_number), row);
    join(parsed, placed, vertex);
}

void LineworkBuilder::join(const LineCode& parsed, bool placed, const LineworkVertex& vertex)
{
    Track& track = tracks_[track_key(parsed)];
    const QString label = labelled(parsed.code, parsed.string_number);
    switch (parsed.control) {
    case LineControl::None:
    case LineControl::End:
        if (placed) {
            if (track.open < 0) {
                track.open = start_line(parsed, track);
                track.open_started = false;
            }
            lines_[track.open].vertices.append(vertex);
        }
        if (parsed.control == LineControl::End)
            track.open = -1;
        break;
    case LineControl::Start:
        if (track.open >= 0 && track.open_started && lines_[track.open].vertices.size() == 1) {
            note(LineworkIssue::DoubleStart, label, {lines_[track.open].vertices.first().row, vertex.row});
            double_started_[track.open] = true;
        }
        track.open = -1;
        if (placed) {
            track.open = start_line(parsed, track);
            track.open_started = true;
            lines_[track.open].vertices.append(vertex);
        }
        break;
    case LineControl::Close:
        if (track.open < 0 && track.last_closed) {
            note(LineworkIssue::ClosedTwice, label, {track.close_row, vertex.row});
            break;
        }
        if (placed && track.open < 0)
            track.open = start_line(parsed, track);
        if (placed)
            lines_[track.open].vertices.append(vertex);
        if (track.open >= 0) {
            lines_[track.open].closed = true;
            track.last_closed = true;
            track.close_row = vertex.row;
        }
        track.open = -1;
        break;
    }
}

int LineworkBuilder::start_line(const LineCode& parsed, Track& track)
{
    LineworkLine line;
    line.code = parsed.code;
    line.entry = parsed.entry;
    line.area = codes_.entries()[parsed.entry].kind == CodeKind::Area;
    line.closed = line.area;
    line.string_number = parsed.string_number;
    lines_.append(line);
    double_started_.append(false);
    track.last_closed = false;
    return lines_.size() - 1;
}

void LineworkBuilder::note(LineworkIssue::Kind kind, const QString& code, QVector<int> rows)
{
    LineworkIssue issue;
    issue.kind = kind;
    issue.code = code;
    issue.rows = std::move(rows);
    issues_.append(issue);
}

void LineworkBuilder::note_grouped(LineworkIssue::Kind kind, const QString& code, int row)
{
    const QString key = QString::number(int(kind)) + QLatin1Char(' ') + code;
    const auto found = grouped_.constFind(key);
    if (found != grouped_.constEnd()) {
        issues_[found.value()].rows.append(row);
        return;
    }
    grouped_.insert(key, issues_.size());
    note(kind, code, {row});
}

void LineworkBuilder::add_point_lines(const QStringList& lines, int first_row)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = split_point_line(lines[i]);
        if (fields.size() >= 5)
            add(first_row + i, fields[0], fields[1], fields[2], fields[3], fields[4]);
    }
}

QVector<LineworkIssue> LineworkBuilder::issues() const
{
    QVector<LineworkIssue> all = issues_;
    for (int i = 0; i < lines_.size(); ++i) {
        const LineworkLine& line = lines_[i];
        if (double_started_[i] || line.drawable())
            continue;
        LineworkIssue issue;
        issue.kind = line.area ? LineworkIssue::SmallArea : LineworkIssue::SinglePointLine;
        issue.code = labelled(line.code, line.string_number);
        for (const LineworkVertex& vertex : line.vertices)
            issue.rows.append(vertex.row);
        all.append(issue);
    }
    std::stable_sort(all.begin(), all.end(), [](const LineworkIssue& a, const LineworkIssue& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.rows.value(0) < b.rows.value(0);
    });
    return all;
}

int LineworkBuilder::drawable_lines() const
{
    return int(std::count_if(lines_.begin(), lines_.end(),
                             [](const LineworkLine& line) { return !line.area && line.drawable(); }));
}

int LineworkBuilder::drawable_areas() const
{
    return int(std::count_if(lines_.begin(), lines_.end(),
                             [](const LineworkLine& line) { return line.area && line.drawable(); }));
}

LineworkBuilder linework_of_point_lines(const CodeList& codes, const QStringList& lines)
{
    LineworkBuilder builder(codes);
    builder.add_point_lines(lines);
    return builder;
}

QString linework_issue_text(const LineworkIssue& issue)
{
    static const char* const kTexts[] = {
        "line of one point",
        "area of fewer than three points",
        "code not in the list",
        "string number with no line code",
        "code field of a control character only",
        "string number out of range (1 to 99)",
        "two starts in a row",
        "closed twice",
        "point of a line without numeric coordinates, left out of the line",
    };
    constexpr int kShownRows = 20;
    QStringList rows;
    for (int i = 0; i < qMin(kShownRows, issue.rows.size()); ++i)
        rows << QString::number(issue.rows[i] + 1);
    QString text = QStringLiteral("%1 %2: row%3 %4")
                       .arg(QString::fromLatin1(kTexts[issue.kind]), issue.code,
                            issue.rows.size() == 1 ? QString() : QStringLiteral("s"), rows.join(QStringLiteral(", ")));
    if (issue.rows.size() > kShownRows)
        text += QStringLiteral(" and %1 more").arg(issue.rows.size() - kShownRows);
    return text;
}
