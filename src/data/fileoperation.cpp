// Reading and writing coordinate files as text lines.
#include "fileoperation.h"

#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

QStringList FileOperation::readfile(QString filename)
{
    QStringList lines;
    QFile file(filename);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        last_read_ok = false;
        last_error = file.errorString();
        return lines;
    }
    last_read_ok = true;
    QTextStream in(&file);
    while (!in.atEnd())
        lines.append(in.readLine());
    return lines;
}

namespace
{

bool write_lines(QFileDevice& file, const QStringList& lines)
{
    QTextStream out(&file);
    for (const QString& line : lines)
        out << line << '\n';
    out.flush();
    return out.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
}

} // namespace

bool FileOperation::writefile(QString filename, QStringList msglist, bool flag)
{
    if (msglist.isEmpty())
        return true;
    if (flag) {
        QFile file(filename);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            qDebug() << "open fail!";
            last_error = file.errorString();
            return false;
        }
        const bool written = write_lines(file, msglist);
        if (!written)
            last_error = file.errorString();
        file.close();
        return written;
    }
    QSaveFile file(filename);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qDebug() << "open fail!";
        last_error = file.errorString();
        return false;
    }
    if (!write_lines(file, msglist)) {
        last_error = file.errorString();
        file.cancelWriting();
        file.commit();
        return false;
    }
    if (!file.commit()) {
        last_error = file.errorString();
        return false;
    }
    return true;
}
