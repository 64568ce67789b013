// The check before a send against hostile tables and files: each row's findings in both KT20/KT40 frame
// sets, the row limits, the KT90 records and job names, and the question's wording of the findings.
#include "comm/sendcheck.h"
#include "comm/sendchecktext.h"
#include "config/xml_analysis.h"
#include "support/core/ktest_core.h"

using namespace sendcheck;
using kt2040::FrameSet;

namespace
{

const char* const kKindNames[] = {"TooLong",      "EqualOnceCut",     "NotLatin1",       "Empty",
                                  "NotNumber",    "DoesNotFit",       "Rounded",         "Changed",
                                  "RecordLength", "JobNameSeparator", "JobNameNotListed"};
const char* const kWhereNames[] = {"name", "code", "N", "E", "Z", "record", "job"};

// A finding as "kind where row: sent".
QString describe(const Finding& f)
{
    return QString("%1 %2 %3: %4").arg(kKindNames[int(f.kind)], kWhereNames[int(f.where)]).arg(f.row).arg(f.sent);
}

QStringList described(const Report& report)
{
    QStringList lines;
    for (const Finding& f : report.findings)
        lines << describe(f);
    return lines;
}

// A table row of the frame set's layout from a point line "name|code|N|E|Z".
QStringList row_of(FrameSet set, const QString& point)
{
    const QStringList f = point.split('|');
    if (set == FrameSet::Kt40)
        return f;
    QStringList cells;
    for (int c = 0; c < 15; ++c)
        cells << QString();
    const int columns[] = {2, 6, 3, 4, 5};
    for (int i = 0; i < 5; ++i)
        cells[columns[i]] = f.value(i);
    return cells;
}

const QStringList kJobCaptions{"Jobs", "JobList", "FixPoints", "MeasurementPoints", "", "", "", "", "", "empty"};

QString record_of(const QString& name)
{
    return name.leftJustified(16) + QString("CODE").leftJustified(16) + QString("3520115.626").rightJustified(21) +
           QString("512309.122").rightJustified(22) + QString("43.635").rightJustified(22);
}

} // namespace

