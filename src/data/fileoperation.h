// Coordinate files: reading and writing text lines, the formats chosen by file suffix, the DXF
// drawing writer and the DXF point reader. No state but the stream of a DXF read in progress and the
// reason of the last failure.
#ifndef FILEOPERATION_H
#define FILEOPERATION_H

#include <QString>
#include <QStringList>

class QTextStream;

class FileOperation
{
public:
    FileOperation() = default;
    FileOperation(const FileOperation&) = delete;
    FileOperation& operator=(const FileOperation&) = delete;

    QTextStream* dxfin = nullptr;
    // Why the last read or write failed, for the message that names the file and the reason.
    QString last_error;

    // ---- Text lines: data/fileoperation.cpp ----
    // All lines of the file; empty (and last_error set) when it cannot be opened.
    QStringList readfile(QString filename);
    // Writes the lines, each followed by a line end; `flag` true appends, false replaces the file as a
    // whole (an existing file stays intact when the write fails). No lines: true, file untouched.
    bool writefile(QString filename, QStringList msglist, bool flag);
    // True when the last readfile could open its file.
    bool last_read_ok = true;

    // ---- Formats by suffix: data/fileoperation.cpp ----
    QStringList readfile_byextension(QString filename, QString extension);
    QStringList getloaddata(QString extension, QStringList datalist);
    bool writefile_byextension(QString filename, QString extension, QStringList msgslist, bool flag);
    QStringList getsavedata(QString extension, QStringList msgslist);

    // ---- DXF drawing: data/dxfwriter.cpp ----
    QStringList getsaveCADdata(QStringList datalist);
    QStringList getsaveCADdata_HEAD(QStringList datalist, QStringList lines);
    QStringList getsaveCADdata_TABLES(QStringList lines);
    QStringList getsaveCADdata_BLOCKS(QStringList lines);
    QStringList getsaveCADdata_ENTITIES(QStringList datalist, QStringList lines);

    // ---- DXF points: data/dxfreader.cpp ----
    QStringList readDXFfile(QString filename);
    QStringList ReadPair(QTextStream* in);
    QStringList ReadEntities(QTextStream* in);
    QStringList ReadEntitiesPOINT(QTextStream* in, QStringList& resultlist);
    QStringList ReadEntitiesPOINTPoint(QTextStream* in, QStringList& resultlist);
    QStringList ReadEntitiesPOINTPointnumber(QTextStream* in, QStringList& resultlist);
};

#endif // FILEOPERATION_H
