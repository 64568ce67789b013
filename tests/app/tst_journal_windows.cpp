// The recovery journal of each window: equal to the unsaved rows after every table command, typed and
// received rows restored after the window was killed, two windows receiving at once each restored
// whole, a second window that neither offers nor touches a running window's journal, and Receive pressed
// while the instrument's records arrive.
#include "data/datafolder.h"
#include "data/fileoperation.h"
#include "data/recoveryjournal.h"
#include "support/app/linkedwindow.h"
#include "support/app/pointentry.h"
#include "support/app/windowdriver.h"
#include "support/core/simprocess.h"
#include "support/ui/ktest.h"
#include "table/tablerows.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"

#include <QDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>

namespace
{

using Rows = QList<QStringList>;

const QByteArray kAck = QByteArray::fromHex("aa81");
const QByteArray kEnd = QByteArray::fromHex("aa82");

// Every row's cell texts, as the window journals them.
Rows table_rows(const MainWindow& w)
{
    return w.table_texts();
}

// What the window's journal would give back after a crash now.
Rows journaled(const MainWindow& w)
{
    return w.journal ? w.journal->read().rows : Rows();
}

// The rows a crash now would lose: every row while a change is unsaved, none otherwise.
Rows unsaved(const MainWindow& w)
{
    return w.unsaved_rows.pending(w.tableWidget->rowCount()) ? table_rows(w) : Rows();
}

RecoveryJournal coordinate_journal(int slot)
{
    return RecoveryJournal(app_data_folder(), "coordinate", 5, slot);
}

// A killable window (tests/app/programs/windowchild.cpp) of `type` with `typed` rows, on `port`.
struct Child {
    QProcess process;
    Child(const WorkDir& dir, const QString& type, const QString& port, int typed)
    {
        process.start(KT_WINDOW_CHILD,
                      {dir.path(), QCoreApplication::applicationName(), type, port, QString::number(typed)});
    }
    bool ready() { return process.waitForReadyRead(30000) && process.readLine().trimmed() == "ready"; }
    void kill()
    {
        process.kill();
        process.waitForFinished(30000);
    }
};

// Point lines "name,code,N,E,Z" as rows of the coordinate layout.
Rows point_rows(const QStringList& lines)
{
    Rows rows;
    for (const QString& line : lines)
        rows << line.split(',');
    return rows;
}

QStringList generated_points(int count, const QString& prefix)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QString("%1%2,C%3,%4.125,%5.250,%6.500")
                     .arg(prefix)
                     .arg(i + 1)
                     .arg(i % 7)
                     .arg(3520000 + i)
                     .arg(512000 + i)
                     .arg(40 + i % 9);
    return lines;
}

} // namespace