class TestSendCheck : public QObject
{
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<QStringList>("findings");
        const int kt40 = int(FrameSet::Kt40), text = int(FrameSet::Kt20Kt40);
        QTest::newRow("KT40 as shown") << kt40 << QStringList{"PT1|C1|1234.567|-12.345|100"} << QStringList();
        QTest::newRow("KT40 names and codes cut")
            << kt40 << QStringList{"POINT101|CODE12345|1|2|3", "POINT102|C|1|2|3", "POINT10|C|1|2|3"}
            << QStringList{"TooLong name 0: POINT10", "TooLong code 0: CODE123", "TooLong name 1: POINT10",
                           "EqualOnceCut name 1: POINT10", "EqualOnceCut name 2: POINT10"};
        QTest::newRow("KT40 Chinese names")
            << kt40 << QStringList{QString::fromUtf8("控制点1|C|1|2|3"), QString::fromUtf8("界桩A|C|1|2|3")}
            << QStringList{"NotLatin1 name 0: 1", "NotLatin1 name 1: A"};
        QTest::newRow("KT40 coordinates")
            << kt40 << QStringList{"P1|C|99999999999999999|abc|", "P2|C|N/A|12345678.123456789|1e5"}
            << QStringList{"DoesNotFit N 0: 99999999999999", "NotNumber E 0: abc", "Empty Z 0: ", "NotNumber N 1: N/A",
                           "Rounded E 1: 12345678.12345",    "NotNumber Z 1: 1e5"};
        QTest::newRow("KT40 space inside a name")
            << kt40 << QStringList{"PT 1|C|1|2|3"} << QStringList{"Changed name 0: PT1"};
        QTest::newRow("KT20_KT40 as shown")
            << text << QStringList{"PT1|C|1234.5|-12.345|0", "PT2|C|1234.5670|+5|.5"} << QStringList();
        QTest::newRow("KT20_KT40 coordinates")
            << text << QStringList{"P1|C|12345678901234|abc|", "P2|C|1234.5678|0.0004|-1234567890123.5"}
            << QStringList{"DoesNotFit N 0: 1234567890123.0000",
                           "NotNumber E 0: 0.0000",
                           "Empty Z 0: 0.0000",
                           "Rounded N 1: 1234.5680",
                           "Rounded E 1: 0.0000",
                           "DoesNotFit Z 1: -123456789012.0000"};
        QTest::newRow("KT20_KT40 names and codes")
            << text << QStringList{"POINTNAME0|CODE45678|1|2|3", QString::fromUtf8("点1|C|1|2|3")}
            << QStringList{"TooLong name 0: POINTNA", "TooLong code 0: CODE456", "NotLatin1 name 1: 1"};
    }

    void rows()
    {
        QFETCH(int, set);
        QFETCH(QStringList, points);
        QFETCH(QStringList, findings);
        QList<QStringList> rows;
        for (const QString& point : points)
            rows << row_of(FrameSet(set), point);
        const Report report = check_rows(FrameSet(set), rows);
        QCOMPARE(described(report), findings);
        QCOMPARE(report.clean(), findings.isEmpty());
    }

    void row_limits_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("limit");
        QTest::newRow("KT20_KT40 9,999") << int(FrameSet::Kt20Kt40) << 9999 << 9999;
        QTest::newRow("KT20_KT40 10,000") << int(FrameSet::Kt20Kt40) << 10000 << 9999;
        QTest::newRow("KT40 65,535") << int(FrameSet::Kt40) << 65535 << 65535;
        QTest::newRow("KT40 70,000") << int(FrameSet::Kt40) << 70000 << 65535;
    }

    void row_limits()
    {
        QFETCH(int, set);
        QFETCH(int, rows);
        QFETCH(int, limit);
        QList<QStringList> table;
        for (int r = 0; r < rows; ++r)
            table << row_of(FrameSet(set), "P|C|1|2|3");
        const Report report = check_rows(FrameSet(set), table);
        QCOMPARE(report.limit, limit);
        QCOMPARE(report.too_many(), rows > limit);
        QVERIFY(report.findings.isEmpty());
        // At the limit the frames still number every record: the last one's count fields read back.
        const QByteArray last = kt2040::sent_record(FrameSet(set), limit - 1, limit, table.first());
        const kt2040::Record back = kt2040::received_record(FrameSet(set), last);
        if (FrameSet(set) == FrameSet::Kt20Kt40)
            QCOMPARE(back.total, limit);
        QCOMPARE(back.number, limit);
        if (FrameSet(set) == FrameSet::Kt40)
            QCOMPARE(kt2040::header_count(kt2040::kt40_header(limit)), limit);
    }

    void upload_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<bool>("new_job");
        QTest::addColumn<QString>("job");
        QTest::addColumn<QStringList>("findings");
        const QStringList two{record_of("KZ1"), record_of("KZ2")};
        QTest::newRow("existing job") << two << false << QString("../ignored") << QStringList();
        QTest::newRow("new job") << two << true << QString("NEWJOB") << QStringList();
        QTest::newRow("short and Chinese records")
            << QStringList{record_of("KZ1"), record_of("KZ2").left(95), record_of(QString::fromUtf8("路口1"))} << false
            << QString()
            << QStringList{
                   "RecordLength record 1: ",
                   "NotLatin1 record 2: " +
                       record_of(QString::fromUtf8("路口1")).replace(QString::fromUtf8("路口"), QString(2, QChar(0)))};
        QTest::newRow("job name with a path")
            << two << true << QString("../x") << QStringList{"JobNameSeparator job -1: .."};
        QTest::newRow("job name of 200 characters")
            << two << true << QString(200, 'J') << QStringList{"JobNameNotListed job -1: "};
        QTest::newRow("job name with a comma")
            << two << true << QString("A,B") << QStringList{"JobNameNotListed job -1: A"};
        QTest::newRow("job name with a colon")
            << two << true << QString("A:B") << QStringList{"JobNameNotListed job -1: A"};
        QTest::newRow("empty job name") << two << true << QString() << QStringList{"JobNameNotListed job -1: <empty>"};
        QTest::newRow("Chinese job name")
            << two << true << QString::fromUtf8("路") << QStringList{QString("NotLatin1 job -1: ") + QChar(0)};
    }

    void upload()
    {
        QFETCH(QStringList, records);
        QFETCH(bool, new_job);
        QFETCH(QString, job);
        QFETCH(QStringList, findings);
        QCOMPARE(described(check_upload(records, new_job, job, 3, kJobCaptions)), findings);
    }

    void question_words_the_findings()
    {
        xml_analysis reader;
        const QList<QStringList> table = reader.get_parameter("English", QString(KT_SOURCE_DIR) + "/dist");
        QStringList words;
        for (const QStringList& key : table) {
            if (key.value(0) == "SendCheckDlg")
                words = key.mid(1);
        }
        QVERIFY(words.size() >= 15 + kKinds + 7);
        QList<QStringList> rows;
        for (int i = 0; i < 12001; ++i)
            rows << row_of(FrameSet::Kt20Kt40,
                           (i < 7 ? QString("POINTNAME%1|C|1|2|3") : QString("P%1|C|1|2|3")).arg(i));
        const QString text = question_text(check_rows(FrameSet::Kt20Kt40, rows), words, false, 5);
        QVERIFY2(text.startsWith(words.value(1)), qPrintable(text));
        QVERIFY(text.contains("The table has 12001 rows; one transfer can number at most 9999."));
        QVERIFY(text.contains("the other 2002 rows stay selected"));
        QVERIFY(text.contains("row 1, name: POINTNAME0 → POINTNA"));
        QVERIFY(text.contains("row 5, name: POINTNAME4 → POINTNA"));
        QVERIFY(!text.contains("row 6, name:"));
        // Seven names cut (two beyond the five shown), six of them meeting the first.
        QVERIFY(text.contains("and 2 more."));
        QVERIFY(text.contains("row 1 (POINTNAME0) and row 2 (POINTNAME1) both arrive as POINTNA"));
        QVERIFY(text.contains("and 1 more."));
        QVERIFY(text.endsWith(words.value(7)));
        // A "%" in a point name stays as it is.
        const QString percent =
            question_text(check_rows(FrameSet::Kt40, {row_of(FrameSet::Kt40, "%1%2%3%4AB|C|1|2|3")}), words, false);
        QVERIFY2(percent.contains("row 1, name: %1%2%3%4AB → %1%2%3%"), qPrintable(percent));
    }
};

KT_CORE_TEST_MAIN(TestSendCheck)
#include "tst_sendcheck.moc"
