// The survey computations on rows of the observation layout, against answers worked by hand: the
// steps are written beside each row (sines and cosines to eight places, then the products), never
// recomputed here with the code's formulas. Then the sample jobs: ROAD1 adds up, ROAD2's wrong
// reflector height is found and fixed.
#include "data/fieldtext.h"
#include "data/fileoperation.h"
#include "data/tablecolumns.h"
#include "survey/recompute.h"
#include "survey/surveycheck.h"
#include "survey/surveytext.h"

#include "support/core/ktest_core.h"

#include <QTest>

using namespace survey;
using Rows = QVector<QStringList>;

namespace
{

const KindLabels kLabels{"Station", "Backsight", "Measured point"};

QStringList row_of(std::initializer_list<std::pair<int, QString>> cells)
{
    QStringList row;
    for (int c = 0; c < ObsColumn::Count; ++c)
        row << QString();
    for (const auto& cell : cells)
        row[cell.first] = cell.second;
    return row;
}

QStringList station(const QString& name, const QString& n, const QString& e, const QString& z = "100.000")
{
    return row_of({{ObsColumn::Kind, "Station"},
                   {ObsColumn::Name, name},
                   {ObsColumn::North, n},
                   {ObsColumn::East, e},
                   {ObsColumn::Height, z},
                   {ObsColumn::InstrumentHeight, "1.500"}});
}

QStringList backsight(const QString& name, const QString& circle)
{
    return row_of({{ObsColumn::Kind, "Backsight"}, {ObsColumn::Name, name}, {ObsColumn::BacksightAngle, circle}});
}

// A measured point; angles with the table's marks.
QStringList point(const QString& name, const QString& hz, const QString& v, const QString& sd, const QString& rh,
                  const QString& hd = QString())
{
    return row_of({{ObsColumn::Kind, "Measured point"},
                   {ObsColumn::Name, name},
                   {ObsColumn::HorizontalAngle, angle_text(hz, 0)},
                   {ObsColumn::VerticalAngle, angle_text(v, 0)},
                   {ObsColumn::SlopeDistance, sd},
                   {ObsColumn::HorizontalDistance, hd},
                   {ObsColumn::InstrumentHeight, "1.500"},
                   {ObsColumn::ReflectorHeight, rh}});
}

QStringList with(QStringList row, int column, const QString& text)
{
    row[column] = text;
    return row;
}

// A sample job's lines as ktsim puts them into the table (angles with marks).
Rows sample_rows(const QString& file)
{
    const struct {
        int field;
        int column;
    } fields[] = {{0, 0}, {1, 2},  {9, 6},   {7, 3},  {6, 4},  {8, 5},   {10, 7},
                  {2, 9}, {3, 10}, {12, 11}, {5, 12}, {4, 13}, {13, 14}, {11, 8}};
    Rows rows;
    for (const QString& line : FileOperation().readfile(QString(KT_SOURCE_DIR) + "/samples/" + file)) {
        const QStringList f = line.split(',');
        QStringList row = row_of({});
        for (const auto& m : fields)
            row[m.column] = (m.column >= 8 && m.column <= 10) ? angle_text(f.value(m.field), 0) : f.value(m.field);
        rows << row;
    }
    return rows;
}

QList<int> kinds_of(const QVector<Finding>& findings)
{
    QList<int> kinds;
    for (const Finding& f : findings)
        kinds << int(f.kind);
    return kinds;
}

} // namespace

