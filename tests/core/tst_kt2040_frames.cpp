// The KT20/KT40 codec against known frames: recognition by frame set, direction and data kind, noise
// cutting, record decoding and the frames the PC builds.
#include "comm/kt2040_frames.h"
#include "support/core/kt2040_samples.h"
#include "support/core/ktest_core.h"

using namespace kt2040;

Q_DECLARE_METATYPE(kt2040::Frame)

namespace
{

const FrameSet kt40 = FrameSet::Kt40;
const FrameSet text = FrameSet::Kt20Kt40;
const QByteArray noise = QByteArray::fromHex("00ff5533");

} // namespace

class TestKt2040Frames : public QObject
{
    Q_OBJECT

private slots:
    // `kept` is what noise cutting leaves of a buffer that is no frame.
    void recognise_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Frame>("frame");
        QTest::addColumn<QByteArray>("kept");
        const auto row = [](const char* name, FrameSet set, int direction, int mode, const QByteArray& bytes,
                            Frame frame, const QByteArray& kept = QByteArray()) {
            QTest::newRow(name) << int(set) << direction << mode << bytes << frame
                                << (frame == Frame::None ? kept : bytes);
        };
        namespace s = sample;
        row("KT40 header", kt40, 0, 0, s::kt40_header, Frame::Kt40Header);
        row("KT40 record", kt40, 0, 0, s::kt40_record, Frame::Kt40Record);
        row("KT40 short record ending in B0 waits", kt40, 0, 0, s::kt40_record.left(40) + '\xB0', Frame::None,
            s::kt40_record.left(40) + '\xB0');
        row("KT40 end", kt40, 0, 0, QByteArray::fromHex("aa82"), Frame::Kt40End);
        row("KT40 noise before a header", kt40, 0, 0, noise + s::kt40_header.left(4), Frame::None,
            s::kt40_header.left(4));
        row("KT40 marker byte before noise", kt40, 0, 0, QByteArray::fromHex("aa55aa"), Frame::None, "\xAA");
        row("KT40 record start that outgrew a record", kt40, 0, 0, QByteArray(300, '\x90'), Frame::None,
            QByteArray(67, '\x90'));
        row("KT40 stray 90 before a header", kt40, 0, 0, '\x90' + QByteArray(67, 'x') + s::kt40_header.left(4),
            Frame::None, s::kt40_header.left(4));
        row("KT40 ack, any length", kt40, 1, 0, QByteArray::fromHex("aa81ff"), Frame::Kt40Ack);
        row("KT40 end answer", kt40, 1, 0, QByteArray::fromHex("aa82"), Frame::Kt40EndAck);
        row("KT40 header while sending", kt40, 1, 0, s::kt40_header, Frame::None, s::kt40_header.right(2));
        row("start request, a record begun behind it", text, 0, 0, "\x01J\r\x02", Frame::StartRequest);
        row("coordinate record", text, 0, 0, s::coordinate, Frame::CoordinateRecord);
        row("coordinate end", text, 0, 0, "\x01Q\r", Frame::End);
        row("file header in coordinate mode", text, 0, 0, s::file_header, Frame::None, "");
        row("two coordinate records keep the second", text, 0, 0, s::coordinate + s::coordinate, Frame::None,
            s::coordinate);
        row("broken request before a request", text, 0, 0, "\x01\x33\x01J", Frame::None, "\x01J");
        row("measured start request", text, 0, 1, "\x05J\r", Frame::StartRequest);
        row("file header", text, 0, 1, s::file_header, Frame::FileHeader);
        row("station", text, 0, 1, s::station, Frame::StationRecord);
        row("backsight", text, 0, 1, s::backsight, Frame::BacksightRecord);
        row("measured point", text, 0, 1, s::measured, Frame::MeasuredRecord);
        row("file header that may still grow", text, 0, 1, s::file_header + "x", Frame::None, s::file_header + "x");
        row("measured end", text, 0, 1, "\x05Q\r", Frame::End);
        row("measured end with error", text, 0, 1, "\x05\x45\r", Frame::EndWithError);
        row("record request", text, 1, 0, "\x01J\r", Frame::RecordRequest);
        row("two requests at once keep one", text, 1, 0, "\x01J\r\x01J\r", Frame::None, "\x01J\r");
        row("send end with error", text, 1, 0, "\x01\x45\r", Frame::EndWithError);
        row("no frame set keeps everything", FrameSet::None, 0, 0, noise, Frame::None, noise);
    }

    void recognise()
    {
        QFETCH(int, set);
        QFETCH(int, direction);
        QFETCH(int, mode);
        QFETCH(QByteArray, bytes);
        QFETCH(Frame, frame);
        QFETCH(QByteArray, kept);
        const Context context{FrameSet(set), Direction(direction), DataKind(mode)};
        QCOMPARE(kt2040::recognise(bytes, context), frame);
        if (frame == Frame::None) {
            QCOMPARE(cut_noise(bytes, context), kept != bytes);
            QCOMPARE(bytes, kept);
        }
    }

    void records_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Frame>("kind");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("numbers"); // number/total, label key, job column, fills the table
        QTest::newRow("KT40") << sample::kt40_record << Frame::Kt40Record << "PT1|CODEm|1234.567|-12.345|100.000"
                              << "1/0  no no";
        QTest::newRow("coordinate") << sample::coordinate << Frame::CoordinateRecord
                                    << "||PT1|1234.5000|-12.3450|0.0000|CODE||||||||"
                                    << "3/10  no yes";
        QTest::newRow("station") << sample::station << Frame::StationRecord
                                 << "||STN1|1000.0000|2000.0000|100.0000||1.5000|||||||"
                                 << "2/5 STN yes yes";
        QTest::newRow("backsight") << sample::backsight << Frame::BacksightRecord
                                   << "||BK1||||C2||090\u00B000'00\"||||||"
                                   << "3/5 BK yes yes";
        QTest::newRow("measured point")
            << sample::measured << Frame::MeasuredRecord
            << "||MP1|1000.0000|2000.0000|100.0000|C3|1.5000||123\u00B045'12\"|90\u00B000'00\"|123.4560|-1.2340|"
               "123.4500|1.8000"
            << "4/5 MP yes no";
    }

    void records()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Frame, kind);
        QFETCH(QString, cells);
        QFETCH(QString, numbers);
        const Record r = decode_record(bytes, kind);
        QCOMPARE(r.cells.join('|'), cells);
        const auto yes = [](bool b) { return b ? "yes" : "no"; };
        QCOMPARE(QString("%1/%2 %3 %4 %5")
                     .arg(r.number)
                     .arg(r.total)
                     .arg(r.label_key, yes(r.job_column), yes(r.fills_table)),
                 numbers);
    }

    void header_name_count_and_job()
    {
        QCOMPARE(header_name(sample::kt40_header) + QString::number(header_count(sample::kt40_header)),
                 QString("JOB2"));
        QCOMPARE(header_count(QByteArray::fromHex("aa80ff01aa82")), 65281);
        QCOMPARE(header_name(QByteArray::fromHex("aa800003aa82")), QString());
        QCOMPARE(job_name(sample::file_header), QString("JOB1 "));
        QCOMPARE(record_ack(sample::station), '\x06' + QByteArray("00020005\r"));
    }

    void frames_the_pc_sends()
    {
        QCOMPARE(kt40_header(200) + kt40_header(300), QByteArray::fromHex("aa8000c8aa82aa80012caa82"));
        // Row 12 is record 13; a name of 9 characters is cut to 7; beyond Latin-1 becomes 00.
        QCOMPARE(kt40_record(12, {"ABCDEFGHI", QString::fromUtf8("测\u00B0"), "1234.567", "-12.345", "100"}),
                 QByteArray("\x90  000013 ABCDEFG      1234.567       -12.345           100 \0\xB0     \xB0", 68));
        QCOMPARE(kt40_record(1234566, {}).mid(3, 6), QByteArray("123456"));
        const QString record_text = kt20kt40_record_text(0, 3, {"", "", "POINTNAME", "1234.5", "-12.345", "", "C"});
        QCOMPARE(record_text, QString("00010003POINTNAC      000001234.500000000-12.345000000000.000"));
        QCOMPARE(kt20kt40_record(record_text), '\x02' + record_text.toLatin1() + '\r');
        QCOMPARE(kt20kt40_record("0001").size(), 63);
    }

    // The instrument's records, built from the row texts the PC decodes, are frames the PC takes as
    // the same kind and decodes to the same texts.
    void instrument_records_data() { records_data(); }

    void instrument_records()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Frame, kind);
        const Record r = decode_record(bytes, kind);
        const QByteArray built = record_frame(kind, r.number, r.total, r.cells);
        QCOMPARE(built.size(), bytes.size());
        const FrameSet set = kind == Frame::Kt40Record ? kt40 : text;
        const DataKind mode = kind == Frame::CoordinateRecord ? Coordinates : MeasuredData;
        QCOMPARE(kt2040::recognise(built, {set, PcReceives, mode}), kind);
        QCOMPARE(decode_record(built, kind).cells, r.cells);
        // The PC's acknowledgement is what the instrument waits for.
        if (set == text)
            QCOMPARE(kt2040::recognise(record_ack(built), {text, PcReceives, Coordinates, true}), Frame::RecordAck);
    }

    void frames_the_instrument_sends()
    {
        const QByteArray header = kt40_header(2, "JOB 1");
        QCOMPARE(header, QByteArray::fromHex("aa80") + "JOB " + QByteArray::fromHex("0002aa82"));
        QCOMPARE(header_name(header) + QString::number(header_count(header)), QString("JOB2"));
        QCOMPARE(file_header(1, 5, "JOB1"), sample::file_header);
        QCOMPARE(job_name(file_header(1, 5, "LONGNAME")), QString("LONGN"));
        QCOMPARE(kt20kt40_start(Coordinates) + kt20kt40_start(MeasuredData), QByteArray("\x01J\r\x05J\r"));
        QCOMPARE(kt20kt40_end(Coordinates) + kt20kt40_end(MeasuredData, true), QByteArray("\x01Q\r\x05"
                                                                                          "E\r"));
        // What the PC answers, judged from the instrument's side.
        const Context kt40_side{kt40, PcReceives, Coordinates, true};
        QCOMPARE(kt2040::recognise(kt40_ack(), kt40_side), Frame::Kt40Ack);
        QCOMPARE(kt2040::recognise(kt40_end(), kt40_side), Frame::Kt40End);
        QCOMPARE(kt2040::recognise(kt40_header(7), kt40_side), Frame::Kt40Header);
        QCOMPARE(kt2040::recognise(kt20kt40_start(MeasuredData), {text, PcReceives, Coordinates, true}),
                 Frame::StartEcho);
        QCOMPARE(kt2040::recognise(QByteArray("\x01J\r\x02"), {text, PcReceives, Coordinates, true}), Frame::None);
    }
};

KT_CORE_TEST_MAIN(TestKt2040Frames)
#include "tst_kt2040_frames.moc"
