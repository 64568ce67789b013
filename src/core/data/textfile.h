// Text files line by line. Reading: in the encoding the file was written in (data/textencoding.h),
// decided once per file; LF, CR LF and CR alone all end a line; in time linear in the file's size with
// flat memory, a line longer than kLongestLine bytes stopping the read with an error that names it.
// Writing: in GBK, or GB18030 when asked; a file that is replaced is written to a temporary file first
// and put in place only when every line has been written, so a failed write leaves the old file as it
// was (a device or a pipe is written straight through: data/replacefile.h).
#ifndef TEXTFILE_H
#define TEXTFILE_H

#include "data/textencoding.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

class QFileDevice;
class QIODevice;
class QTextStream;
class QTextCodec;

class TextFileReader
{
public:
    // A line longer than this (in bytes of the file, without its line end) is refused.
    static constexpr qint64 kLongestLine = 1 << 20;
    // The file is read in blocks of this size; the encoding is decided on a block.
    static constexpr int kBlockSize = 1 << 16;

    enum class Failure {
        None,
        Open,     // the file cannot be opened
        Read,     // reading failed part way
        LongLine, // a line longer than kLongestLine
    };

    // Other sizes are for tests, which reach block ends with small inputs; the longest line must be at
    // least two blocks.
    explicit TextFileReader(int block_size = kBlockSize, qint64 longest_line = kLongestLine);
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // Opens the file read-only; false (and error() set) when that fails.
    bool open(const QString& path);
    // Reads from a device opened for reading (text in memory) instead of a file.
    void open(QIODevice* device) { device_ = device; }
    // The encoding of the file unless it starts with a byte order mark, instead of telling it from
    // the bytes (a drawing names its own); CodePage decodes through `code_page`. Before the first read.
    void set_encoding(TextEncoding encoding, QTextCodec* code_page = nullptr);

    // Reads again from the start of the file, telling its encoding anew; false (and error() set)
    // when the file cannot be read again.
    bool restart();

    // The next line without its line end; false at the end of the file or when reading failed.
    bool read_line(QString* line);
    // True when no line is left (or reading failed).
    bool at_end();
    // The rest of the file as a text stream, lines ended by LF; not to be mixed with read_line.
    QTextStream* stream();

    // The encoding of the text read so far: Ascii while nothing above 0x7F has been read, unless a
    // byte order mark or UTF-16 named another.
    TextEncoding encoding() const;
    QString encoding_name() const { return text_encoding_name(encoding(), code_page_); }
    // Bytes that could not be decoded in the encoding (each read as U+FFFD).
    qint64 undecodable_bytes() const { return undecodable_; }
    qint64 lines_read() const { return lines_read_; }
    Failure failure() const { return failure_; }
    bool failed() const { return failure_ != Failure::None; }
    QString error() const { return error_; }

private:
    void start();
    void read_block();
    // Decodes the next whole lines (or the end of the file) onto text_; false when there are none.
    bool fill();
    void decode(qint64 size);
    void fail(Failure failure, const QString& error);

    const int block_size_;
    const qint64 longest_line_;
    QFile file_;
    QIODevice* device_ = nullptr;
    qint64 device_size_ = -1; // -1: a sequential device, read to its end
    QString stream_text_;
    std::unique_ptr<QTextStream> stream_;
    TextEncoding encoding_ = TextEncoding::Ascii;
    QTextCodec* code_page_ = nullptr;
    bool forced_ = false;
    bool marked_ = false;    // a byte order mark named the encoding
    bool high_seen_ = false; // a byte above 0x7F has been decoded
    bool started_ = false;
    bool file_at_end_ = false;
    QByteArray raw_;     // read, not yet decoded: starts at the start of a line
    qint64 scanned_ = 0; // bytes of raw_ known to hold no line end
    QString text_;       // decoded whole lines, from pos_ on not yet returned
    int pos_ = 0;
    int next_feed_ = -1; // where the next LF, CR in text_ are (its size: none); below pos_: not known
    int next_return_ = -1;
    bool skip_feed_ = false; // the last line ended with CR: a LF next belongs to it
    qint64 undecodable_ = 0;
    qint64 lines_read_ = 0;
    Failure failure_ = Failure::None;
    QString error_;
};

// What a file is written in: GBK, which the instruments and drawing tools read, or GB18030, which
// holds every character and is the same bytes as GBK for text GBK can hold; UTF-8 with a byte order
// mark for the spreadsheets that tell UTF-8 by it (the CSV for spreadsheets).
enum class OutputEncoding { Gbk, Gb18030, Utf8WithBom };

class TextFileWriter
{
public:
    // `append` true adds to the end of the file; false replaces the file as a whole on finish().
    TextFileWriter(const QString& path, bool append, OutputEncoding encoding = OutputEncoding::Gbk);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    bool open();
    void write_line(const QString& line);
    // Writes the lines gathered so far (the counts below then take them in); false when it failed.
    bool flush();
    // Flushes and puts the file in place; false (and error() set) when anything went wrong, in which
    // case a replaced file keeps its old content.
    bool finish();
    // Gives up: a file being replaced stays as it was.
    void cancel();
    // A write failed: later lines are not written.
    bool failed() const { return failed_; }
    QString error() const { return error_; }

    // Characters written as "?" because GBK cannot hold them (none in GB18030), and the first of
    // them with its line (from 0, among the lines written) and field; up to the last flush().
    qint64 unencodable_characters() const { return unencodable_; }
    UnencodableCharacter first_unencodable() const { return first_unencodable_; }

private:
    bool write_buffer();
    void find_unencodable();

    QString path_;
    bool append_;
    OutputEncoding encoding_;
    std::unique_ptr<QFileDevice> file_;
    QTextCodec* codec_ = nullptr;
    QString pending_;
    qint64 lines_ = 0;
    qint64 pending_first_line_ = 0; // the line of the file that pending_ starts with
    qint64 unencodable_ = 0;
    UnencodableCharacter first_unencodable_;
    bool failed_ = false;
    QString error_;
};

#endif // TEXTFILE_H
