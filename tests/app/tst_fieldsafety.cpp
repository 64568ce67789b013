// No field data lost: the unsaved-rows question before every command that would lose rows, the recovery
// journal written during a real receive and offered back (also after the receiving process was killed),
// the communication log of a KT40 conversation and its menu item, and the About box.
#include "config/prompts.h"
#include "config/xml_analysis.h"
#include "data/datafolder.h"
#include "data/fileoperation.h"
#include "data/recoveryjournal.h"
#include "support/app/linkedwindow.h"
#include "support/app/tablewindow.h"
#include "support/app/windowdriver.h"
#include "support/ui/ktest.h"
#include "ui_mainwindow.h"
#include "window/commandkeys.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTableWidget>

namespace
{

const QByteArray kAck = QByteArray::fromHex("aa81");
const QByteArray kEnd = QByteArray::fromHex("aa82");
const QString kRow = "PT1|CODEm|1234.567|-12.345|100.000";

// The instrument sends a header announcing two points, the two records and the end; every answer checked.
void play_kt40_receive(PtyInstrument& pty)
{
    pty.send(sample::kt40_header);
    QCOMPARE(pty.receive(2), kAck);
    for (int n = 0; n < 2; ++n) {
        pty.send(sample::kt40_record);
        QCOMPARE(pty.receive(2), kAck);
    }
    pty.send(kEnd);
    QCOMPARE(pty.receive(2), kEnd);
}

RecoveryJournal coordinate_journal()
{
    return RecoveryJournal(app_data_folder(), "coordinate", 5);
}

QStringList texts(MainWindow& w, const char* key)
{
    return w.get_parametretitle(key);
}

QList<QStringList> table_rows(const MainWindow& w)
{
    QList<QStringList> rows;
    for (int r = 0; r < w.tableWidget->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < w.tableWidget->columnCount(); ++c)
            cells << (w.tableWidget->item(r, c) ? w.tableWidget->item(r, c)->text() : QString());
        rows << cells;
    }
    return rows;
}

QAction* comm_log_action(MainWindow& w)
{
    for (QAction* action : w.menuBar()->findChildren<QAction*>()) {
        if (action->data().toString() == "CommLog")
            return action;
    }
    return nullptr;
}

// The log's blocks as direction and bytes, consecutive lines of one direction joined.
QList<QPair<QString, QByteArray>> logged_blocks(const QString& folder)
{
    QList<QPair<QString, QByteArray>> blocks;
    for (const QString& name : QDir(folder).entryList({"comm-*.log"}, QDir::Files, QDir::Name)) {
        QFile f(folder + "/" + name);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : f.readAll().split('\n')) {
            if (line.isEmpty())
                continue;
            // "yyyy-MM-dd hh:mm:ss.zzz DIR PORT HEX |text|"
            const QList<QByteArray> head = line.left(line.indexOf(" |")).split(' ');
            const QString direction = QString::fromLatin1(head.value(2));
            const QByteArray bytes = QByteArray::fromHex(head.mid(4).join());
            if (!blocks.isEmpty() && blocks.last().first == direction)
                blocks.last().second += bytes;
            else
                blocks.append({direction, bytes});
        }
    }
    return blocks;
}

// Queues the answers to the unsaved-rows question (`answer`) and to what `command` asks after it; the
// answer "no unsaved rows" saves the rows first, so that nothing is asked. `saved` is where Save writes.
void queue_answers(LinkedWindow& link, const QString& command, const QString& answer, const QString& saved)
{
    if (answer == "no unsaved rows") {
        modal_script::queue_file(saved);
        QVERIFY(link.w->save_table_as());
        QVERIFY(!coordinate_journal().exists());
        QFile::remove(saved);
    } else if (answer == "Save") {
        modal_script::queue_answer(QMessageBox::Save);
        modal_script::queue_file(saved);
    } else if (answer == "Save cancelled") {
        modal_script::queue_answer(QMessageBox::Save); // and no file: the save dialog is cancelled
    } else if (answer == "Save fails") {
        modal_script::queue_answer(QMessageBox::Save);
        modal_script::queue_file(link.dir.file("no/such/folder/saved.ndad"));
    } else {
        modal_script::queue_answer(answer == "Discard" ? QMessageBox::Discard : QMessageBox::Cancel);
    }
    if (command == "exit" && answer == "no unsaved rows")
        modal_script::queue_answer(QMessageBox::Yes); // the plain exit question
    // The file Open reads, queued behind the save's (a cancelled save dialog would take it instead).
    if (command == "open" && answer != "Save cancelled")
        modal_script::queue_file(link.dir.file("other.ndad"));
}

