// Column mapping: header words in Chinese and English (never X or Y), header detection, column
// letters, the column choice and its errors, and rows turned into point lines.
#include "data/columnmapping.h"

#include <QTest>

Q_DECLARE_METATYPE(TextRows)

namespace
{

TextRows rows_of(const QStringList& lines)
{
    TextRows rows;
    for (const QString& line : lines)
        rows << line.split(QLatin1Char('|'));
    return rows;
}

QList<int> columns_of(const ColumnMapping& mapping)
{
    return QList<int>(std::begin(mapping.columns), std::end(mapping.columns));
}

} // namespace

class TestColumnMapping : public QObject
{
    Q_OBJECT

private slots:
    void header_words_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("role"); // -1: none

        const int name = int(PointRole::Name), code = int(PointRole::Code), north = int(PointRole::North),
                  east = int(PointRole::East), height = int(PointRole::Height);
        QTest::newRow("点名") << QString::fromUtf8("点名") << name;
        QTest::newRow("名称 with spaces") << QString::fromUtf8(" 名 称 ") << name;
        QTest::newRow("Point Name") << "Point Name" << name;
        QTest::newRow("编码") << QString::fromUtf8("编码") << code;
        QTest::newRow("代码") << QString::fromUtf8("代码") << code;
        QTest::newRow("北") << QString::fromUtf8("北") << north;
        QTest::newRow("北坐标 with unit") << QString::fromUtf8("北坐标（m）") << north;
        QTest::newRow("Northing [m]") << "Northing [m]" << north;
        QTest::newRow("N/m") << "N/m" << north;
        QTest::newRow("东坐标") << QString::fromUtf8("东坐标") << east;
        QTest::newRow("Easting") << "Easting" << east;
        QTest::newRow("高程") << QString::fromUtf8("高程") << height;
        QTest::newRow("H") << "H" << height;
        QTest::newRow("Elevation (m)") << "Elevation (m)" << height;
        QTest::newRow("X is never north") << "X" << -1;
        QTest::newRow("Y is never east") << "y" << -1;
        QTest::newRow("X坐标") << QString::fromUtf8("X坐标") << -1;
        QTest::newRow("纵坐标") << QString::fromUtf8("纵坐标") << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void header_words()
    {
        QFETCH(QString, header);
        QFETCH(int, role);
        PointRole found = PointRole::Name;
        QCOMPARE(role_of_header(header, &found) ? int(found) : -1, role);
    }

    void guess_data()
    {
        QTest::addColumn<TextRows>("rows");
        QTest::addColumn<int>("skip");
        QTest::addColumn<bool>("header");
        QTest::addColumn<QList<int>>("columns"); // name, code, N, E, Z

        QTest::newRow("Chinese header") << rows_of({QString::fromUtf8("点名|编码|N|E|Z"), "P1|K|1|2|3"}) << 0 << true
                                        << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("English header, other order")
            << rows_of({"Elevation|Easting|Northing|Description|Name"}) << 0 << true << QList<int>{4, 3, 2, 1, 0};
        QTest::newRow("X and Y left to the user")
            << rows_of({"Name|X|Y|H", "P1|3380000|500000|5"}) << 0 << true << QList<int>{0, -1, -1, -1, 3};
        QTest::newRow("first of two columns wins") << rows_of({"N|N|E"}) << 0 << true << QList<int>{-1, -1, 0, 2, -1};
        QTest::newRow("no header: numbers first")
            << rows_of({"P1|K|3380000.1|500000.2|5", "P2|K|1|2|3"}) << 0 << false << QList<int>{-1, -1, -1, -1, -1};
        QTest::newRow("header after title rows")
            << rows_of({"Survey of 2024", "", QString::fromUtf8("点号|北|东|高程"), "1|2|3|4"}) << 2 << true
            << QList<int>{0, -1, 1, 2, 3};
        QTest::newRow("unknown words: a header without roles")
            << rows_of({"alpha|beta", "1|2"}) << 0 << true << QList<int>{-1, -1, -1, -1, -1};
        QTest::newRow("skip past the end") << rows_of({"N|E"}) << 5 << false << QList<int>{-1, -1, -1, -1, -1};
    }

    void guess()
    {
        QFETCH(TextRows, rows);
        QFETCH(int, skip);
        const ColumnMapping mapping = guess_mapping(rows, skip);
        QCOMPARE(mapping.skip_rows, skip);
        QTEST(mapping.header, "header");
        QTEST(columns_of(mapping), "columns");
    }

