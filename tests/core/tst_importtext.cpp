// Point lists of other programs as the import reads them: lines split at each delimiter (quotes, runs
// of spaces), the delimiter and the lines above the table told from the file, the choice kept as a
// setting text, and the choice a file starts with (what the file shows, the last choice for the rest).
#include "data/importchoice.h"

#include "support/core/ktest_core.h"

#include <QTest>

Q_DECLARE_METATYPE(Delimiter)

namespace
{

QList<int> columns_of(const ColumnMapping& mapping)
{
    return QList<int>(std::begin(mapping.columns), std::end(mapping.columns));
}

ImportChoice choice_of(Delimiter delimiter, int skip, bool header, const QList<int>& columns)
{
    ImportChoice choice;
    choice.delimiter = delimiter;
    choice.mapping.skip_rows = skip;
    choice.mapping.header = header;
    for (int role = 0; role < kPointRoleCount; ++role)
        choice.mapping.columns[role] = columns.value(role, -1);
    return choice;
}

} // namespace

class TestImportText : public QObject
{
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Delimiter>("delimiter");
        QTest::addColumn<QStringList>("cells");

        QTest::newRow("comma, empty fields kept")
            << "P1,,100.5,200,," << Delimiter::Comma << QStringList{"P1", "", "100.5", "200", "", ""};
        QTest::newRow("semicolon keeps decimal commas")
            << "P1;K;100,5;200,25" << Delimiter::Semicolon << QStringList{"P1", "K", "100,5", "200,25"};
        QTest::newRow("tab keeps spaces in a name")
            << "Point A\tK 1\t100\t200" << Delimiter::Tab << QStringList{"Point A", "K 1", "100", "200"};
        QTest::newRow("spaces: runs and tabs are one delimiter, ends ignored")
            << "  P1   K \t 100.5  200  " << Delimiter::Spaces << QStringList{"P1", "K", "100.5", "200"};
        QTest::newRow("quoted field holds the delimiter and a doubled quote")
            << "\"Gate, \"\"north\"\"\",K,1,2" << Delimiter::Comma << QStringList{"Gate, \"north\"", "K", "1", "2"};
        QTest::newRow("quoted empty field") << "\"\";P;\"1\"" << Delimiter::Semicolon << QStringList{"", "P", "1"};
        QTest::newRow("quote inside a field is a character")
            << "5\" pipe,K" << Delimiter::Comma << QStringList{"5\" pipe", "K"};
        QTest::newRow("text after a closing quote joins the field")
            << "\"A\"B,C" << Delimiter::Comma << QStringList{"AB", "C"};
        QTest::newRow("a quote left open runs to the end") << "\"A,B" << Delimiter::Comma << QStringList{"A,B"};
        QTest::newRow("spaces: quoted name with spaces")
            << "\"Point A\" 1 2" << Delimiter::Spaces << QStringList{"Point A", "1", "2"};
        QTest::newRow("empty line, comma: one empty cell") << "" << Delimiter::Comma << QStringList{""};
        QTest::newRow("blank line, spaces: no cell") << "   " << Delimiter::Spaces << QStringList{};
    }

    void split()
    {
        QFETCH(QString, line);
        QFETCH(Delimiter, delimiter);
        QTEST(split_delimited(line, delimiter), "cells");
    }

    void guess_layout_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Delimiter>("delimiter");
        QTest::addColumn<int>("skip");

        QTest::newRow("title line above a semicolon table")
            << QStringList{"Exported by FieldOffice 3.2", "Name;Code;N;E;Z", "P1;A;1;2;3", "P2;B;4;5;6"}
            << Delimiter::Semicolon << 1;
        QTest::newRow("decimal commas with semicolons")
            << QStringList{"P1;1,5;2,5", "P2;3,5;4,5"} << Delimiter::Semicolon << 0;
        QTest::newRow("comma file with spaces in names")
            << QStringList{"Point A,1,2,3", "Point B,4,5,6"} << Delimiter::Comma << 0;
        QTest::newRow("tab file") << QStringList{"P1\t1\t2", "P2\t3\t4"} << Delimiter::Tab << 0;
        QTest::newRow("space aligned columns, blank line first")
            << QStringList{"", "P1     100.000   200.000", "P2     110.000   210.000"} << Delimiter::Spaces << 1;
        QTest::newRow("two title lines") << QStringList{"JOB ROAD", "2024-05-01", "A,B,C,D", "1,2,3,4"}
                                         << Delimiter::Comma << 2;
        QTest::newRow("one column: comma, nothing skipped") << QStringList{"P1", "P2"} << Delimiter::Comma << 0;
        QTest::newRow("nothing") << QStringList{} << Delimiter::Comma << 0;
    }

    void guess_layout()
    {
        QFETCH(QStringList, lines);
        QFETCH(Delimiter, delimiter);
        QCOMPARE(guess_delimiter(lines), delimiter);
        QTEST(guess_skip(split_delimited_lines(lines, delimiter)), "skip");
    }

    void choice_text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");

        QTest::newRow("written by the program") << "delimiter=tab;skip=2;header=1;columns=0,-1,3,2,4" << true;
        QTest::newRow("spaces around") << " delimiter = spaces ; skip=0;header=0;columns=1,2,3,4,5" << true;
        QTest::newRow("unknown delimiter") << "delimiter=pipe;skip=0;header=0;columns=0,1,2,3,4" << false;
        QTest::newRow("four columns") << "delimiter=comma;skip=0;header=0;columns=0,1,2,3" << false;
        QTest::newRow("negative skip") << "delimiter=comma;skip=-1;header=0;columns=0,1,2,3,4" << false;
        QTest::newRow("header not 0 or 1") << "delimiter=comma;skip=0;header=2;columns=0,1,2,3,4" << false;
        QTest::newRow("column not a number") << "delimiter=comma;skip=0;header=0;columns=0,x,2,3,4" << false;
        QTest::newRow("missing key") << "delimiter=comma;skip=0;columns=0,1,2,3,4" << false;
        QTest::newRow("empty") << "" << false;
    }

    void choice_text()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        ImportChoice read = choice_of(Delimiter::Semicolon, 7, true, {9, 9, 9, 9, 9});
        const ImportChoice before = read;
        QCOMPARE(parse_import_choice(text, &read), valid);
        if (!valid) {
            QCOMPARE(import_choice_text(read), import_choice_text(before)); // unchanged
            return;
        }
        // Read back, written again, read again: the same choice.
        ImportChoice again;
        QVERIFY(parse_import_choice(import_choice_text(read), &again));
        QCOMPARE(import_choice_text(again), import_choice_text(read));
        QCOMPARE(import_choice_text(read), QString(text).remove(' '));
    }

    void starting_choice_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("last"); // a setting text, or empty for none
        QTest::addColumn<Delimiter>("delimiter");
        QTest::addColumn<int>("skip");
        QTest::addColumn<bool>("header");
        QTest::addColumn<QList<int>>("columns");

        const QStringList words = {"Report", "点名,东,北,高程,编码", "A,200,100,5,K"};
        QTest::newRow("header words name the columns, the last choice aside")
            << words << "delimiter=tab;skip=0;header=0;columns=0,1,2,3,4" << Delimiter::Comma << 1 << true
            << QList<int>{0, 4, 2, 1, 3};
        const QStringList xy = {"ID;X;Y;H", "A;100;200;5"};
        QTest::newRow("X and Y are no words: N and E left to the user without a last choice")
            << xy << "" << Delimiter::Semicolon << 0 << true << QList<int>{0, -1, -1, -1, 3};
        QTest::newRow("X and Y: the last choice's columns, within the rows")
            << xy << "delimiter=comma;skip=3;header=1;columns=0,7,1,2,3" << Delimiter::Semicolon << 0 << true
            << QList<int>{0, -1, 1, 2, 3};
        QTest::newRow("no header: the last choice's columns")
            << QStringList{"A 1 2 3", "B 4 5 6"} << "delimiter=comma;skip=0;header=0;columns=0,-1,2,1,3"
            << Delimiter::Spaces << 0 << false << QList<int>{0, -1, 2, 1, 3};
    }

    void starting_choice()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, last);
        ImportChoice remembered;
        const bool has_last = !last.isEmpty() && parse_import_choice(last, &remembered);
        QCOMPARE(has_last, !last.isEmpty());
        const ImportChoice choice = ::starting_choice(lines, has_last ? &remembered : nullptr);
        QTEST(choice.delimiter, "delimiter");
        QTEST(choice.mapping.skip_rows, "skip");
        QTEST(choice.mapping.header, "header");
        QTEST(columns_of(choice.mapping), "columns");
    }

    void mapping_after_a_skip_the_user_chose()
    {
        // The user skips the header: the first row is data, the columns stay as chosen.
        const TextRows rows = split_delimited_lines({"Name,N,E", "A,1,2", "B,3,4"}, Delimiter::Comma);
        const ColumnMapping chosen = mapping_after(rows, 0, nullptr);
        QVERIFY(chosen.header);
        QCOMPARE(columns_of(chosen), (QList<int>{0, -1, 1, 2, -1}));
        const ColumnMapping skipped = mapping_after(rows, 1, &chosen);
        QVERIFY(!skipped.header);
        QCOMPARE(skipped.first_data_row(), 1);
        QCOMPARE(columns_of(skipped), columns_of(chosen));
        QCOMPARE(apply_mapping(rows, skipped).lines, (QStringList{"A,,1,2,", "B,,3,4,"}));
    }
};

KT_CORE_TEST_MAIN(TestImportText)
#include "tst_importtext.moc"
