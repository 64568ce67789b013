// The kinds of what reading or writing a point file met that the user is told. A kind's value is the
// place of its text in the UI-text list "FileFindingMsg" (both languages), so an outcome that names
// its kind names its message; data/filefindings.h gives each kind its values and its English words.
#ifndef FINDINGKIND_H
#define FINDINGKIND_H

enum class FileFinding : int {
    None = -1, // nothing to tell: a read or a write that was not refused
    // Refusals: nothing was read or written.
    LongLine = 0,             // %1 line, %2 longest line in bytes
    CannotOpen = 1,           // %1 why
    NotWellFormed = 2,        // %1 line, %2 column, %3 the XML reader's words
    NotLandXml = 3,           // %1 line, %2 column
    NoPoints = 4,             //
    NoPointLayer = 5,         //
    GeographicWithoutCrs = 6, // %1 the layer's system
    UnknownCrs = 7,           // %1 why
    NoCrs = 8,                //
    NoColumns = 9,            //
    BadColumns = 10,          // %1 the item
    WriteFailed = 11,         // %1 why
    // Findings of a read.
    Encoding = 12,           // %1 the encoding's name
    Undecodable = 13,        // %1 bytes, %2 the encoding's name
    CommasReplaced = 14,     // %1 commas, %2 the character put in their place
    LinesSkipped = 15,       // %1 lines, %2 the fields a line needs
    LayerChosen = 16,        // %1 the layer, %2 layers in the file
    Transformed = 17,        // %1 the file's system, %2 the points' system
    CrsNotApplied = 18,      // %1 the file's system (taken as it stands: no system chosen, or no change)
    OtherGeometries = 19,    // %1 features
    EmptyGeometries = 20,    // %1 features
    FailedTransforms = 21,   // %1 points, %2 the points' system
    WithoutCoordinates = 22, // %1 points
    CharactersReplaced = 23, // %1 characters (commas, line breaks in names and codes)
    // Findings of a write.
    RowsNotWritten = 24,    // %1 rows
    OutsideArea = 25,       // %1 points, %2 the system
    ValuesChanged = 26,     // %1 values
    CharactersDropped = 27, // %1 characters
    WrittenWithoutCrs = 28, //
    // Findings of a drawing's read.
    DxfNamesFromTexts = 29, // %1 points, %2 the layers of the texts that named them
    DxfWithoutNames = 30,   // %1 points
    // Findings of a write, after the drawing's.
    NotNumbersKept = 31, // %1 rows: a text format keeps them as they stand though N or E is not a number
    WithoutHeight = 32,  // %1 points drawn without a height: Z empty or not a number
    ExtraFields = 33,    // %1 lines had more fields than the format holds
    // Findings of a workbook's read.
    HiddenSheetsSkipped = 34, // %1 sheets, %2 their names: hidden sheets before the first visible one
    DatedNumbers = 35,        // %1 cells: coordinates or heights shown as dates, read as their numbers
};

#endif // FINDINGKIND_H
