// Coordinate files: reading and writing text lines, the formats chosen by file suffix, the DXF
// drawing writer and the DXF point reader. No state but the stream of a DXF read in progress and the
// outcome of the last read or write.
#ifndef FILEOPERATION_H
#define FILEOPERATION_H

#include "data/layerformats.h"
#include "data/textfile.h"

#include <QString>
#include <QStringList>
#include <functional>

class DxfNameFinder;

class FileOperation
{
public:
    FileOperation() = default;
    FileOperation(const FileOperation&) = delete;
    FileOperation& operator=(const FileOperation&) = delete;

    // Receives one point line at a time from read_points.
    using PointSink = std::function<void(const QString& point_line)>;

    TextFileReader* dxfin = nullptr;
    // Why the last read or write failed, for the message that names the file and the reason.
    QString last_error;
    // True when the last read could read its file whole (false also for a line too long).
    bool last_read_ok = true;

    // What the last read met, for the window and the tools to tell the user.
    struct ReadReport {
        TextEncoding encoding = TextEncoding::Ascii;
        QString encoding_name;        // "UTF-8", "UTF-16LE", "GBK", "windows-1252" ...
        qint64 undecodable_bytes = 0; // read as U+FFFD
        qint64 commas_replaced = 0;   // commas in the values of a drawing, each now kDxfCommaStandIn
        TextFileReader::Failure failure = TextFileReader::Failure::None;
        qint64 long_line = 0;     // the line (from 1) that was too long (Failure::LongLine)
        qint64 lines_skipped = 0; // lines that are not blank and have fewer fields than the format holds
        int fields_needed = 0;    // the fields a line of the format holds
        // Drawings: points named by the texts at their position (not by a point-number text), the
        // layers of those texts, and points that found no name.
        qint64 dxf_named_by_texts = 0;
        QString dxf_name_layers;
        qint64 dxf_unnamed = 0;
        // Whether the encoding is worth telling: neither ASCII nor GBK.
        bool notable_encoding() const { return encoding != TextEncoding::Ascii && encoding != TextEncoding::Gbk; }
    };
    ReadReport last_read;
    // A comma in a value read from a drawing would split the point line: it becomes this character.
    static constexpr char kDxfCommaStandIn = ';';

    // What the writers write: GBK unless the user chose GB18030 (data/textencoding.h finds the
    // characters GBK cannot hold before a write).
    OutputEncoding write_encoding = OutputEncoding::Gbk;
    // Characters the last write put down as "?" because GBK cannot hold them.
    qint64 last_write_unencodable = 0;

    // The layer formats (data/layerformats.h). The points' coordinate system ("EPSG:4547"; empty:
    // local coordinates): readers put the points into it, writers record it.
    QString crs;
    // A workbook's columns for reading ("name,code,N,E,Z" by header text or letter); empty: from its
    // header row.
    QString columns;
    // The raw text formats (ndad, txt, csv) read as delimited text with decimal commas
    // (data/delimitedpoints.h), the columns by `columns` or the header; the CSV for spreadsheets is
    // read so always. A refusal names its line in last_error.
    bool decimal_comma = false;
    // Whether read_points reads the file as delimited text with decimal commas: the CSV for
    // spreadsheets by name or by its header row, or a raw text format while decimal_comma is set. Such
    // a read gives point lines only.
    bool reads_decimal_commas(const QString& filename, const QString& extension) const;
    // The fields of the lines writefile_byextension hands to a layer writer.
    PointFields layer_fields = PointFields::point_line();
    // The linework written beside the points by the GIS layer formats; none when null.
    const LineworkBuilder* linework = nullptr;
    // What the last read or write of a layer format met.
    LayerReport last_layer;

    // ---- Text lines: data/fileoperation.cpp ----
    // All lines of the file; empty (and last_error set) when it cannot be opened.
    QStringList readfile(QString filename);
    // Writes the lines, each followed by a line end; `flag` true appends, false replaces the file as a
    // whole (an existing file stays intact when the write fails). No lines: true, file untouched.
    bool writefile(QString filename, QStringList msglist, bool flag);

    // ---- Formats by suffix: data/fileoperation.cpp ----
    // The point lines of a file in the format its suffix names (letter case ignored): raw suffixes give
    // every line, the column formats their converted lines, "dxf" the drawing's points, the layer
    // formats their points, any other suffix nothing. last_read_ok tells whether the file could be
    // read.
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
    // ---- Delimited text with decimal commas: data/delimitedpoints.cpp ----
    bool read_decimal_comma_points(const QString& filename, const PointSink& sink);
    // The points of a layer format (last_layer tells what the reader met); false when refused.
    bool read_layer_points(const QString& filename, const QString& suffix, const PointSink& sink);
    QStringList ReadPair(TextFileReader* in);
    QStringList ReadEntities(TextFileReader* in);
    QStringList ReadEntitiesPOINT(TextFileReader* in, QStringList& resultlist);
    QStringList ReadEntitiesPOINTPoint(TextFileReader* in, QStringList& resultlist);
    QStringList ReadEntitiesPOINTPointnumber(TextFileReader* in, QStringList& resultlist);

private:
    bool open_for_reading(TextFileReader& reader, const QString& filename);
    bool finish_reading(const TextFileReader& reader);
    bool name_dxf_encoding(TextFileReader& reader);
    // Writes the lines through the writer of the suffix's format; last_layer tells what it met.
    bool write_through_format(const QString& filename, const QString& suffix, const QStringList& lines);
    bool find_entities_section(TextFileReader* in);
    void read_entity_points(TextFileReader* in, const PointSink& sink);
    // The texts of the entities section read again, for the held points that have no name yet.
    void name_held_points(TextFileReader* in, DxfNameFinder& finder, QStringList& held);
    bool dxf_point_named_ = false; // the point being read met a point-number text
};

#endif // FILEOPERATION_H
