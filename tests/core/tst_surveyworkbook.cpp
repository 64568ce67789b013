// The observation layout's workbook: caption rows mapped by language, and ktconvert's --check and
// --reduce reading a workbook of a sample job as they read the LandXML of the same rows.
#include "config/obscaptions.h"
#include "data/exportsheet.h"
#include "data/pointrows.h"
#include "data/tablecolumns.h"
#include "data/workbook.h"
#include "landxml/surveyreader.h"
#include "support/core/ktconvertrun.h"
#include "support/core/ktest_core.h"
#include "support/core/surveysamples.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

namespace
{

using Rows = QVector<QStringList>;

const survey::KindLabels kCodes{"STN", "BK", "MP"};
const survey::KindLabels kChinese{QString::fromUtf8("测站"), QString::fromUtf8("后视"), QString::fromUtf8("测点")};
const survey::KindLabels kEnglish{"Station", "Backsight", "Measured point"};

// The sheet the program's workbook export makes of `rows` under `captions`, kinds labelled in `labels`:
// the export's ten titles hold the ten-field observation line (a backsight's circle as its horizontal
// angle, as the table holds it), other captions the table's columns in order ("x" beyond them).
bool write_book(const QString& path, const QStringList& captions, Rows rows, const survey::KindLabels& labels)
{
    Workbook book("Data");
    write_title_row(book, captions);
    QStringList lines;
    for (QStringList& row : rows) {
        const survey::RowKind kind = survey::row_kind(row, kCodes);
        row[ObsColumn::Kind] = kind == survey::RowKind::Station     ? labels.station
                               : kind == survey::RowKind::Backsight ? labels.backsight
                                                                    : labels.measured;
        if (captions.size() != int(kObservationLineColumns.size())) {
            lines << (row + QStringList{"x"}).mid(0, captions.size()).join(',');
            continue;
        }
        if (kind == survey::RowKind::Backsight)
            row[ObsColumn::HorizontalAngle] = row[ObsColumn::BacksightAngle];
        lines << line_from_cells(observation_line_shape(), [&row](int column) { return row[column]; });
    }
    write_observation_rows(book, captions.size(), lines);
    return book.save(path);
}

} // namespace

class TestSurveyWorkbook : public QObject
{
    Q_OBJECT

private slots:
    // A caption two languages give to different columns takes that of the language knowing most of
    // the row; a column's second caption and captions of no language are not read.
    void workbook_captions_data()
    {
        QTest::addColumn<QString>("captions");
        QTest::addColumn<QVector<int>>("columns");
        QTest::newRow("first language") << "K,P,H,V,D" << QVector<int>{0, 2, 9, 10, ObsColumn::SlopeDistance};
        QTest::newRow("second language") << "T,Pt,Hz,Vz,D" << QVector<int>{0, 2, 9, 10, ObsColumn::HorizontalDistance};
        QTest::newRow("unknown, twice") << " K ,P,Q,N,N" << QVector<int>{0, 2, -1, 3, -1};
    }
    void workbook_captions()
    {
        QFETCH(QString, captions);
        QFETCH(QVector<int>, columns);
        QBuffer file;
        file.setData("<P><A><PointTableWidgetHeadTitleKT20KT40><i Data='K'/><i Data='J'/><i Data='P'/><i Data='N'/>"
                     "</PointTableWidgetHeadTitleKT20KT40><PointExportKT20KT40><i/><i/><i Data='H'/><i Data='V'/>"
                     "<i/><i/><i/><i/><i/><i/><i/></PointExportKT20KT40></A><B><PointExportKT20KT40><i Data='T'/>"
                     "<i Data='Pt'/><i Data='Hz'/><i Data='Vz'/><i Data='D'/></PointExportKT20KT40></B>"
                     "<C><PointTableWidgetHeadTitleKT20KT40/></C></P>");
        file.open(QIODevice::ReadOnly);
        QVector<ColumnCaptions> languages = observation_captions_of(&file);
        QCOMPARE(languages.size(), 2);
        languages[0].insert("D", ObsColumn::SlopeDistance);
        const CaptionColumns found = caption_columns(captions.split(','), languages);
        QCOMPARE(found.columns, columns);
        QCOMPARE(found.unknown.size(), columns.count(-1));
        QCOMPARE(found.has_observations(), !columns.contains(-1));
    }

