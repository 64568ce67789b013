// What reading or writing a point file met that the user is told: a refusal, or a count of what was
// changed or left out, each as a kind and its values. The window words them from its UI texts (the
// list "FileFindingMsg", one entry per kind, in this order), ktconvert in English; the choice of what
// is worth telling is made here once.
#ifndef FILEFINDINGS_H
#define FILEFINDINGS_H

#include "data/fileoperation.h"

#include <QList>
#include <QStringList>

enum class FileFinding : int {
    // Refusals: nothing was read or written.
    LongLine,             // %1 line, %2 longest line in bytes
    CannotOpen,           // %1 why
    NotWellFormed,        // %1 line, %2 column, %3 the XML reader's words
    NotLandXml,           // %1 line, %2 column
    NoPoints,             //
    NoPointLayer,         //
    GeographicWithoutCrs, // %1 the layer's system
    UnknownCrs,           // %1 why
    NoCrs,                //
    NoColumns,            //
    BadColumns,           // %1 the item
    WriteFailed,          // %1 why
    // Findings of a read.
    Encoding,           // %1 the encoding's name
    Undecodable,        // %1 bytes, %2 the encoding's name
    CommasReplaced,     // %1 commas, %2 the character put in their place
    LinesSkipped,       // %1 lines, %2 the fields a line needs
    LayerChosen,        // %1 the layer, %2 layers in the file
    Transformed,        // %1 the file's system, %2 the points' system
    CrsNotApplied,      // %1 the file's system (taken as it stands: no system chosen, or no change)
    OtherGeometries,    // %1 features
    EmptyGeometries,    // %1 features
    FailedTransforms,   // %1 points, %2 the points' system
    WithoutCoordinates, // %1 points
    CharactersReplaced, // %1 characters (commas, line breaks in names and codes)
    // Findings of a write.
    RowsNotWritten,    // %1 rows
    OutsideArea,       // %1 points, %2 the system
    ValuesChanged,     // %1 values
    CharactersDropped, // %1 characters
    WrittenWithoutCrs, //
    // Findings of a drawing's read.
    DxfNamesFromTexts, // %1 points, %2 the layers of the texts that named them
    DxfWithoutNames,   // %1 points
    Count
};

struct FileFindingText {
    FileFinding kind;
    QStringList values;
};

// Why a read failed: a line too long, what a layer reader refused, else CannotOpen with `error` (the
// system's words).
FileFindingText read_refusal(const FileOperation::ReadReport& read, const LayerReport& layer, const QString& error);
// What a read met: the encoding when neither ASCII nor GBK, undecodable bytes, commas replaced, lines
// skipped, and what a layer reader met.
QList<FileFindingText> read_findings(const FileOperation::ReadReport& read, const LayerReport& layer);
// Why a layer write failed (`report.failed()`), and what a layer write met.
FileFindingText layer_refusal(const LayerReport& report);
QList<FileFindingText> write_findings(const LayerReport& report);

// The command-line tools' words for a finding.
QString finding_in_english(const FileFindingText& finding);
// `pattern` with %1, %2, ... filled by the finding's values in one pass (a value holding "%1" stays).
QString fill_finding(const QString& pattern, const FileFindingText& finding);

#endif // FILEFINDINGS_H
