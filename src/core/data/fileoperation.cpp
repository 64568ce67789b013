// Reading and writing coordinate files as text lines, in the format the file suffix names.
#include "data/fileoperation.h"
#include "corelog.h"

#include "data/pointformats.h"
#include "data/textfile.h"

QStringList FileOperation::readfile(QString filename)
{
    QStringList lines;
    TextFileReader reader;
    last_read_ok = reader.open(filename);
    if (!last_read_ok) {
        last_error = reader.error();
        return lines;
    }
    QString line;
    while (reader.read_line(&line))
        lines.append(line);
    return lines;
}

bool FileOperation::writefile(QString filename, QStringList msglist, bool flag)
{
    if (msglist.isEmpty())
        return true;
    TextFileWriter writer(filename, flag);
    if (!writer.open()) {
        qCDebug(lcCore) << "open fail!";
        last_error = writer.error();
        return false;
    }
    for (const QString& line : qAsConst(msglist))
        writer.write_line(line);
    if (!writer.finish()) {
        last_error = writer.error();
        return false;
    }
    return true;
}

QStringList FileOperation::readfile_byextension(QString filename, QString extension)
{
    QStringList lines;
    read_points(filename, extension, [&lines](const QString& line) { lines.append(line); });
    return lines;
}

bool FileOperation::read_points(const QString& filename, const QString& extension, const PointSink& sink)
{
    const PointFormat format = PointFormat::for_suffix(extension);
    if (format.kind() == PointFormat::Drawing)
        return read_dxf_points(filename, sink);
    TextFileReader reader;
    last_read_ok = reader.open(filename);
    if (!last_read_ok) {
        last_error = reader.error();
        return false;
    }
    if (!format.is_known())
        return true; // no format: nothing to read
    QString line;
    QString point;
    while (reader.read_line(&line)) {
        if (format.point_line(line, &point))
            sink(point);
    }
    return true;
}

QStringList FileOperation::getloaddata(QString extension, QStringList datalist)
{
    QStringList points;
    const PointFormat format = PointFormat::for_suffix(extension);
    QString point;
    for (const QString& line : qAsConst(datalist)) {
        if (format.point_line(line, &point))
            points.append(point);
    }
    return points;
}

bool FileOperation::writefile_byextension(QString filename, QString extension, QStringList msgslist, bool flag)
{
    const PointFormat format = PointFormat::for_suffix(extension);
    switch (format.kind()) {
    case PointFormat::Raw:
        return writefile(filename, msgslist, flag);
    case PointFormat::Drawing:
        return writefile(filename, getsaveCADdata(msgslist), flag);
    case PointFormat::Columns:
        return writefile(filename, getsavedata(extension, msgslist), flag);
    case PointFormat::Unknown:
        break;
    }
    last_error = PointFormat::unknown_reason(extension);
    return false;
}

QStringList FileOperation::getsavedata(QString extension, QStringList msgslist)
{
    QStringList lines;
    const PointFormat format = PointFormat::for_suffix(extension);
    QString line;
    for (int i = 0; i < msgslist.size(); ++i) {
        if (format.file_line(msgslist[i], i + 1, &line))
            lines.append(line);
    }
    return lines;
}
