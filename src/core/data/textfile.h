// Text files line by line, in the program's text encoding (the local 8-bit codec) and the platform's
// line ends. A file that is replaced is written to a temporary file first and put in place only when
// every line has been written, so a failed write leaves the old file as it was.
#ifndef TEXTFILE_H
#define TEXTFILE_H

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

class QFileDevice;
class QTextStream;
class QTextDecoder;
class QTextEncoder;

// Reads lines as a text stream in text mode reads them (the local codec, or the one a Unicode byte
// order mark names), in large blocks: text in the program's codecs is decoded whole lines at a
// time, ASCII stretches without a conversion table.
class TextFileReader
{
public:
    TextFileReader();
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // Opens the file read-only in text mode; false (and error() set) when that fails.
    bool open(const QString& path);
    // The next line without its line end; false at the end of the file.
    bool read_line(QString* line);
    // The file as a text stream, for readers that read it so; not to be mixed with read_line.
    QTextStream* stream();
    QString error() const { return error_; }

private:
    void start();
    // Decodes the next whole lines (or the rest of the file) onto text_; false at the end.
    bool decode_more();
    void decode(const char* bytes, int size);

    QFile file_;
    QString stream_text_; // the whole file, decoded, that stream_ reads
    std::unique_ptr<QTextStream> stream_;
    std::unique_ptr<QTextDecoder> decoder_;
    bool started_ = false;
    bool file_at_end_ = false;
    QByteArray raw_; // read, not yet decoded: the start of a line
    QString text_;   // decoded lines, from pos_ on not yet returned
    int pos_ = 0;
    QString error_;
};

class TextFileWriter
{
public:
    // `append` true adds to the end of the file; false replaces the file as a whole on finish().
    TextFileWriter(const QString& path, bool append);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    bool open();
    void write_line(const QString& line);
    // Flushes and puts the file in place; false (and error() set) when anything went wrong, in which
    // case a replaced file keeps its old content.
    bool finish();
    // Gives up: a file being replaced stays as it was.
    void cancel();
    QString error() const { return error_; }

private:
    bool write_buffer();

    QString path_;
    bool append_;
    std::unique_ptr<QFileDevice> file_;
    std::unique_ptr<QTextEncoder> encoder_;
    QString pending_;
    bool ascii_as_is_ = false; // ASCII text may skip the encoder
    bool failed_ = false;
    QString error_;
};

#endif // TEXTFILE_H
