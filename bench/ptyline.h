// The instrument's end of a pseudo-terminal, played on a thread of its own so that it answers the
// moment the program's bytes arrive: it writes each frame of a script and then reads the answer the
// script expects before it writes the next. The program opens the slave as its serial port.
#ifndef PTYLINE_H
#define PTYLINE_H

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

class PtyLine
{
public:
    struct Step {
        QByteArray send;   // what the instrument writes
        QByteArray answer; // what it then expects from the program, byte for byte (may be empty)
    };

    PtyLine();
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    bool is_open() const { return master_ >= 0; }
    QString port_name() const { return slave_name_; }

    // Plays `steps` on the line's thread and calls `done` there when the script has ended or failed.
    void play(std::vector<Step> steps, std::function<void()> done);
    // After `done`: the seconds from the first byte written to the last answer read (or the last
    // write, when the last step expects none), the bytes that went each way, and what went wrong.
    double seconds() const { return seconds_; }
    qint64 bytes_written() const { return written_; }
    qint64 bytes_read() const { return read_; }
    QString error() const { return error_; }

private:
    void run(const std::vector<Step>& steps);
    bool write_all(const QByteArray& bytes);
    bool read_exactly(int count, QByteArray* bytes);

    int master_ = -1;
    int slave_keep_ = -1;
    QString slave_name_;
    std::thread thread_;
    double seconds_ = 0;
    qint64 written_ = 0;
    qint64 read_ = 0;
    QString error_;
};

#endif // PTYLINE_H
