// Number texts read and written in bulk give what Qt's conversions give, bit for bit and byte for byte,
// on hostile texts and values and on seeded sweeps of generated ones.
#include "data/numbertext.h"
#include "support/core/ktest_core.h"

#include <QRandomGenerator>
#include <cmath>
#include <cstring>

class TestNumberText : public QObject
{
    Q_OBJECT

    static QString random_text(QRandomGenerator& random, const char* alphabet, int longest)
    {
        QString text;
        for (int i = 0, n = 1 + random.bounded(longest); i < n; ++i)
            text += QLatin1Char(alphabet[random.bounded(int(std::strlen(alphabet)))]);
        return text;
    }

    // Coordinates, their digits, dyadic halves, and values of every magnitude from their bits.
    static double random_value(QRandomGenerator& random, int kind)
    {
        const double sign = random.bounded(2) ? -1.0 : 1.0;
        const double r = random.generateDouble() * 1e7;
        switch (kind % 4) {
        case 0:
            return sign * r;
        case 1:
            return sign * std::round(r * 1e3) / 1e3;
        case 2:
            return sign * std::round(r * 256) / 4096;
        }
        const quint64 bits = random.generate64();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    static bool same_bits(const double* values, int count)
    {
        for (int i = 1; i < count; ++i) {
            if (std::memcmp(&values[0], &values[i], sizeof(double)) != 0)
                return false;
        }
        return true;
    }

private slots:
    void reading_data()
    {
        QTest::addColumn<QStringList>("texts");
        QStringList hostile =
            QString::fromUtf8("1|+1|-1|1.|.5|+.5|-.5e-3|00012|1e007|1E5|1e+5|1e|1e+|.|+|-||  -12.5  |\t1\n|"
                              "1,5|1,234.5|1 000|1_000|0x10|1p3|1d5|1f|inf|+inf|-INF|Inf|infinity|nan|NaN|"
                              "-nan|+nan|1e400|-1e400|1e-400|-1e-400|4.9e-324|2.5e-324|1e-320|"
                              "2.2250738585072011e-308|1.7976931348623157e308|1.7976931348623159e308|"
                              "0e99999|0.0e-999|1e0000000000000000000000000001|-0|-0.0|+0|00|--1|+-1|1e5.5|"
                              "1.2.3|1..2|e5|.e5|5.e5|0.|9007199254740993|0.1000000000000000055511151231|"
                              "١٢|１２|−1|－1|\u30001.5\u3000|\u00a01|1\u2009|1\r")
                .split(QLatin1Char('|'));
        hostile << QString(46, QLatin1Char('9')) + ".5" << QString(47, QLatin1Char('9')) + ".5"
                << QString(400, QLatin1Char('9')) << "0." + QString(400, QLatin1Char('0')) + "1";
        QTest::newRow("hostile") << hostile;
        QRandomGenerator random(29);
        QStringList alphabet, values;
        for (int i = 0; i < 50000; ++i) {
            alphabet << random_text(random, "0123456789+-.eE ", 12);
            const double value = random_value(random, i);
            values << QString::number(value, 'g', 1 + random.bounded(17)) << QString::number(value, 'f', 6)
                   << QString::asprintf("%.*e", random.bounded(20), value);
        }
        QTest::newRow("number characters") << alphabet;
        QTest::newRow("values written") << values;
    }

    void reading()
    {
        QFETCH(QStringList, texts);
        for (const QString& text : texts) {
            bool ok = false;
            bool qt_ok = false;
            bool view_ok = false;
            const double values[] = {text_to_double(text, &ok), text.trimmed().toDouble(&qt_ok),
                                     QStringView(text).trimmed().toDouble(&view_ok), text_to_double(text)};
            QVERIFY2(ok == qt_ok && ok == view_ok && same_bits(values, 4), qPrintable(text));
        }
    }

    void writing()
    {
        const double hostile[] = {0.0625,   -0.0625,   100.0625,
                                  0.5,      2.5,       -0.0,
                                  0.0,      -0.0001,   1e-300,
                                  5e-324,   0.0015,    999999999999999.9,
                                  1e15,     1e300,     -1.7976931348623157e308,
                                  INFINITY, -INFINITY, NAN};
        QRandomGenerator random(8);
        QVector<double> values(std::begin(hostile), std::end(hostile));
        for (int i = 0; i < 100000; ++i)
            values << random_value(random, i);
        for (int i = 0; i < values.size(); ++i) {
            for (const int decimals : {3, i % 32 - 1}) {
                const QString text = QString::number(values[i], 'f', decimals);
                QVERIFY2(double_to_fixed(values[i], decimals) == text, qPrintable(text));
            }
        }
    }
};

KT_CORE_TEST_MAIN(TestNumberText)
#include "tst_numbertext.moc"
