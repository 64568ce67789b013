// The KT20/KT40 codec against known frames: recognition for every frame set, direction and data
// kind, noise cutting, record decoding and every frame the PC builds.
#include "kt2040_frames.h"
#include "ktest.h"
#include "linkedwindow.h"

using namespace kt2040;
using instrument::left;
using instrument::right;

Q_DECLARE_METATYPE(kt2040::Frame)
Q_DECLARE_METATYPE(kt2040::FrameSet)

namespace
{

const QByteArray kHeader200 = QByteArray::fromHex("aa80") + "JOB 1  " + QByteArray::fromHex("00c8aa82");
// Spaces, NULs and the unit letter in the coordinates; the letter m stays in a code.
const QByteArray kKt40Record = "\x90  000013 " + QByteArray("PT 1\0  ", 7) + "  1234.567m   " +
                               QByteArray(" -12.345 m\0\0\0\0", 14) + "      100.000m" + " CODE m \xB0";
const QByteArray kCoordinate = instrument::coordinate_record(3, 10, "PT1", "CODE", "1234.5", "-12.345", "abc");

void add_row(const char* name, FrameSet set, int direction, int mode, const QByteArray& bytes, Frame frame)
{
    QTest::newRow(name) << set << direction << mode << bytes << frame;
}

} // namespace

class TestKt2040Frames : public QObject
{
    Q_OBJECT

private slots:
    void recognise_data()
    {
        QTest::addColumn<FrameSet>("set");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Frame>("frame");
        const FrameSet kt40 = FrameSet::Kt40, text = FrameSet::Kt20Kt40;
        const QByteArray two_records = kCoordinate + kCoordinate;

        add_row("KT40 header", kt40, 0, 0, kHeader200, Frame::Kt40Header);
        add_row("KT40 header without name", kt40, 0, 0, QByteArray::fromHex("aa800003aa82"), Frame::Kt40Header);
        add_row("KT40 record", kt40, 0, 0, kKt40Record, Frame::Kt40Record);
        add_row("KT40 record cut short at a B0 waits", kt40, 0, 0, kKt40Record.left(40) + '\xB0', Frame::None);
        add_row("KT40 end", kt40, 0, 0, QByteArray::fromHex("aa82"), Frame::Kt40End);
        add_row("KT40 end with a byte behind", kt40, 0, 0, QByteArray::fromHex("aa8200"), Frame::None);
        add_row("KT40 one byte waits", kt40, 0, 0, QByteArray::fromHex("aa"), Frame::None);
        add_row("KT40 ack while sending", kt40, 1, 0, QByteArray::fromHex("aa81"), Frame::Kt40Ack);
        add_row("KT40 ack with bytes behind", kt40, 1, 0, QByteArray::fromHex("aa81ff00"), Frame::Kt40Ack);
        add_row("KT40 end answer while sending", kt40, 1, 0, QByteArray::fromHex("aa82"), Frame::Kt40EndAck);
        add_row("KT40 header while sending", kt40, 1, 0, kHeader200, Frame::None);

        add_row("coordinates: start request", text, 0, 0, "\x01J\r", Frame::StartRequest);
        add_row("coordinates: start request with a record begun", text, 0, 0,
                "\x01J\r\x02"
                "0001",
                Frame::StartRequest);
        add_row("coordinates: record", text, 0, 0, kCoordinate, Frame::CoordinateRecord);
        add_row("coordinates: end", text, 0, 0, "\x01Q\r", Frame::End);
        add_row("coordinates: file header is not theirs", text, 0, 0, instrument::file_header(1, 5, "JOB"),
                Frame::None);
        add_row("coordinates: two records at once", text, 0, 0, two_records, Frame::None);
        add_row("coordinates: two bytes wait", text, 0, 0, "\x01J", Frame::None);

        add_row("measured: start request", text, 0, 1, "\x05J\r", Frame::StartRequest);
        add_row("measured: start request with a byte behind", text, 0, 1, "\x05J\r\x06", Frame::None);
        add_row("measured: file header", text, 0, 1, instrument::file_header(1, 5, "JOB"), Frame::FileHeader);
        add_row("measured: station", text, 0, 1, instrument::station_record(2, 5, "S", "", "1.5", "1", "2", "3"),
                Frame::StationRecord);
        add_row("measured: backsight", text, 0, 1, instrument::backsight_record(3, 5, "B", "", "0900000"),
                Frame::BacksightRecord);
        add_row("measured: measured point", text, 0, 1, instrument::measured_record(4, 5, "M", "", {}),
                Frame::MeasuredRecord);
        add_row("measured: end", text, 0, 1, "\x05Q\r", Frame::End);
        add_row("measured: end with error", text, 0, 1,
                "\x05"
                "E\r",
                Frame::EndWithError);
        add_row("measured: coordinate request is not theirs", text, 0, 1, "\x01J\r", Frame::None);

        add_row("sending: request", text, 1, 0, "\x01J\r", Frame::RecordRequest);
        add_row("sending: request with a byte behind", text, 1, 0, "\x01J\r\x01", Frame::None);
        add_row("sending: end", text, 1, 0, "\x01Q\r", Frame::End);
        add_row("sending: end with error", text, 1, 0,
                "\x01"
                "E\r",
                Frame::EndWithError);
        add_row("no frame set", FrameSet::None, 0, 0, "\x01J\r", Frame::None);
    }

