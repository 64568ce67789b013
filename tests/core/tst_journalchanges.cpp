// The recovery journal as a record of table changes: changes replayed into the rows, damaged change
// lines refused, cells with control characters kept readable, and the slots and locks of one journal
// per window.
#include "data/recoveryjournal.h"
#include "support/core/ktest_core.h"

#include <QDir>
#include <QTemporaryDir>

namespace
{

using Rows = QList<QStringList>;

QStringList row(const QString& name)
{
    return {name, "C", "1", "2", "3"};
}

// Applies the changes of `script` ("+A" appends row A, "=1 B" replaces row 1 by B, "-0 2" removes
// rows 0 and 2, "*A B" writes the table A, B anew, "0" clears) to the journal.
bool apply(RecoveryJournal& journal, const QString& script)
{
    for (const QString& step : script.split(';')) {
        const QString op = step.left(1);
        const QStringList args = step.mid(1).split(' ', Qt::SkipEmptyParts);
        bool ok = true;
        if (op == "+") {
            ok = journal.append(row(args.value(0)));
        } else if (op == "=") {
            ok = journal.row_replaced(args.value(0).toInt(), row(args.value(1)));
        } else if (op == "-") {
            QList<int> rows;
            for (const QString& a : args)
                rows << a.toInt();
            ok = journal.rows_removed(rows);
        } else if (op == "*") {
            Rows rows;
            for (const QString& a : args)
                rows << row(a);
            ok = journal.snapshot(rows);
        } else if (op == "0") {
            ok = journal.table_cleared();
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

class TestJournalChanges : public QObject
{
    Q_OBJECT

private slots:
    void changes_replayed_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("names"); // the rows read back
        QTest::newRow("appended") << "+A;+B;+C" << QStringList{"A", "B", "C"};
        QTest::newRow("replaced") << "+A;+B;=1 X;=0 Y" << QStringList{"Y", "X"};
        QTest::newRow("removed") << "+A;+B;+C;+D;-0 2" << QStringList{"B", "D"};
        QTest::newRow("removed all") << "+A;-0" << QStringList();
        QTest::newRow("written anew, then changed") << "+A;*P Q R;=2 S;+T;-0" << QStringList{"Q", "S", "T"};
        QTest::newRow("cleared, then appended") << "+A;+B;0;+C" << QStringList{"C"};
    }

    void changes_replayed()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        RecoveryJournal journal(dir.path(), "coordinate", 5);
        QVERIFY(apply(journal, script));
        const RecoveryJournal::Contents contents = RecoveryJournal(dir.path(), "coordinate", 5).read();
        QCOMPARE(contents.status, RecoveryJournal::Contents::Whole);
        Rows expected;
        for (const QString& name : names)
            expected << row(name);
        QCOMPARE(contents.rows, expected);
    }

    void damaged_changes_restored_up_to_the_damage_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("rows");
        const int whole = RecoveryJournal::Contents::Whole;
        // A damaged change gives back the table the changes before it make.
        const int partial = RecoveryJournal::Contents::Partial;
        QTest::newRow("changes as written") << QByteArray("+\tA\tC\t1\t2\t3\n=\t0\tB\tC\t1\t2\t3\n") << whole << 1;
        QTest::newRow("a change cut off") << QByteArray("+\tA\tC\t1\t2\t3\n-\t0") << whole << 1;
        QTest::newRow("replacing a row that is not there")
            << QByteArray("+\tA\tC\t1\t2\t3\n=\t1\tB\tC\t1\t2\t3\n") << partial << 1;
        QTest::newRow("removing twice") << QByteArray("+\tA\tC\t1\t2\t3\n+\tB\tC\t1\t2\t3\n-\t1\t1\n") << partial << 2;
        QTest::newRow("removing out of order")
            << QByteArray("+\tA\tC\t1\t2\t3\n+\tB\tC\t1\t2\t3\n-\t1\t0\n") << partial << 2;
        QTest::newRow("a row number with a sign") << QByteArray("+\tA\tC\t1\t2\t3\n-\t+0\n") << partial << 1;
        QTest::newRow("an unknown change") << QByteArray("*\tA\tC\t1\t2\t3\n") << partial << 0;
        QTest::newRow("a row line in a journal of changes") << QByteArray("A\tC\t1\t2\t3\n") << partial << 0;
        QTest::newRow("an appended row of the wrong width") << QByteArray("+\tA\tC\t1\n") << partial << 0;
    }

    void damaged_changes_restored_up_to_the_damage()
    {
        QFETCH(QByteArray, lines);
        QFETCH(int, status);
        QFETCH(int, rows);
        QTemporaryDir dir;
        RecoveryJournal journal(dir.path(), "coordinate", 5);
        QFile f(journal.path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(journal.head_line(QDateTime::currentDateTime()) + lines);
        f.close();
        const RecoveryJournal::Contents contents = journal.read();
        QCOMPARE(int(contents.status), status);
        QCOMPARE(contents.rows.size(), rows);
    }

    void control_characters_keep_the_journal_readable()
    {
        QTemporaryDir dir;
        RecoveryJournal journal(dir.path(), "coordinate", 5);
        QVERIFY(journal.append({QString("P") + QChar(1) + "1", QString("C") + QChar(0x7f), "1\t2", "3\r\n", ""}));
        QCOMPARE(journal.read().rows, (Rows{{"P 1", "C ", "1 2", "3  ", ""}}));
    }

    void one_slot_per_window()
    {
        QTemporaryDir dir;
        const QString folder = dir.path();
        RecoveryJournal first(folder, "coordinate", 5, 1);
        QVERIFY(first.try_lock());
        {
            // Another window (or another journal object) does not get the slot while it is held.
            RecoveryJournal again(folder, "coordinate", 5, 1);
            QVERIFY(!again.try_lock());
            RecoveryJournal second(folder, "coordinate", 5, 2);
            QVERIFY(second.try_lock());
            QCOMPARE(second.path(), folder + "/journal-coordinate-2.txt");
            QVERIFY(second.append(row("B")));
        }
        // Released with its object: the slot can be taken again, its journal is still there.
        RecoveryJournal second(folder, "coordinate", 5, 2);
        QVERIFY(second.try_lock());
        QCOMPARE(second.read().rows, Rows{row("B")});
        QVERIFY(first.append(row("A")));
        RecoveryJournal(folder, "coordinate", 5, 12).append(row("L"));
        RecoveryJournal(folder, "observation", 15, 3).append(row("O"));
        RecoveryJournal(folder, "coordinate", 5, 4).append(row("K"));
        RecoveryJournal(folder, "coordinate", 5, 4).set_aside("kept");
        for (const char* name : {"journal-coordinate-1.txt", "journal-coordinate-0.txt", "journal-coordinate-x.txt"}) {
            QFile stray(folder + "/" + name);
            QVERIFY(stray.open(QIODevice::WriteOnly));
        }
        QCOMPARE(RecoveryJournal::slots_in(folder, "coordinate"), (QList<int>{1, 2, 12}));
        QCOMPARE(RecoveryJournal::slots_in(folder, "observation"), QList<int>{3});
        // The locks lie in a folder of their own: the data folder lists journals only.
        QVERIFY(QDir(folder + "/locks").exists());
    }
};

KT_CORE_TEST_MAIN(TestJournalChanges)
#include "tst_journalchanges.moc"
