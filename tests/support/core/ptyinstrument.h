// The instrument's end of a pseudo-terminal: the program opens the slave as its serial port, the test
// reads and writes the master byte for byte, keeping the program's event loop running while it waits.
#ifndef PTYINSTRUMENT_H
#define PTYINSTRUMENT_H

#include <QByteArray>
#include <QString>

class PtyInstrument
{
public:
    PtyInstrument();
    ~PtyInstrument();
    PtyInstrument(const PtyInstrument&) = delete;
    PtyInstrument& operator=(const PtyInstrument&) = delete;

    bool is_open() const { return master_ >= 0; }
    // The slave's path, to be used as the program's port name.
    QString port_name() const { return slave_name_; }

    // Writes bytes from the instrument side, then lets the program handle them.
    void send(const QByteArray& bytes);
    // Reads exactly `count` bytes the program sent, waiting at most `timeout_ms`; fewer on time-out.
    QByteArray receive(int count, int timeout_ms = 5000);
    // Everything the program sends within `quiet_ms` of silence (at most `timeout_ms` in all).
    QByteArray receive_all(int quiet_ms = 100, int timeout_ms = 5000);
    // Lets the program run for `ms` and returns what it sent meanwhile.
    QByteArray drain(int ms);
    // Runs the program's event loop for `ms`.
    static void spin(int ms);
    // Closes the instrument's end, as a pulled cable does.
    void hang_up();

private:
    int master_ = -1;
    int slave_keep_ = -1;
    QString slave_name_;
    QByteArray pending_;
    void read_into_pending(int wait_ms);
};

#endif // PTYINSTRUMENT_H
