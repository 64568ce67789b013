// A KT90 played on the pty master: a conversation as a list of exchanges, each the message the program
// must send and the reply the instrument gives to it.
#ifndef KT90SCRIPT_H
#define KT90SCRIPT_H

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

class MainWindow;
class PtyInstrument;
class WorkDir;

struct Exchange {
    QByteArray expect; // the program's message, CR LF included
    QByteArray reply;  // the instrument's answer, CR LF included; empty: no answer
};

QByteArray crlf(const QByteArray& text);
extern const QByteArray kReady; // "?" CR LF
extern const QByteArray kEnd;   // 0x1A CR LF

// One list: the command answered by its first line, each "?" by the next, the last "?" by 0x1A.
QList<Exchange> list_exchanges(const QByteArray& command, const QStringList& lines);
// The whole listing: "a", "c", the four start-up queries, then the code, job, format, HAL and VAL
// lists with the given job and format lines.
QList<Exchange> listing_exchanges(const QStringList& jobs, const QStringList& formats);
// Plays the exchanges in order; fails the running test at the first message that differs.
void play(PtyInstrument& pty, const QList<Exchange>& exchanges);

// A fresh working directory with the English texts (after `edit`, if given) and a KT90 window in it.
std::unique_ptr<MainWindow> start_kt90_window(std::unique_ptr<WorkDir>& dir,
                                              const std::function<void(WorkDir&)>& edit = {});

#endif // KT90SCRIPT_H
