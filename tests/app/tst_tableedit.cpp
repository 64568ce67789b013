// The table worked in directly: every table change undone and redone with the unsaved rows and the
// journal following, undo refused while records arrive, cells edited in place, the view sorted by a
// column while files keep the row order, and the table's context menu.
#include "data/recoveryjournal.h"
#include "plan/planview.h"
#include "support/app/linkedwindow.h"
#include "support/app/pointentry.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "table/findbar.h"
#include "table/vieworder.h"
#include "window/commandkeys.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTableWidget>
#include <QUndoStack>

namespace
{

using Rows = QList<QStringList>;

const QByteArray kAck = QByteArray::fromHex("aa81");
const QByteArray kEnd = QByteArray::fromHex("aa82");

// What the window's journal would give back after a crash now.
Rows journaled(const MainWindow& w)
{
    return w.journal ? w.journal->read().rows : Rows();
}

// The rows a crash now would lose: every row while a change is unsaved, none otherwise.
Rows unsaved(const MainWindow& w)
{
    return w.unsaved_rows.pending(w.tableWidget->rowCount()) ? w.table_texts() : Rows();
}

// Selects the rows `rows` (table order).
void select_rows(MainWindow& w, const QList<int>& rows)
{
    w.tableWidget->clearSelection();
    for (int row : rows)
        w.tableWidget->selectionModel()->select(w.tableWidget->model()->index(row, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (!rows.isEmpty())
        w.tableWidget->selectionModel()->setCurrentIndex(w.tableWidget->model()->index(rows.first(), 0),
                                                         QItemSelectionModel::NoUpdate);
}

// Edits the current cell in place as a user does: F2, the text typed over, Enter.
bool edit_in_place(MainWindow& w, int row, int column, const QString& text)
{
    w.tableWidget->setFocus();
    w.tableWidget->setCurrentCell(row, column);
    QTest::keyClick(w.tableWidget, Qt::Key_F2);
    auto* editor = w.tableWidget->viewport()->findChild<QLineEdit*>();
    if (!editor || editor->isHidden())
        return false;
    editor->selectAll();
    editor->insert(text);
    // The delegate commits on a queued call and then lets the editor go.
    QPointer<QLineEdit> open(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    return QTest::qWaitFor([&] { return open.isNull(); });
}

// The item the menu bar shows for `command`: menus built before and cleared from the bar are not asked.
QAction* shown_item(const QList<QAction*>& actions, Command command)
{
    for (QAction* action : actions) {
        if (action->menu()) {
            if (QAction* found = shown_item(action->menu()->actions(), command))
                return found;
        } else if (command_for_key(action->data().toString(), CommandSource::Menu) == command) {
            return action;
        }
    }
    return nullptr;
}

// Whether the menu item of `command` is enabled.
bool menu_enabled(MainWindow& w, Command command)
{
    QAction* item = shown_item(w.menuBar()->actions(), command);
    return item && item->isEnabled();
}

enum class Change { New, EditDialog, EditInPlace, DeleteRows, Clear, Open };

// Makes `change` to the three typed rows of `w` as a user does (the rows saved before when `saved_first`).
void make_change(MainWindow& w, Change change, WorkDir& dir, bool saved_first)
{
    switch (change) {
    case Change::New:
        type_new_point(w, {"D", "", "10", "11", "12"});
        break;
    case Change::EditDialog:
        type_edited_point(w, 1, {"B2", "C2", "4.5", "5", "6"});
        break;
    case Change::EditInPlace:
        QVERIFY(edit_in_place(w, 1, 1, " new code "));
        break;
    case Change::DeleteRows:
        select_rows(w, {0, 2});
        w.run_command(Command::DeletePoint);
        break;
    case Change::Clear:
        modal_script::queue_answer(QMessageBox::Discard);
        w.run_command(Command::ClearPoints);
        break;
    case Change::Open:
        QFile file(dir.file("other.ndad"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("F1,K,100,200,5\nF2,,101,201,6\n");
        file.close();
        if (!saved_first)
            modal_script::queue_answer(QMessageBox::Discard);
        modal_script::queue_file(file.fileName());
        w.run_command(Command::FileOpen);
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestTableEdit : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void undo_and_redo_of_every_table_change_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("saved_first");
        QTest::addColumn<Rows>("after");
        const Rows three{{"A", "C1", "1", "2", "3"}, {"B", "C2", "4", "5", "6"}, {"C", "C3", "7", "8", "9"}};
        struct Case {
            const char* name;
            Change change;
            Rows after;
        };
        const Case cases[] = {
            {"New", Change::New, three + Rows{{"D", "", "10", "11", "12"}}},
            {"Edit in the dialog", Change::EditDialog, Rows{three[0], {"B2", "C2", "4.5", "5", "6"}, three[2]}},
            {"Edit in place", Change::EditInPlace, Rows{three[0], {"B", " new code ", "4", "5", "6"}, three[2]}},
            {"Delete of two rows", Change::DeleteRows, Rows{three[1]}},
            {"Clear", Change::Clear, Rows()},
            {"Open", Change::Open, Rows{{"F1", "K", "100", "200", "5"}, {"F2", "", "101", "201", "6"}}},
        };
        for (const Case& c : cases) {
            QTest::addRow("%s, rows unsaved", c.name) << c.change << false << c.after;
            QTest::addRow("%s, rows saved", c.name) << c.change << true << c.after;
        }
    }

    void undo_and_redo_of_every_table_change()
    {
        QFETCH(Change, change);
        QFETCH(bool, saved_first);
        QFETCH(Rows, after);
        WorkDir dir;
        dir.set_language("English");
        auto w = start_window("KT40");
        const auto check = [&](const char* when) {
            QVERIFY2(journaled(*w) == unsaved(*w), when);
            QVERIFY2(w->unsaved_rows.pending(w->tableWidget->rowCount()) == !w->undo_stack->isClean() ||
                         w->tableWidget->rowCount() == 0,
                     when);
        };
        type_new_point(*w, {"A", "C1", "1", "2", "3"});
        type_new_point(*w, {"B", "C2", "4", "5", "6"});
        type_new_point(*w, {"C", "C3", "7", "8", "9"});
        if (saved_first) {
            modal_script::queue_file(dir.file("saved.csv"));
            w->run_command(Command::FileSaveAs);
        }
        const Rows before = w->table_texts();
        const bool pending_before = w->unsaved_rows.pending(before.size());
        QCOMPARE(pending_before, !saved_first);
        const int steps = w->undo_stack->count();

        make_change(*w, change, dir, saved_first);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(w->table_texts(), after);
        QCOMPARE(w->undo_stack->count(), steps + 1);
        check("after the change");
        QVERIFY(menu_enabled(*w, Command::Undo));
        QVERIFY(!menu_enabled(*w, Command::Redo));
        // Menus built anew (another language, the type chosen again) show what the stack holds.
        w->mainmenu_ini(w->mainmenu_list.first());
        QVERIFY(menu_enabled(*w, Command::Undo));
        QVERIFY(!menu_enabled(*w, Command::Redo));

        w->run_command(Command::Undo);
        QCOMPARE(w->table_texts(), before);
        QCOMPARE(w->tableWidget->rowCount(), before.size());
        // The plan rings the row the table shows current, with the rows back in their places.
        const int current = w->tableWidget->currentRow();
        QCOMPARE(w->plan_view->selected_row(), w->tableWidget->selectionModel()->isRowSelected(current, QModelIndex())
                                                   ? current
                                               : w->tableWidget->selectionModel()->selectedRows().isEmpty()
                                                   ? -1
                                                   : w->tableWidget->selectionModel()->selectedRows().first().row());
        // Undone to where the rows were saved, nothing is unsaved; else they are, and journaled.
        QCOMPARE(w->unsaved_rows.pending(before.size()), !saved_first || change == Change::Open);
        check("after undo");
        QCOMPARE(w->journal->exists(), w->unsaved_rows.pending(before.size()));

        QVERIFY(menu_enabled(*w, Command::Redo));
        w->run_command(Command::Redo);
        QCOMPARE(w->table_texts(), after);
        check("after redo");

        // Undo once more and the window closes: the journal gives the undone table back.
        w->run_command(Command::Undo);
        const Rows undone = w->table_texts();
        w.reset();
        modal_script::queue_answer(QMessageBox::Yes);
        w = start_window("KT40");
        QCOMPARE(w->table_texts(), saved_first && change != Change::Open ? Rows() : undone);
    }

    void a_receive_is_one_step_and_not_undone_while_it_runs()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        type_new_point(w, {"T1", "TYPED", "1", "2", "3"});
        link.pty.send(sample::kt40_header);
        QCOMPARE(link.pty.receive(2), kAck);
        link.pty.send(sample::kt40_record);
        QCOMPARE(link.pty.receive(2), kAck);
        // Records are arriving: Undo says why it waits and changes nothing.
        w.run_command(Command::Undo);
        QCOMPARE(w.tableWidget->rowCount(), 2);
        QCOMPARE(link.state(), w.get_parametretitle("TableEdit").value(TableEditText::NotDuringTransfer));
        link.pty.send(sample::kt40_record);
        QCOMPARE(link.pty.receive(2), kAck);
        link.pty.send(kEnd);
        QCOMPARE(link.pty.receive(2), kEnd);
        QCOMPARE(w.tableWidget->rowCount(), 3);
        const Rows received = w.table_texts();

        // Both records go in one step, and come back in one.
        w.run_command(Command::Undo);
        QCOMPARE(w.table_texts(), received.mid(0, 1));
        QCOMPARE(journaled(w), w.table_texts());
        w.run_command(Command::Redo);
        QCOMPARE(w.table_texts(), received);
        QCOMPARE(journaled(w), received);
        w.run_command(Command::Undo);
        w.run_command(Command::Undo);
        QCOMPARE(w.tableWidget->rowCount(), 0);
        QCOMPARE(journaled(w), Rows());
    }

    void a_restored_journal_is_undone_and_redone()
    {
        WorkDir dir;
        dir.set_language("English");
        const Rows typed{{"R1", "K", "1", "2", "3"}, {"R2", "", "4", "5", "6"}};
        {
            auto w = start_window("KT40");
            for (const QStringList& row : typed)
                type_new_point(*w, row);
        }
        modal_script::queue_answer(QMessageBox::Yes);
        auto w = start_window("KT40");
        QCOMPARE(w->table_texts(), typed);
        w->run_command(Command::Undo);
        QCOMPARE(w->tableWidget->rowCount(), 0);
        w->run_command(Command::Redo);
        QCOMPARE(w->table_texts(), typed);
        QCOMPARE(journaled(*w), typed);
        QVERIFY(w->unsaved_rows.pending(2));
    }

    void cells_edited_in_place_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("edited");
        QTest::newRow("a name, as typed with its spaces") << "KT40" << 0 << "  P 9 " << true;
        QTest::newRow("a coordinate that is no number is taken") << "KT40" << 2 << "abc" << true;
        QTest::newRow("an empty code") << "KT40" << 1 << "" << true;
        QTest::newRow("the same text is no change") << "KT40" << 3 << "200" << false;
        QTest::newRow("observation layout: a name") << "KT20_KT40" << 2 << "S9" << true;
        QTest::newRow("observation layout: the record kind is not edited") << "KT20_KT40" << 0 << "X" << false;
    }

    void cells_edited_in_place()
    {
        QFETCH(QString, type);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, edited);
        WorkDir dir;
        dir.set_language("English");
        auto w = start_window(type);
        type_new_point(*w, {"P1", "K1", "100", "200", "5"});
        const Rows before = w->table_texts();
        const int steps = w->undo_stack->count();
        const bool opened = edit_in_place(*w, 0, column, typed);
        QCOMPARE(opened, column > 0 || type == "KT40");
        Rows expected = before;
        if (edited)
            expected[0][column] = typed;
        QCOMPARE(w->table_texts(), expected);
        QCOMPARE(w->undo_stack->count(), steps + (edited ? 1 : 0));
        QCOMPARE(journaled(*w), expected);
        if (edited) {
            w->run_command(Command::Undo);
            QCOMPARE(w->table_texts(), before);
            QCOMPARE(journaled(*w), before);
        }
    }

    void the_view_is_sorted_and_files_keep_the_row_order_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("names ascending, digits as numbers") << 0 << 1 << QStringList{"P2", "P10", "p11", "Q1"};
        QTest::newRow("names descending") << 0 << 2 << QStringList{"Q1", "p11", "P10", "P2"};
        QTest::newRow("third click: the rows' own order") << 0 << 3 << QStringList{"P10", "Q1", "P2", "p11"};
        QTest::newRow("N by value, an empty text last") << 2 << 1 << QStringList{"Q1", "P2", "P10", "p11"};
        QTest::newRow("codes, equal ones in row order") << 1 << 1 << QStringList{"P10", "P2", "Q1", "p11"};
    }

    void the_view_is_sorted_and_files_keep_the_row_order()
    {
        QFETCH(int, column);
        QFETCH(int, clicks);
        QFETCH(QStringList, shown);
        WorkDir dir;
        dir.set_language("English");
        auto w = start_window("KT40");
        const Rows rows{{"P10", "A", "100.5", "1", "1"},
                        {"Q1", "B", "-3", "2", "2"},
                        {"P2", "A", "9.75", "3", "3"},
                        {"p11", "B", "", "4", "4"}};
        for (const QStringList& row : rows)
            type_new_point(*w, row);
        QHeaderView* header = w->tableWidget->horizontalHeader();
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        QStringList names;
        for (int row : w->view_order->rows_as_shown())
            names << w->tableWidget->item(row, 0)->text();
        QCOMPARE(names, shown);
        // The table, a file and the journal keep the rows' order.
        QCOMPARE(w->table_texts(), rows);
        QCOMPARE(journaled(*w), rows);
        modal_script::queue_file(dir.file("sorted.csv"));
        w->run_command(Command::FileSaveAs);
        QCOMPARE(QString::fromUtf8(dir.read("sorted.csv")).split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts),
                 (QStringList{"P10,A,100.5,1,1", "Q1,B,-3,2,2", "P2,A,9.75,3,3", "p11,B,,4,4"}));
        // Find goes down the rows as they are shown: from the first shown to the next whose name holds "1".
        w->tableWidget->setCurrentCell(w->view_order->row_at(0), 0);
        w->program_find();
        w->find_bar->edit()->setText("1");
        w->find_point(true);
        int next = 1;
        while (!shown[next].contains('1'))
            ++next;
        QCOMPARE(w->tableWidget->item(w->tableWidget->currentRow(), 0)->text(), shown[next]);

        // The order shown kept as the rows' order: one step, journaled, undone to the order before.
        const int steps = w->undo_stack->count();
        w->run_command(Command::KeepViewOrder);
        QStringList kept;
        for (const QStringList& row : w->table_texts())
            kept << row[0];
        QCOMPARE(kept, shown);
        QCOMPARE(w->undo_stack->count(), steps + (clicks < 3 ? 1 : 0));
        QCOMPARE(w->view_order->sorted_column(), -1);
        QCOMPARE(journaled(*w), clicks < 3 ? w->table_texts() : Rows());
        if (clicks < 3) {
            w->run_command(Command::Undo);
            QCOMPARE(w->table_texts(), rows);
            QVERIFY(!w->unsaved_rows.pending(rows.size())); // as saved above
        }
    }

    void the_context_menu_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QStringList>("names_after");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("copy two rows as text") << QList<int>{0, 2} << int(TableEditText::CopyRows)
                                               << QStringList{"A", "B", "C"} << "A\tC1\t1\t2\t3\nC\t\t7\t8\t9\n";
        QTest::newRow("delete two rows") << QList<int>{0, 1} << int(TableEditText::DeleteRows) << QStringList{"C"}
                                         << "";
        QTest::newRow("nothing selected: only New")
            << QList<int>{} << int(TableEditText::DeleteRows) << QStringList{"A", "B", "C"} << "";
    }

