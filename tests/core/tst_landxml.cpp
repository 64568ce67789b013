// LandXML points: written files judged by xmllint against the LandXML 1.2 schema, read back, the
// reader on hand-made documents (nesting, references, refusals), and failed writes.
#include "landxml/landxmlreader.h"
#include "landxml/landxmlwriter.h"
#include "support/core/geotest.h"
#include "support/core/mount.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace
{

const QString kSchema = QStringLiteral(KT_SOURCE_DIR "/tests/data/standards/LandXML-1.2.xsd");

bool schema_valid(const QString& path)
{
    return !run_judge("xmllint", {"--noout", "--schema", kSchema, path}).isNull();
}

struct Written {
    QStringList taken; // the lines the writer took
    int skipped = 0;
    int groups = 0;
    int dropped = 0;
    bool finished = false;
};

// Writes point lines with the five-field layout.
Written write_points(const QString& path, const QStringList& lines, const QString& crs)
{
    Written written;
    LandXmlWriter writer(path, PointFields::point_line());
    if (!writer.open(crs, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))))
        return written;
    for (const QString& line : lines) {
        if (writer.write(split_point_line(line)))
            written.taken << line;
    }
    written.finished = writer.finish();
    written.skipped = writer.skipped();
    written.groups = writer.groups();
    written.dropped = writer.dropped_characters();
    return written;
}

LandXmlPoints read_text(const QByteArray& text)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return read_landxml(&buffer);
}

// A device that cannot go back, as a pipe is.
class SequentialBuffer : public QIODevice
{
public:
    explicit SequentialBuffer(const QByteArray& data) : data_(data) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 size) override
    {
        size = qMin(size, qint64(data_.size()) - at_);
        std::copy_n(data_.constData() + at_, size, data);
        at_ += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data_;
    qint64 at_ = 0;
};

QByteArray document(const QByteArray& body)
{
    return "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
           "date=\"2024-01-01\" time=\"00:00:00\" version=\"1.2\">\n" +
           body + "\n</LandXML>\n";
}

const QStringList kPoints{
    "P1,CODE,3380000.123,500000.456,12.5",
    "P2,,3380001,500001,",            // no code, no Z: "N E"
    ",K,3380002.10,500002.20,-1.000", // no name; decimals as written
    "点3,树,3380003,500003,7",
    "A<&>\"',c&d,1e3,+2.5,0",
    "P1,again,1,2,3", // a repeated name starts a new group
};

} // namespace

class TestLandXml : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;

