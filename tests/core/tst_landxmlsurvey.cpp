// LandXML survey data: observation rows written, judged by xmllint against the LandXML 1.2 schema and
// read back cell for cell and byte for byte; files in the style of other programs (every angular
// unit, points by pntRef, references to nothing); ktconvert's --check and --reduce on the sample jobs.
#include "data/fileoperation.h"
#include "data/tablecolumns.h"
#include "landxml/landxmlwriter.h"
#include "landxml/surveyreader.h"
#include "landxml/surveyxml.h"
#include "support/core/geotest.h"
#include "support/core/ktconvertrun.h"
#include "support/core/ktest_core.h"
#include "support/core/surveysamples.h"
#include "survey/recompute.h"
#include "survey/surveyangle.h"
#include "survey/surveycheck.h"
#include "survey/surveytext.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace
{

using Rows = QVector<QStringList>;

const QString kSchema = QStringLiteral(KT_SOURCE_DIR "/tests/data/standards/LandXML-1.2.xsd");
const survey::KindLabels kCodes{"STN", "BK", "MP"};
const survey::KindLabels kChinese{QString::fromUtf8("测站"), QString::fromUtf8("后视"), QString::fromUtf8("测点")};

QStringList row_of(std::initializer_list<std::pair<int, QString>> cells)
{
    QStringList row;
    for (int column = 0; column < ObsColumn::Count; ++column)
        row << QString();
    for (const auto& cell : cells)
        row[cell.first] = cell.second;
    return row;
}

// A table with what the sample jobs lack: a known point first, a plain row amid a station's points,
// a change of job, a point before any station, a repeated plain name, markup in names and codes.
Rows mixed_rows(const survey::KindLabels& k)
{
    const QString ha = "090°00'00\"", za = "090°00'00\"";
    return {
        row_of({{1, "J1"}, {2, "MP0"}, {0, k.measured}, {9, ha}, {10, za}, {13, "5.000"}}),
        row_of({{1, "J1"}, {2, "CP1"}, {3, "100.000"}, {4, "200.000"}, {5, "10.000"}, {6, "CTRL"}}),
        row_of({{0, k.station}, {1, "J1"}, {2, "S1"}, {3, "0"}, {4, "0"}, {5, "1.000"}, {6, "STN"}, {7, "1.500"}}),
        row_of({{0, k.backsight}, {1, "J1"}, {2, "CP1"}, {6, "BS"}, {8, "000°00'00\""}}),
        row_of({{0, k.measured},
                {1, "J1"},
                {2, "A<1>"},
                {3, "10.000"},
                {4, "0.000"},
                {5, "1.000"},
                {6, "K&\"Q\""},
                {7, "1.500"},
                {9, "000°00'00\""},
                {10, za},
                {11, "10.000"},
                {12, "0.000"},
                {13, "10.000"},
                {14, "1.500"}}),
        row_of({{1, "J1"}, {2, "CP2"}, {3, "1"}, {4, "2"}}),
        row_of({{1, "J1"}, {2, "CP2"}, {3, "3"}, {4, "4"}, {5, "5"}}),
        row_of({{0, k.measured}, {1, "J1"}, {2, "A2"}, {7, "1.500"}, {9, ha}, {10, za}, {13, "5.000"}}),
        row_of({{0, k.backsight}, {1, "J2"}, {2, "CP2"}, {8, "359°59'59\""}}),
        row_of({{0, k.measured}, {1, "J2"}, {2, "A3"}, {3, "0.000"}, {4, "5.000"}, {7, "1.500"}, {9, ha}}),
    };
}

LandXmlSurvey read_text(const QByteArray& text, const survey::KindLabels& labels = kCodes)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return read_landxml_survey(&buffer, labels);
}

