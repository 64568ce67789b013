// The recovery journal in the window: every change of the table journaled, so the journal always holds
// the unsaved table, and the journals that windows left behind offered back at start-up.
#include "data/datafolder.h"
#include "data/pointrows.h"
#include "data/recoveryjournal.h"
#include "modal/modal.h"
#include "table/pointitem.h"
#include "table/tableundo.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

namespace
{

// Entries of the UI-text list "JournalDlg".
enum JournalText : int { Title = 0, Restore = 1, Refused = 2, NotWritten = 3 };
// Entries of the UI-text list "DamagedFileTexts".
enum DamagedText : int { DamagedTitle = 0, JournalPartial = 1 };

// A journal line waits at most this long for its push to the disk: pushing each one at once would cost
// a receive more time than its records take on the line (docs/performance.md).
constexpr int kSyncIntervalMs = 100;

// More slots than windows anyone runs at once; past them (a folder where no lock can be taken) the
// window keeps no journal rather than searching for ever.
constexpr int kMostSlots = 64;

} // namespace

QList<QStringList> MainWindow::table_texts() const
{
    QList<QStringList> rows;
    rows.reserve(tableWidget->rowCount());
    for (int row = 0; row < tableWidget->rowCount(); ++row)
        rows << row_texts(row);
    return rows;
}

void MainWindow::journal_change(const std::function<bool(RecoveryJournal&)>& write)
{
    unsaved_rows.changed();
    // After a failed write the journal may end in a cut line: nothing more is added to it.
    if (!journal || journal_failed)
        return;
    // A journal that held nothing (the table was saved, opened or new) starts with the whole table.
    if (journal_holds_table ? write(*journal) : journal->snapshot(table_texts())) {
        journal_holds_table = true;
        if (journal->sync_pending() && !journal_sync_timer->isActive())
            journal_sync_timer->start();
        return;
    }
    journal_failed_now();
}

void MainWindow::journal_failed_now()
{
    journal_failed = true;
    statusBar()->showMessage(get_parametretitle("JournalDlg").value(NotWritten).arg(journal->error()));
}

void MainWindow::adopt_journal(std::unique_ptr<RecoveryJournal> own)
{
    journal = std::move(own);
    journal->set_sync_interval(kSyncIntervalMs);
    journal_sync_timer = new QTimer(this);
    journal_sync_timer->setSingleShot(true);
    journal_sync_timer->setInterval(kSyncIntervalMs);
    connect(journal_sync_timer, &QTimer::timeout, this, [this] {
        if (journal && !journal_failed && !journal->sync())
            journal_failed_now();
    });
}

void MainWindow::rows_appended(int first)
{
    journal_change([this, first](RecoveryJournal& j) {
        QList<QStringList> rows;
        for (int row = first; row < tableWidget->rowCount(); ++row)
            rows << row_texts(row);
        return j.rows_appended(rows);
    });
}

void MainWindow::row_replaced(int row)
{
    journal_change([this, row](RecoveryJournal& j) { return j.row_replaced(row, row_texts(row)); });
}

void MainWindow::rows_removed(const QList<int>& rows)
{
    journal_change([rows](RecoveryJournal& j) { return j.rows_removed(rows); });
}

void MainWindow::table_rewritten()
{
    journal_change([this](RecoveryJournal& j) { return j.snapshot(table_texts()); });
}

void MainWindow::offer_journal()
{
    if (InstrumentType == "KT90" || tableWidget->columnCount() == 0)
        return;
    const QString folder = app_data_folder();
    const QString layout = table_layout(InstrumentType) == TableLayout::Observation ? "observation" : "coordinate";
    const int columns = tableWidget->columnCount();
    // Journals a running window holds are locked: they are neither offered nor touched.
    for (int slot : RecoveryJournal::slots_in(folder, layout)) {
        auto left = std::make_unique<RecoveryJournal>(folder, layout, columns, slot);
        if (!left->try_lock())
            continue;
        if (offer_left_journal(*left)) {
            adopt_journal(std::move(left));
            return;
        }
    }
    // A slot of its own: one no window holds and no journal left behind occupies.
    for (int slot = 1; slot <= kMostSlots; ++slot) {
        auto own = std::make_unique<RecoveryJournal>(folder, layout, columns, slot);
        if (!own->exists() && own->try_lock() && !own->exists()) {
            adopt_journal(std::move(own));
            return;
        }
    }
}

bool MainWindow::offer_left_journal(RecoveryJournal& left)
{
    const RecoveryJournal::Contents contents = left.read();
    const QStringList texts = get_parametretitle("JournalDlg");
    if (contents.status == RecoveryJournal::Contents::Missing)
        return false;
    if (contents.status == RecoveryJournal::Contents::Refused) {
        const QString kept = left.set_aside("refused");
        show_warning(this, texts.value(Title), texts.value(Refused).arg(left.path(), kept));
        return false;
    }
    // A damaged journal is kept as it was, whatever the answer; what came before the damage is offered.
    QString damaged;
    if (contents.status == RecoveryJournal::Contents::Partial) {
        damaged = left.set_aside("damaged");
        if (damaged.isEmpty())
            return false; // left where it is, untouched: the window takes another slot
    }
    const auto tell_damage = [&] {
        const QStringList words = get_parametretitle("DamagedFileTexts");
        show_information(this, words.value(DamagedTitle),
                         words.value(JournalPartial)
                             .arg(contents.rows.size())
                             .arg(contents.rows_meant)
                             .arg(contents.damaged_line)
                             .arg(damaged));
    };
    if (contents.rows.isEmpty()) {
        if (damaged.isEmpty())
            left.remove();
        else
            tell_damage();
        return false;
    }
    const QMessageBox::StandardButton answer =
        ask_question(this, texts.value(Title),
                     texts.value(Restore).arg(contents.rows.size()).arg(contents.started.toString("yyyy-MM-dd hh:mm")),
                     QMessageBox::Yes | QMessageBox::Discard, QMessageBox::Yes);
    if (answer == QMessageBox::Discard) {
        left.remove();
        return false;
    }
    if (answer != QMessageBox::Yes) {
        // Neither restored nor given up: kept under another name.
        left.set_aside("kept");
        return false;
    }
    const int first = tableWidget->rowCount();
    for (const QStringList& cells : contents.rows) {
        const int row = tableWidget->rowCount();
        tableWidget->insertRow(row);
        for (int c = 0; c < cells.size(); ++c)
            tableWidget->setItem(row, c, new PointItem(cells[c]));
    }
    ui->lineEdit_2->setText(QString::number(tableWidget->rowCount()));
    push_table_step(rows_appended_step(*this, first, tableWidget->rowCount() - first));
    unsaved_rows.changed();
    // Written anew: the restored rows stay journaled, and a cut last line is gone before changes follow.
    journal_holds_table = true;
    if (!left.rewrite(contents.started, contents.rows)) {
        journal_failed = true;
        statusBar()->showMessage(texts.value(NotWritten).arg(left.error()));
    }
    if (!damaged.isEmpty())
        tell_damage();
    return true;
}
