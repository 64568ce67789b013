// Undo and redo of the table's changes in the window: one undo stack, its clean state where the table
// holds what a file holds, and no undo while a transfer runs.
#include "table/celledit.h"
#include "table/tableundo.h"
#include "table/vieworder.h"
#include "window/commandkeys.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QMenuBar>
#include <QTableWidget>
#include <QUndoStack>

namespace
{

// More steps than anyone undoes; each may hold a whole table (a Clear, an Open).
constexpr int kUndoLimit = 100;

} // namespace

void MainWindow::setup_undo()
{
    undo_stack = new QUndoStack(this);
    undo_stack->setUndoLimit(kUndoLimit);
    // Back where the table was saved or opened: nothing is unsaved and no journal is needed.
    connect(undo_stack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean)
            rows_settled();
    });
    connect(undo_stack, &QUndoStack::canUndoChanged, this, [this] { show_undo_state(); });
    connect(undo_stack, &QUndoStack::canRedoChanged, this, [this] { show_undo_state(); });
    show_undo_state();
}

void MainWindow::show_undo_state()
{
    const bool can_undo = undo_stack && undo_stack->canUndo();
    const bool can_redo = undo_stack && undo_stack->canRedo();
    // The stack signals both states on every step pushed (a step for each received record): the menus are
    // walked only when what they show changes.
    const int state = (can_undo ? 1 : 0) | (can_redo ? 2 : 0);
    if (state == undo_state_shown)
        return;
    undo_state_shown = state;
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        const Command command = command_for_key(action->data().toString(), CommandSource::Menu);
        if (command == Command::Undo)
            action->setEnabled(can_undo);
        else if (command == Command::Redo)
            action->setEnabled(can_redo);
    }
}

void MainWindow::push_table_step(QUndoCommand* step)
{
    if (!undo_stack) {
        delete step;
        return;
    }
    undo_stack->push(step);
}

bool MainWindow::undo_allowed()
{
    if (!undo_stack)
        return false;
    // A transfer appends to the table and numbers its rows: it must not see them change under it.
    if (InformationTransmissionjFlag) {
        show_statemsg(get_parametretitle("TableEdit").value(TableEditText::NotDuringTransfer), Status::Message);
        return false;
    }
    return true;
}

void MainWindow::program_undo()
{
    if (undo_allowed())
        undo_stack->undo();
}

void MainWindow::program_redo()
{
    if (undo_allowed())
        undo_stack->redo();
}

void MainWindow::table_saved()
{
    if (undo_stack)
        undo_stack->setClean();
    rows_settled();
}

void MainWindow::edit_cell(int row, int column, const QString& text)
{
    if (row < 0 || row >= tableWidget->rowCount() || column < 0 || column >= tableWidget->columnCount())
        return;
    const QStringList before = row_texts(row);
    if (before.value(column) == text)
        return;
    QStringList after = before;
    after[column] = text;
    set_row_texts(tableWidget, row, after);
    push_table_step(row_replaced_step(*this, row, before, after));
    row_replaced(row);
}
