// The communication log on its own (lines, files per day, rotation, the file limit) and the writer of
// one configuration setting.
#include "comm/commlog.h"
#include "config/settingwriter.h"
#include "config/xml_analysis.h"
#include "support/core/ktest_core.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace
{

const QDateTime kWhen(QDate(2026, 12, 9), QTime(5, 30, 1, 23));

QStringList files_in(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestCommLog : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<bool>("received");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("an acknowledgement sent")
            << false << QByteArray::fromHex("aa81") << QByteArray("2026-12-09 05:30:01.023 TX COM3 AA 81 |..|\n");
        QTest::newRow("text and controls received")
            << true
            << QByteArray("\x06"
                          "0001 JOB\r",
                          10)
            << QByteArray("2026-12-09 05:30:01.023 RX COM3 06 30 30 30 31 20 4A 4F 42 0D |.0001 JOB.|\n");
        // A long block is cut into lines of 32 bytes, each with the time, direction and port.
        QTest::newRow("a long block") << true << QByteArray(40, 'A')
                                      << "2026-12-09 05:30:01.023 RX COM3 " + QByteArray(32, 'A').toHex(' ') + " |" +
                                             QByteArray(32, 'A') + "|\n" + "2026-12-09 05:30:01.023 RX COM3 " +
                                             QByteArray(8, 'A').toHex(' ') + " |" + QByteArray(8, 'A') + "|\n";
    }

    void lines()
    {
        QFETCH(bool, received);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        QCOMPARE(CommLog::lines(received, "COM3", bytes, kWhen), expected);
    }

    void files_per_day_rotation_and_limit()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/logs";
        const qint64 limit = 190; // bytes a file: four of the 47-byte lines below
        {
            CommLog log(folder, limit, 3);
            QVERIFY(log.write(true, "COM3", "\x01J\r", kWhen));
            QCOMPARE(log.current_file(), folder + "/comm-20261209-001.log");
            for (int i = 0; i < 9; ++i)
                QVERIFY(log.write(false, "COM3", "\x01J\r", kWhen));
            // Ten lines of 47 bytes, at most four a file: three files, none over the limit.
            QCOMPARE(files_in(folder),
                     (QStringList{"comm-20261209-001.log", "comm-20261209-002.log", "comm-20261209-003.log"}));
            for (const QString& name : files_in(folder))
                QVERIFY(QFileInfo(folder + "/" + name).size() <= limit);
            // The next day opens its own file; past three files the oldest goes.
            QVERIFY(log.write(true, "COM3", "x", kWhen.addDays(1)));
            QCOMPARE(files_in(folder),
                     (QStringList{"comm-20261209-002.log", "comm-20261209-003.log", "comm-20261210-001.log"}));
        }
        // Another run the same day goes on in the day's latest file; files not of the log are left alone.
        QFile other(folder + "/notes.txt");
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        CommLog again(folder, limit, 3);
        QVERIFY(again.write(true, "COM4", "y", kWhen.addDays(1)));
        QCOMPARE(again.current_file(), folder + "/comm-20261210-001.log");
        QVERIFY(read_file(again.current_file()).endsWith(" RX COM4 79 |y|\n"));
        QVERIFY(QFile::exists(folder + "/notes.txt"));
    }

    void setting_replaced_others_kept()
    {
        QTemporaryDir dir;
        const QString file = dir.path() + "/config/config.xml";
        QDir().mkpath(dir.path() + "/config");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- settings -->\n<CONFIG>\n"
                "  <language>English</language>\n</CONFIG>\n");
        f.close();
        QString error;
        xml_analysis xml;
        QVERIFY(replace_setting(file, "commlog", "1", &error));
        QCOMPARE(xml.get_config(file, "commlog"), QString("1"));
        QVERIFY(replace_setting(file, "commlog", "0", &error));
        QCOMPARE(xml.get_config(file, "commlog"), QString("0"));
        QCOMPARE(xml.get_config(file, "language"), QString("English"));
        const QByteArray text = read_file(file);
        QVERIFY(text.contains("<!-- settings -->"));
        QCOMPARE(text.count("<commlog>"), 1);
        // A file that is not XML is left as it was.
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("not xml <");
        f.close();
        QVERIFY(!replace_setting(file, "commlog", "1", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(read_file(file), QByteArray("not xml <"));
    }
};

KT_CORE_TEST_MAIN(TestCommLog)
#include "tst_commlog.moc"
