// Workbooks made with openpyxl (and an OpenDocument sheet written by hand) read through GDAL as
// texts, their columns found from the header or given, and turned into point lines.
#include "gis/workbookreader.h"
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
    }
};

QTEST_GUILESS_MAIN(TestWorkbookReading)
#include "tst_workbookreading.moc"
