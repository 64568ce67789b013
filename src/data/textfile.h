// Text files line by line, in the program's text encoding (the local 8-bit codec) and the platform's
// line ends. A file that is replaced is written to a temporary file first and put in place only when
// every line has been written, so a failed write leaves the old file as it was.
#ifndef TEXTFILE_H
#define TEXTFILE_H

#include <QFile>
#include <QString>
#include <QTextStream>
#include <memory>

class QFileDevice;
class QTextEncoder;

class TextFileReader
{
public:
    TextFileReader() = default;
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // Opens the file read-only in text mode; false (and error() set) when that fails.
    bool open(const QString& path);
    // The next line without its line end; false at the end of the file.
    bool read_line(QString* line);
    QTextStream* stream() { return &stream_; }
    QString error() const { return error_; }

private:
    QFile file_;
    QTextStream stream_;
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
    bool failed_ = false;
    QString error_;
};

#endif // TEXTFILE_H
