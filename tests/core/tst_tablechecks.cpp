// The point table's checks without a window: suspect rows (coordinates that are not numbers, repeated
// names) counted as rows change, against a count made afresh, and read row by row once; finding a row
// by name or code; counted texts; labels kept inside the view.
#include "config/countedtext.h"
#include "data/labelplacer.h"
#include "data/rowsearch.h"
#include "data/suspectrows.h"

#include "support/core/ktest_core.h"
#include <QRandomGenerator>
#include <QSet>

#include <QTest>

using Rows = QList<QStringList>;

namespace
{

// What the suspect rows of `rows` are, counted afresh: rows with a bad coordinate, rows whose
// (kind, name) another row holds.
QPair<int, int> counted_afresh(const Rows& rows, const SuspectColumns& columns)
{
    int bad = 0;
    QHash<QString, int> names;
    for (const QStringList& row : rows) {
        bool suspect = false;
        for (int c : columns.coordinates)
            suspect = suspect || suspect_coordinate(row.value(c));
        bad += suspect ? 1 : 0;
        const QString kind = columns.kind >= 0 ? row.value(columns.kind) : QString();
        if (!row.value(columns.name).isEmpty() && !columns.kinds_not_compared.contains(kind))
            ++names[kind + '|' + row.value(columns.name)];
    }
    int repeated = 0;
    for (int count : names)
        repeated += count > 1 ? count : 0;
    return {bad, repeated};
}

void refresh(SuspectRows& suspect, const Rows& rows, int* reads = nullptr)
{
    suspect.refresh(int(rows.size()), [&](int row, int column) {
        if (reads)
            ++*reads;
        return rows[row].value(column);
    });
}

} // namespace

