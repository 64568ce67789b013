// The recovery journal reader on any bytes: head lines, changes of both versions, rows removed and
// replaced out of range, cut lines. The bytes are parsed as read from a file, without writing one.
#include "data/recoveryjournal.h"

#include <QDateTime>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const RecoveryJournal coordinate(QString(), "coordinate", 5);
    static const RecoveryJournal observation(QString(), "observation", 15);
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QDateTime modified = QDateTime::fromSecsSinceEpoch(0);
    for (const RecoveryJournal* journal : {&coordinate, &observation}) {
        const RecoveryJournal::Contents contents = journal->parse(bytes, modified);
        // A journal refused or missing gives back no row; every row given back is whole.
        if (contents.status != RecoveryJournal::Contents::Whole && !contents.rows.isEmpty())
            __builtin_trap();
        for (const QStringList& row : contents.rows) {
            if (row.size() != (journal == &coordinate ? 5 : 15))
                __builtin_trap();
        }
    }
    return 0;
}
