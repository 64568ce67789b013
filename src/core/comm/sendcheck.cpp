// The check before a send: each row built into its frame and read back, each difference a finding.
#include "comm/sendcheck.h"

#include "comm/kt90_commands.h"
#include "comm/kt90_conversation.h"
#include "comm/kt90_instrument.h"
#include "data/fieldtext.h"
#include "data/numbertext.h"
#include "trees/jobnodes.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace sendcheck
{

namespace
{

const QByteArray kCrLf("\r\n");

Where where_of(kt2040::SentField field)
{
    switch (field) {
    case kt2040::SentField::Name:
        return Where::Name;
    case kt2040::SentField::Code:
        return Where::Code;
    case kt2040::SentField::N:
        return Where::N;
    case kt2040::SentField::E:
        return Where::E;
    case kt2040::SentField::Z:
        break;
    }
    return Where::Z;
}

bool is_coordinate(Where where)
{
    return where == Where::N || where == Where::E || where == Where::Z;
}

bool beyond_latin1(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
}

// What became of a text the frame carries as text (a name, a code, a KT90 record or job name).
bool judge_text(const QString& shown, const QString& sent, Kind* kind)
{
    // Spaces around a text are the field's filling, not part of the point.
    const QString text = shown.trimmed();
    if (sent == text || sent == shown)
        return false;
    if (beyond_latin1(text))
        *kind = Kind::NotLatin1;
    else if (sent.size() < text.size() && text.startsWith(sent))
        *kind = Kind::TooLong;
    else
        *kind = Kind::Changed;
    return true;
}

// What became of a coordinate.
bool judge_coordinate(const QString& shown, const QString& sent, Kind* kind)
{
    const QString text = shown.trimmed();
    if (text.isEmpty()) {
        *kind = Kind::Empty;
        return true;
    }
    if (!is_number(text)) {
        *kind = Kind::NotNumber;
        return true;
    }
    const bool ok = is_number(sent.trimmed());
    const double arrived = text_to_double(sent);
    const double value = text_to_double(text);
    if (ok && arrived == value)
        return false;
    // Decimals cut or rounded change a number by less than a unit; a cut into its whole part, by
    // ten times or more.
    *kind = ok && std::fabs(arrived - value) < 1.0 ? Kind::Rounded : Kind::DoesNotFit;
    return true;
}

// The text a KT90 message carries after its command, as the instrument reads it.
QString message_text(const QByteArray& message)
{
    // Byte by byte, NULs included (QString::fromLatin1 of a QByteArray stops at the first in Qt 5).
    const QByteArray text = message.endsWith(kCrLf) ? message.chopped(2) : message;
    return QString::fromLatin1(text.constData(), text.size());
}

} // namespace

int Report::count(Kind kind) const
{
    return int(std::count_if(findings.begin(), findings.end(), [kind](const Finding& f) { return f.kind == kind; }));
}

bool is_number(const QString& text)
{
    static const QRegularExpression number("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$");
    return number.match(text).hasMatch();
}

Report check_rows(kt2040::FrameSet set, const QList<QStringList>& rows)
{
    Report report;
    report.rows = rows.size();
    report.limit = kt2040::max_records(set);
    const int count = std::min(report.rows, report.limit);
    const QList<kt2040::SentColumn> columns = kt2040::sent_columns(set);
    // The first row that sent each name as it arrives, for names that arrive alike.
    QHash<QString, int> first_with_name;
    for (int row = 0; row < count; ++row) {
        const QStringList& cells = rows[row];
        const kt2040::Record got = kt2040::received_record(set, kt2040::sent_record(set, row, count, cells));
        for (const kt2040::SentColumn& column : columns) {
            const Where where = where_of(column.field);
            const QString shown = cells.value(column.column);
            const QString sent = got.cells.value(column.column);
            Kind kind;
            if (is_coordinate(where) ? judge_coordinate(shown, sent, &kind) : judge_text(shown, sent, &kind))
                report.findings.append({kind, where, row, shown, sent});
            if (where != Where::Name)
                continue;
            const auto first = first_with_name.constFind(sent);
            if (first == first_with_name.constEnd())
                first_with_name.insert(sent, row);
            else if (rows[*first].value(column.column).trimmed() != shown.trimmed())
                report.findings.append(
                    {Kind::EqualOnceCut, where, row, shown, sent, *first, rows[*first].value(column.column)});
        }
    }
    return report;
}

Report check_records(const QStringList& records)
{
    Report report;
    report.rows = records.size();
    report.limit = records.size();
    const QString length = QString::number(kt90::kRecordLength);
    for (int line = 0; line < records.size(); ++line) {
        const QString& record = records[line];
        const QByteArray message = kt90::upload_message(kt90::Message::DataRecord, length, record, true);
        if (message.isEmpty()) {
            report.findings.append({Kind::RecordLength, Where::Record, line, record, QString()});
            continue;
        }
        Kind kind;
        const QString sent = message_text(message);
        if (sent != record && judge_text(record, sent, &kind))
            report.findings.append({kind, Where::Record, line, record, sent});
    }
    return report;
}

Report check_upload(const QStringList& records, bool new_job, const QString& job_name, int job_number,
                    const QStringList& job_captions)
{
    Report report = check_records(records);
    if (!new_job)
        return report;
    // The job creation "JOB/SET/<name>/<number>" as the instrument splits it.
    const QByteArray creation =
        kt90::upload_message(kt90::Message::CreateJob, QString::number(job_number), job_name, false);
    const QStringList parts = message_text(creation).split('/');
    if (parts.size() != 4) {
        // Read up to the first separator, the name is another one.
        report.findings.append({Kind::JobNameSeparator, Where::JobName, -1, job_name, parts.value(2)});
        return report;
    }
    Kind kind;
    if (judge_text(job_name, parts[2], &kind)) {
        report.findings.append({kind, Where::JobName, -1, job_name, parts[2]});
        return report;
    }
    // The job list line the instrument gives back for the job once its records are in, kept as the
    // program keeps list lines, and the job node the tree makes of it.
    const QString line = QString("%1,%2,%3,%4").arg(job_name).arg(job_number).arg(records.size()).arg(0);
    const QString kept = kt90::list_text(latin1_bytes(line) + kCrLf);
    const QList<JobNodeTexts> nodes = job_node_texts({kept}, job_captions);
    const QString listed = nodes.isEmpty() ? QString() : job_of_node(nodes.first().job).name;
    if (listed != job_name)
        report.findings.append({Kind::JobNameNotListed, Where::JobName, -1, job_name, listed});
    return report;
}

} // namespace sendcheck
