// ktsim's command line: the instrument it plays, the port, the data it holds and where it writes.
#ifndef SIMOPTIONS_H
#define SIMOPTIONS_H

#include <QString>
#include <QStringList>

struct SimOptions {
    QString type; // "KT40", "KT20", "KT20_KT40", "KT85R" or "KT90"
    QString port; // empty with --pty
    bool pty = false;
    bool manual = false; // the start is offered only when Enter is pressed
    QString points;
    QString measured;
    QString jobs;
    QString out;
    QString log;
    int baud = 0; // 0: the type's usual rate
    int delay_ms = 0;
};

extern const char kSimUsage[];

// Reads the arguments (without the program name). False with `error` set on wrong usage;
// `help` set when the usage was asked for.
bool parse_sim_options(const QStringList& args, SimOptions* options, QString* error, bool* help);

#endif // SIMOPTIONS_H