// Runs `command` ("close", "exit", "open", "clear" or "receive"); whether it was carried out.
bool carry_out(LinkedWindow& link, const QString& command)
{
    MainWindow& w = *link.w;
    if (command == "close")
        return w.close();
    if (command == "exit") {
        w.run_command(Command::Exit);
        return modal_script::ended_status() == 0;
    }
    if (command == "open") {
        w.run_command(Command::FileOpen);
        return link.row(0).startsWith("Q1|");
    }
    if (command == "clear") {
        w.run_command(Command::ClearPoints);
        return w.tableWidget->rowCount() == 0;
    }
    w.run_command(Command::ReceiveCoordinates);
    return w.InformationTransmissionjFlag;
}

} // namespace

class TestFieldSafety : public QObject
{
    Q_OBJECT

private slots:
    void init() { modal_script::clear(); }

    void guarded_commands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer");
        for (const char* command : {"close", "exit", "open", "clear", "receive"}) {
            for (const char* answer : {"no unsaved rows", "Save", "Save cancelled", "Save fails", "Discard", "Cancel"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(command, answer))) << command << answer;
        }
    }

    void guarded_commands()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        LinkedWindow link("KT40");
        MainWindow& w = *link.w;
        w.program_receivedata();
        play_kt40_receive(link.pty);
        QCOMPARE(w.tableWidget->rowCount(), 2);
        QCOMPARE(coordinate_journal().read().rows.size(), 2);
        const QString saved = link.dir.file("saved.ndad");
        link.dir.write("other.ndad", "Q1,K,1,2,3\n");

        queue_answers(link, command, answer, saved);
        if (QTest::currentTestFailed())
            return;
        const int asked_before = modal_script::shown().size();

        const bool carried_out = carry_out(link, command);

        const bool goes_on = answer == "no unsaved rows" || answer == "Save" || answer == "Discard";
        QCOMPARE(carried_out, goes_on);
        const QList<modal_script::Shown> shown = modal_script::shown().mid(asked_before);
        if (answer == "no unsaved rows") {
            // Exactly as without the guard: only exit asks its own question.
            QCOMPARE(shown.size(), command == "exit" ? 1 : (command == "open" ? 1 : 0));
            if (command == "exit")
                QCOMPARE(shown[0].text,
                         w.getpopup_prompt(Prompt::ReallyDo).arg(w.getpopup_prompt(Prompt::QuitTheProgram)));
            return;
        }
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown[0].kind, QString("question"));
        QCOMPARE(shown[0].title, texts(w, "UnsavedRowsDlg").value(0));
        QCOMPARE(shown[0].text, texts(w, "UnsavedRowsDlg").value(1).arg(2));
        if (answer == "Save") {
            QCOMPARE(FileOperation().readfile(saved),
                     (QStringList{kRow.split('|').join(','), kRow.split('|').join(',')}));
            QVERIFY(!coordinate_journal().exists());
        } else if (answer == "Discard") {
            QVERIFY(!QFile::exists(saved));
            QVERIFY(!coordinate_journal().exists());
        } else {
            // Cancel, or a save that did not happen: nothing lost, nothing done, the question still due.
            QCOMPARE(w.tableWidget->rowCount(), 2);
            QCOMPARE(link.row(1), kRow);
            QCOMPARE(coordinate_journal().read().rows.size(), 2);
            QVERIFY(w.unsaved_rows.pending(w.tableWidget->rowCount()));
            QCOMPARE(modal_script::ended_status(), -1);
        }
    }

    void table_edits_and_saves_mark_the_rows()
    {
        TableWindow t("KT40");
        MainWindow& w = *t.w;
        t.add_row({"A", "", "1", "2", "3"});
        QVERIFY(!w.unsaved_rows.pending(1)); // rows put in by the test itself, as a file would
        w.tableWidget->setCurrentCell(0, 0);
        w.program_delete();
        QVERIFY(!w.unsaved_rows.pending(w.tableWidget->rowCount())); // an empty table has nothing to lose
        t.add_row({"B", "", "1", "2", "3"});
        QVERIFY(w.unsaved_rows.pending(1));
        // A workbook export counts as saved; a cancelled one does not.
        answer_next_dialog([](QDialog* dialog) { dialog->reject(); });
        w.program_export();
        QVERIFY(w.unsaved_rows.pending(1));
        // The KT90 has no table: nothing is ever asked there.
        LinkedWindow kt90("KT90", false);
        QVERIFY(kt90.w->close());
        QVERIFY(modal_script::shown().isEmpty());
    }

    void restore_after_restart_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("restore") << int(QMessageBox::Yes);
        QTest::newRow("discard") << int(QMessageBox::Discard);
        QTest::newRow("no answer") << int(QMessageBox::No);
    }

    void restore_after_restart()
    {
        QFETCH(int, answer);
        LinkedWindow link("KT40");
        link.w->program_receivedata();
        play_kt40_receive(link.pty);
        const QList<QStringList> received = table_rows(*link.w);
        link.w.reset(); // a run that ended without saving: the journal stays
        QVERIFY(coordinate_journal().exists());

        // A type of the other layout neither sees nor touches it.
        std::unique_ptr<MainWindow> other = start_window("KT20_KT40");
        QCOMPARE(other->tableWidget->rowCount(), 0);
        QVERIFY(modal_script::shown().isEmpty());
        other.reset();
        QVERIFY(coordinate_journal().exists());

        const QString date = coordinate_journal().read().started.toString("yyyy-MM-dd hh:mm");
        modal_script::queue_answer(QMessageBox::StandardButton(answer));
        std::unique_ptr<MainWindow> w = start_window("KT40");
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].text, texts(*w, "JournalDlg").value(1).arg(2).arg(date));
        const QStringList files = QDir(app_data_folder()).entryList(QDir::Files);
        if (answer == QMessageBox::Yes) {
            QCOMPARE(table_rows(*w), received);
            QCOMPARE(w->ui->lineEdit_2->text(), QString("2"));
            QVERIFY(w->unsaved_rows.pending(2));
            QCOMPARE(coordinate_journal().read().rows, received); // still journaled
        } else if (answer == QMessageBox::Discard) {
            QCOMPARE(w->tableWidget->rowCount(), 0);
            QVERIFY(files.isEmpty());
        } else {
            QCOMPARE(w->tableWidget->rowCount(), 0);
            QCOMPARE(files.size(), 1);
            QVERIFY(files[0].startsWith("journal-coordinate.kept-"));
        }
    }

    void junk_journal_refused()
    {
        WorkDir dir;
        dir.set_language("English");
        QDir().mkpath(app_data_folder());
        const QByteArray junk = QByteArray::fromHex("00ff13370a") + "PT1,C,1,2,3\n";
        QFile f(coordinate_journal().path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(junk);
        f.close();
        std::unique_ptr<MainWindow> w = start_window("KT40");
        QCOMPARE(w->tableWidget->rowCount(), 0);
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].kind, QString("warning"));
        const QStringList files = QDir(app_data_folder()).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(files[0].startsWith("journal-coordinate.refused-"));
        QCOMPARE(modal_script::shown()[0].text,
                 texts(*w, "JournalDlg").value(2).arg(coordinate_journal().path(), app_data_folder() + "/" + files[0]));
    }

    void journal_that_cannot_be_written()
    {
        LinkedWindow link("KT40");
        QVERIFY(QDir().mkpath(coordinate_journal().path())); // a folder where the file should be
        link.w->program_receivedata();
        play_kt40_receive(link.pty);
        QCOMPARE(link.row(0), kRow);
        QCOMPARE(link.row(1), kRow);
        QVERIFY(link.w->statusBar()->currentMessage().startsWith(
            texts(*link.w, "JournalDlg").value(3).section("%1", 0, 0)));
        QVERIFY(modal_script::shown().isEmpty());
    }

    void restore_after_kill()
    {
        WorkDir dir;
        dir.set_language("English");
        PtyInstrument pty;
        QProcess child;
        child.start(KT_RECEIVE_CHILD, {dir.path(), pty.port_name(), QCoreApplication::applicationName()});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));
        pty.send(sample::kt40_header);
        QCOMPARE(pty.receive(2, 30000), kAck);
        for (int n = 0; n < 2; ++n) {
            pty.send(sample::kt40_record);
            QCOMPARE(pty.receive(2, 30000), kAck); // acknowledged: journaled before the answer went out
        }
        child.kill();
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        modal_script::queue_answer(QMessageBox::Yes);
        std::unique_ptr<MainWindow> w = start_window("KT40");
        QCOMPARE(modal_script::shown().size(), 1);
        QVERIFY(modal_script::shown()[0].text.startsWith("Restore 2 points received on "));
        QCOMPARE(w->tableWidget->rowCount(), 2);
        QCOMPARE(table_rows(*w).value(1).join('|'), kRow);
    }

    void comm_log_of_a_kt40_conversation()
    {
        WorkDir dir;
        dir.write("config/config.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n"
                                       "  <language>English</language>\n  <commlog>1</commlog>\n</CONFIG>\n");
        PtyInstrument pty;
        std::unique_ptr<MainWindow> w = start_window("KT40");
        QAction* item = comm_log_action(*w);
        QVERIFY(item && item->isCheckable() && item->isChecked());
        w->portname = pty.port_name();
        w->portlist_desc = QStringList{pty.port_name(), "pseudo-terminal"};
        w->program_commconnect();
        w->program_receivedata();
        play_kt40_receive(pty);
        const QList<QPair<QString, QByteArray>> expected = {{"RX", sample::kt40_header},
                                                            {"TX", kAck},
                                                            {"RX", sample::kt40_record},
                                                            {"TX", kAck},
                                                            {"RX", sample::kt40_record},
                                                            {"TX", kAck},
                                                            {"RX", kEnd},
                                                            {"TX", kEnd}};
        QCOMPARE(logged_blocks(comm_log_folder()), expected);
        const QStringList files = QDir(comm_log_folder()).entryList(QDir::Files);
        QCOMPARE(files, QStringList{QString("comm-%1-001.log").arg(QDate::currentDate().toString("yyyyMMdd"))});
        QFile log(comm_log_folder() + "/" + files[0]);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains(" RX " + pty.port_name().toUtf8() +
                                       " AA 80 4A 4F 42 20 31 20 00 02 AA 82 |..JOB 1 ....|"));

        // The menu item turns it off and stores the choice beside the language.
        item->trigger();
        QVERIFY(!item->isChecked());
        QVERIFY(!w->comm_log);
        xml_analysis xml;
        QCOMPARE(xml.get_config(dir.file("config/config.xml"), "commlog"), QString("0"));
        QCOMPARE(xml.get_config(dir.file("config/config.xml"), "language"), QString("English"));
        w->program_receivedata();
        play_kt40_receive(pty);
        QCOMPARE(logged_blocks(comm_log_folder()).size(), expected.size());
        item->trigger();
        QVERIFY(item->isChecked() && w->comm_log);
        QCOMPARE(xml.get_config(dir.file("config/config.xml"), "commlog"), QString("1"));
    }

    void about_shows_the_folders()
    {
        TableWindow t("KT40");
        t.w->run_command(command_for_key("About", CommandSource::Menu));
        QCOMPARE(modal_script::shown().size(), 1);
        QCOMPARE(modal_script::shown()[0].kind, QString("information"));
        const QString text = modal_script::shown()[0].text;
        for (const QString& part :
             {t.w->version_number, t.w->exe_path, t.w->icon_path, app_data_folder(), comm_log_folder()})
            QVERIFY2(text.contains(QDir::toNativeSeparators(part)), qPrintable(part));
    }
};

KT_TEST_MAIN(TestFieldSafety)
#include "tst_fieldsafety.moc"
