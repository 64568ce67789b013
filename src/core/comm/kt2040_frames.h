// The KT20/KT40 wire codec: recognising the receive buffer, cutting noise from it (kt2040_recognise.cpp),
// decoding records into row texts and building every frame the PC sends (kt2040_records.cpp), for both
// frame sets. No port, no widgets.
#ifndef KT2040_FRAMES_H
#define KT2040_FRAMES_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kt2040
{

// KT40 frame set: two-byte markers, raw records ("KT40", "KT20"). KT20_KT40 frame set: start code,
// fixed-width text, CR ("KT20_KT40", "KT85R").
enum class FrameSet { None, Kt40, Kt20Kt40 };

FrameSet frame_set_of(const QString& instrument_type);

enum class Frame {
    None, // nothing recognised (yet)
    // KT40 frame set, the PC receives
    Kt40Header,
    Kt40Record,
    Kt40End,
    // KT40 frame set, the PC sends: the instrument's AA 81 and AA 82
    Kt40Ack,
    Kt40EndAck,
    // KT20_KT40 frame set
    StartRequest,
    CoordinateRecord,
    FileHeader,
    StationRecord,
    BacksightRecord,
    MeasuredRecord,
    RecordRequest, // the instrument asks for the next record of a send
    End,
    EndWithError,
    // KT20_KT40 frame set, what the instrument receives from the PC
    StartEcho, // the PC's echo of a start request
    RecordAck, // the PC's acknowledgement of a record
};

// Which way a transfer runs: the values of the window's CommunicationDirection.
enum Direction : int { PcReceives = 0, PcSends = 1 };
// What a KT20_KT40 transfer carries: the values of the window's ZuobiaoLeixing, and the start code's
// kind (01 coordinates, 05 measured data).
enum DataKind : int { Coordinates = 0, MeasuredData = 1 };

// What the buffer is judged against: frame set, direction and, for receiving with the KT20_KT40 frame
// set, the data kind. `instrument` judges what the PC sends, from the instrument's side.
struct Context {
    FrameSet set = FrameSet::None;
    Direction direction = PcReceives;
    DataKind mode = Coordinates;
    bool instrument = false;
};

// No frame is longer; a buffer beyond this can no longer become one.
constexpr int kMaxFrameLength = 256;

// The frame the whole buffer is, judged on its first bytes, last bytes and length.
Frame recognise(const QByteArray& buffer, const Context& context);

// Drops the leading bytes from which no frame of the context can grow (noise before a frame, or a
// buffer grown past kMaxFrameLength). Returns whether anything was dropped.
bool cut_noise(QByteArray& buffer, const Context& context);

// The KT40 receive's steps: the values the window's InformationAnalysis_unpack takes.
namespace Kt40Step
{
enum : int { Header = 0, Record = 1, End = 2 };
}

// The KT20_KT40 decoder kinds: the values the window's InformationAnalysis_unpackKT20_KT40 takes.
namespace Kt20Kt40Kind
{
enum : int {
    None = -1, // no KT20_KT40 frame the PC receives
    StartRequest = 0,
    CoordinateRecord = 1,
    End = 2,
    EndWithError = 3,
    FileHeader = 10,
    StationRecord = 11,
    BacksightRecord = 12,
    MeasuredRecord = 13,
};
}

// The decoder kind of a frame and the frame of a kind; Kt20Kt40Kind::None and Frame::None for the others.
int kt20kt40_kind(Frame frame);
Frame kt20kt40_frame(int kind);

// A decoded record: its row texts by table column and what the window adds to them.
struct Record {
    int number = 0; // KT20_KT40: record number and total as sent (0 when not a number)
    int total = 0;
    QStringList cells;        // texts by column: the coordinate layout (KT40) or the observation layout
    QString label_key;        // record kind whose label goes into ObsColumn::Kind: "STN", "BK", "MP" or empty
    bool job_column = false;  // ObsColumn::Job takes the job name of the last file header
    bool fills_table = false; // every further table column gets an empty item too
};

// A KT40 record or a KT20_KT40 coordinate, station, backsight or measured-point record.
Record decode_record(const QByteArray& frame, Frame kind);
// The job name of a KT20_KT40 file header, untrimmed.
QString job_name(const QByteArray& file_header);
// The point count and name a KT40 header announces.
int header_count(const QByteArray& header);
QString header_name(const QByteArray& header);

// Frames the PC sends.
QByteArray kt40_ack();
QByteArray kt40_end();
QByteArray kt40_header(int count);
// The record of table row `row` from the texts of its columns (name, code, N, E, Z).
QByteArray kt40_record(int row, const QStringList& cells);
// The 61 characters of KT20_KT40 record `index` (0-based) of `count`, from the observation-layout
// texts of its row.
QString kt20kt40_record_text(int index, int count, const QStringList& cells);
QByteArray kt20kt40_record(const QString& text);
// The acknowledgement of a KT20_KT40 record: its start code, its bytes 1 to 8, CR.
QByteArray record_ack(const QByteArray& frame);

// What a record the PC sends carries of its table row: the column of each text field, in the order of
// the record's layout (the point name and the code, then N, E and Z).
enum class SentField { Name, Code, N, E, Z };
struct SentColumn {
    SentField field;
    int column;
};
QList<SentColumn> sent_columns(FrameSet set);
// The most records one send can number: what the count and sequence fields of the frame set hold.
int max_records(FrameSet set);
// The record a send of `count` records makes of row `index` (0-based) with the texts `cells`, and the
// row texts the instrument's decoder reads back out of it.
QByteArray sent_record(FrameSet set, int index, int count, const QStringList& cells);
Record received_record(FrameSet set, const QByteArray& frame);

// Frames the instrument sends.
// A KT40 header announcing `count` points of the job `name` (cut at its first space).
QByteArray kt40_header(int count, const QString& name);
// KT20_KT40 start request and end frames: 01 for coordinates, 05 for measured data.
QByteArray kt20kt40_start(DataKind mode);
QByteArray kt20kt40_end(DataKind mode, bool error = false);
// A KT20_KT40 file header naming the job (its first 5 characters).
QByteArray file_header(int number, int total, const QString& job);
// A record of `kind` (KT40 record, KT20_KT40 coordinate, station, backsight or measured-point
// record) from the table texts `cells` of its row, in the layout the decoder reads: numbered
// `number` of `total`. Angle texts may carry their marks.
QByteArray record_frame(Frame kind, int number, int total, const QStringList& cells);

} // namespace kt2040

#endif // KT2040_FRAMES_H
