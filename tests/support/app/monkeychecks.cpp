// The invariants the monkey checks after every action: the journal holds the unsaved table, the transfer
// state and the connection buttons follow the port, saved files read back, nothing is written outside
// the temporary folders.
#include "support/app/monkey.h"

#include "data/fileoperation.h"
#include "data/pointformats.h"
#include "data/pointrows.h"
#include "data/recoveryjournal.h"
#include "table/tablerows.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTableWidget>
#include <QToolBar>

namespace
{

// A ktsim killed must be noticed as a lost port within this time.
constexpr int kLostPortMs = 5000;

// Where the program and ktsim may write inside the temporary tree.
const char* const kWritable[] = {"config/", "data/", "files/", "pc/", "sim/", "home/"};

// Rows as the journal writes them, so cells compare after the journal's cleaning.
QList<QByteArray> journal_lines(const QList<QStringList>& rows, int columns)
{
    QList<QByteArray> lines;
    for (const QStringList& row : rows)
        lines << RecoveryJournal::row_line(row, columns);
    return lines;
}

} // namespace

QString Monkey::check()
{
    if (!kt90() && w->journal && !w->journal_failed) {
        const int columns = w->tableWidget->columnCount();
        const RecoveryJournal::Contents journal = w->journal->read();
        if (w->unsaved_rows.pending(w->tableWidget->rowCount())) {
            if (journal.status != RecoveryJournal::Contents::Whole)
                return "the table has unsaved rows and the journal is not whole";
            if (journal_lines(journal.rows, columns) != journal_lines(w->table_texts(), columns))
                return QString("the journal (%1 rows) gives back other rows than the table's %2 unsaved rows")
                    .arg(journal.rows.size())
                    .arg(w->tableWidget->rowCount());
        } else if (journal.status == RecoveryJournal::Contents::Whole && !journal.rows.isEmpty()) {
            return QString("no unsaved rows, and the journal holds %1").arg(journal.rows.size());
        }
    }
    const bool open = w->serial->isOpen();
    if (!open && (w->InformationTransmissionjFlag || !w->commbuf.isEmpty()))
        return QString("port closed, and the transfer state is not reset (flag %1, %2 bytes in the buffer)")
            .arg(w->InformationTransmissionjFlag)
            .arg(w->commbuf.size());
    const QStringList by_connection = w->get_parametretitle("ToolbarshowbyConnect");
    for (QAction* action : w->ui->mainToolBar->actions()) {
        if (by_connection.contains(action->objectName()) && action->isEnabled() != open)
            return QString("the button %1 is %2 while the port is %3")
                .arg(action->objectName(), action->isEnabled() ? "enabled" : "disabled", open ? "open" : "closed");
    }
    if (sim->running() || !open)
        sim_dead.invalidate();
    else if (sim_dead.isValid() && sim_dead.elapsed() > kLostPortMs)
        return QString("ktsim ended %1 ms ago, and the port is still open").arg(sim_dead.elapsed());
    const QString saves = check_saved_files();
    if (!saves.isEmpty())
        return saves;
    // The temporary tree grows only where the program and ktsim write.
    const QStringList now = tree_files();
    for (const QString& file : now) {
        if (known_files.contains(file))
            continue;
        bool writable = false;
        for (const char* folder : kWritable)
            writable = writable || file.startsWith(QLatin1String(folder));
        if (!writable)
            return "a file was written where nothing should be: " + file;
    }
    known_files = now;
    return QString();
}

QStringList Monkey::table_lines_now() const
{
    const TableLayout layout = table_layout(w->InstrumentType);
    const RowShape& shape = layout == TableLayout::Observation ? observation_line_shape() : point_line_shape(layout);
    return table_lines(w->tableWidget, shape);
}

QString Monkey::check_saved_files()
{
    for (auto it = pending_saves.cbegin(); it != pending_saves.cend(); ++it) {
        const QString& path = it.key();
        const QStringList& held = it.value();
        const QString suffix = QFileInfo(path).suffix();
        // Raw text formats keep every cell: the file reads back as the table's lines when it was saved.
        if (!QFileInfo::exists(path) || PointFormat::for_suffix(suffix).kind() != PointFormat::Raw)
            continue;
        FileOperation file;
        const QStringList read = file.readfile_byextension(path, suffix);
        if (read != held) {
            int line = 0;
            while (line < qMin(read.size(), held.size()) && read[line] == held[line])
                ++line;
            return QString("%1 reads back as %2 lines, the table held %3; line %4 reads \"%5\" for \"%6\"")
                .arg(path)
                .arg(read.size())
                .arg(held.size())
                .arg(line + 1)
                .arg(read.value(line), held.value(line));
        }
        saved[path] = held;
    }
    pending_saves.clear();
    return QString();
}

QStringList Monkey::tree_files() const
{
    QStringList found;
    QDirIterator it(dir->path(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(dir->path()).relativeFilePath(it.next());
    return found;
}

QString Monkey::check_outside()
{
    for (auto it = outside.cbegin(); it != outside.cend(); ++it) {
        const QStringList now = QDir(it.key()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& entry : now) {
            // Other programs of this machine's user write there too: only entries of ours count.
            const bool ours = entry.contains("ktlink", Qt::CaseInsensitive) ||
                              entry.contains(QCoreApplication::applicationName(), Qt::CaseInsensitive) ||
                              (!QCoreApplication::organizationName().isEmpty() &&
                               entry.contains(QCoreApplication::organizationName(), Qt::CaseInsensitive));
            if (ours && !it.value().contains(entry))
                return QString("%1/%2 appeared outside the temporary folders").arg(it.key(), entry);
        }
    }
    return QString();
}
