// The KT90's side of its command protocol: the jobs it holds, and the reply it gives to each message
// of the PC (the start-up queries, the lists, downloads and uploads). Lines in, replies out; no port.
#ifndef KT90_INSTRUMENT_H
#define KT90_INSTRUMENT_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kt90
{

// The instrument's job slots are numbered 1 to kJobSlots; the PC reads the job list back as 16 lines.
constexpr int kJobSlots = 16;
// Coordinate records the PC uploads are this long.
constexpr int kRecordLength = 97;

struct Job {
    int number = 0;
    QString name;
    QStringList fixed;        // coordinate records
    QStringList observations; // observation records
};

// The data formats the instrument offers: stored records as they stand, or their fields comma-separated.
enum class Format { Records = 1, Comma = 2 };

struct InstrumentReply {
    QByteArray send;     // the replies, CR LF included
    QStringList notes;   // lines for the operator
    int changed_job = 0; // the number of a job created or filled by an upload, to be stored
};

class Instrument
{
public:
    Instrument(const QList<Job>& jobs, const QStringList& codes);

    // Takes the bytes the PC sent and answers every complete message among them.
    InstrumentReply on_bytes(const QByteArray& bytes);
    const Job* job(int number) const;

    // The list lines, as the instrument gives them.
    QStringList job_lines() const;
    static QStringList format_lines();

private:
    QByteArray answer(const QByteArray& message, InstrumentReply& reply);
    // The parts of an answer: the end of the PC's data, one record of an upload, and the commands
    // (an empty answer for a text that is none).
    QByteArray end_of_data(InstrumentReply& reply);
    QByteArray take_record(const QByteArray& message, InstrumentReply& reply);
    QByteArray answer_command(const QString& text, InstrumentReply& reply);
    QByteArray start_download(int type, const QString& number_text, InstrumentReply& reply);
    QByteArray create_job(const QString& text, InstrumentReply& reply);
    QByteArray start_upload(const QString& text, InstrumentReply& reply);
    QByteArray start_list(const QStringList& lines);
    // The lines of a list command (CodeList to ValList).
    QStringList list_lines(int type) const;
    QByteArray next_line();
    Job& slot(int number);

    QList<Job> jobs_; // kJobSlots slots, free ones without a name and records
    QStringList codes_;
    QByteArray buffer_;
    QStringList pending_; // lines still to give, one per "?"
    Format format_ = Format::Records;
    int upload_job_ = 0; // the job an upload's records go to; 0 when no upload runs
    QStringList uploaded_;
};

} // namespace kt90

#endif // KT90_INSTRUMENT_H