    void the_context_menu()
    {
        QFETCH(QList<int>, selected);
        QFETCH(int, entry);
        QFETCH(QStringList, names_after);
        QFETCH(QString, clipboard);
        WorkDir dir;
        dir.set_language("English");
        auto w = start_window("KT40");
        type_new_point(*w, {"A", "C1", "1", "2", "3"});
        type_new_point(*w, {"B", "C2", "4", "5", "6"});
        type_new_point(*w, {"C", "", "7", "8", "9"});
        QApplication::clipboard()->clear();
        select_rows(*w, selected);
        std::unique_ptr<QMenu> menu(w->table_menu());
        const QList<QAction*> actions = menu->actions();
        const QStringList texts = w->get_parametretitle("TableEdit");
        // The six row commands, then Resolve duplicates (tst_duplicatescommand).
        QCOMPARE(actions.size(), 7);
        for (int i = 0; i < 6; ++i) {
            const int text = i < 5 ? TableEditText::NewPoint + i : int(TableEditText::KeepOrder);
            QCOMPARE(actions[i]->text(), texts.value(text));
            // "Keep the order shown" waits for a sorted view.
            QCOMPARE(actions[i]->isEnabled(), i == 0 || (i < 5 && !selected.isEmpty()));
        }
        QAction* action = actions[entry - TableEditText::NewPoint];
        if (action->isEnabled())
            action->trigger();
        QStringList names;
        for (const QStringList& row : w->table_texts())
            names << row[0];
        QCOMPARE(names, names_after);
        QCOMPARE(QApplication::clipboard()->text(), clipboard);
    }
};

KT_TEST_MAIN(TestTableEdit)
#include "tst_tableedit.moc"
