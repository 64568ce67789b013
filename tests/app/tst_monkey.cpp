// The monkey against each instrument type in turn: the real window and the real ktsim on a pty, driven by
// random actions from a seed (KT_MONKEY_SEED, default fixed) for KT_MONKEY_SECONDS a type (default 45),
// the invariants checked after every action. A failure prints the seed and the last 50 actions.
#include "support/app/monkey.h"
#include "support/ui/ktest.h"

#include <cstdio>

namespace
{

constexpr quint64 kDefaultSeed = 20261209;
constexpr int kDefaultSeconds = 45;

quint64 seed()
{
    bool ok = false;
    const quint64 value = qgetenv("KT_MONKEY_SEED").toULongLong(&ok);
    return ok ? value : kDefaultSeed;
}

int seconds()
{
    bool ok = false;
    const int value = qgetenv("KT_MONKEY_SECONDS").toInt(&ok);
    return ok && value > 0 ? value : kDefaultSeconds;
}

// QtTest ends a test function after 300 s, and Qt 5 counts all its rows together: the monkey's limit
// grows with its five types' seconds (a limit set from outside is kept). Set before QtTest reads it.
[[maybe_unused]] const bool function_timeout_set = [] {
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number((5LL * seconds() + 300) * 1000));
    return true;
}();

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void monkey_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("data");
        QTest::addColumn<int>("stream"); // each row draws its own sequence from the run's seed
        QTest::newRow("KT40") << "KT40" << QStringList{"--points", "@points.gdat"} << 1;
        QTest::newRow("KT20_KT40 coordinates") << "KT20_KT40" << QStringList{"--points", "@points.gdat"} << 2;
        QTest::newRow("KT20_KT40 measured data") << "KT20_KT40" << QStringList{"--measured", "@ROAD1.obs"} << 3;
        QTest::newRow("KT85R") << "KT85R" << QStringList{"--points", "@points.gdat"} << 4;
        QTest::newRow("KT90 with jobs") << "KT90" << QStringList{"--jobs", "@jobs"} << 5;
    }

    void monkey()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, data);
        QFETCH(int, stream);
        Monkey monkey({type, data, seed(), stream, seconds()});
        QVERIFY2(monkey.sim->running() && !monkey.sim->port().isEmpty(), qPrintable(monkey.sim->err()));
        QString report;
        int steps = 0;
        const bool passed = monkey.run(&report, &steps);
        if (!passed)
            std::fputs(qPrintable(report), stderr); // whole: QtTest cuts long messages
        QVERIFY2(passed, qPrintable(report.section('\n', 0, 0)));
        qInfo("%s: %d actions, KT_MONKEY_SEED=%llu", QTest::currentDataTag(), steps, seed());
    }
};

KT_TEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
