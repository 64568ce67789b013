// The job report written as PDF and read back with poppler's tools: every point name, the coordinate
// system and the findings in the text (pdftotext), the fonts embedded (pdffonts), the page count and
// size (pdfinfo); in both languages, for both table layouts, with a header on every table page. And the
// bad paths: a folder that cannot be written keeps the old file, a cancelled report writes nothing.
#include "config/xml_analysis.h"
#include "crs/crs.h"
#include "report/reportpages.h"
#include "support/core/geotest.h"
#include "support/core/mount.h"
#include "support/ui/ktest.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace
{

// The "ReportTexts" of one language section of the shipped parameter.xml.
QStringList report_texts(const QString& language)
{
    QStringList texts;
    for (const QStringList& row : xml_analysis().get_parameter(language, QString(KT_SOURCE_DIR) + "/dist")) {
        if (row.value(0) == "ReportTexts")
            texts << row.mid(1);
    }
    return texts;
}

ReportInput coordinate_input(const QVector<QStringList>& rows, const QString& crs)
{
    ReportInput input;
    input.rows = rows;
    input.captions = QStringList{"Name", "Code", "N", "E", "Z"};
    input.table_columns = {0, 1, 2, 3, 4};
    input.plan_columns = coordinate_plan_columns();
    input.suspect_columns = coordinate_suspect_columns();
    input.job = "ROAD7";
    input.when = "2026-12-10 21:00";
    input.instrument = "KT40";
    input.program = "ktlink Ver 1.0.0";
    input.crs = crs;
    input.note = QString::fromUtf8("Handed over to the site engineer 交付");
    return input;
}

QVector<QStringList> grid_rows(int count)
{
    QVector<QStringList> rows;
    for (int i = 0; i < count; ++i)
        rows << QStringList{QString("P%1").arg(i + 1), "CURB", QString::number(3520000 + (i / 50) * 2.5, 'f', 3),
                            QString::number(512000 + (i % 50) * 2.5, 'f', 3), "41.500"};
    return rows;
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void pdf_read_back_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("observation");
        QTest::addColumn<QVector<QStringList>>("rows");
        QTest::addColumn<QString>("crs");
        QTest::addColumn<QStringList>("expected"); // in the text, spaces collapsed

        const QString chinese = QString::fromUtf8("控制点甲");
        QVector<QStringList> mixed = grid_rows(6);
        mixed[4][0] = "P2";                                                   // a repeated name
        mixed[5][3] = "51x000";                                               // not a number
        mixed << QStringList{chinese, "CTRL", "100.000", "100.000", "1.000"}; // far outside EPSG:4547's area
        QTest::newRow("English, coordinates, findings")
            << "English" << false << mixed << "EPSG:4547" << QStringList{"EPSG:4547",
                                                                         "P2: 2 rows (rows 2, 5)",
                                                                         "Row 6 P6, E: \"51x000\"",
                                                                         "Row 7 " + chinese + ": N 100.000 E 100.000",
                                                                         "Points 7",
                                                                         "Note Handed over"};
        QTest::newRow("Chinese, no coordinates, no findings")
            << "Chinese" << false
            << QVector<QStringList>{{chinese, "", "", "", ""}, {QString::fromUtf8("点乙"), "", "", "", ""}} << ""
            << QStringList{QString::fromUtf8("平面图为空"), QString::fromUtf8("局部坐标"),
                           QString::fromUtf8("没有发现问题。"), QString::fromUtf8("第 1 页，共 4 页")};
        QStringList station, measured;
        for (int i = 0; i < 15; ++i)
            station << QString(), measured << QString();
        station[0] = "STN", station[2] = "K1", station[3] = "3520101.000", station[4] = "512450.000";
        measured[0] = "MP", measured[2] = "M1", measured[3] = "3520110.000", measured[4] = "512460.000";
        QTest::newRow("English, observation layout, a point before its station")
            << "English" << true << QVector<QStringList>{measured, station} << "EPSG:4547"
            << QStringList{"Stations 1", "Measured points 1", "Row 1 M1 (station ): cannot be computed"};
        QTest::newRow("English, 3000 points, many table pages")
            << "English" << false << grid_rows(3000) << "" << QStringList{"Local coordinates", "No findings."};
    }

    void pdf_read_back()
    {
        QFETCH(QString, language);
        QFETCH(bool, observation);
        QFETCH(QVector<QStringList>, rows);
        QFETCH(QString, crs);
        QFETCH(QStringList, expected);

        ReportInput input = coordinate_input(rows, crs);
        if (observation) {
            input.observation = true;
            input.captions = QStringList{"Kind", "Job", "Name", "N", "E", "Z", "Code"};
            input.table_columns = {0, 2, 6, 3, 4, 5};
            input.plan_columns = observation_plan_columns();
            input.plan_labels = {"STN", "BK"};
            input.suspect_columns = observation_suspect_columns({"STN", "BK"});
            input.kinds = {"STN", "BK", "MP"};
        }
        const QStringList texts = report_texts(language);
        QCOMPARE(texts.size(), int(kReportTextCount));
        const JobReport report = build_job_report(input, texts);
        QTemporaryDir dir;
        const QString path = dir.filePath("report.pdf");
        QString error;
        int pages = 0;
        QVERIFY2(write_report_pdf(report, path, {}, &error, &pages), qPrintable(error));

        const QString info = QString::fromUtf8(run_judge("pdfinfo", {path}));
        QVERIFY2(info.contains(QRegularExpression(QString("Pages:\\s+%1\\n").arg(pages))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)")),
                 qPrintable(info));
        const QByteArray fonts = run_judge("pdffonts", {path});
        const QList<QByteArray> font_lines = fonts.split('\n').mid(2);
        for (const QByteArray& line : font_lines) {
            if (!line.isEmpty())
                QVERIFY2(line.contains(" yes "), line.constData()); // emb (and sub)
        }
        QString text = QString::fromUtf8(run_judge("pdftotext", {"-layout", path, "-"}));
        QVERIFY(!text.isEmpty());
        // The header on every table page; then the text with blanks collapsed for the expected phrases.
        const int table_pages = pages - 3;
        QCOMPARE(text.count(QRegularExpression("Name\\s+Code\\s+N\\s+E\\s+Z")), table_pages);
        text.replace(QRegularExpression("\\s+"), " ");
        for (const QStringList& row : rows)
            QVERIFY2(row.first().isEmpty() || text.contains(" " + row.first() + " "), qPrintable(row.first()));
        for (const QString& phrase : expected)
            QVERIFY2(text.contains(phrase), qPrintable(phrase + " not in: " + text.left(3000)));
        if (!crs.isEmpty())
            QVERIFY(text.contains(describe_crs(crs).name));
    }

    void failed_write_keeps_old_file_data()
    {
        QTest::addColumn<QString>("place"); // a failing folder of support/core/mount.h, or "cancelled"
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("full disk") << "full";
        QTest::newRow("cancelled after the first page") << "cancelled";
    }

    void failed_write_keeps_old_file()
    {
        QFETCH(QString, place);
        QTemporaryDir dir;
        const QString folder = dir.filePath("out");
        bool mounted = true;
        std::unique_ptr<Mount> mount;
        if (place == "cancelled") {
            QDir().mkpath(folder);
            QFile old(folder + "/report.pdf");
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        } else {
            QDir().mkpath(folder);
            mount = failing_folder(place, folder, "16k", "report.pdf", &mounted);
            if (!mounted)
                QSKIP("mounting a tmpfs needs root");
        }
        const JobReport report = build_job_report(coordinate_input(grid_rows(3000), ""), report_texts("English"));
        QString error;
        const auto progress = [&place](int done, int) { return place != "cancelled" || done < 2; };
        const bool written = write_report_pdf(report, folder + "/report.pdf", progress, &error);
        QVERIFY(!written);
        QCOMPARE(place == "cancelled", error.isEmpty());
        QFile old(folder + "/report.pdf");
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"report.pdf"});
    }
};

KT_TEST_MAIN(TestReport)
#include "tst_report.moc"
