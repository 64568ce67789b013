// Groups of rows sharing a name against the table after each choice: rows written "name,code,N,E,Z"
// and joined by ";", the expected rows worked by hand.
#include "survey/duplicates.h"

#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace duplicates;
using kt2040::FrameSet;
Q_DECLARE_METATYPE(duplicates::Choice)
Q_DECLARE_METATYPE(kt2040::FrameSet)

namespace
{

Rows rows_of(const QString& text)
{
    Rows rows;
    for (const QString& line : text.split(';'))
        rows << line.split(',');
    return rows;
}

QString text_of(const Rows& rows)
{
    QStringList lines;
    for (const QStringList& row : rows)
        lines << row.join(',');
    return lines.join(';');
}

} // namespace

class TestDuplicates : public QObject
{
    Q_OBJECT

private slots:
    void choices_data();
    void choices();
    void observation_rows();
    void ktconvert_data();
    void ktconvert();
};

void TestDuplicates::choices_data()
{
    QTest::addColumn<FrameSet>("set");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<QString>("spreads"); // each group's "horizontal/vertical" to the millimetre
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("beyond");    // groups left by Average
    QTest::addColumn<int>("shortened"); // renamed rows whose name gave way to the suffix

    const QString two = "P1,A,100.000,200.000,10.00;P2,B,5,5,5;P1,C,100.006,200.008,10.02";
    QTest::newRow("first") << FrameSet::None << two << Choice::KeepFirst << "0.010/0.020"
                           << "P1,A,100.000,200.000,10.00;P2,B,5,5,5" << 0 << 0;
    QTest::newRow("last keeps its place") << FrameSet::None << two << Choice::KeepLast << "0.010/0.020"
                                          << "P2,B,5,5,5;P1,C,100.006,200.008,10.02" << 0 << 0;
    QTest::newRow("average within: first code, most decimals")
        << FrameSet::None << two << Choice::Average << "0.010/0.020"
        << "P1,A,100.003,200.004,10.01;P2,B,5,5,5" << 0 << 0;
    QTest::newRow("average beyond is left")
        << FrameSet::None << "P1,A,0,0,0;P1,A,0.03,0,0" << Choice::Average << "0.030/0.000"
        << "P1,A,0,0,0;P1,A,0.03,0,0" << 1 << 0;
    QTest::newRow("average: heights only where given")
        << FrameSet::None << "P1,A,1.0,1.0,;P1,A,1.0,1.02,4.5;P1,,1.0,1.0,4.5" << Choice::Average << "0.020/0.000"
        << "P1,A,1.0,1.01,4.5" << 0 << 0;
    QTest::newRow("keep all") << FrameSet::None << two << Choice::KeepAll << "0.010/0.020" << two << 0 << 0;
    QTest::newRow("rename skips names taken")
        << FrameSet::None << "P1,A,0,0,0;P1_2,B,9,9,9;P1,C,1,1,1;P1,D,2,2,2" << Choice::Rename << "2.828/2.000"
        << "P1,A,0,0,0;P1_2,B,9,9,9;P1_3,C,1,1,1;P1_4,D,2,2,2" << 0 << 0;
    QTest::newRow("rows without coordinates take no part")
        << FrameSet::None << "P1,A,,,;P1,B,x,1,1;P1,C,1,1,1" << Choice::KeepFirst << ""
        << "P1,A,,,;P1,B,x,1,1;P1,C,1,1,1" << 0 << 0;
    // The KT40 record holds 7 characters of a name: these two arrive as one.
    const QString cut = "ABCDEFG1,A,0,0,0;ABCDEFG2,B,0.01,0,0";
    QTest::newRow("equal once cut: one group") << FrameSet::Kt40 << cut << Choice::KeepLast << "0.010/0.000"
                                               << "ABCDEFG2,B,0.01,0,0" << 0 << 0;
    QTest::newRow("equal once cut: the name gives way") << FrameSet::Kt40 << cut << Choice::Rename << "0.010/0.000"
                                                        << "ABCDEFG1,A,0,0,0;ABCDE_2,B,0.01,0,0" << 0 << 1;
    QTest::newRow("compared as they stand without an instrument")
        << FrameSet::None << cut << Choice::Rename << "" << cut << 0 << 0;
}

void TestDuplicates::choices()
{
    QFETCH(FrameSet, set);
    QFETCH(QString, rows);
    QFETCH(Choice, choice);
    const Layout layout = coordinate_layout(set);
    const Rows before = rows_of(rows);
    const QList<Group> groups = find_groups(before, layout);
    QStringList spreads;
    for (const Group& group : groups)
        spreads << QString("%1/%2").arg(group.horizontal, 0, 'f', 3).arg(group.vertical, 0, 'f', 3);
    QTEST(spreads.join(' '), "spreads");

    const Result result = resolve(before, layout, groups, for_every_group(groups, choice));
    QTEST(text_of(result.rows), "after");
    QTEST(int(result.beyond.size()), "beyond");
    QTEST(
        int(std::count_if(result.renamed.begin(), result.renamed.end(), [](const Renamed& r) { return r.shortened; })),
        "shortened");
    QCOMPARE(result.removed, before.size() - result.rows.size());
    // What is resolved stays resolved; a group left is found again.
    const int left = choice == Choice::KeepAll ? groups.size() : int(result.beyond.size());
    QCOMPARE(int(find_groups(result.rows, layout).size()), left);
}