    void recognise()
    {
        QFETCH(FrameSet, set);
        QFETCH(int, direction);
        QFETCH(int, mode);
        QFETCH(QByteArray, bytes);
        QFETCH(Frame, frame);
        QCOMPARE(kt2040::recognise(bytes, {set, direction, mode}), frame);
    }

    void cut_noise_data()
    {
        QTest::addColumn<FrameSet>("set");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("kept");
        const FrameSet kt40 = FrameSet::Kt40, text = FrameSet::Kt20Kt40;
        const auto row = [](const char* name, FrameSet set, int direction, int mode, const QByteArray& bytes,
                            const QByteArray& kept) {
            QTest::newRow(name) << set << direction << mode << bytes << kept;
        };
        const QByteArray noise = QByteArray::fromHex("00ff5533");

        row("KT40 noise before a header", kt40, 0, 0, noise + kHeader200.left(5), kHeader200.left(5));
        row("KT40 marker byte followed by noise", kt40, 0, 0, QByteArray::fromHex("aa55aa"), "\xAA");
        row("KT40 record begun stays", kt40, 0, 0, kKt40Record.left(30), kKt40Record.left(30));
        row("KT40 buffer beyond any frame", kt40, 0, 0, QByteArray(300, '\x90'), QByteArray(255, '\x90'));
        row("KT40 noise alone", kt40, 0, 0, noise, "");
        row("KT40 sending: noise before an ack", kt40, 1, 0, noise + "\xAA", "\xAA");
        row("coordinates: broken request before a request", text, 0, 0, "\x01\x33\x01J", "\x01J");
        row("coordinates: two records keep the second", text, 0, 0, kCoordinate + kCoordinate, kCoordinate);
        row("measured: a short 06 frame may still grow", text, 0, 1, instrument::file_header(1, 5, "J") + "x",
            instrument::file_header(1, 5, "J") + "x");
        row("measured: coordinate codes are noise", text, 0, 1, "\x01\x02\x05J", "\x05J");
        row("sending: two requests at once keep one", text, 1, 0, "\x01J\r\x01J\r", "\x01J\r");
        row("no frame set keeps everything", FrameSet::None, 0, 0, noise, noise);
    }

