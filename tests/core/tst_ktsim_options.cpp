// ktsim's own command line and reactions: wrong usage and unreadable inputs end it with a message and
// status 2 or 1, Ctrl-C ends it cleanly, and the instrument it plays ignores noise and repeats an
// unanswered frame.
#include "support/core/ktest_core.h"
#include "support/core/ptyinstrument.h"
#include "support/core/simprocess.h"

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>

#include <csignal>

namespace
{

const QString kPoints = QString(KT_SOURCE_DIR) + "/samples/points.gdat";

// Everything ktsim sends within `ms`, read on the pty's slave.
QByteArray read_for(QSerialPort& port, int ms)
{
    QByteArray got;
    QTest::qWaitFor(
        [&] {
            got += port.readAll();
            return false;
        },
        ms);
    return got + port.readAll();
}

QByteArray read_count(QSerialPort& port, int count)
{
    QByteArray got;
    QTest::qWaitFor(
        [&] {
            got += port.readAll();
            return got.size() >= count;
        },
        30000);
    return got;
}

} // namespace

class TestKtsimOptions : public QObject
{
    Q_OBJECT

    QTemporaryDir files_; // input files the rows name

private slots:
    void failures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        QTemporaryDir dir;
        const QString nowhere = "/nonexistent/ktsim";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "";
        QTest::newRow("nothing") << QStringList() << 2 << "--type is missing";
        QTest::newRow("unknown type") << QStringList{"--type", "KT99", "--pty"} << 2 << "unknown type KT99";
        QTest::newRow("unknown argument")
            << QStringList{"--type", "KT40", "--pty", "--fast"} << 2 << "unknown argument --fast";
        QTest::newRow("value missing") << QStringList{"--type", "KT40", "--pty", "--points"} << 2
                                       << "--points needs a value";
        QTest::newRow("no port") << QStringList{"--type", "KT40"} << 2 << "give one of --port NAME and --pty";
        QTest::newRow("two ports") << QStringList{"--type", "KT40", "--pty", "--port", "x"} << 2
                                   << "give one of --port NAME and --pty";
        QTest::newRow("KT90 without jobs") << QStringList{"--type", "KT90", "--pty"} << 2 << "KT90 needs --jobs DIR";
        QTest::newRow("KT90 with points")
            << QStringList{"--type", "KT90", "--pty", "--jobs", "d", "--points", "p"} << 2 << "KT90 holds jobs";
        QTest::newRow("jobs for KT40") << QStringList{"--type", "KT40", "--pty", "--jobs", "d"} << 2
                                       << "--jobs is for KT90";
        QTest::newRow("measured for KT40") << QStringList{"--type", "KT40", "--pty", "--measured", "m"} << 2
                                           << "--measured is for KT20_KT40 and KT85R";
        QTest::newRow("odd baud rate") << QStringList{"--type", "KT40", "--pty", "--baud", "1000"} << 2
                                       << "--baud 1000";
        QTest::newRow("bad delay") << QStringList{"--type", "KT40", "--pty", "--delay-ms", "-5"} << 2
                                   << "--delay-ms -5";
        QTest::newRow("out of no format")
            << QStringList{"--type", "KT40", "--pty", "--out", "x.xyz"} << 2 << "--out x.xyz";
        QTest::newRow("points unreadable") << QStringList{"--type", "KT40", "--pty", "--points", nowhere + ".gdat"} << 1
                                           << "cannot read " + nowhere + ".gdat";
        QTest::newRow("points of no format")
            << QStringList{"--type", "KT40", "--pty", "--points", QString(KT_SOURCE_DIR) + "/README.md"} << 1
            << "no point in";
        QTest::newRow("measured without observations")
            << QStringList{"--type", "KT20_KT40", "--pty", "--measured", kPoints} << 1
            << "no station, backsight or measured point";
        QTest::newRow("jobs not a folder")
            << QStringList{"--type", "KT90", "--pty", "--jobs", nowhere} << 1 << "not a readable folder";
        QTest::newRow("port cannot open")
            << QStringList{"--type", "KT40", "--port", nowhere} << 1 << "cannot open " + nowhere;
        QTest::newRow("log unwritable") << QStringList{"--type", "KT40", "--pty", "--log", nowhere + "/log"} << 1
                                        << "cannot write the log";
        // What reading met is told before the port is opened.
        const QString utf8 = files_.filePath(QString::fromUtf8("点.TXT"));
        QFile u8(utf8);
        if (u8.open(QIODevice::WriteOnly))
            u8.write(QString::fromUtf8("测点1,树,1,2,3\n").toUtf8());
        QTest::newRow("a UTF-8 file with a Chinese name and upper-case suffix")
            << QStringList{"--type", "KT40", "--port", nowhere, "--points", utf8} << 1 << utf8 + " read as UTF-8";
        const QString gdat = files_.filePath("short.gdat");
        QFile g(gdat);
        if (g.open(QIODevice::WriteOnly))
            g.write("1,P1,1,2,3,K\n2,P2\n");
        QTest::newRow("lines too short") << QStringList{"--type", "KT40", "--port", nowhere, "--points", gdat} << 1
                                         << gdat + ": 1 lines skipped: fewer than 6 fields";
    }

    void failures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        QString err;
        QCOMPARE(run_ktsim(args, &err), status);
        QVERIFY2(err.contains(message), qPrintable(err));
    }

    void ctrl_c_ends_cleanly()
    {
        QProcess sim;
        sim.start(QString(KT_RUN_DIR) + "/ktsim", {"--type", "KT40", "--pty"});
        QVERIFY(sim.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine(), 30000);
        QVERIFY(sim.readLine().startsWith("port: /dev/"));
        ::kill(pid_t(sim.processId()), SIGINT);
        QVERIFY(sim.waitForFinished(30000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
    }

    // Noise before an answer is dropped; an unanswered record is sent again, byte for byte.
    void kt40_noise_and_repeat()
    {
        SimProcess sim({"--type", "KT40", "--points", kPoints});
        QSerialPort port(sim.port());
        QVERIFY(port.open(QIODevice::ReadWrite));
        const QByteArray header = read_count(port, 13).left(13);
        QCOMPARE(header.toHex(' '), QByteArray("aa 80 70 6f 69 6e 74 73 20 00 24 aa 82"));
        read_for(port, 100); // repeated offers
        port.write(QByteArray::fromHex("5a5aaa81"));
        const QByteArray record = read_count(port, 68);
        QCOMPARE(record.size(), 68);
        QVERIFY(record.startsWith("\x90  000001 PT001 "));
        QVERIFY(sim.wait_for_message("ignored bytes that begin no frame: 5a 5a"));
        // No acknowledgement: after the answer time the same record comes again.
        QCOMPARE(read_count(port, 68), record);
        QVERIFY(sim.wait_for_message("no answer to record 1; sent again (1/3)"));
        QCOMPARE(sim.stop(), 0);
    }

    // Tests of other processes open ptys beside this one: a window that opens a killed ktsim's port
    // again must find no device, not the line another test's pty now has under the same number.
    void killed_port_is_not_given_to_another_pty()
    {
        SimProcess sim({"--type", "KT40"});
        const QString port = sim.port();
        QVERIFY(!port.isEmpty());
        sim.kill();
        PtyInstrument next; // the lowest free number
        QVERIFY(!next.port_name().isEmpty());
        QVERIFY2(next.port_name() != port, qPrintable(port));
        QSerialPort old(port);
        QVERIFY(!old.open(QIODevice::ReadWrite));
    }
};

KT_CORE_TEST_MAIN(TestKtsimOptions)
#include "tst_ktsim_options.moc"
