// The unsaved-rows guard: the question before a command would lose rows not yet saved, and the close
// button asking it too.
#include "data/recoveryjournal.h"
#include "modal/modal.h"
#include "table/tableundo.h"
#include "window/mainwindow.h"

#include <QCloseEvent>
#include <QTableWidget>

QMessageBox::StandardButton MainWindow::ask_about_unsaved_rows()
{
    const int rows = tableWidget->rowCount();
    if (!unsaved_rows.pending(rows))
        return QMessageBox::NoButton;
    const QStringList texts = get_parametretitle("UnsavedRowsDlg");
    return ask_question(this, texts.value(0), texts.value(1).arg(rows),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
}

bool MainWindow::settle_unsaved_rows()
{
    switch (ask_about_unsaved_rows()) {
    case QMessageBox::NoButton:
        return true;
    case QMessageBox::Save:
        return save_table_as();
    case QMessageBox::Discard:
        rows_settled();
        return true;
    default:
        return false;
    }
}

bool MainWindow::settle_before_receive()
{
    const int asked = tableWidget->rowCount();
    const QMessageBox::StandardButton answer = ask_about_unsaved_rows();
    if (answer != QMessageBox::Discard)
        return answer == QMessageBox::NoButton || (answer == QMessageBox::Save && save_table_as());
    // The rows asked about go; records the instrument sent while the question was open stay, unsaved.
    QList<int> removed;
    TableRows texts;
    for (int row = 0; row < std::min(asked, tableWidget->rowCount()); ++row) {
        removed << row;
        texts << row_texts(row);
    }
    for (int row = removed.size() - 1; row >= 0; --row)
        tableWidget->removeRow(row);
    push_table_step(rows_removed_step(*this, removed, texts));
    rows_settled();
    if (tableWidget->rowCount() > 0)
        table_rewritten();
    show_row_count();
    return true;
}

void MainWindow::rows_settled()
{
    unsaved_rows.saved();
    if (journal)
        journal->remove();
    journal_holds_table = false;
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
