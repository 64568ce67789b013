// The recovery journal on its own: rows written and read back, a journal cut while writing, junk and
// journals of another layout refused and set aside, a full disk reported.
#include "data/recoveryjournal.h"
#include "support/core/ktest_core.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace
{

using Rows = QList<QStringList>;

void write_file(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Where line `line` (from 1) of `bytes` starts.
int line_start(const QByteArray& bytes, int line)
{
    int at = 0;
    for (int i = 1; i < line; ++i)
        at = bytes.indexOf('\n', at) + 1;
    return at;
}

} // namespace

class TestRecoveryJournal : public QObject
{
    Q_OBJECT

private slots:
    void rows_round_trip()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/new/folder";
        RecoveryJournal journal(folder, "coordinate", 5);
        QVERIFY(!journal.exists());
        QCOMPARE(journal.read().status, RecoveryJournal::Contents::Missing);
        // Tabs and line ends inside a cell would split it: they become spaces; missing cells are empty.
        QVERIFY(journal.append({"P1", "C 1", "1234.567", "-12.345", "100.000"}));
        QVERIFY(journal.append({"P\t2", "line\nend", "1", "2"}));
        QVERIFY(journal.append({QString::fromUtf8("点三"), "", "", "", "", "beyond the layout"}));
        QVERIFY(journal.exists());
        const RecoveryJournal::Contents contents = RecoveryJournal(folder, "coordinate", 5).read();
        QCOMPARE(contents.status, RecoveryJournal::Contents::Whole);
        QCOMPARE(contents.rows, (Rows{{"P1", "C 1", "1234.567", "-12.345", "100.000"},
                                      {"P 2", "line end", "1", "2", ""},
                                      {QString::fromUtf8("点三"), "", "", "", ""}}));
        QVERIFY(qAbs(contents.started.secsTo(QDateTime::currentDateTime())) < 24 * 3600);
        // Another layout's journal is another file.
        QCOMPARE(RecoveryJournal(folder, "observation", 15).read().status, RecoveryJournal::Contents::Missing);
        journal.remove();
        QVERIFY(!journal.exists());
        // After removal the next row starts a new journal with its head line.
        QVERIFY(journal.append({"P9"}));
        QCOMPARE(RecoveryJournal(folder, "coordinate", 5).read().rows, (Rows{{"P9", "", "", "", ""}}));
    }

    void damaged_journals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("rows");
        const QByteArray head = "ktlink-journal\tcoordinate\t5\t2026-12-09T05:00:00\n";
        const QByteArray row = "P1\tC\t1\t2\t3\n";
        const int whole = RecoveryJournal::Contents::Whole;
        const int refused = RecoveryJournal::Contents::Refused;
        QTest::newRow("cut in the last line") << head + row + row + "P3\tC\t1." << whole << 2;
        QTest::newRow("cut in the head line") << QByteArray("ktlink-jour") << whole << 0;
        QTest::newRow("head only") << head << whole << 0;
        QTest::newRow("empty file") << QByteArray() << whole << 0;
        QTest::newRow("another program's lines") << QByteArray("PT1,C,1,2,3\nPT2,C,4,5,6\n") << refused << 0;
        QTest::newRow("binary junk") << QByteArray::fromHex("7f454c4602010100000a00ff00") << refused << 0;
        QTest::newRow("junk without a line end") << QByteArray("\x89PNG\x01\x02", 6) << refused << 0;
        QTest::newRow("another layout") << QByteArray("ktlink-journal\tobservation\t15\t2026-12-09T05:00:00\n")
                                        << refused << 0;
        // Damaged after the head: the rows before the damage come back.
        const int partial = RecoveryJournal::Contents::Partial;
        QTest::newRow("a row of the wrong width") << head + row + "P2\tC\t1\n" + row << partial << 1;
        QTest::newRow("a NUL inside a row") << head + QByteArray("P1\tC\t1\0\t2\t3\n", 12) << partial << 0;
        QTest::newRow("bad UTF-8") << head + "P\xff\tC\t1\t2\t3\n" << partial << 0;
        QByteArray crlf = head + row + row;
        crlf.replace("\n", "\r\n");
        QTest::newRow("CR LF line ends") << crlf << whole << 2;
        QTest::newRow("CR line ends, the last cut")
            << QByteArray(head + row + row + "P3\tC").replace('\n', '\r') << whole << 2;
        QTest::newRow("no date") << QByteArray("ktlink-journal\tcoordinate\t5\tyesterday\n") + row << refused << 0;
    }

    void damaged_journals()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(int, rows);
        QTemporaryDir dir;
        RecoveryJournal journal(dir.path(), "coordinate", 5);
        write_file(journal.path(), bytes);
        const RecoveryJournal::Contents contents = journal.read();
        QCOMPARE(int(contents.status), status);
        QCOMPARE(contents.rows.size(), rows);
        if (status != RecoveryJournal::Contents::Refused)
            return;
        // Set aside whole: the bytes kept under another name, the journal's own name free again.
        const QString kept = journal.set_aside("refused");
        QVERIFY(!kept.isEmpty());
        QVERIFY(!journal.exists());
        QCOMPARE(read_file(kept), bytes);
    }

    void damaged_journals_restore_what_comes_before_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");         // rows given back
        QTest::addColumn<int>("meant");        // rows the whole journal would hold; -1: whole
        QTest::addColumn<int>("damaged_line"); // from 1
        QByteArray journal = "ktlink-journal\tcoordinate\t5\t2026-12-09T05:00:00\t2\n";
        for (int r = 0; r < 500; ++r)
            journal += QString("+\tP%1\tC\t%2.125\t7.5\t1\n").arg(r).arg(r).toUtf8();
        QByteArray middle = journal;
        const int at = line_start(middle, 252); // the file's line 252: the change of row 251
        middle[at + 4] = '\0';
        QTest::newRow("one byte damaged in line 252") << middle << 250 << 500 << 252;
        QByteArray garbage;
        for (int i = 0; i < 64; ++i)
            garbage.append(char((i * 37 + 11) % 256));
        garbage[20] = '\n'; // what a power cut leaves holds line ends too
        garbage[41] = '\r';
        QTest::newRow("64 bytes of garbage after the last line") << journal + garbage << 500 << 500 << 502;
        QTest::newRow("garbage without a line end: a torn tail") << journal + QByteArray(64, '\x9c') << 500 << -1 << 0;
        const QByteArray ten = journal.left(line_start(journal, 12));
        QByteArray removal = ten + "-\t0\t1\n";
        removal[line_start(removal, 5) + 3] = '\xff';
        QTest::newRow("a removal after the damage is counted") << removal << 3 << 8 << 5;
        QTest::newRow("a replacement of a row that is not there")
            << ten + "=\t17\tP\tC\t1\t2\t3\n" + "+\tQ\tC\t1\t2\t3\n"
            << 10 << 11 << 12;
    }

    void damaged_journals_restore_what_comes_before()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        QFETCH(int, meant);
        QFETCH(int, damaged_line);
        const RecoveryJournal::Contents contents =
            RecoveryJournal(QString(), "coordinate", 5).parse(bytes, QDateTime::currentDateTime());
        QCOMPARE(int(contents.status),
                 int(meant < 0 ? RecoveryJournal::Contents::Whole : RecoveryJournal::Contents::Partial));
        QCOMPARE(contents.rows.size(), rows);
        QCOMPARE(contents.rows.last(),
                 (QStringList{QString("P%1").arg(rows - 1), "C", QString("%1.125").arg(rows - 1), "7.5", "1"}));
        QCOMPARE(contents.rows_meant, std::max(meant, 0));
        QCOMPARE(contents.damaged_line, damaged_line);
    }

    void full_disk_is_reported()
    {
        if (!QFile::exists("/dev/full"))
            QSKIP("no /dev/full here");
        QTemporaryDir dir;
        RecoveryJournal journal(dir.path(), "coordinate", 5);
        QVERIFY(QFile::link("/dev/full", journal.path()));
        QVERIFY(!journal.append({"P1", "C", "1", "2", "3"}));
        QVERIFY(!journal.error().isEmpty());
    }
};

KT_CORE_TEST_MAIN(TestRecoveryJournal)
#include "tst_recoveryjournal.moc"
