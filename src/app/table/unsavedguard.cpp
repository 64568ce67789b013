// The unsaved-rows guard: the question before a command would lose rows not yet saved, and the close
// button asking it too.
#include "data/recoveryjournal.h"
#include "modal/modal.h"
#include "window/mainwindow.h"

#include <QCloseEvent>
#include <QTableWidget>

bool MainWindow::settle_unsaved_rows()
{
    const int rows = tableWidget->rowCount();
    if (!unsaved_rows.pending(rows))
        return true;
    const QStringList texts = get_parametretitle("UnsavedRowsDlg");
    const QMessageBox::StandardButton answer =
        ask_question(this, texts.value(0), texts.value(1).arg(rows),
                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return save_table_as();
    if (answer == QMessageBox::Discard) {
        rows_settled();
        return true;
    }
    return false;
}

void MainWindow::rows_changed()
{
    unsaved_rows.changed();
}

void MainWindow::rows_settled()
{
    unsaved_rows.saved();
    if (journal)
        journal->remove();
    journal_failed = false;
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (!settle_unsaved_rows()) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}
