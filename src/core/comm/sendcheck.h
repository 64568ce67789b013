// The check before a send: the frames a KT20/KT40 send or a KT90 upload would carry are built with
// the codec's own builders and read back with its own decoder (for a KT90 job, the job list line as
// the instrument gives it back), and what arrives is compared with what the table or the file shows.
// Nothing here restates a field width: where the frames change a text, the check sees it.
#ifndef SENDCHECK_H
#define SENDCHECK_H

#include "comm/kt2040_frames.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace sendcheck
{

// What a send would do to a text. The order is the order in which the question lists them.
enum class Kind {
    TooLong,          // longer than its field: its first characters arrive
    EqualOnceCut,     // different names that arrive as one name
    NotLatin1,        // characters the wire cannot carry arrive as nothing
    Empty,            // a coordinate without a value
    NotNumber,        // a coordinate that is no number
    DoesNotFit,       // a number too wide for its field arrives as another number
    Rounded,          // more decimals than the field keeps
    Changed,          // any other difference the frame makes
    RecordLength,     // KT90: a line of another length than a record; the upload cannot send it
    JobNameSeparator, // KT90: a job name holding the job command's separator
    JobNameNotListed, // KT90: a job name the instrument's job list does not give back
};
constexpr int kKinds = int(Kind::JobNameNotListed) + 1;

// Which text: a field of a KT20/KT40 record, a KT90 record (a line of the file) or the job name.
enum class Where { Name, Code, N, E, Z, Record, JobName };

struct Finding {
    Finding(Kind kind, Where where, int row, const QString& shown, const QString& sent, int other_row = -1,
            const QString& other = QString())
        : kind(kind), where(where), row(row), other_row(other_row), shown(shown), sent(sent), other(other)
    {
    }
    Kind kind;
    Where where;
    int row;       // 0-based row or line of those given; -1 for the job name
    int other_row; // EqualOnceCut: the earlier row whose name it meets
    QString shown; // the text as the table or the file has it
    QString sent;  // what the instrument gets
    QString other; // EqualOnceCut: the name of the earlier row
};

struct Report {
    QList<Finding> findings;
    int rows = 0;  // rows (records) given
    int limit = 0; // rows one transfer can carry; rows beyond it are not checked
    bool too_many() const { return rows > limit; }
    bool clean() const { return findings.isEmpty() && !too_many(); }
    int count(Kind kind) const;
};

// The texts of `rows` (every column of each row, as the table holds them) sent with frame set `set`.
Report check_rows(kt2040::FrameSet set, const QList<QStringList>& rows);
// The lines of a PC file as KT90 records: their length and their characters.
Report check_records(const QStringList& records);
// An upload of `records`; with a new job, also the name `job_name` it is created with as job
// `job_number`, and whether the job list (read back as the instrument gives it, shown with the
// instrument tree's `job_captions`) still names it.
Report check_upload(const QStringList& records, bool new_job, const QString& job_name, int job_number,
                    const QStringList& job_captions);

// Whether a coordinate text is a plain decimal number (sign, digits, one decimal point).
bool is_number(const QString& text);

} // namespace sendcheck

#endif // SENDCHECK_H
