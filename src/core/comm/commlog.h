// The communication log: every block of bytes sent to or received from the port, with a time stamp in
// milliseconds, the direction and the port, in hex and as printable text. One file a day, a new one when
// the file reaches its size limit; past the file limit the oldest files are removed.
#ifndef COMMLOG_H
#define COMMLOG_H

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QString>

class CommLog
{
public:
    static constexpr qint64 kDefaultFileBytes = 4 * 1024 * 1024;
    static constexpr int kDefaultFiles = 10;

    explicit CommLog(const QString& folder, qint64 max_file_bytes = kDefaultFileBytes, int max_files = kDefaultFiles);

    // Logs one block; `received` true for bytes read from the port. False when the file cannot be
    // written; `error()` says why.
    bool write(bool received, const QString& port, const QByteArray& bytes);
    bool write(bool received, const QString& port, const QByteArray& bytes, const QDateTime& when);
    QString folder() const { return folder_; }
    QString current_file() const { return file_.fileName(); }
    QString error() const { return error_; }

    // The log lines of one block: at most kBytesPerLine bytes a line, each line
    // "2026-12-09 05:30:01.123 RX COM3 AA 81 |..|".
    static QByteArray lines(bool received, const QString& port, const QByteArray& bytes, const QDateTime& when);
    // The same with the time stamp given as text.
    static QByteArray lines(bool received, const QString& port, const QByteArray& bytes, const QByteArray& stamp);
    static constexpr int kBytesPerLine = 32;

private:
    bool write_lines(const QDate& day, const QByteArray& text);
    bool open_file_for(const QDate& day, qint64 next_bytes);
    void remove_oldest_files();

    QString folder_;
    qint64 max_file_bytes_;
    int max_files_;
    QFile file_;
    QDate day_;
    int sequence_ = 0;
    // The local time of the last whole second stamped: a block asks for the clock in ms only.
    qint64 stamped_second_ = -1;
    QByteArray second_text_;
    QDate second_day_;
    QString error_;
};

#endif // COMMLOG_H
