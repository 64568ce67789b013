// The recovery journal: the point table's unsaved rows, written as the table changes (rows appended,
// a row replaced, rows removed, the table cleared, or the whole table), one line per change handed to
// the system at once (a crash of the program loses nothing that reached the table) and pushed to the
// disk at once or, with a sync interval, at most that long after (what a power cut can lose). The first line names the
// program, the layout and when the journal began; a journal whose head line is not ours is refused, and
// one damaged further on gives back the changes up to its first damaged line.
//
// Each window keeps a journal of its own: slot 1 is journal-<layout>.txt, slot n journal-<layout>-n.txt,
// and the window holds the slot's lock (in the folder's locks/) for its life. A journal whose lock no
// running program holds is one a window left behind.
#ifndef RECOVERYJOURNAL_H
#define RECOVERYJOURNAL_H

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

class RecoveryJournal
{
public:
    // The journal of the layout `layout` (a plain word, e.g. "coordinate") with `columns` cells a row,
    // in the folder `folder`, slot `slot`.
    RecoveryJournal(const QString& folder, const QString& layout, int columns, int slot = 1);
    ~RecoveryJournal();

    QString path() const;
    bool exists() const;
    int slot() const { return slot_; }

    // Takes the slot's lock for as long as this object lives; false while another running program (or
    // another journal object) holds it. A lock left by a program that has ended is taken over.
    bool try_lock();
    // The slots of the layout that have a journal file in the folder, in order.
    static QList<int> slots_in(const QString& folder, const QString& layout);

    // The table's changes, each written as one line and pushed to the disk; the first change starts the
    // file with its head line. False when it cannot be written; `error()` says why.
    bool append(const QStringList& cells); // one row appended
    bool rows_appended(const QList<QStringList>& rows);
    bool row_replaced(int row, const QStringList& cells);
    bool rows_removed(const QList<int>& rows); // ascending, as numbered before the removal
    bool table_cleared();                      // no rows: the file is removed
    bool snapshot(const QList<QStringList>& rows);
    // Starts the journal anew with `rows`, begun at `started` (a restored journal, written whole).
    bool rewrite(const QDateTime& started, const QList<QStringList>& rows);
    // Removes the file; the next change starts a new journal.
    void remove();
    QString error() const { return error_; }

    // Lines are pushed to the disk at most every `ms` (0: each one as it is written); what is written
    // meanwhile waits for the next line after the interval, or for sync().
    void set_sync_interval(int ms) { sync_interval_ms_ = ms; }
    bool sync_pending() const { return sync_pending_; }
    bool sync();

    struct Contents {
        // Partial: a line after the head is damaged; `rows` is the table the lines before it give.
        enum Status { Missing, Whole, Refused, Partial } status = Missing;
        QDateTime started;
        QList<QStringList> rows; // the table the changes give; a line cut by the end of the file is dropped
        int damaged_line = 0;    // Partial: the first damaged line of the file, from 1
        int rows_meant = 0;      // Partial: the rows the whole journal would have held, as far as it tells
    };
    Contents read() const;
    // The contents of a journal file's bytes; `modified` is the file's time (a journal cut in its head
    // line began then).
    Contents parse(const QByteArray& data, const QDateTime& modified) const;
    // Renames the file aside, with `tag` and the time in its name, so it is kept and no longer found;
    // returns the new path, or "" when the rename failed.
    QString set_aside(const QString& tag);

    // The text of a row line and the head line; cells lose tabs, line ends and other control
    // characters, which would break the line.
    static QByteArray row_line(const QStringList& cells, int columns);
    QByteArray head_line(const QDateTime& started) const;

private:
    QString base_name() const;
    bool open_for_append();
    bool write_line(const QByteArray& line);
    bool write_bytes(const QByteArray& bytes);

    QString folder_;
    QString layout_;
    int columns_;
    int slot_;
    QFile file_;
    QString error_;
    std::unique_ptr<QLockFile> lock_;
    int sync_interval_ms_ = 0;
    bool sync_pending_ = false;
    QElapsedTimer last_sync_;
};

#endif // RECOVERYJOURNAL_H