// A document in the style of another program: control points in CgPoints, stations and targets by
// pntRef, angles in `unit`, an observation group naming a setup and a point the file does not hold.
QByteArray foreign_document(const QString& unit, const QString& circle, const QString& hz, const QString& zenith)
{
    return QString(R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" date="2024-01-01" time="00:00:00" version="1.2">
<Units><Metric areaUnit="squareMeter" linearUnit="meter" volumeUnit="cubicMeter" temperatureUnit="celsius"
 pressureUnit="milliBars" %1/></Units>
<CgPoints><CgPoint name="A" code="CTRL">1000.000 2000.000 50.000</CgPoint>
<CgPoint name="B">1100.000 2000.000</CgPoint><CgPoint name="T1" code="X">1010.000 2010.000 50.500</CgPoint>
<CgPoint name="C9">1 2 3</CgPoint></CgPoints>
<Survey><SurveyHeader name="J7"/>
<InstrumentSetup id="a" stationName="A" instrumentHeight="1.5"><InstrumentPoint pntRef="A"/>
<Backsight circle="%2"><BacksightPoint pntRef="B"/></Backsight>
<RawObservation horizAngle="%3" zenithAngle="%4" slopeDistance="14.142" targetHeight="1.7">
<TargetPoint pntRef="T1"/></RawObservation></InstrumentSetup>
<InstrumentSetup id="b" stationName="B" instrumentHeight="1.6"><InstrumentPoint pntRef="B"/>
<RawObservation horizAngle="%3" horizDistance="7.5"><TargetPoint name="T2" code="Y">1 1</TargetPoint>
</RawObservation></InstrumentSetup>
<ObservationGroup id="g" setupID="zz"><RawObservation zenithAngle="%4"><TargetPoint pntRef="NOPE"/>
</RawObservation></ObservationGroup></Survey></LandXML>
)")
        .arg(unit.isEmpty() ? QString() : QString("angularUnit=\"%1\"").arg(unit), circle, hz, zenith)
        .toUtf8();
}

} // namespace