    // The workbook is read for --check and --reduce as the LandXML of the same rows: captioned in
    // Chinese or English; the ten titles of the window's export, which hold no heights (N and E are
    // checked, Z cannot be computed); a first row naming no observation columns.
    void ktconvert_workbook_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("command"); // before INPUT; --reduce writes OUTPUT too
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("told"); // none: told as the LandXML is, after `note`
        QTest::addColumn<QString>("note");
        const QString chinese =
            QString::fromUtf8("类型,作业,点名,N,E,Z,编码,仪器高,后视角,水平角,竖直角,斜距,高差,平距,棱镜高");
        const QStringList english =
            QString("Kind,Job,Point,N,E,Z,Code,HI,BS angle,Hz angle,V angle,SD,VD,HD,HR").split(',');
        const QStringList check{"--check"};
        QTest::newRow("Chinese, a remark")
            << QString(chinese + QString::fromUtf8(",备注")).split(',') << check << 3 << QStringList()
            << QString::fromUtf8("ktconvert: %1: 1 columns not read, their captions name no observation column: 备注\n"
                                 "ktconvert: %1: 30 cells not read, in columns that name no observation column\n");
        QTest::newRow("English") << english << check << 3 << QStringList() << QString();
        QTest::newRow("English, reduced")
            << english << QStringList{"--reduce", "--reflector-height", "2.000"} << 0 << QStringList() << QString();
        QTest::newRow("the window's export")
            << QString("Kind,Point,Hz angle,V angle,Horiz. dist.,Vert. dist.,E,N,Z,Code").split(',') << check << 3
            << QStringList{"row 3 P01: Z cannot be computed: no instrument height, neither the point's nor its "
                           "station's\n",
                           "%1: 26 measured points, 26 computed, 0 cannot be computed; 26 findings in 26 points"}
            << QString();
        QTest::newRow("no observation columns")
            << QStringList{"Point", "N", "E", "Z"} << check << 1
            << QStringList{"ktconvert: cannot read %1: the first row of sheet Data names no observation columns (kind, "
                           "name, horizontal and vertical angle, a distance)\n"}
            << QString();
    }
    void ktconvert_workbook()
    {
        QFETCH(QStringList, captions);
        QFETCH(QStringList, command);
        QFETCH(int, status);
        QFETCH(QStringList, told);
        QFETCH(QString, note);
        QTemporaryDir dir;
        const QString job = dir.filePath("road2.xml");
        const QString book = dir.filePath("road2.xlsx");
        QVERIFY(write_rows(job, sample_rows("ROAD2.obs")));
        QVERIFY(write_book(book, captions, sample_rows("ROAD2.obs"), captions.first() == "Kind" ? kEnglish : kChinese));
        const bool reduce = command.first() == "--reduce";
        const QString from_job = dir.filePath("job.xml");
        const QString from_book = dir.filePath("book.xml");
        const Run read = ktconvert(command + QStringList{book} + (reduce ? QStringList{from_book} : QStringList()));
        QCOMPARE(read.status, status);
        if (!told.isEmpty()) {
            for (const QString& line : told)
                QVERIFY2((read.out + read.err).contains(QString(line).replace("%1", book)), qPrintable(line));
            return;
        }
        const Run expected = ktconvert(command + QStringList{job} + (reduce ? QStringList{from_job} : QStringList()));
        QCOMPARE(read.out, QString(expected.out).replace(job, book));
        QCOMPARE(read.err, QString(note).replace("%1", book) +
                               QString(expected.err).replace(job, book).replace(from_job, from_book));
        if (reduce)
            QCOMPARE(read_landxml_survey_file(from_book, kCodes).rows, read_landxml_survey_file(from_job, kCodes).rows);
    }
};

QTEST_GUILESS_MAIN(TestSurveyWorkbook)
#include "tst_surveyworkbook.moc"