private slots:
    void written_files_validate_data()
    {
        QTest::addColumn<QString>("crs");
        QTest::newRow("EPSG system") << "EPSG:4547";
        QTest::newRow("no system") << "";
        QTest::newRow("system of another authority") << "ESRI:102142";
    }

    void written_files_validate()
    {
        QFETCH(QString, crs);
        const QString path = dir_.filePath(QString("valid-%1.xml").arg(QTest::currentDataTag()).replace(' ', '_'));
        const Written written = write_points(path, kPoints, crs);
        QVERIFY(written.finished);
        QCOMPARE(written.taken, kPoints);
        QCOMPARE(written.groups, 2);
        QVERIFY(schema_valid(path));
        const QByteArray text = read_file(path);
        QVERIFY(text.contains(">3380000.123 500000.456 12.5</CgPoint>")); // N before E
        QVERIFY(text.contains(">3380001 500001</CgPoint>"));
        QVERIFY(text.contains("date=\"2024-05-06\" time=\"07:08:09\" version=\"1.2\""));
        QVERIFY(text.contains("linearUnit=\"meter\""));
        QVERIFY(text.contains("<Application name=\"ktlink\""));
        QCOMPARE(text.contains("epsgCode=\"4547\""), crs == "EPSG:4547");
        QCOMPARE(text.contains("<CoordinateSystem"), !crs.isEmpty());
    }

    void round_trip()
    {
        const QString path = dir_.filePath("round.xml");
        QCOMPARE(write_points(path, kPoints, "EPSG:4547").taken, kPoints);
        const LandXmlPoints read = read_landxml_file(path);
        QVERIFY(read.ok());
        QCOMPARE(read.lines, kPoints);
        QCOMPARE(read.crs, QString("EPSG:4547"));
        QCOMPARE(read.linear_unit, QString("meter"));
        QCOMPARE(read.without_coordinates, 0);
    }

    void rows_left_out_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("written");
        QTest::newRow("plain") << "P,C,1,2,3" << true;
        QTest::newRow("spaces around numbers") << "P,C, 1 , 2 , 3 " << true;
        QTest::newRow("N not a number") << "P,C,x,2,3" << false;
        QTest::newRow("E empty") << "P,C,1,,3" << false;
        QTest::newRow("Z text") << "P,C,1,2,high" << false;
        QTest::newRow("N infinite") << "P,C,inf,2,3" << false;
        QTest::newRow("numbers as XML reads them") << "P,C,.5,5.,-1E+3" << true;
        QTest::newRow("exponent without digits") << "P,C,1e,2,3" << false;
        QTest::newRow("hexadecimal") << "P,C,0x10,2,3" << false;
        QTest::newRow("decimal comma lost to the split") << "P,C,1,5,2,3" << true;
        QTest::newRow("too few fields") << "P,C,1" << false;
    }

    void rows_left_out()
    {
        QFETCH(QString, line);
        QFETCH(bool, written);
        const QString path = dir_.filePath("one.xml");
        const Written result = write_points(path, {line}, QString());
        QVERIFY(result.finished);
        QCOMPARE(result.taken.size(), written ? 1 : 0);
        QCOMPARE(result.skipped, written ? 0 : 1);
        QVERIFY(schema_valid(path));
    }

    void large_files_in_groups()
    {
        // Names are kept for a group of 100,000 at most: the next name starts a new group.
        QStringList lines;
        for (int i = 0; i < 100001; ++i)
            lines << QString("P%1,,%2,500000,").arg(i).arg(3380000 + i);
        const QString path = dir_.filePath("large.xml");
        const Written written = write_points(path, lines, "EPSG:4547");
        QVERIFY(written.finished);
        QCOMPARE(written.groups, 2);
        QVERIFY(schema_valid(path));
        QCOMPARE(read_landxml_file(path).lines, lines);
    }

    void control_characters_dropped()
    {
        const QString path = dir_.filePath("control.xml");
        const Written written =
            write_points(path, {QString("P\x01x,c\x02,1,2,3"), QString("Q") + QChar(0xD800) + ",,1,2,3"}, QString());
        QCOMPARE(written.dropped, 3);
        QVERIFY(schema_valid(path));
        QCOMPARE(read_landxml_file(path).lines, QStringList({"Px,c,1,2,3", "Q,,1,2,3"}));
    }

    void observation_layout()
    {
        // Further columns are not written; the roles pick the fields.
        PointFields fields({"kind", "job", "name", "N", "E", "Z", "code", "hz"});
        fields.set_field(PointRole::Name, 2);
        fields.set_field(PointRole::North, 3);
        fields.set_field(PointRole::East, 4);
        fields.set_field(PointRole::Height, 5);
        fields.set_field(PointRole::Code, 6);
        const QString path = dir_.filePath("observations.xml");
        LandXmlWriter writer(path, fields);
        QVERIFY(writer.open());
        QVERIFY(writer.write({"STN", "J1", "S1", "100", "200", "5", "stake", "123°45'30\""}));
        QVERIFY(writer.finish());
        QVERIFY(schema_valid(path));
        QCOMPARE(read_landxml_file(path).lines, QStringList{"S1,stake,100,200,5"});
        LandXmlWriter without_north(path, PointFields({"name", "E"}));
        QVERIFY(!without_north.open());
    }

    void failed_write_leaves_nothing_data()
    {
        QTest::addColumn<QString>("place");
        QTest::newRow("folder is a file") << "blocked";
        QTest::newRow("read-only disk") << "read-only";
        QTest::newRow("full disk") << "full";
    }

    void failed_write_leaves_nothing()
    {
        QFETCH(QString, place);
        QTemporaryDir work;
        const QString folder = work.filePath("mnt");
        bool mounted = false;
        const std::unique_ptr<Mount> mount = failing_folder(place, folder, "16k", "points.xml", &mounted);
        if (!mounted)
            QSKIP("mounting a small file system needs root");
        const QString target = folder + "/points.xml";
        LandXmlWriter writer(target, PointFields::point_line());
        bool done = writer.open();
        for (int i = 0; done && i < 2000; ++i)
            writer.write({QString("POINT%1").arg(i), "CODE", "3380000.123", "500000.456", "12.345"});
        done = done && writer.finish();
        QVERIFY(!done);
        QVERIFY(!writer.error().isEmpty());
        if (place != "blocked") {
            QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"points.xml"});
            QCOMPARE(read_file(target), QByteArray("old"));
        }
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("without_coordinates");

        QTest::newRow("nested groups") << document("<CgPoints><CgPoint name=\"1\">1 2 3</CgPoint><CgPoints>"
                                                   "<CgPoint name=\"2\" code=\"K\">4 5</CgPoint></CgPoints></CgPoints>")
                                       << QStringList{"1,,1,2,3", "2,K,4,5,"} << 0;
        QTest::newRow("anywhere in the file")
            << document("<Survey><InstrumentSetup><CgPoint name=\"S\">7 8 9</CgPoint></InstrumentSetup></Survey>")
            << QStringList{"S,,7,8,9"} << 0;
        QTest::newRow("chain of references") << document("<CgPoints><CgPoint name=\"a\" pntRef=\"b\"/>"
                                                         "<CgPoint name=\"b\" pntRef=\"c\"/>"
                                                         "<CgPoint name=\"c\">5 6</CgPoint></CgPoints>")
                                             << QStringList{"a,,5,6,", "b,,5,6,", "c,,5,6,"} << 0;
        QTest::newRow("ring of references") << document("<CgPoints><CgPoint name=\"a\" pntRef=\"b\"/>"
                                                        "<CgPoint name=\"b\" pntRef=\"a\"/>"
                                                        "<CgPoint name=\"c\">5 6</CgPoint></CgPoints>")
                                            << QStringList{"c,,5,6,"} << 2;
        QTest::newRow("reference to a missing point")
            << document("<CgPoints><CgPoint name=\"a\" pntRef=\"zz\"/><CgPoint name=\"c\">5 6</CgPoint></CgPoints>")
            << QStringList{"c,,5,6,"} << 1;
        QTest::newRow("own coordinates win over the reference")
            << document("<CgPoints><CgPoint name=\"a\" pntRef=\"c\">1 1</CgPoint><CgPoint name=\"c\">5 6</CgPoint>"
                        "</CgPoints>")
            << QStringList{"a,,1,1,", "c,,5,6,"} << 0;
        QTest::newRow("without coordinates, bad coordinates")
            << document("<CgPoints><CgPoint name=\"e\"/><CgPoint name=\"f\">1 2 3 4</CgPoint>"
                        "<CgPoint name=\"g\">north east</CgPoint><CgPoint name=\"h\"> 1\n 2 </CgPoint></CgPoints>")
            << QStringList{"h,,1,2,"} << 3;
        QTest::newRow("desc as code, commas replaced")
            << document("<CgPoints><CgPoint name=\"a,b\" desc=\"EP\">1 2</CgPoint></CgPoints>")
            << QStringList{"a;b,EP,1,2,"} << 0;
        QTest::newRow("older namespace") << QByteArray("<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.1\">"
                                                       "<CgPoints><CgPoint>1 2</CgPoint></CgPoints></LandXML>")
                                         << QStringList{",,1,2,"} << 0;
        QTest::newRow("a name given twice, the first without coordinates")
            << document("<CgPoints><CgPoint name=\"a\" pntRef=\"c\"/><CgPoint name=\"c\"/>"
                        "<CgPoint name=\"c\">1 2</CgPoint><CgPoint name=\"c\">3 4</CgPoint></CgPoints>")
            << QStringList{"a,,1,2,", "c,,1,2,", "c,,3,4,"} << 1;
    }

    void read()
    {
        QFETCH(QByteArray, xml);
        const LandXmlPoints points = read_text(xml);
        QCOMPARE(int(points.status), int(LandXmlPoints::Ok));
        QTEST(points.lines, "lines");
        QTEST(points.without_coordinates, "without_coordinates");
        // Handed on one by one, from a stream that cannot go back, the same.
        SequentialBuffer pipe(xml);
        QStringList handed;
        const LandXmlPoints streamed = read_landxml(&pipe, [&](const QString& line) { handed << line; });
        QTEST(handed, "lines");
        QVERIFY(streamed.lines.isEmpty());
        QTEST(streamed.without_coordinates, "without_coordinates");
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("without_coordinates");

        QTest::newRow("empty file") << QByteArray() << int(LandXmlPoints::NotWellFormed) << 1 << 0 << 0;
        QTest::newRow("unclosed element") << QByteArray("<LandXML>\n<CgPoints>\n<CgPoint>1 2</CgPoints>")
                                          << int(LandXmlPoints::NotWellFormed) << 3 << 23 << 0;
        QTest::newRow("not XML") << QByteArray("P1,K,1,2,3\n") << int(LandXmlPoints::NotWellFormed) << 1 << 1 << 0;
        QTest::newRow("another XML document") << QByteArray("<?xml version=\"1.0\"?>\n\n<kml><Placemark/></kml>")
                                              << int(LandXmlPoints::NotLandXml) << 3 << 5 << 0;
        QTest::newRow("no points") << document("<Units/>") << int(LandXmlPoints::NoPoints) << 5 << 0 << 0;
        QTest::newRow("only points without coordinates")
            << document("<CgPoints><CgPoint name=\"a\"/><CgPoint name=\"b\" pntRef=\"a\"/></CgPoints>")
            << int(LandXmlPoints::NoPoints) << 5 << 0 << 2;
    }

    void refused()
    {
        QFETCH(QByteArray, xml);
        const LandXmlPoints points = read_text(xml);
        QTEST(int(points.status), "status");
        QTEST(int(points.line), "line");
        QTEST(int(points.column), "column");
        QTEST(points.without_coordinates, "without_coordinates");
        QVERIFY(points.lines.isEmpty());
        if (points.status == LandXmlPoints::NotWellFormed)
            QVERIFY(!points.message.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestLandXml)
#include "tst_landxml.moc"