class TestSurvey : public QObject
{
    Q_OBJECT

private slots:
    void angles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("problem");
        QTest::addColumn<qint64>("seconds");
        // 39°30'33" = 39 × 3600 + 30 × 60 + 33 = 142233 s
        QTest::newRow("marks") << "039°30'33\"" << int(AngleProblem::None) << qint64(142233);
        QTest::newRow("digits") << " 0393033 " << int(AngleProblem::None) << qint64(142233);
        QTest::newRow("last second") << "3595959" << int(AngleProblem::None) << qint64(1295999);
        QTest::newRow("empty") << "" << int(AngleProblem::Empty) << qint64(0);
        QTest::newRow("six digits") << "393033" << int(AngleProblem::NotSevenDigits) << qint64(0);
        QTest::newRow("decimal seconds") << "0393033.5" << int(AngleProblem::NotSevenDigits) << qint64(0);
        QTest::newRow("letter") << "03930a3" << int(AngleProblem::NotSevenDigits) << qint64(0);
        QTest::newRow("sign") << "-393033" << int(AngleProblem::NotSevenDigits) << qint64(0);
        QTest::newRow("360 degrees") << "3600000" << int(AngleProblem::DegreesOver359) << qint64(0);
        QTest::newRow("60 minutes") << "0396033" << int(AngleProblem::MinutesOver59) << qint64(0);
        QTest::newRow("60 seconds") << "0393060" << int(AngleProblem::SecondsOver59) << qint64(0);
    }

    void angles()
    {
        QFETCH(QString, text);
        QFETCH(int, problem);
        QFETCH(qint64, seconds);
        const AngleReading angle = read_angle(text);
        QCOMPARE(int(angle.problem), problem);
        if (angle.ok()) {
            QCOMPARE(angle.seconds, seconds);
            QCOMPARE(angle_digits(angle.seconds), text.trimmed().remove('"').remove('\'').remove(QChar(0xB0)));
        }
    }

    void angles_written_from_whole_seconds()
    {
        QCOMPARE(angle_digits(-1), QString("3595959"));
        QCOMPARE(angle_with_marks(1296000 + 3723), QString("001°02'03\""));
        // 90° is π/2 = 1.5707963267948966; 45°00'00.4" rounds to 162000 s.
        QCOMPARE(seconds_to_radians(324000), 1.5707963267948966);
        QCOMPARE(radians_to_seconds(0.7853981633974483 + 0.4 / 206264.806), qint64(162000));
    }

    void polar_data()
    {
        QTest::addColumn<Rows>("rows"); // the last row is the point
        QTest::addColumn<bool>("curvature");
        QTest::addColumn<double>("n");
        QTest::addColumn<double>("e");
        QTest::addColumn<double>("z");
        // Station S: N 1000, E 2000, Z 100, instrument height 1.5 (on the point too).
        const QStringList s = station("S", "1000.000", "2000.000");
        // B lies at azimuth 45° from S; circle reading 15°00'00" → orientation 45° − 15° = 30°.
        const Rows oriented{
            s, backsight("B", "015°00'00\""),
            row_of({{ObsColumn::Name, "B"}, {ObsColumn::North, "1100.000"}, {ObsColumn::East, "2100.000"}})};
        // C lies at azimuth 225° (its coordinates known from a station record); circle 195° → 30°.
        const Rows oriented_sw{station("C", "900.000", "1900.000"), s, backsight("C", "1950000")};

        // NE: az 30°, z 90°, SD 100: HD 100, VD 0; N 1000 + 100 × 0.86602540 = 1086.60254,
        // E 2000 + 100 × 0.5 = 2050; Z 100 + 1.5 + 0 − 1.5 = 100.
        QTest::newRow("NE, angles as azimuths")
            << Rows{s, point("A", "0300000", "0900000", "100.000", "1.500")} << false << 1086.60254 << 2050.0 << 100.0;
        // SE: az 135°, z 95°, SD 80: sin 95° 0.99619470, cos 95° −0.08715574; HD 79.695576,
        // VD −6.972459; N 1000 − 79.695576 × 0.70710678 = 1000 − 56.35328 = 943.64672, E 2056.35328;
        // Z 100 + 1.5 − 6.972459 − 1.3 = 93.227541.
        QTest::newRow("SE") << Rows{s, point("A", "1350000", "0950000", "80.000", "1.300")} << false << 943.64672
                            << 2056.35328 << 93.22754;
        // SW: az 210°30'15" (210.5041667°), z 88°45'30" (88.7583333°), SD 45.678: sin z 0.99976519,
        // cos z 0.02166948; HD 45.667274, VD 0.989818; cos az −0.86159225, sin az −0.50760102;
        // N 1000 − 39.34655 = 960.65345, E 2000 − 23.18077 = 1976.81923; Z 100 + 1.5 + 0.989818 − 2.
        QTest::newRow("SW") << Rows{s, point("A", "2103015", "0884530", "45.678", "2.000")} << false << 960.65345
                            << 1976.81923 << 100.48982;
        // NW: az 315°, z 80°, SD 60: HD 60 × 0.98480775 = 59.088465, VD 60 × 0.17364818 = 10.418891;
        // N 1000 + 59.088465 × 0.70710678 = 1000 + 41.78185, E 2000 − 41.78185; Z 100 + 1.5 + 10.418891 − 1.5.
        QTest::newRow("NW") << Rows{s, point("A", "3150000", "0800000", "60.000", "1.500")} << false << 1041.78185
                            << 1958.21815 << 110.41889;
        // Face II: Hz 210°, z 270° is the line of z 90° at 210° − 180° = 30°: as "NE".
        QTest::newRow("face II") << Rows{s, point("A", "2100000", "2700000", "100.000", "1.500")} << false << 1086.60254
                                 << 2050.0 << 100.0;
        // No slope distance: HD 20 taken as recorded, az 45°: N E 1000 + 14.142136, 2000 + 14.142136;
        // VD = 20 × cot 85° = 20 × 0.08748866 = 1.749773; Z 100 + 1.5 + 1.749773 − 1.5.
        QTest::newRow("recorded HD") << Rows{s, point("A", "0450000", "0850000", "", "1.500", "20.000")} << false
                                     << 1014.14214 << 2014.14214 << 101.74977;
        // Oriented on B: Hz 0° + 30° = az 30°, as "NE"; Hz 105° + 30° = 135°, as "SE".
        QTest::newRow("known backsight, NE") << (Rows(oriented) << point("A", "0000000", "0900000", "100.000", "1.500"))
                                             << false << 1086.60254 << 2050.0 << 100.0;
        QTest::newRow("known backsight, SE") << (Rows(oriented) << point("A", "1050000", "0950000", "80.000", "1.300"))
                                             << false << 943.64672 << 2056.35328 << 93.22754;
        QTest::newRow("backsight on a station record")
            << (Rows(oriented_sw) << point("A", "1050000", "0950000", "80.000", "1.300")) << false << 943.64672
            << 2056.35328 << 93.22754;
        // 1 km at z 89°: X = 1000 cos 89° = 17.452406, Y = 1000 sin 89° = 999.847695. Off: N 1999.847695,
        // Z 100 + 1.5 + 17.452406 − 1.5. On (k 0.142, R 6378 km): HD = Y − X·Y·0.929/6378000
        // = 999.847695 − 0.002542 = 999.845153; VD = X + Y²·0.858/12756000 = 17.452406 + 0.067242.
        // (The textbook rule h = 0.0675 m × K², K in km, with k 0.14 and R 6371 km, gives 0.06748.)
        const Rows far{s, point("A", "0000000", "0890000", "1000.000", "1.500")};
        QTest::newRow("curvature off") << far << false << 1999.84770 << 2000.0 << 117.45241;
        QTest::newRow("curvature on") << far << true << 1999.84515 << 2000.0 << 117.51965;
    }

    void polar()
    {
        QFETCH(Rows, rows);
        QFETCH(bool, curvature);
        QFETCH(double, n);
        QFETCH(double, e);
        QFETCH(double, z);
        SetupWalk walk(kLabels, known_points_of(rows, kLabels));
        for (int row = 0; row < rows.size(); ++row)
            walk.feed(row, rows[row]);
        ReductionOptions options;
        options.curvature = curvature;
        const Reduction r = reduce_point(walk.current(), rows.last(), options);
        QVERIFY2(r.has_height(), qPrintable(reason_in_english(r.problem) + reason_in_english(r.height_problem)));
        QVERIFY2(qAbs(r.n - n) < 6e-5 && qAbs(r.e - e) < 6e-5 && qAbs(r.z - z) < 6e-5,
                 qPrintable(QString("%1 %2 %3").arg(r.n, 0, 'f', 5).arg(r.e, 0, 'f', 5).arg(r.z, 0, 'f', 5)));
    }

    void cannot_compute_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<int>("kind"); // FindingKind
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("column");
        const QStringList s = station("S", "1000.000", "2000.000");
        const QStringList a = point("A", "0300000", "0900000", "100.000", "1.500");
        const int cannot = int(FindingKind::CannotCompute);
        const int no_z = int(FindingKind::HeightCannotCompute);
        QTest::newRow("no station") << Rows{a} << cannot << int(Unreduced::NoStation) << -1;
        QTest::newRow("six-digit angle") << Rows{s, with(a, ObsColumn::HorizontalAngle, "300000")} << cannot
                                         << int(Unreduced::BadAngle) << int(ObsColumn::HorizontalAngle);
        QTest::newRow("60 minutes") << Rows{s, with(a, ObsColumn::VerticalAngle, "0906000")} << cannot
                                    << int(Unreduced::BadAngle) << int(ObsColumn::VerticalAngle);
        QTest::newRow("zenith 0") << Rows{s, with(a, ObsColumn::VerticalAngle, "0000000")} << cannot
                                  << int(Unreduced::PlumbLine) << int(ObsColumn::VerticalAngle);
        QTest::newRow("zenith 180") << Rows{s, with(a, ObsColumn::VerticalAngle, "180°00'00\"")} << cannot
                                    << int(Unreduced::PlumbLine) << int(ObsColumn::VerticalAngle);
        QTest::newRow("no distance") << Rows{s, with(a, ObsColumn::SlopeDistance, "0.0000")} << cannot
                                     << int(Unreduced::NoDistance) << int(ObsColumn::SlopeDistance);
        QTest::newRow("distance not a number") << Rows{s, with(a, ObsColumn::SlopeDistance, "1O0.000")} << cannot
                                               << int(Unreduced::BadNumber) << int(ObsColumn::SlopeDistance);
        QTest::newRow("station without coordinates")
            << Rows{station("S", "", "2000.000"), a} << cannot << int(Unreduced::StationWithoutCoordinates) << 2;
        QTest::newRow("garbled backsight reading")
            << Rows{s, backsight("S2", "0150"),
                    row_of({{ObsColumn::Name, "S2"}, {ObsColumn::North, "900.000"}, {ObsColumn::East, "2000.000"}}), a}
            << cannot << int(Unreduced::BadAngle) << int(ObsColumn::BacksightAngle);
        QTest::newRow("station without Z")
            << Rows{station("S", "1000.000", "2000.000", ""), a} << no_z << int(Unreduced::StationWithoutHeight) << 2;
        QTest::newRow("no reflector height") << Rows{s, with(a, ObsColumn::ReflectorHeight, "")} << no_z
                                             << int(Unreduced::NoReflectorHeight) << int(ObsColumn::ReflectorHeight);
    }

    void cannot_compute()
    {
        QFETCH(Rows, rows);
        QFETCH(int, kind);
        QFETCH(int, reason);
        QFETCH(int, column);
        const CheckResult result = check_rows(rows, kLabels);
        QCOMPARE(kinds_of(result.findings), QList<int>{kind});
        const Finding& f = result.findings.first();
        QCOMPARE(f.row, rows.size() - 1);
        QCOMPARE(int(f.reason.kind), reason);
        QCOMPARE(f.reason.column, column);
        QCOMPARE(result.not_computed, kind == int(FindingKind::CannotCompute) ? 1 : 0);
        // Nothing is made up: a recompute leaves the cells it cannot compute as they were.
        const RecomputedPoint again = recompute_rows(rows, {}, kLabels, {}, {}).points.first();
        const int kept_from = kind == int(FindingKind::CannotCompute) ? 0 : int(ObsColumn::Height);
        QCOMPARE(again.cells.mid(kept_from), rows.last().mid(kept_from));
    }

    void findings_data()
    {
        QTest::addColumn<QStringList>("point");
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<double>("size");
        // The point of "NE" as the instrument recorded it: N 1086.603, E 2050.000, Z 100.000, HD 100, VD 0.
        const QStringList a = row_of({{ObsColumn::Kind, "MP"},
                                      {ObsColumn::Name, "A"},
                                      {ObsColumn::North, "1086.603"},
                                      {ObsColumn::East, "2050.000"},
                                      {ObsColumn::Height, "100.000"},
                                      {ObsColumn::InstrumentHeight, "1.500"},
                                      {ObsColumn::HorizontalAngle, "030°00'00\""},
                                      {ObsColumn::VerticalAngle, "090°00'00\""},
                                      {ObsColumn::SlopeDistance, "100.000"},
                                      {ObsColumn::VerticalDistance, "0.000"},
                                      {ObsColumn::HorizontalDistance, "100.000"},
                                      {ObsColumn::ReflectorHeight, "1.500"}});
        using K = FindingKind;
        QTest::newRow("as recorded") << a << QList<int>{} << 0.0;
        QTest::newRow("4 mm off: within") << with(a, ObsColumn::Height, "100.004") << QList<int>{} << 0.0;
        // 1086.615 − 1086.60254 = 0.01246; with dE 0.009 the positions lie √(0.01246² + 0.009²) = 0.01537 apart.
        QTest::newRow("N and E typed over") << with(with(a, ObsColumn::North, "1086.615"), ObsColumn::East, "2050.009")
                                            << QList<int>{int(K::PositionDiffers)} << 0.01537;
        QTest::newRow("Z typed over") << with(a, ObsColumn::Height, "99.800") << QList<int>{int(K::HeightDiffers)}
                                      << -0.2;
        QTest::newRow("HD garbled") << with(a, ObsColumn::HorizontalDistance, "100.030")
                                    << QList<int>{int(K::HorizontalDistanceDiffers)} << 0.03;
        QTest::newRow("VD garbled") << with(a, ObsColumn::VerticalDistance, "-0.012")
                                    << QList<int>{int(K::VerticalDistanceDiffers)} << -0.012;
    }

    void findings()
    {
        QFETCH(QStringList, point);
        QFETCH(QList<int>, kinds);
        QFETCH(double, size);
        const CheckResult result = check_rows({station("S", "1000.000", "2000.000"), point}, kLabels);
        QCOMPARE(kinds_of(result.findings), kinds);
        QCOMPARE(result.rows_with_findings, kinds.isEmpty() ? 0 : 1);
        if (!kinds.isEmpty())
            QVERIFY2(qAbs(result.findings.first().size - size) < 6e-6,
                     qPrintable(QString::number(result.findings.first().size)));
    }

    void wrong_reflector_height_found_and_fixed()
    {
        // X from S with the pole at 2.000 m, computed with 1.800 m: Z = 100 + 1.5 + 0 − 1.8 = 99.700.
        // From T (N 1086.603, E 2000, Z 100), az 90°, z 90°, SD 50, pole 2.000: N 1086.603, E 2050,
        // Z = 100 + 1.5 − 2.0 = 99.500. The same mark 0.200 m apart in height.
        const auto recorded = [](QStringList row, const QString& z) {
            return with(with(with(row, ObsColumn::North, "1086.603"), ObsColumn::East, "2050.000"), ObsColumn::Height,
                        z);
        };
        const Rows rows{station("S", "1000.000", "2000.000"),
                        recorded(point("X", "0300000", "0900000", "100.000", "1.800"), "99.700"),
                        station("T", "1086.603", "2000.000"),
                        recorded(point("X", "0900000", "0900000", "50.000", "2.000"), "99.500")};
        const CheckResult found = check_rows(rows, kLabels);
        QCOMPARE(kinds_of(found.findings), QList<int>{int(FindingKind::SameNameDiffers)});
        QCOMPARE(finding_in_english(found.findings.first()),
                 QString("row 4 X: as measured from S in row 2 it lies 0.000 m away, Z differs by +0.200 m"));

        RecomputeChanges changes;
        changes.heights.reflector = 2.0;
        const RecomputeResult fixed = recompute_rows(rows, {1}, kLabels, {}, changes);
        QCOMPARE(fixed.points.size(), 1);
        const RecomputedPoint& x = fixed.points.first();
        QCOMPARE(QStringList({x.old_n, x.old_e, x.old_z}), QStringList({"1086.603", "2050.000", "99.700"}));
        QCOMPARE(QStringList({x.new_n, x.new_e, x.new_z}), QStringList({"1086.603", "2050.000", "99.500"}));
        // Every raw cell as it was but the reflector height.
        QStringList expected = rows[1];
        expected[ObsColumn::Height] = "99.500";
        expected[ObsColumn::ReflectorHeight] = "2.000";
        QCOMPARE(x.cells, expected);
        Rows after = rows;
        after[1] = x.cells;
        QCOMPARE(check_rows(after, kLabels).findings.size(), 0);
    }

    void road1_adds_up()
    {
        const CheckResult result = check_rows(sample_rows("ROAD1.obs"), kLabels);
        QCOMPARE(result.measured, 12);
        QCOMPARE(result.computed, 12);
        QStringList words;
        for (const Finding& f : result.findings)
            words << finding_in_english(f);
        QCOMPARE(words, QStringList());
        QCOMPARE(result.setups.size(), 1);
        QCOMPARE(orientation_in_english(result.setups.first()),
                 QString("station S1 (row 1): backsight S2 has no known coordinates: the horizontal angles are taken "
                         "as azimuths"));
    }

    void road2_wrong_pole_found_and_fixed()
    {
        const Rows rows = sample_rows("ROAD2.obs");
        const CheckResult found = check_rows(rows, kLabels);
        // K1 → K2: azimuth atan(110 / 7) = 86.358815° = 086°21'32", circle 0 → orientation 086°21'32";
        // K2 → K1: 266°21'32" − 90°15'00" = 176°06'32".
        QCOMPARE(found.setups.size(), 2);
        QCOMPARE(orientation_in_english(found.setups[0]),
                 QString("station K1 (row 1): oriented on K2 (azimuth 086°21'32\", circle reading 000°00'00\"): "
                         "orientation 086°21'32\""));
        QCOMPARE(angle_with_marks(radians_to_seconds(found.setups[1].orientation)), QString("176°06'32\""));
        // Only the second P12 (row 21): the first, computed with 1.800 m, lies 0.200 m higher.
        QCOMPARE(kinds_of(found.findings), QList<int>{int(FindingKind::SameNameDiffers)});
        QCOMPARE(found.findings.first().row, 20);
        QCOMPARE(found.findings.first().other_row, 13);
        QVERIFY(qAbs(found.findings.first().dz - 0.2) < 0.0011);

        // The run P09 to P16 (rows 11 to 18) recomputed with 2.000 m: Z 0.200 lower, N and E as they were.
        RecomputeChanges changes;
        changes.heights.reflector = 2.0;
        const RecomputeResult fixed = recompute_rows(rows, {10, 11, 12, 13, 14, 15, 16, 17}, kLabels, {}, changes);
        QCOMPARE(fixed.recomputed, 8);
        Rows after = rows;
        for (const RecomputedPoint& p : fixed.points) {
            QVERIFY(qAbs(p.new_z.toDouble() - (p.old_z.toDouble() - 0.2)) < 0.0011);
            QVERIFY(qAbs(p.new_n.toDouble() - p.old_n.toDouble()) < 0.0011);
            after[p.row] = p.cells;
        }
        QCOMPARE(check_rows(after, kLabels).findings.size(), 0);
    }
};

KT_CORE_TEST_MAIN(TestSurvey)
#include "tst_survey.moc"
