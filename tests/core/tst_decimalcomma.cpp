// Numbers with decimal commas: one coordinate text under each mark, and ktconvert reading decimal
// commas, refusing thousands separators and comma-delimited files with the line named, and writing the
// CSV for spreadsheets byte for byte.
#include "data/decimalmark.h"
#include "support/core/ktconvertrun.h"
#include "support/core/ktest_core.h"
#include "support/core/workdir.h"

#include <QFileInfo>

Q_DECLARE_METATYPE(NumberReading)

class TestDecimalComma : public QObject
{
    Q_OBJECT

private slots:
    void number_texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<NumberReading>("reading");
        QTest::addColumn<QString>("point_text");
        const NumberReading number = NumberReading::Number, grouped = NumberReading::Grouped;
        QTest::newRow("decimal comma") << " -3520100,5e1 " << true << number << "-3520100.5e1";
        QTest::newRow("thousands points") << "3.520.100,123" << true << grouped << "";
        QTest::newRow("no-break spaces") << QString::fromUtf8("3\u00A0520\u00A0100,123") << true << grouped << "";
        QTest::newRow("a point where commas mark decimals") << "1.234" << true << grouped << "";
        QTest::newRow("a comma under points is never 1.234") << "1,234" << false << grouped << "";
        QTest::newRow("a name") << "A1,5" << true << NumberReading::NotNumber << "";
    }

    void number_texts()
    {
        QFETCH(QString, text);
        QFETCH(bool, comma);
        QString point_text;
        QTEST(read_number_text(text, comma ? DecimalMark::Comma : DecimalMark::Point, &point_text), "reading");
        QTEST(point_text, "point_text");
    }

    void through_ktconvert_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("input"); // in.csv
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("said"); // a part of standard error
        QTest::newRow("semicolons and decimal commas")
            << QStringList{"--decimal-comma", "--columns", "A,,B,C,D"}
            << QByteArray("A1;3520100,123;512300,456;42,15\r\nA2;1;2;3\r\n") << "out.txt" << 0
            << QByteArray("A1,,3520100.123,512300.456,42.15\nA2,,1,2,3\n") << "read 2 points";
        QTest::newRow("a thousands point names its line")
            << QStringList{"--decimal-comma"} << QByteArray("Pt\tN\tE\nA\t1\t2\nB\t3.520.100,123\t2\n") << "out.txt"
            << 1 << QByteArray() << "line 3: \"3.520.100,123\" is grouped by thousands";
        QTest::newRow("a comma file's 1,234 is not 1.234")
            << QStringList{"--decimal-comma"} << QByteArray("Pt,N,E\nA,\"1,234\",5\n") << "out.txt" << 1 << QByteArray()
            << "delimited by commas";
        QTest::newRow("the CSV for spreadsheets")
            << QStringList{"--spreadsheet"} << QByteArray("A1,K,3520100.123,512300.456,42.15\n") << "out.csv" << 0
            << QByteArray("\xEF\xBB\xBFName;Code;N;E;Z\nA1;K;3520100,123;512300,456;42,15\n") << "wrote 1 points";
        // Read back by its header row, without --decimal-comma; a plain comma file beginning otherwise is not.
        QTest::newRow("the CSV for spreadsheets read back")
            << QStringList{} << QByteArray("\xEF\xBB\xBFName;Code;N;E;Z\nA1;K;3520100,123;512300,456;42,15\n")
            << "out.txt" << 0 << QByteArray("A1,K,3520100.123,512300.456,42.15\n") << "read 1 points";
        QTest::newRow("a comma file stays comma lines")
            << QStringList{} << QByteArray("Name,Code,N,E,Z\nA1,K,1.5,2,3\n") << "out.txt" << 0
            << QByteArray("Name,Code,N,E,Z\nA1,K,1.5,2,3\n") << "";
        QTest::newRow("its suffix is csv")
            << QStringList{"--spreadsheet"} << QByteArray("A,,1,2,3\n") << "out.txt" << 2 << QByteArray() << "usage:";
    }

    void through_ktconvert()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, input);
        QFETCH(QString, output);
        QFETCH(QString, said);
        WorkDir dir(false);
        dir.write("in.csv", input);
        const Run run = ktconvert(options + QStringList{dir.file("in.csv"), dir.file(output)});
        QTEST(run.status, "status");
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        // A refused file writes nothing.
        QTEST(QFileInfo::exists(dir.file(output)) ? dir.read(output) : QByteArray(), "written");
    }
};

KT_CORE_TEST_MAIN(TestDecimalComma)
#include "tst_decimalcomma.moc"
