// The point table worked in directly: cells edited in place (double click, F2), rows sorted in the view
// by a click on a column header, and the context menu with the row commands and "Copy rows as text".
#include "config/countedtext.h"
#include "dialogs/duplicatesdialog.h"
#include "table/tablerows.h"
#include "table/tableundo.h"
#include "table/vieworder.h"
#include "window/commandkeys.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSet>
#include <QTableWidget>

namespace
{

struct MenuEntry {
    int text; // entry of the UI-text list "TableEdit"
    Command command;
};

const MenuEntry kMenuEntries[] = {
    {TableEditText::NewPoint, Command::NewPoint},
    {TableEditText::EditPoint, Command::EditPoint},
    {TableEditText::DeleteRows, Command::DeletePoint},
    {TableEditText::CopyRows, Command::CopyRows},
    {TableEditText::SendSelected, Command::SendSelectedRows},
    {TableEditText::KeepOrder, Command::KeepViewOrder},
};

} // namespace

void MainWindow::setup_table_editing()
{
    setup_undo();
    tableWidget->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    view_order = new ViewOrder(tableWidget);
    tableWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tableWidget, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        std::unique_ptr<QMenu> menu(table_menu());
        menu->exec(tableWidget->viewport()->mapToGlobal(pos));
    });
}

QMenu* MainWindow::table_menu()
{
    const QStringList texts = get_parametretitle("TableEdit");
    auto* menu = new QMenu(tableWidget);
    const bool rows_chosen = !selected_rows().isEmpty();
    for (const MenuEntry& entry : kMenuEntries) {
        QAction* action = menu->addAction(texts.value(entry.text));
        const Command command = entry.command;
        if (command == Command::KeepViewOrder)
            action->setEnabled(view_order && view_order->sorted_column() >= 0);
        else
            action->setEnabled(command == Command::NewPoint || rows_chosen);
        connect(action, &QAction::triggered, this, [this, command] { run_command(command); });
    }
    QAction* duplicates = menu->addAction(get_parametretitle("DuplicateTexts").value(DuplicatesDialog::kMenuText));
    connect(duplicates, &QAction::triggered, this, [this] { run_command(Command::ResolveDuplicates); });
    return menu;
}

void MainWindow::copy_rows_as_text()
{
    // The selected rows as the view shows them, each a line of tab-separated cells, as spreadsheets take
    // them from the clipboard.
    const QList<int> rows = selected_rows();
    const QSet<int> chosen(rows.begin(), rows.end());
    QStringList lines;
    for (int row : view_order ? view_order->rows_as_shown() : rows) {
        if (chosen.contains(row))
            lines << row_texts(row).join('\t');
    }
    if (lines.isEmpty())
        return;
    QApplication::clipboard()->setText(lines.join('\n') + '\n');
    show_statemsg(get_parametretitle("TableEdit")
                      .value(TableEditText::Copied)
                      .arg(counted_text(get_parametretitle("TableMessages"), TableText::Rows, lines.size())),
                  Status::Message);
}

void MainWindow::keep_view_order()
{
    if (!view_order || view_order->sorted_column() < 0)
        return;
    const TableRows before = table_texts();
    TableRows after;
    for (int row : view_order->rows_as_shown())
        after << before.value(row);
    // Emptied, the table shows its own order again: the rows' order is now the one that was shown.
    replace_table_rows(*this, before, after);
}