class TestTableChecks : public QObject
{
    Q_OBJECT

private slots:
    void suspect_cells_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("suspect");
        QTest::newRow("number") << "3520100.125" << false;
        QTest::newRow("negative with blanks") << " -12.5 " << false;
        QTest::newRow("empty: no height") << "" << false;
        QTest::newRow("letters") << "abc" << true;
        QTest::newRow("decimal comma") << "100,5" << true;
        QTest::newRow("two points") << "1.2.3" << true;
        QTest::newRow("infinite") << "inf" << true;
    }

    void suspect_cells()
    {
        QFETCH(QString, text);
        QTEST(suspect_coordinate(text), "suspect");
    }

    void suspect_rows_of_a_table()
    {
        SuspectRows suspect;
        const Rows rows = {{"P1", "K", "1", "2", "3"}, {"P2", "K", "abc", "2", ""}, {"P1", "", "4", "5", "x"},
                           {"", "", "1", "1", "1"},    {"", "", "2", "2", "2"},     {"P1", "K", "1", "2", "3"},
                           {"p1", "K", "1", "2", "3"}};
        refresh(suspect, rows);
        QCOMPARE(suspect.rows_with_bad_coordinates(), 2);
        QCOMPARE(suspect.rows_with_repeated_names(), 3); // P1 three times; empty names and "p1" are not
        QVERIFY(suspect.bad_coordinate(1, 2) && !suspect.bad_coordinate(1, 4) && suspect.bad_coordinate(2, 4));
        QVERIFY(!suspect.bad_coordinate(1, 0)); // a name column is no coordinate
        QCOMPARE(suspect.name_count(0), 3);
        QCOMPARE(suspect.name_count(3), 0);
        QCOMPARE(suspect.name_count(6), 1);
        QCOMPARE(suspect.name_count(99), 0);
    }

    void observation_kinds_compared_apart()
    {
        // Names repeat by design for stations and backsights; other kinds are compared among themselves.
        SuspectRows suspect(observation_suspect_columns({"Station", "Backsight"}));
        const auto row = [](const QString& kind, const QString& name, const QString& n) {
            QStringList cells;
            for (int c = 0; c < 15; ++c)
                cells << QString();
            cells[0] = kind;
            cells[2] = name;
            cells[3] = n;
            return cells;
        };
        const Rows rows = {row("Station", "S1", "1"), row("Backsight", "S2", ""),  row("Measured", "M1", "2"),
                           row("Station", "S1", "1"), row("Backsight", "S2", ""),  row("Measured", "M1", "2"),
                           row("", "M1", "2"),        row("Measured", "M2", "n/a")};
        refresh(suspect, rows);
        QCOMPARE(suspect.rows_with_repeated_names(), 2);
        QCOMPARE(suspect.name_count(6), 1);
        QCOMPARE(suspect.name_count(0), 0);
        QCOMPARE(suspect.rows_with_bad_coordinates(), 1);
        QVERIFY(suspect.bad_coordinate(7, 3));
    }

    void counts_follow_random_changes()
    {
        // Rows appended, edited, removed and cleared at random: the counts kept as rows change equal a
        // count made afresh after every change.
        const SuspectColumns columns = coordinate_suspect_columns();
        QRandomGenerator random(7);
        const QStringList names = {"A", "B", "C", "D", ""};
        const QStringList coordinates = {"1", "2.5", "", "x", "-3"};
        const auto random_row = [&] {
            return QStringList{names[random.bounded(5)], "K", coordinates[random.bounded(5)],
                               coordinates[random.bounded(5)], coordinates[random.bounded(5)]};
        };
        SuspectRows suspect(columns);
        Rows rows;
        for (int step = 0; step < 400; ++step) {
            const int what = random.bounded(10);
            if (what < 5 || rows.isEmpty()) {
                rows.append(random_row());
                suspect.changed_from(int(rows.size()) - 1);
            } else if (what < 7) {
                const int r = random.bounded(int(rows.size()));
                rows[r] = random_row();
                suspect.changed_from(r);
            } else if (what < 9) {
                const int r = random.bounded(int(rows.size()));
                rows.removeAt(r);
                suspect.changed_from(r);
            } else if (random.bounded(4) == 0) {
                rows.clear();
                suspect.changed_from(0);
            }
            if (random.bounded(3) == 0)
                continue; // several changes before the next refresh
            refresh(suspect, rows);
            const QPair<int, int> afresh = counted_afresh(rows, columns);
            QCOMPARE(suspect.rows_with_bad_coordinates(), afresh.first);
            QCOMPARE(suspect.rows_with_repeated_names(), afresh.second);
        }
    }

    void rows_arriving_one_by_one_are_read_once()
    {
        // A transfer appends its rows one by one and the marks are refreshed between them: each row is
        // read once, so 10,000 rows cost 10,000 reads of their cells, not 50 million.
        SuspectRows suspect;
        Rows rows;
        int reads = 0;
        for (int i = 0; i < 10000; ++i) {
            rows.append({QString("P%1").arg(i % 9000), "", "1", "2", i % 1000 == 0 ? "z" : "3"});
            suspect.changed_from(i);
            if (i % 7 == 0)
                refresh(suspect, rows, &reads);
        }
        refresh(suspect, rows, &reads);
        QCOMPARE(reads, 10000 * 4); // the name and three coordinates of each row
        QCOMPARE(suspect.rows_with_bad_coordinates(), 10);
        QCOMPARE(suspect.rows_with_repeated_names(), 2000);
    }

    void find_rows_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("row");

        // Names and codes: 0 P1/WALL, 1 P12/CURB, 2 K7/wall, 3 P1/LAMP
        QTest::newRow("next after the current row") << 0 << true << "p1" << 1;
        QTest::newRow("goes round the end") << 3 << true << "P1" << 0;
        QTest::newRow("previous goes round the start") << 0 << false << "p1" << 3;
        QTest::newRow("a code, any letter case") << 0 << true << "Wall" << 2;
        QTest::newRow("nothing current: the first match") << -1 << true << "P12" << 1;
        QTest::newRow("nothing current, backwards: the last match") << -1 << false << "P1" << 3;
        QTest::newRow("the current row alone matches") << 2 << true << "K7" << 2;
        QTest::newRow("blanks around are ignored") << 0 << true << "  K7 " << 2;
        QTest::newRow("no match") << 1 << true << "Q" << -1;
        QTest::newRow("empty text") << 1 << true << "  " << -1;
    }

    void find_rows()
    {
        QFETCH(int, from);
        QFETCH(bool, forward);
        QFETCH(QString, text);
        const Rows rows = {{"P1", "WALL"}, {"P12", "CURB"}, {"K7", "wall"}, {"P1", "LAMP"}};
        QTEST(find_row(int(rows.size()), from, forward, text, [&](int r, int which) { return rows[r][which]; }), "row");
        QCOMPARE(find_row(0, -1, true, "P1", [](int, int) { return QString("P1"); }), -1);
    }

    void counted_texts_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("text");
        const QStringList english = {"x", "%1 row is", "%1 rows are"};
        QTest::newRow("one") << english << qint64(1) << "1 row is";
        QTest::newRow("none") << english << qint64(0) << "0 rows are";
        QTest::newRow("many") << english << qint64(21) << "21 rows are";
        QTest::newRow("no second form") << QStringList{"x", "%1 行"} << qint64(3) << "3 行";
        QTest::newRow("no form") << QStringList{"x"} << qint64(3) << "";
    }

    void counted_texts()
    {
        QFETCH(QStringList, texts);
        QFETCH(qint64, count);
        QTEST(counted_text(texts, 1, count), "text");
    }

    void labels_stay_inside_the_view()
    {
        // Points near every edge of a 200 x 100 view: each label placed lies wholly inside it.
        LabelPlacer placer;
        const QRectF view(0, 0, 200, 100);
        placer.set_bounds(view);
        int placed = 0;
        for (const QPointF& at :
             {QPointF(195, 50), QPointF(5, 50), QPointF(100, 3), QPointF(100, 97), QPointF(198, 2), QPointF(2, 98)}) {
            QRectF rect;
            if (placer.place_beside(
                    at, 4, 12, [] { return 40.0; }, &rect)) {
                ++placed;
                QVERIFY2(view.contains(rect), qPrintable(QString("%1,%2").arg(rect.x()).arg(rect.y())));
            }
        }
        QCOMPARE(placed, 6);
        QVERIFY(!placer.place(QRectF(190, 40, 20, 10))); // across the right edge
    }
};

KT_CORE_TEST_MAIN(TestTableChecks)
#include "tst_tablechecks.moc"
