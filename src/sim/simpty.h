// The pseudo-terminal under ktsim --pty: the one place that calls the operating system directly.
#ifndef SIMPTY_H
#define SIMPTY_H

#include <QByteArray>
#include <QString>

struct PtyPair {
    int master = -1;
    int slave = -1; // kept open, so the master never sees a hang-up while ktlink closes and reopens
    QString slave_name;
    QString error; // why there is none
};

// A raw, non-blocking pseudo-terminal pair; master -1 and `error` set where there is none.
PtyPair open_pty_pair();
void close_pty_pair(PtyPair& pair);
// Bytes waiting on the master; empty when there are none.
QByteArray read_pty(const PtyPair& pair);
// Writes all of `bytes` to the master; false when it cannot.
bool write_pty(const PtyPair& pair, const QByteArray& bytes);
// Drops what was written to the master and not yet read from the slave.
void discard_unread_pty(const PtyPair& pair);

#endif // SIMPTY_H
