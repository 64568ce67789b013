// Runs the converter program of the build as a user runs it, for the suites that judge its output.
#ifndef KTCONVERTRUN_H
#define KTCONVERTRUN_H

#include <QProcess>
#include <QString>
#include <QStringList>

struct Run {
    int status = -1; // -1: it did not end in time; -2: it crashed
    QString out;
    QString err;
};

// ktconvert with `args`; with `shell_prefix`, run by /bin/sh after that command (limits set with ulimit).
inline Run ktconvert(const QStringList& args, const QString& shell_prefix = QString())
{
    QProcess process;
    const QString program = QString(KT_RUN_DIR) + "/ktconvert";
    if (shell_prefix.isEmpty()) {
        process.start(program, args);
    } else {
        // "$0" is the program, "$@" its arguments, after the shell has set limits.
        process.start("/bin/sh", QStringList{"-c", shell_prefix + "; exec \"$0\" \"$@\"", program} + args);
    }
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

#endif // KTCONVERTRUN_H
