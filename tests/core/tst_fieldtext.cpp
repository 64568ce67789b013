// The field routines shared by the wire codecs and the table.
#include "data/fieldtext.h"
#include "support/core/ktest_core.h"

class TestFieldText : public QObject
{
    Q_OBJECT

private slots:
    void decimals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("result");
        QTest::newRow("spaces around") << "   1234.5 " << 4 << "1234.5000";
        QTest::newRow("rounded") << "1234.5678" << 3 << "1234.568";
        QTest::newRow("zero filled") << "0000001234.5" << 3 << "1234.500";
        QTest::newRow("zero filling before a minus sign") << "000000-12.345" << 4 << "-12.3450";
        QTest::newRow("plain negative") << "-12.345" << 3 << "-12.345";
        QTest::newRow("minus between digits is no number") << "12-5" << 4 << "0.0000";
        QTest::newRow("no number") << "abc" << 4 << "0.0000";
        QTest::newRow("empty") << "" << 3 << "0.000";
        QTest::newRow("no decimals asked: unchanged") << " 12 " << 0 << " 12 ";
    }

    void decimals()
    {
        QFETCH(QString, text);
        QFETCH(int, decimals);
        QFETCH(QString, result);
        QCOMPARE(fixed_decimals(text, decimals), result);
    }

    void angles_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("marked");
        QTest::newRow("seven digits") << "1234512" << QString::fromUtf8("123°45'12\"");
        QTest::newRow("ninety degrees") << "0900000" << QString::fromUtf8("090°00'00\"");
        QTest::newRow("six characters stay") << "123451"
                                             << "123451";
    }

    void angles()
    {
        QFETCH(QString, digits);
        QFETCH(QString, marked);
        QCOMPARE(angle_text(digits, 0), marked);
        QCOMPARE(angle_text(marked, 1), digits);
    }

    void fields()
    {
        const QByteArray frame("\x02"
                               "AB\0C  ",
                               7);
        QCOMPARE(field_text(frame, 1, 4), QString("ABC"));
        QCOMPARE(field_text(frame, 4, 10), QString("C  ")); // clipped to the buffer
        QCOMPARE(field_text(frame, 9, 3), QString());
        QCOMPARE(field_text(frame, 1, 2, 5, "0", 0), QString("000AB"));
        QCOMPARE(field_text(QByteArray("\xB0", 1), 0, 1), QString(QChar(0xB0)));
    }
};

KT_CORE_TEST_MAIN(TestFieldText)
#include "tst_fieldtext.moc"