    void column_letters_both_ways_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("letters");
        QTest::newRow("A") << 0 << "A";
        QTest::newRow("Z") << 25 << "Z";
        QTest::newRow("AA") << 26 << "AA";
        QTest::newRow("AZ") << 51 << "AZ";
        QTest::newRow("ZZ") << 701 << "ZZ";
        QTest::newRow("AAA") << 702 << "AAA";
    }

    void column_letters_both_ways()
    {
        QFETCH(int, column);
        QFETCH(QString, letters);
        QCOMPARE(column_letters(column), letters);
        QCOMPARE(column_from_letters(letters), column);
        QCOMPARE(column_from_letters(letters.toLower()), column);
    }

    void not_column_letters()
    {
        for (const QString& text : {QString(), QString("A1"), QString("ABCD"), QString("-"), QString::fromUtf8("点")})
            QCOMPARE(column_from_letters(text), -1);
    }

    void column_choice_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QStringList>("header");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QList<int>>("columns");

        const QStringList chinese = QString::fromUtf8("点名,编码,X,Y,H").split(',');
        const QList<int> unchanged{9, 9, 9, 9, 9};
        QTest::newRow("by header") << QString::fromUtf8("点名,编码,X,Y,H") << chinese << int(ColumnChoiceError::None)
                                   << "" << QList<int>{0, 1, 2, 3, 4};
        QTest::newRow("north is Y") << QString::fromUtf8("点名,, y ,x,") << chinese << int(ColumnChoiceError::None)
                                    << "" << QList<int>{0, -1, 3, 2, -1};
        QTest::newRow("by letters") << "A,,C,D,AB" << QStringList() << int(ColumnChoiceError::None) << ""
                                    << QList<int>{0, -1, 2, 3, 27};
        QTest::newRow("header before letter") << "name,,N,E," << QStringList{"E", "name", "N"}
                                              << int(ColumnChoiceError::None) << "" << QList<int>{1, -1, 2, 0, -1};
        QTest::newRow("letter N without a header")
            << "A,B,N,O,P" << QStringList() << int(ColumnChoiceError::None) << "" << QList<int>{0, 1, 13, 14, 15};
        QTest::newRow("three items") << "A,B,C" << QStringList() << int(ColumnChoiceError::WrongCount) << "A,B,C"
                                     << unchanged;
        QTest::newRow("unknown column") << "A,B,north side,D,E" << chinese << int(ColumnChoiceError::UnknownColumn)
                                        << "north side" << unchanged;
        QTest::newRow("same column twice")
            << "A,B,C,c,E" << QStringList() << int(ColumnChoiceError::SameColumnTwice) << "c" << unchanged;
        QTest::newRow("no east") << "A,B,C,,E" << QStringList() << int(ColumnChoiceError::NoCoordinates) << ""
                                 << unchanged;
    }

    void column_choice()
    {
        QFETCH(QString, choice);
        QFETCH(QStringList, header);
        ColumnMapping mapping;
        std::fill(std::begin(mapping.columns), std::end(mapping.columns), 9);
        mapping.skip_rows = 3;
        ColumnChoiceError error;
        const bool ok = parse_column_choice(choice, header, &mapping, &error);
        QTEST(int(error.kind), "error");
        QCOMPARE(ok, error.kind == ColumnChoiceError::None);
        QTEST(error.item, "item");
        QTEST(columns_of(mapping), "columns");
        QCOMPARE(mapping.skip_rows, 3); // only the columns change
    }

    void apply()
    {
        const TextRows rows = rows_of({"title", QString::fromUtf8("点名|N|E|H|编码"), " P1 | 3380000.120 |500000|5|K",
                                       "", "||", "P2|north|500001", "P,3|1|2|3|a,b", "001|1|2"});
        ColumnMapping mapping = guess_mapping(rows, 1);
        QVERIFY(mapping.header && mapping.has_coordinates());
        QCOMPARE(mapping.first_data_row(), 2);
        const MappedPoints points = apply_mapping(rows, mapping);
        QCOMPARE(points.lines,
                 QStringList({"P1,K,3380000.120,500000,5", "P2,,north,500001,", "P;3,a;b,1,2,3", "001,,1,2,"}));
        QCOMPARE(points.blank_rows, 2);
        QCOMPARE(points.not_numbers, 1);
        QCOMPARE(points.changed_characters, 2);

        mapping.header = false; // the header row is then data, with text where numbers belong
        QCOMPARE(apply_mapping(rows, mapping).lines.first(), QString::fromUtf8("点名,编码,N,E,H"));
        QCOMPARE(apply_mapping(rows, mapping).not_numbers, 2);
    }
};

QTEST_GUILESS_MAIN(TestColumnMapping)
#include "tst_columnmapping.moc"
