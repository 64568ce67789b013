// The recovery journal reader on any bytes: head lines, changes of both versions, rows removed and
// replaced out of range, cut lines, damaged lines and garbage tails. The bytes are parsed as read from a
// file, without writing one.
#include "data/recoveryjournal.h"

#include <QDateTime>

namespace
{

void check(const RecoveryJournal& journal, int columns, const QByteArray& bytes, const QDateTime& modified)
{
    const RecoveryJournal::Contents contents = journal.parse(bytes, modified);
    using Contents = RecoveryJournal::Contents;
    // A journal refused or missing gives back no row; every row given back is whole.
    if (contents.status != Contents::Whole && contents.status != Contents::Partial && !contents.rows.isEmpty())
        __builtin_trap();
    for (const QStringList& row : contents.rows) {
        if (row.size() != columns)
            __builtin_trap();
    }
    // A damaged journal names a line after its head and means at least the rows it gives back.
    if (contents.status == Contents::Partial &&
        (contents.damaged_line < 2 || contents.rows_meant < contents.rows.size()))
        __builtin_trap();
    if (contents.status != Contents::Whole && contents.status != Contents::Partial)
        return;
    // The rows given back, written anew, read back the same and whole.
    QByteArray again = journal.head_line(contents.started);
    for (const QStringList& row : contents.rows)
        again += "+\t" + RecoveryJournal::row_line(row, columns);
    const Contents rewritten = journal.parse(again, modified);
    if (rewritten.status != Contents::Whole || rewritten.rows != contents.rows)
        __builtin_trap();
    // Garbage after the last whole line costs only itself.
    if (contents.status == Contents::Whole && bytes.endsWith('\n') && !contents.rows.isEmpty()) {
        const Contents torn = journal.parse(bytes + QByteArray("\x01\xfe+\tjunk\n\x7f", 11), modified);
        if (torn.rows != contents.rows || torn.status != Contents::Partial)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const RecoveryJournal coordinate(QString(), "coordinate", 5);
    static const RecoveryJournal observation(QString(), "observation", 15);
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QDateTime modified = QDateTime::fromSecsSinceEpoch(0);
    check(coordinate, 5, bytes, modified);
    check(observation, 15, bytes, modified);
    return 0;
}