class TestJournalWindows : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void journal_follows_every_table_command_data()
    {
        QTest::addColumn<QString>("type");
        QTest::newRow("coordinate layout") << "KT40";
        QTest::newRow("observation layout") << "KT20_KT40";
    }

    void journal_follows_every_table_command()
    {
        QFETCH(QString, type);
        WorkDir dir;
        dir.set_language("English");
        auto w = start_window(type);
        const auto check = [&](const char* after) { QVERIFY2(journaled(*w) == unsaved(*w), after); };
        type_new_point(*w, {"A", "C1", "1", "2", "3"});
        check("New");
        type_new_point(*w, {"B", "C2", "4", "5", "6"});
        check("a second New");
        type_edited_point(*w, 0, {"A2", "C1", "1.5", "2", "3"});
        check("Edit");
        w->tableWidget->setCurrentCell(1, 0);
        w->run_command(Command::DeletePoint);
        check("Delete");
        const QString saved = dir.file("saved.csv");
        modal_script::queue_file(saved);
        w->run_command(Command::FileSaveAs);
        QVERIFY(QFile::exists(saved));
        check("Save as");
        QVERIFY(!w->journal->exists());
        type_edited_point(*w, 0, {"A3", "C1", "1.5", "2", "3"});
        check("Edit after saving");
        type_new_point(*w, {"D", "", "7", "8", "9"});
        check("New after saving");
        modal_script::queue_answer(QMessageBox::Discard);
        w->run_command(Command::ClearPoints);
        check("Clear");
        modal_script::queue_file(saved);
        w->run_command(Command::FileOpen);
        QCOMPARE(w->tableWidget->rowCount(), 1);
        check("Open");
        type_new_point(*w, {"E", "", "1", "1", "1"});
        w->tableWidget->setCurrentCell(0, 0);
        w->run_command(Command::DeletePoint);
        check("Delete in an opened file");
        const Rows before = table_rows(*w);
        // The window ends without saving; the next one restores the table as it was.
        w.reset();
        modal_script::queue_answer(QMessageBox::Yes);
        w = start_window(type);
        QCOMPARE(table_rows(*w), before);
        check("restore");
    }

    // The point dialog of Edit is open while the table changes under it: the edit lands on the same
    // point wherever it moved, or nowhere when the point is gone, and the journal stays whole.
    void edit_while_the_table_changes_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<Rows>("expected");
        const QStringList edited{"B2", "K", "9", "9", "9"};
        QTest::newRow("a row above deleted") << "delete above" << Rows{edited, {"C", "", "3", "3", "3"}};
        QTest::newRow("the point deleted") << "delete it" << Rows{{"A", "", "1", "1", "1"}, {"C", "", "3", "3", "3"}};
        QTest::newRow("the table cleared") << "clear" << Rows{};
    }

    void edit_while_the_table_changes()
    {
        QFETCH(QString, change);
        QFETCH(Rows, expected);
        WorkDir dir;
        dir.set_language("English");
        auto w = start_window("KT40");
        for (const QStringList& point :
             Rows{{"A", "", "1", "1", "1"}, {"B", "", "2", "2", "2"}, {"C", "", "3", "3", "3"}})
            type_new_point(*w, point);
        w->tableWidget->setCurrentCell(1, 0);
        answer_next_dialog([&](QDialog* dialog) {
            if (change == "clear") {
                modal_script::queue_answer(QMessageBox::Discard);
                w->run_command(Command::ClearPoints);
            } else {
                select_only_row(w->tableWidget, change == "delete above" ? 0 : 1);
                w->run_command(Command::DeletePoint);
            }
            fill_point_dialog(dialog, nullptr, {"B2", "K", "9", "9", "9"}, true);
        });
        w->run_command(Command::EditPoint);
        QCOMPARE(table_rows(*w), expected);
        QCOMPARE(journaled(*w), unsaved(*w));
    }

    void receive_pressed_while_records_arrive()
    {
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        type_new_point(w, {"T1", "TYPED", "1", "2", "3"});
        // The instrument begins on its own: its transfer runs, and Receive asks nothing and resets nothing.
        link.pty.send(sample::kt40_header);
        QCOMPARE(link.pty.receive(2), kAck);
        link.pty.send(sample::kt40_record);
        QCOMPARE(link.pty.receive(2), kAck);
        QVERIFY(w.InformationTransmissionjFlag);
        w.run_command(Command::ReceiveCoordinates);
        QVERIFY(modal_script::shown().isEmpty());
        QCOMPARE(w.SetPoints, 2);
        link.pty.send(sample::kt40_record);
        QCOMPARE(link.pty.receive(2), kAck);
        link.pty.send(kEnd);
        QCOMPARE(link.pty.receive(2), kEnd);
        QCOMPARE(w.tableWidget->rowCount(), 3);
        QCOMPARE(journaled(w), table_rows(w));
        // The end resets the progress with the rest of the transfer state.
        QCOMPARE(w.SetPoints, 0);
        QCOMPARE(w.ActualPoints, 0);

        // Now Receive asks; Discard clears the table, and the points received join nothing.
        modal_script::queue_answer(QMessageBox::Discard);
        w.run_command(Command::ReceiveCoordinates);
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(w.tableWidget->rowCount(), 0);
        QVERIFY(!w.journal->exists());
        link.pty.send(sample::kt40_header);
        QCOMPARE(link.pty.receive(2), kAck);
        link.pty.send(sample::kt40_record);
        QCOMPARE(link.pty.receive(2), kAck);
        QCOMPARE(w.tableWidget->rowCount(), 1);
        QCOMPARE(journaled(w), table_rows(w));
    }

    void discard_keeps_records_that_came_while_asking()
    {
        LinkedWindow link("KT20_KT40");
        MainWindow& w = *link.w;
        type_new_point(w, {"T1", "TYPED", "1", "2", "3"});
        // The instrument's start request is echoed; its first record comes while the real question is open.
        link.pty.send("\x01J\r");
        QCOMPARE(link.pty.receive(3), QByteArray("\x01J\r"));
        modal_script::enable(false);
        answer_next_dialog([&](QDialog* dialog) {
            link.pty.send(sample::coordinate);
            QTRY_COMPARE(w.tableWidget->rowCount(), 2);
            qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Discard)->click();
        });
        w.run_command(Command::ReceiveCoordinates);
        modal_script::enable(true);
        QCOMPARE(link.pty.receive(10), sample::coordinate.left(9) + '\r');
        // The typed row the question was about is gone; the record stays, unsaved and journaled.
        QCOMPARE(w.tableWidget->rowCount(), 1);
        QCOMPARE(w.tableWidget->item(0, 2)->text(), QString("PT1"));
        QVERIFY(w.unsaved_rows.pending(1));
        QCOMPARE(journaled(w), table_rows(w));
    }

    void typed_rows_restored_after_a_kill()
    {
        WorkDir dir;
        dir.set_language("English");
        Child child(dir, "KT40", "-", 3);
        QVERIFY(child.ready());
        child.kill();
        modal_script::queue_answer(QMessageBox::Yes);
        auto w = start_window("KT40");
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(table_rows(*w), (Rows{{"T1", "TYPED", "1000", "2000", "30"},
                                       {"T2", "TYPED", "1001", "2000", "30"},
                                       {"T3", "TYPED", "1002", "2000", "30"}}));
    }

    void two_windows_receiving_at_once()
    {
        WorkDir dir;
        dir.set_language("English");
        FileOperation files;
        const QStringList a = generated_points(40, "A");
        const QStringList b = generated_points(25, "B");
        QVERIFY(files.writefile(dir.file("a.csv"), a, false) && files.writefile(dir.file("b.csv"), b, false));
        SimProcess sim_a({"--type", "KT40", "--points", dir.file("a.csv")});
        SimProcess sim_b({"--type", "KT40", "--points", dir.file("b.csv")});
        QVERIFY(!sim_a.port().isEmpty() && !sim_b.port().isEmpty());
        Child child_a(dir, "KT40", sim_a.port(), 0);
        Child child_b(dir, "KT40", sim_b.port(), 0);
        QVERIFY(child_a.ready() && child_b.ready());
        QVERIFY2(sim_a.wait_for_message("sent 40 points", 60000), qPrintable(sim_a.err()));
        QVERIFY2(sim_b.wait_for_message("sent 25 points", 60000), qPrintable(sim_b.err()));
        child_a.kill();
        child_b.kill();
        // Each window that starts now takes one journal left behind, whole, and leaves the other.
        QList<Rows> restored;
        std::unique_ptr<MainWindow> windows[2];
        for (auto& w : windows) {
            modal_script::queue_answer(QMessageBox::Yes);
            w = start_window("KT40");
            restored << table_rows(*w);
        }
        QCOMPARE(modal_script::shown().size(), 2);
        const QList<Rows> expected{point_rows(a), point_rows(b)};
        QVERIFY(restored == expected || restored == QList<Rows>({expected[1], expected[0]}));
        QVERIFY(windows[0]->journal->slot() != windows[1]->journal->slot());
    }

    void second_window_leaves_a_running_window_alone()
    {
        WorkDir dir;
        dir.set_language("English");
        FileOperation files;
        QVERIFY(files.writefile(dir.file("slow.csv"), generated_points(400, "S"), false));
        SimProcess sim({"--type", "KT40", "--points", dir.file("slow.csv"), "--delay-ms", "20"});
        Child child(dir, "KT40", sim.port(), 1);
        QVERIFY(child.ready());
        QTRY_VERIFY_WITH_TIMEOUT(coordinate_journal(1).read().rows.size() > 3, 30000);
        auto second = start_window("KT40");
        QVERIFY(modal_script::shown().isEmpty()); // nothing of the running window is offered
        type_new_point(*second, {"W2", "", "1", "2", "3"});
        QCOMPARE(second->journal->slot(), 2);
        QCOMPARE(coordinate_journal(2).read().rows, table_rows(*second));
        const int seen = coordinate_journal(1).read().rows.size();
        QTRY_VERIFY_WITH_TIMEOUT(coordinate_journal(1).read().rows.size() > seen, 30000); // still written
        child.kill();
        const Rows left = coordinate_journal(1).read().rows;
        QCOMPARE(left.first(), (QStringList{"T1", "TYPED", "1000", "2000", "30"}));
        // Once the window is gone, a third window is offered its journal, whole.
        modal_script::queue_answer(QMessageBox::Yes);
        auto third = start_window("KT40");
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(table_rows(*third), left);
        QCOMPARE(third->journal->slot(), 1);
    }
};

KT_TEST_MAIN(TestJournalWindows)
#include "tst_journal_windows.moc"