    void cut_noise()
    {
        QFETCH(FrameSet, set);
        QFETCH(int, direction);
        QFETCH(int, mode);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, kept);
        QByteArray buffer = bytes;
        QCOMPARE(kt2040::cut_noise(buffer, {set, direction, mode}), kept != bytes);
        QCOMPARE(buffer, kept);
    }

    void kt40_header_and_record()
    {
        QCOMPARE(header_count(kHeader200), 200);
        QCOMPARE(header_name(kHeader200), QString("JOB"));
        QCOMPARE(header_count(QByteArray::fromHex("aa80ff01aa82")), 65281);
        QCOMPARE(header_name(QByteArray::fromHex("aa800003aa82")), QString());
        const Record r = decode_record(kKt40Record, Frame::Kt40Record);
        QCOMPARE(r.cells, (QStringList{"PT1", "CODEm", "1234.567", "-12.345", "100.000"}));
        QVERIFY(r.label_key.isEmpty());
        QVERIFY(!r.fills_table && !r.job_column);
    }

    void kt20kt40_records_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Frame>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("fills");
        QTest::addColumn<QStringList>("cells");
        const QString none;
        QTest::newRow("coordinate") << kCoordinate << Frame::CoordinateRecord << 3 << 10 << none << true
                                    << QStringList{"", "", "PT1", "1234.5000", "-12.3450", "0.0000", "CODE", "",
                                                   "", "", "",    "",          "",         "",       ""};
        QTest::newRow("station") << instrument::station_record(2, 5, "STN1", "", "1.5", "1000", "2000.000", " 100")
                                 << Frame::StationRecord << 2 << 5 << "STN" << true
                                 << QStringList{"", "", "STN1", "1000.0000", "2000.0000", "100.0000", "", "1.5000",
                                                "", "", "",     "",          "",          "",         ""};
        QTest::newRow("backsight") << instrument::backsight_record(3, 5, "BK1", "C2", "0900000")
                                   << Frame::BacksightRecord << 3 << 5 << "BK" << true
                                   << QStringList{"", "", "BK1", "", "", "", "C2", "", "090\u00B000'00\"",
                                                  "", "", "",    "", "", ""};
        // Angles are marked on the untrimmed field: a leading space shifts the marks.
        QTest::newRow("measured point")
            << instrument::measured_record(
                   4, 5, "MP1", "C3",
                   {"1234512", " 900000", "123.456", "-1.234", "123.45", "1.5", "1.8", "1000", "2000", "100"})
            << Frame::MeasuredRecord << 4 << 5 << "MP" << false
            << QStringList{"",        "",         "MP1",   "1000.0000",        "2000.0000",       "100.0000",
                           "C3",      "1.5000",   "",      "123\u00B045'12\"", "90\u00B000'00\"", "123.4560",
                           "-1.2340", "123.4500", "1.8000"};
        QTest::newRow("numbers that are not numbers")
            << instrument::coordinate_record(0, 0, "", "", "", "", "").replace(1, 8, "00x1 abc")
            << Frame::CoordinateRecord << 0 << 0 << none << true
            << QStringList{"", "", "", "0.0000", "0.0000", "0.0000", "", "", "", "", "", "", "", "", ""};
    }

    void kt20kt40_records()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Frame, kind);
        QFETCH(int, number);
        QFETCH(int, total);
        QFETCH(QString, label);
        QFETCH(bool, fills);
        QFETCH(QStringList, cells);
        const Record r = decode_record(bytes, kind);
        QCOMPARE(r.cells, cells);
        QCOMPARE(r.number, number);
        QCOMPARE(r.total, total);
        QCOMPARE(r.label_key, label);
        QCOMPARE(r.job_column, !label.isEmpty());
        QCOMPARE(r.fills_table, fills);
        QCOMPARE(record_ack(bytes), bytes.left(9) + '\r');
    }

    void file_header_keeps_the_job_name_untrimmed()
    {
        QCOMPARE(job_name(instrument::file_header(1, 5, "J1")), QString("J1   "));
    }

    void frames_the_pc_sends()
    {
        QCOMPARE(kt40_header(200), QByteArray::fromHex("aa8000c8aa82"));
        QCOMPARE(kt40_header(0), QByteArray::fromHex("aa800000aa82"));
        QCOMPARE(kt40_header(300), QByteArray::fromHex("aa80012caa82"));
        QCOMPARE(kt40_ack(), QByteArray::fromHex("aa81"));
        QCOMPARE(kt40_end(), QByteArray::fromHex("aa82"));

        // Row 12 is record 13; the name is cut to 7, the coordinates go as they stand.
        const QByteArray record = kt2040::kt40_record(12, {"ABCDEFGHI", "CODE", "1234.567", "-12.345", "100"});
        QCOMPARE(record, "\x90  000013 ABCDEFG" + right("1234.567", 14) + right("-12.345", 14) + right("100", 14) +
                             " CODE   \xB0");
        QCOMPARE(kt2040::kt40_record(1234566, {}).mid(3, 6), QByteArray("123456"));
        // Characters beyond Latin-1 become 00; Latin-1 ones keep their value.
        QCOMPARE(kt2040::kt40_record(0, {QString::fromUtf8("测\u00B0")}).mid(10, 3), QByteArray("\0\xB0 ", 3));

        const QString text =
            kt20kt40_record_text(0, 3, {"", "", "POINTNAME", "1234.5", "-12.345", "", "C", "", "", "", "", ""});
        QCOMPARE(text, QString("0001") + "0003" + "POINTNA" + "C      " + "000001234.500" + "000000-12.345" +
                           "000000000.000");
        QCOMPARE(kt20kt40_record_text(12344, 99999, {}).left(8), QString("12349999"));
        QCOMPARE(kt20kt40_record(text), '\x02' + text.toLatin1() + '\r');
        QCOMPARE(kt20kt40_record("0001"), '\x02' + left("0001", 61) + '\r');
    }
};

KT_TEST_MAIN(TestKt2040Frames)
#include "tst_kt2040_frames.moc"
