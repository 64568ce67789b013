// Workbooks made with openpyxl (and an OpenDocument sheet written by hand) read as texts, their
// columns found from the header or given, and turned into point lines; hidden sheets passed over,
// numbers shown as dates read as numbers, damaged sheets refused.
#include "gis/workbookreader.h"
#include "gis/xlsxbook.h"
#include "support/core/geotest.h"

#include <QTemporaryDir>
#include <QTest>

namespace
{

const QString kMaker = QStringLiteral(KT_SOURCE_DIR "/tests/data/geo/make_workbooks.py");

} // namespace

class TestWorkbookReading : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

    WorkbookRows read_made(const QString& made)
    {
        const QString path = dir_.filePath(QString(made).replace(' ', '_'));
        if (run_judge(KT_PYTHON, {kMaker, path, made.section('.', 0, 0)}).isNull())
            return WorkbookRows();
        return read_workbook(path);
    }

private slots:
    void read_and_map_data()
    {
        QTest::addColumn<QString>("made"); // KIND.SUFFIX for make_workbooks.py
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("choice"); // empty: the guessed columns
        QTest::addColumn<QString>("sheet");

        const QString sheet = QString::fromUtf8("点");
        // Numbers as stored ("12.5"; the OpenDocument value, not its display text "3380000.100"), text
        // cells as they are ("001", "3380001.100"), Excel's 17 digits of 2.1 as the sheet shows them,
        // an empty row left out.
        QTest::newRow("header in Chinese")
            << "header.xlsx"
            << QStringList{QString::fromUtf8("P1,树,3380000.123,500000.456,12.5"), "001,,3380001.100,500001,",
                           "17,K,2.1,1.234567890123457e+18,-0.5"}
            << "" << sheet;
        QTest::newRow("X and Y as the user says")
            << "xy.xlsx" << QStringList{"A,,3380000.5,500000.25,7"} << "Name,,X,Y,H" << sheet;
        QTest::newRow("no header, by letters")
            << "no header.xlsx" << QStringList{"P1,K,3380000.5,500000.25,7", "P2,K,3380001,500001,8"} << "A,B,C,D,E"
            << sheet;
        QTest::newRow("OpenDocument") << "ods.ods" << QStringList{"Q1,,3380000.1,500000.2,3.25"} << ""
                                      << QString::fromUtf8("点表");
        // Dates and times show the number they hold, whatever the format.
        const QStringList dated{"H1,,3380000.5,500000.25,42.15", "H2,,3380001,500001,43.5", "H3,,1,2,3"};
        QTest::newRow("after a hidden sheet") << "hidden.xlsx" << dated << "" << sheet;
        QTest::newRow("after two hidden sheets") << "two hidden.xlsx" << dated << "" << sheet;
        // Shared texts, rich runs without their phonetic guide, inline texts with spaces.
        QTest::newRow("rich and shared texts") << "rich.xlsx" << QStringList{"Rich,,7,2,", "S1,,3,4,"} << "" << sheet;
    }

    void read_and_map()
    {
        QFETCH(QString, made);
        QFETCH(QString, choice);
        const WorkbookRows book = read_made(made);
        QVERIFY2(book.ok(), qPrintable(book.message));
        QTEST(book.sheet, "sheet");
        QVERIFY(book.complaint.isEmpty());
        ColumnMapping mapping = guess_mapping(book.rows);
        if (choice.isEmpty()) {
            QVERIFY(mapping.has_coordinates());
        } else {
            QVERIFY(!mapping.has_coordinates()); // X and Y, or no header: every column is asked for
            ColumnChoiceError error;
            QVERIFY(parse_column_choice(choice, mapping.header ? book.rows.first() : QStringList(), &mapping, &error));
        }
        QTEST(apply_mapping(book.rows, mapping).lines, "lines");
    }

    void rows_keep_their_places()
    {
        const WorkbookRows book = read_made("header.xlsx");
        QCOMPARE(book.sheet_count, 2);
        QCOMPARE(book.rows.size(), 5);
        QCOMPARE(book.rows.at(0), QString::fromUtf8("点名,编码,N,E,Z").split(','));
        QCOMPARE(book.rows.at(2), QStringList({"001", "", "3380001.100", "500001"})); // trailing empties cut
        QVERIFY(book.rows.at(3).isEmpty());
    }

    void what_the_sheet_shows_data()
    {
        QTest::addColumn<QString>("made");
        QTest::addColumn<QStringList>("hidden"); // hidden sheets passed over
        QTest::addColumn<int>("dated");          // numbers shown as dates in N, E and Z (columns B to D)
        QTest::addColumn<int>("sheets");
        QTest::newRow("visible first") << "header.xlsx" << QStringList() << 0 << 2;
        QTest::newRow("a hidden sheet first") << "hidden.xlsx" << QStringList{QString::fromUtf8("旧1")} << 3 << 2;
        QTest::newRow("hidden and very hidden")
            << "two hidden.xlsx" << QStringList{QString::fromUtf8("旧1"), QString::fromUtf8("旧2")} << 3 << 3;
    }

    void what_the_sheet_shows()
    {
        QFETCH(QString, made);
        const WorkbookRows book = read_made(made);
        QVERIFY2(book.ok(), qPrintable(book.message));
        QTEST(book.hidden_sheets, "hidden");
        QTEST(book.dated_in({1, 2, 3}), "dated");
        QTEST(book.sheet_count, "sheets");
        QCOMPARE(book.dated_in({0, 4}), 0);
    }

    void date_formats_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("date");
        QTest::newRow("general") << 0 << "" << false;
        QTest::newRow("built-in decimals") << 2 << "" << false;
        QTest::newRow("built-in date") << 14 << "" << true;
        QTest::newRow("built-in time") << 21 << "" << true;
        QTest::newRow("built-in Chinese date") << 31 << "" << true;
        QTest::newRow("built-in scientific") << 11 << "" << false;
        QTest::newRow("year month day") << 164 << "yyyy/mm/dd" << true;
        QTest::newRow("Chinese date") << 165 << QString::fromUtf8(R"(yyyy"年"m"月"d"日")") << true;
        QTest::newRow("elapsed hours") << 166 << "[h]:mm" << true;
        QTest::newRow("decimals") << 167 << "0.000" << false;
        QTest::newRow("exponent") << 168 << "0.00E+00" << false;
        QTest::newRow("unit in quotes") << 169 << R"(0.0 "m")" << false;
        QTest::newRow("colour and condition") << 170 << "[Red][<0]-0.000;0.000" << false;
        QTest::newRow("escaped letters") << 171 << R"(0.00\h\m)" << false;
        QTest::newRow("General written out") << 172 << "General" << false;
        QTest::newRow("padding") << 173 << "#,##0.00_);(#,##0.00)" << false;
        QTest::newRow("locale and date") << 174 << "[$-804]yyyy-mm-dd" << true;
        QTest::newRow("era year") << 175 << "ee" << true;
    }

    void date_formats()
    {
        QFETCH(int, id);
        QFETCH(QString, code);
        QTEST(is_date_format(id, code), "date");
    }

    // Rows are handed on as they are read, and the reading stops when asked to.
    void rows_streamed()
    {
        const QString path = dir_.filePath("header_stream.xlsx");
        QVERIFY(!run_judge(KT_PYTHON, {kMaker, path, "header"}).isNull());
        TextRows seen;
        WorkbookRows book;
        QVERIFY(read_workbook_rows(
            path,
            [&](const QStringList& row) {
                seen << row;
                return seen.size() < 2;
            },
            &book));
        QCOMPARE(seen.size(), 2);
        QVERIFY(book.rows.isEmpty());
        QCOMPARE(seen.at(1).first(), QString("P1"));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("text named xlsx") << QByteArray("P1,K,1,2,3\n") << "xlsx";
        QTest::newRow("zip of nothing") << QByteArray("PK\x05\x06\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22) << "xlsx";
    }

    void refused()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, suffix);
        const QString path = dir_.filePath("bad." + suffix);
        QVERIFY(write_bytes(path, content));
        const WorkbookRows book = read_workbook(path);
        QCOMPARE(int(book.status), int(WorkbookRows::CannotOpen));
        QVERIFY(book.rows.isEmpty());
        QCOMPARE(int(read_workbook(dir_.filePath("absent.xlsx")).status), int(WorkbookRows::CannotOpen));
        QVERIFY(!book.message.isEmpty());
    }

    // A sheet cut short is refused, naming the sheet, and gives no rows.
    void damaged_sheet()
    {
        const WorkbookRows book = read_made("cut.xlsx");
        QCOMPARE(int(book.status), int(WorkbookRows::CannotOpen));
        QVERIFY2(book.message.startsWith(QString::fromUtf8("the sheet \"点\" is damaged: ")), qPrintable(book.message));
        QVERIFY(book.rows.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWorkbookReading)
#include "tst_workbookreading.moc"