// The observation layout: stations and backsights repeat by design, a measured point never meets a
// station of its name, a plain point meets a plain point.
void TestDuplicates::observation_rows()
{
    auto row = [](const QString& kind, const QString& name, const QString& n) {
        QStringList cells;
        for (int c = 0; c < ObsColumn::Count; ++c)
            cells << QString();
        cells[ObsColumn::Kind] = kind;
        cells[ObsColumn::Name] = name;
        cells[ObsColumn::North] = n;
        cells[ObsColumn::East] = "0";
        return cells;
    };
    const Rows rows{row("STN", "S1", "0"),  row("MP", "S1", "0"),   row("STN", "S1", "0"),
                    row("MP", "A", "1.00"), row("MP", "A", "1.02"), row("", "A", "1")};
    const Layout layout = observation_layout(FrameSet::Kt20Kt40, {"STN", "BK"});
    const QList<Group> groups = find_groups(rows, layout);
    QCOMPARE(groups.size(), 1);
    QCOMPARE(groups[0].rows, (QList<int>{3, 4}));
    const Result result = resolve(rows, layout, groups, {Choice::Average});
    QCOMPARE(result.rows.size(), 5);
    QCOMPARE(result.rows[3][ObsColumn::North], QString("1.01"));
}

// ktconvert --duplicates on a file: the lines written, the exit status and what standard error names.
void TestDuplicates::ktconvert_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output"); // lines joined by ";"
    QTest::addColumn<QString>("told");   // a text standard error holds

    QTest::newRow("first") << QStringList{"--duplicates", "first"} << 0 << "P1,A,0,0,0;Q,C,5,5,5;P1_2,E,9,9,9"
                           << "names shared by more than one point: 2;";
    QTest::newRow("last") << QStringList{"--duplicates", "last"} << 0 << "P1,B,0.02,0,0;Q,D,5.4,5,5;P1_2,E,9,9,9"
                          << "points removed: 2,";
    QTest::newRow("average beyond the tolerance: exit 3")
        << QStringList{"--duplicates", "average"} << 3 << "P1,A,0.01,0,0;Q,C,5,5,5;Q,D,5.4,5,5;P1_2,E,9,9,9"
        << "Q: 2 points 0.400 m apart across and 0.000 m in height, beyond 0.020 m; left as they are";
    QTest::newRow("average within a wider tolerance")
        << QStringList{"--tolerance", "0.5", "--duplicates", "average"} << 0 << "P1,A,0.01,0,0;Q,C,5.2,5,5;P1_2,E,9,9,9"
        << "groups averaged: 2,";
    QTest::newRow("rename") << QStringList{"--duplicates", "rename"} << 0
                            << "P1,A,0,0,0;P1_3,B,0.02,0,0;Q,C,5,5,5;Q_2,D,5.4,5,5;P1_2,E,9,9,9"
                            << "points renamed: 2,";
    QTest::newRow("unknown choice") << QStringList{"--duplicates", "mean"} << 2 << ""
                                    << "usage:";
    QTest::newRow("tolerance alone") << QStringList{"--tolerance", "1"} << 2 << ""
                                     << "usage:";
    QTest::newRow("negative tolerance") << QStringList{"--duplicates", "average", "--tolerance", "-1"} << 2 << ""
                                        << "usage:";
}

void TestDuplicates::ktconvert()
{
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, output);
    const WorkDir dir;
    dir.write("in.txt", "P1,A,0,0,0\nP1,B,0.02,0,0\nQ,C,5,5,5\nQ,D,5.4,5,5\nP1_2,E,9,9,9\n");
    QProcess process;
    process.start(QString(KT_RUN_DIR) + "/ktconvert", options + QStringList{dir.file("in.txt"), dir.file("out.csv")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), status);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QFETCH(QString, told);
    QVERIFY2(err.contains(told), qPrintable(err));
    QStringList lines = QString::fromUtf8(dir.read("out.csv")).split(QRegularExpression("\r?\n"));
    lines.removeAll(QString());
    QCOMPARE(lines.join(';'), output);
    // Renamed, every name is one point's.
    QStringList names;
    for (const QString& line : lines)
        names << line.section(',', 0, 0);
    if (options.contains("rename"))
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
}

KT_CORE_TEST_MAIN(TestDuplicates)
#include "tst_duplicates.moc"
