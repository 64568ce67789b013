// The recovery journal in the window: each received row journaled, and a journal an earlier run left
// behind offered back at start-up.
#include "data/datafolder.h"
#include "data/pointrows.h"
#include "data/recoveryjournal.h"
#include "modal/modal.h"
#include "table/pointitem.h"
#include "ui_mainwindow.h"
#include "window/mainwindow.h"

#include <QStatusBar>
#include <QTableWidget>

void MainWindow::journal_row(int row)
{
    // After a failed write the journal may end in a cut line: nothing more is added to it.
    if (!journal || journal_failed)
        return;
    if (journal->append(row_texts(row)))
        return;
    journal_failed = true;
    statusBar()->showMessage(get_parametretitle("JournalDlg").value(3).arg(journal->error()));
}

void MainWindow::offer_journal()
{
    if (InstrumentType == "KT90" || tableWidget->columnCount() == 0)
        return;
    const bool observations = table_layout(InstrumentType) == TableLayout::Observation;
    journal = std::make_unique<RecoveryJournal>(app_data_folder(), observations ? "observation" : "coordinate",
                                                tableWidget->columnCount());
    const RecoveryJournal::Contents contents = journal->read();
    const QStringList texts = get_parametretitle("JournalDlg");
    if (contents.status == RecoveryJournal::Contents::Missing)
        return;
    if (contents.status == RecoveryJournal::Contents::Refused) {
        const QString kept = journal->set_aside("refused");
        show_warning(this, texts.value(0), texts.value(2).arg(journal->path(), kept));
        return;
    }
    if (contents.rows.isEmpty()) {
        journal->remove();
        return;
    }
    const QMessageBox::StandardButton answer =
        ask_question(this, texts.value(0),
                     texts.value(1).arg(contents.rows.size()).arg(contents.started.toString("yyyy-MM-dd hh:mm")),
                     QMessageBox::Yes | QMessageBox::Discard, QMessageBox::Yes);
    if (answer == QMessageBox::Discard) {
        journal->remove();
        return;
    }
    if (answer != QMessageBox::Yes) {
        // Neither restored nor given up: kept under another name, and this run journals anew.
        journal->set_aside("kept");
        return;
    }
    for (const QStringList& cells : contents.rows) {
        const int row = tableWidget->rowCount();
        tableWidget->insertRow(row);
        for (int c = 0; c < cells.size(); ++c)
            tableWidget->setItem(row, c, new PointItem(cells[c]));
    }
    ui->lineEdit_2->setText(QString::number(tableWidget->rowCount()));
    rows_changed();
    // Written anew: the restored rows stay journaled, and a cut last line is gone before lines are added.
    if (!journal->rewrite(contents.started, contents.rows)) {
        journal_failed = true;
        statusBar()->showMessage(texts.value(3).arg(journal->error()));
    }
}