class TestLandXmlSurvey : public QObject
{
    Q_OBJECT

private slots:
    void round_trip_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<int>("labels"); // 0 the record codes, 1 the Chinese labels
        QTest::newRow("ROAD1") << sample_rows("ROAD1.obs") << 0;
        QTest::newRow("ROAD2") << sample_rows("ROAD2.obs") << 0;
        QTest::newRow("mixed, codes") << mixed_rows(kCodes) << 0;
        QTest::newRow("mixed, Chinese labels") << mixed_rows(kChinese) << 1;
    }
    // Written, valid against the schema, read back cell for cell, written again to the same bytes.
    void round_trip()
    {
        QFETCH(Rows, rows);
        QFETCH(int, labels);
        QTemporaryDir dir;
        const QString first = dir.filePath("a.xml");
        const QString second = dir.filePath("b.xml");
        QVERIFY(write_rows(first, rows));
        QVERIFY(!run_judge("xmllint", {"--noout", "--schema", kSchema, first}).isNull());
        const QByteArray text = read_file(first);
        QVERIFY(text.contains("angularUnit=\"decimal dd.mm.ss\""));
        const LandXmlSurvey read = read_landxml_survey_file(first, labels ? kChinese : kCodes);
        QVERIFY(read.ok());
        QCOMPARE(read.bad_values, 0);
        QCOMPARE(read.references.size(), 0);
        QCOMPARE(read.rows, rows);
        QVERIFY(write_rows(second, read.rows));
        QCOMPARE(read_file(second), text);
        // The point reader finds every row with coordinates once.
        int points = 0;
        for (const QStringList& row : rows)
            points += row[ObsColumn::North].isEmpty() ? 0 : 1;
        QCOMPARE(read_landxml_file(first).lines.size(), points);
    }

    void sample_file_layout()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("road2.xml");
        QVERIFY(write_rows(path, sample_rows("ROAD2.obs")));
        const QByteArray text = read_file(path);
        QVERIFY(
            text.contains("  <InstrumentSetup id=\"s1\" stationName=\"K1\" instrumentHeight=\"1.520\">\n"
                          "   <InstrumentPoint code=\"STN\">3520101.000 512450.000 41.600</InstrumentPoint>\n"
                          "   <Backsight circle=\"0.0000\">\n"
                          "    <BacksightPoint name=\"K2\" code=\"BS\"/>\n"
                          "   </Backsight>\n"
                          "   <RawObservation horizAngle=\"184.1049\" zenithAngle=\"89.2222\" "
                          "slopeDistance=\"50.008\" horizDistance=\"50.005\" vertDistance=\"0.547\" "
                          "targetHeight=\"1.800\">\n"
                          "    <TargetPoint name=\"P01\" code=\"CURB\">3520101.470 512399.997 41.867</TargetPoint>"));
        QVERIFY(text.contains("  <SurveyHeader name=\"ROAD\"/>"));
        QCOMPARE(text.count("<RawObservation "), 26);
    }

    // Cells the file has no place for are counted, not dropped unsaid.
    void cells_not_kept()
    {
        QTemporaryDir dir;
        LandXmlWriter writer(dir.filePath("x.xml"), surveyxml::observation_fields());
        QVERIFY(writer.open());
        writer.write(row_of({{0, "STN"}, {2, "S"}, {3, "1"}, {4, "2"}}));          // no instrument height: 0
        writer.write(row_of({{0, "MP"}, {2, "P"}, {7, "1.6"}, {9, "12345"}}));     // other height, bad angle
        writer.write(row_of({{2, "Q"}, {3, "1"}, {4, "2"}, {14, "1.3"}}));         // a plain row's reflector
        writer.write(row_of({{0, "BK"}, {2, "S"}, {8, "000°00'00\""}, {5, "z"}})); // Z without N E
        QVERIFY(writer.finish());
        QCOMPARE(writer.report().changed_values, 5);
        QVERIFY(!run_judge("xmllint", {"--noout", "--schema", kSchema, dir.filePath("x.xml")}).isNull());
    }

    void foreign_files_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("circle");
        QTest::addColumn<QString>("hz");
        QTest::addColumn<QString>("zenith");
        // 123°45'06" = 123.751666667° = 2.159874038 rad = 137.501851852 gon; 87°06'30" likewise.
        QTest::newRow("radians, by default") << ""
                                             << "0"
                                             << "2.1598740381638"
                                             << "1.520327222591394";
        QTest::newRow("radians") << "radians"
                                 << "0.0"
                                 << "2.1598740381638"
                                 << "1.520327222591394";
        QTest::newRow("grads") << "grads"
                               << "400"
                               << "137.501851852"
                               << "96.787037037";
        QTest::newRow("decimal degrees") << "decimal degrees"
                                         << "360"
                                         << "123.751666667"
                                         << "87.108333333";
        QTest::newRow("dd.mm.ss") << "decimal dd.mm.ss"
                                  << "0"
                                  << "123.4506"
                                  << "87.063";
        QTest::newRow("dd.mm.ss, negative") << "decimal dd.mm.ss"
                                            << "-0.0000"
                                            << "-236.1454"
                                            << "87.0630";
    }
    void foreign_files()
    {
        QFETCH(QString, unit);
        QFETCH(QString, circle);
        QFETCH(QString, hz);
        QFETCH(QString, zenith);
        const LandXmlSurvey read = read_text(foreign_document(unit, circle, hz, zenith));
        QVERIFY(read.ok());
        QCOMPARE(read.setups, 2);
        const Rows expected{
            row_of({{2, "C9"}, {3, "1"}, {4, "2"}, {5, "3"}}), // a control point no record measured
            row_of({{0, "STN"},
                    {1, "J7"},
                    {2, "A"},
                    {3, "1000.000"},
                    {4, "2000.000"},
                    {5, "50.000"},
                    {6, "CTRL"},
                    {7, "1.5"}}),
            row_of({{0, "BK"}, {1, "J7"}, {2, "B"}, {8, "000°00'00\""}}),
            row_of({{0, "MP"},
                    {1, "J7"},
                    {2, "T1"},
                    {3, "1010.000"},
                    {4, "2010.000"},
                    {5, "50.500"},
                    {6, "X"},
                    {7, "1.5"},
                    {9, "123°45'06\""},
                    {10, "087°06'30\""},
                    {11, "14.142"},
                    {14, "1.7"}}),
            row_of({{0, "STN"}, {1, "J7"}, {2, "B"}, {3, "1100.000"}, {4, "2000.000"}, {7, "1.6"}}),
            row_of({{0, "MP"},
                    {1, "J7"},
                    {2, "T2"},
                    {3, "1"},
                    {4, "1"},
                    {6, "Y"},
                    {7, "1.6"},
                    {9, "123°45'06\""},
                    {13, "7.5"}}),
            row_of({{0, "MP"}, {1, "J7"}, {2, "NOPE"}, {10, "087°06'30\""}}),
        };
        QCOMPARE(read.rows, expected);
        QCOMPARE(read.references.size(), 2);
        QCOMPARE(reference_in_english(read.references[0]),
                 QString("row 7 NOPE: refers to setup zz, which the file does not hold: read without an instrument "
                         "height"));
        QCOMPARE(read.references[1].kind, SurveyReference::MissingPoint);
        QCOMPARE(read.references[1].reference, QString("NOPE"));
    }

    void ktconvert_check_data()
    {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("first_line");
        QTest::newRow("ROAD1 adds up") << "ROAD1.obs" << QStringList() << 0
                                       << "%1: 12 measured points, 12 computed, 0 cannot be computed; 0 findings in 0 "
                                          "points (tolerance 0.005 m, curvature off)";
        QTest::newRow("ROAD2 disagrees") << "ROAD2.obs" << QStringList() << 3
                                         << "row 21 P12: as measured from K1 in row 14 it lies 0.000 m away, Z differs "
                                            "by +0.200 m";
        QTest::newRow("ROAD2 within 0.3 m") << "ROAD2.obs" << QStringList{"--tolerance", "0.3"} << 0
                                            << "%1: 26 measured points, 26 computed, 0 cannot be computed; 0 findings "
                                               "in 0 points (tolerance 0.300 m, curvature off)";
        QTest::newRow("no tolerance value") << "ROAD1.obs" << QStringList{"--tolerance", "x"} << 2 << QString();
    }
    void ktconvert_check()
    {
        QFETCH(QString, sample);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, first_line);
        QTemporaryDir dir;
        const QString path = dir.filePath("job.xml");
        QVERIFY(write_rows(path, sample_rows(sample)));
        const Run run = ktconvert(QStringList{"--check"} + options + QStringList{path});
        QCOMPARE(run.status, status);
        if (!first_line.isEmpty())
            QCOMPARE(run.out.split(QChar(10)).first(), QString(first_line).replace("%1", path));
    }

    // The converter reads a file again and again instead of holding its rows: in every layout (its own,
    // one that needs its pntRefs resolved, control points after the Survey) it must find what the
    // check of the whole table finds, and the reader's rows must not depend on how they are read.
    void streamed_reads_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<bool>("preview_is_table");
        const QByteArray foreign = foreign_document("decimal dd.mm.ss", "0", "123.4506", "87.063");
        QByteArray late = foreign;
        const int from = late.indexOf("<CgPoints>");
        const int to = late.indexOf("</CgPoints>") + int(strlen("</CgPoints>"));
        const QByteArray points = late.mid(from, to - from);
        late.remove(from, to - from);
        late.replace("</Survey>", "</Survey>" + points);
        QTemporaryDir dir;
        const QString own = dir.filePath("own.xml");
        QVERIFY(write_rows(own, sample_rows("ROAD2.obs") + mixed_rows(kCodes)));
        // A station oriented on a measured point (found in a further read), which it measures again.
        const QString on_measured = dir.filePath("on_measured.xml");
        QVERIFY(write_rows(
            on_measured, mixed_rows(kCodes) +
                             Rows{row_of({{0, "STN"}, {1, "J2"}, {2, "S9"}, {3, "20"}, {4, "0"}, {5, "1"}, {7, "1.5"}}),
                                  row_of({{0, "BK"}, {1, "J2"}, {2, "A<1>"}, {8, "000°00'00\""}}),
                                  row_of({{0, "MP"},
                                          {1, "J2"},
                                          {2, "A<1>"},
                                          {3, "10.020"},
                                          {4, "0.000"},
                                          {7, "1.5"},
                                          {9, "000°00'00\""},
                                          {10, "090°00'00\""},
                                          {13, "10.000"}})}));
        for (const QString& path : {own, on_measured}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(QFileInfo(path).baseName())) << file.readAll() << true;
        }
        QTest::newRow("pntRefs") << foreign << false;
        QTest::newRow("control points after the Survey") << late << false;
    }
    void streamed_reads()
    {
        QFETCH(QByteArray, document);
        QFETCH(bool, preview_is_table);
        const LandXmlSurvey whole = read_text(document);
        QVERIFY(whole.ok());
        QBuffer buffer;
        buffer.setData(document);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        Rows preview;
        LandXmlSurveyReader reader(&buffer, kCodes, [&preview](int, const QStringList& cells) { preview << cells; });
        QCOMPARE(reader.preview_is_table(), preview_is_table);
        Rows known;
        QVERIFY(reader.read([&known](int, const QStringList& cells) { known << cells; }, false));
        QCOMPARE(known.size(), whole.rows.size());
        for (int row = 0; row < known.size(); ++row) {
            QCOMPARE(known[row].mid(0, ObsColumn::Code + 1), whole.rows[row].mid(0, ObsColumn::Code + 1));
            if (preview_is_table)
                QCOMPARE(preview.value(row).mid(0, ObsColumn::Code + 1), known[row].mid(0, ObsColumn::Code + 1));
        }

        QTemporaryDir dir;
        const QString path = dir.filePath("job.xml");
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(document) == document.size());
        out.close();
        QStringList expected;
        for (const survey::Finding& finding : survey::check_rows(whole.rows, kCodes).findings)
            expected << survey::finding_in_english(finding);
        QStringList printed = ktconvert({"--check", path}).out.split(QChar(10), Qt::SkipEmptyParts);
        printed.removeLast(); // the summary
        QCOMPARE(printed, expected);

        // Recomputed with another instrument height, each station whose points were recomputed holds it.
        const QString fixed = dir.filePath("fixed.xml");
        QCOMPARE(ktconvert({"--reduce", "--instrument-height", "1.55", path, fixed}).status, 0);
        const LandXmlSurvey read = read_landxml_survey_file(fixed, kCodes);
        QCOMPARE(read.rows.size(), whole.rows.size());
        const survey::RecomputeResult recomputed = survey::recompute_rows(whole.rows, {}, kCodes, {}, [] {
            survey::RecomputeChanges changes;
            changes.heights.instrument = 1.55;
            return changes;
        }());
        for (const survey::RecomputedPoint& point : recomputed.points) {
            if (!point.problem.none())
                continue;
            QCOMPARE(read.rows[point.row].mid(ObsColumn::North, 3), point.cells.mid(ObsColumn::North, 3));
            int station = point.row;
            while (station >= 0 && read.rows[station][ObsColumn::Kind] != "STN")
                --station;
            if (station >= 0)
                QCOMPARE(read.rows[station][ObsColumn::InstrumentHeight], point.cells[ObsColumn::InstrumentHeight]);
        }
    }

    // The run measured with a 2.000 m pole recomputed: Z lower by 1.800 − 2.000 m, N and E the same.
    void ktconvert_reduce()
    {
        QTemporaryDir dir;
        const QString job = dir.filePath("road2.xml");
        QVERIFY(write_rows(job, sample_rows("ROAD2.obs")));
        const QString points = dir.filePath("fixed.csv");
        Run run = ktconvert({"--reduce", "--reflector-height", "2.000", job, points});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString("ktconvert: recomputed 26 of 26 measured points from %1, wrote 26 points to %2\n")
                              .arg(job, points));
        const QStringList lines = FileOperation().readfile(points);
        QCOMPARE(lines.value(0), QString("P01,CURB,3520101.470,512399.997,41.667"));
        QCOMPARE(lines.value(11), QString("P12,EDGE,3520098.983,512475.020,41.483"));
        QCOMPARE(lines.value(16), QString("P12,EDGE,3520098.983,512475.020,41.483"));

        // To LandXML every row, with the stored N E Z now those of the observations: the check is clean.
        const QString whole = dir.filePath("fixed.xml");
        run = ktconvert({"--reduce", "--reflector-height", "2.000", job, whole});
        QCOMPARE(run.status, 0);
        QVERIFY(!run_judge("xmllint", {"--noout", "--schema", kSchema, whole}).isNull());
        const LandXmlSurvey read = read_landxml_survey_file(whole, kCodes);
        QCOMPARE(read.rows.size(), 30);
        QCOMPARE(read.rows[2][ObsColumn::ReflectorHeight], QString("2.000"));
        QCOMPARE(ktconvert({"--check", whole}).status, 0);

        // Converted: the points in table order to a text format, whole from xml to xml.
        const QString listed = dir.filePath("listed.csv");
        QCOMPARE(ktconvert({job, listed}).status, 0);
        const QStringList listed_lines = FileOperation().readfile(listed);
        QCOMPARE(listed_lines.size(), 28);
        QCOMPARE(listed_lines.value(0), QString("K1,STN,3520101.000,512450.000,41.600"));
        const QString copy = dir.filePath("copy.xml");
        QCOMPARE(ktconvert({job, copy}).status, 0);
        QCOMPARE(read_landxml_survey_file(copy, kCodes).rows, sample_rows("ROAD2.obs"));
    }
};

QTEST_GUILESS_MAIN(TestLandXmlSurvey)
#include "tst_landxmlsurvey.moc"
