// One rule for what is not a number, through ktconvert into every kind of output: a row whose N or E
// is no finite number is left out of a drawing, LandXML and GIS layers and counted, kept as text in
// the text formats and counted; a Z that is no number gives a drawing no height label; an output that
// could take no point is not written; fields past a column format's five are counted.
#include "support/core/geotest.h"
#include "support/core/ktest_core.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace
{

// Two points (the second without a height) among rows whose N is no number in each way a file has
// shown it: infinite, not a number, empty, too large for a double, full-width digits, digit groups.
const char kMixed[] = "A,,3520100,512300,1\nB,,inf,512300,1\nC,,nan,5,1\nD,,,5,1\nE,,1e400,5,1\n"
                      "F,,３５２０１００,5,1\nG,,3 520 100,5,1\nI,,3520101,512301,\n";
const char kNoneNumeric[] = "B,,inf,512300,1\nC,,NaN,5,1\n";

} // namespace

class TestNotANumber : public QObject
{
    Q_OBJECT

private slots:
    void outputs_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<QStringList>("held"); // texts the output holds; empty: no output at all
        QTest::addColumn<QStringList>("not_held");

        QTest::newRow("text keeps every row and counts")
            << QByteArray(kMixed) << "out.gdat" << 0 << QStringList{"6 rows written as they stand", "wrote 8 points"}
            << QStringList{"8,I,3520101,512301,,", "5,E,1e400,5,1,"} << QStringList();
        QTest::newRow("drawing leaves them out, a point without a height has no label")
            << QByteArray(kMixed) << "out.dxf" << 0
            << QStringList{"6 points not written: N or E is not a number", "1 points drawn without a height",
                           "wrote 2 points"}
            << QStringList{"3520101.000"} << QStringList{"1e400", "inf", "\n  1\n0.000\n"};
        QTest::newRow("LandXML leaves them out")
            << QByteArray(kMixed) << "out.xml" << 0 << QStringList{"6 points not written", "wrote 2 points"}
            << QStringList{"name=\"I\""} << QStringList{"1e400", "name=\"E\""};
        QTest::newRow("no point a drawing can take: nothing written")
            << QByteArray(kNoneNumeric) << "out.dxf" << 1
            << QStringList{"out.dxf not written: none of the 2 points read"} << QStringList() << QStringList();
        QTest::newRow("a decimal comma in a comma file: the extra fields counted")
            << QByteArray("P2,C2,3520100,123,512300,456,42,15\n") << "out.gdat" << 0
            << QStringList{"1 lines had more fields than the format holds"} << QStringList{"1,P2,3520100,123,512300,C2"}
            << QStringList();
    }

    void outputs()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, output);
        QFETCH(QStringList, told);
        QFETCH(QStringList, held);
        QFETCH(QStringList, not_held);
        QTemporaryDir dir;
        QVERIFY(write_bytes(dir.filePath("in.txt"), input));
        QProcess process;
        process.start(QString(KT_RUN_DIR) + "/ktconvert", {dir.filePath("in.txt"), dir.filePath(output)});
        QVERIFY(process.waitForFinished(60000));
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QTEST(process.exitCode(), "status");
        for (const QString& text : told)
            QVERIFY2(err.contains(text), qPrintable(err));
        QFile file(dir.filePath(output));
        QCOMPARE(file.exists(), !held.isEmpty());
        if (held.isEmpty())
            return;
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString written = QString::fromUtf8(file.readAll()).replace("\r\n", "\n");
        for (const QString& text : held)
            QVERIFY2(written.contains(text), qPrintable(text));
        for (const QString& text : not_held)
            QVERIFY2(!written.contains(text), qPrintable(text));
    }
};

KT_CORE_TEST_MAIN(TestNotANumber)
#include "tst_notanumber.moc"
