// What the geo suites share: running the outside judges (Debian's Python with osgeo, pyproj and
// openpyxl; xmllint) and reading files.
#ifndef GEOTEST_H
#define GEOTEST_H

#include "support/core/ktest_core.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtDebug>

// Runs `program` with `args`; its standard output, or a null array when it fails or exits non-zero.
inline QByteArray run_judge(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning().noquote() << program << "failed:" << process.readAllStandardError();
        return QByteArray();
    }
    QByteArray out = process.readAllStandardOutput();
    return out.isNull() ? QByteArray("") : out;
}

// Runs a Python script with `args` (sys.argv[1:]); its standard output, null on failure.
inline QByteArray run_python(const QString& script, const QStringList& args = QStringList())
{
    return run_judge(KT_PYTHON, QStringList{"-c", script} + args);
}

inline bool write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

#endif // GEOTEST_H
