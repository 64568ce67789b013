// Coordinate files: reading and writing text lines, the formats chosen by file suffix, the DXF
// drawing writer and the DXF point reader. No state but the stream of a DXF read in progress and the
// outcome of the last read or write.
#ifndef FILEOPERATION_H
#define FILEOPERATION_H

#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

class FileOperation
{
public:
    FileOperation() = default;
    FileOperation(const FileOperation&) = delete;
    FileOperation& operator=(const FileOperation&) = delete;

    // Receives one point line at a time from read_points.
    using PointSink = std::function<void(const QString& point_line)>;

    QTextStream* dxfin = nullptr;
    // Why the last read or write failed, for the message that names the file and the reason.
    QString last_error;
    // True when the last read could open its file.
    bool last_read_ok = true;

    // ---- Text lines: data/fileoperation.cpp ----
    // All lines of the file; empty (and last_error set) when it cannot be opened.
    QStringList readfile(QString filename);
    // Writes the lines, each followed by a line end; `flag` true appends, false replaces the file as a
    // whole (an existing file stays intact when the write fails). No lines: true, file untouched.
    bool writefile(QString filename, QStringList msglist, bool flag);

    // ---- Formats by suffix: data/fileoperation.cpp ----
    // The point lines of a file in the format its suffix names (compared exactly): raw suffixes give
    // every line, the column formats their converted lines, "dxf" the drawing's points, any other
    // suffix nothing. last_read_ok tells whether the file could be read.
    QStringList readfile_byextension(QString filename, QString extension);
    // The same, handed to `sink` line by line as the file is read; false when it cannot be read.
    bool read_points(const QString& filename, const QString& extension, const PointSink& sink);
    QStringList getloaddata(QString extension, QStringList datalist);
    // Writes point lines in the format of `extension`; false (and last_error set) when the file could
    // not be written or no format has that suffix.
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
    // The points of a drawing, handed to `sink` as they are read; false when the file cannot be read.
    bool read_dxf_points(const QString& filename, const PointSink& sink);
    QStringList ReadPair(QTextStream* in);
    QStringList ReadEntities(QTextStream* in);
    QStringList ReadEntitiesPOINT(QTextStream* in, QStringList& resultlist);
    QStringList ReadEntitiesPOINTPoint(QTextStream* in, QStringList& resultlist);
    QStringList ReadEntitiesPOINTPointnumber(QTextStream* in, QStringList& resultlist);

private:
    bool find_entities_section(QTextStream* in);
    void read_entity_points(QTextStream* in, const PointSink& sink);
};

#endif // FILEOPERATION_H
