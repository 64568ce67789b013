// The recovery journal: every received record of a table layout, one line each, appended and flushed as
// it arrives, so a crash or a power cut during a receive loses nothing that reached the table. The first
// line names the program, the layout and when the journal began; a journal that is not whole is refused.
#ifndef RECOVERYJOURNAL_H
#define RECOVERYJOURNAL_H

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

class RecoveryJournal
{
public:
    // The journal of the layout `layout` (a plain word, e.g. "coordinate") with `columns` cells a row,
    // in the folder `folder`.
    RecoveryJournal(const QString& folder, const QString& layout, int columns);

    QString path() const;
    bool exists() const;

    // Appends one row (its first `columns` cells; missing ones empty), starting the file with its head
    // line when there is none. False when it cannot be written; `error()` says why.
    bool append(const QStringList& cells);
    // Starts the journal anew with `rows`, begun at `started` (a restored journal, written whole).
    bool rewrite(const QDateTime& started, const QList<QStringList>& rows);
    // Removes the file; the next append starts a new journal.
    void remove();
    QString error() const { return error_; }

    struct Contents {
        enum Status { Missing, Whole, Refused } status = Missing;
        QDateTime started;
        QList<QStringList> rows; // every whole line; a line cut by the end of the file is dropped
    };
    Contents read() const;
    // Renames the file aside, with `tag` and the time in its name, so it is kept and no longer found;
    // returns the new path, or "" when the rename failed.
    QString set_aside(const QString& tag);

    // The text of a row line and the head line; cells lose tabs and line ends, which separate them.
    static QByteArray row_line(const QStringList& cells, int columns);
    QByteArray head_line(const QDateTime& started) const;

private:
    bool open_for_append();
    bool write_bytes(const QByteArray& bytes);

    QString folder_;
    QString layout_;
    int columns_;
    QFile file_;
    QString error_;
};

#endif // RECOVERYJOURNAL_H
