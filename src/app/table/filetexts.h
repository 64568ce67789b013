// The entries of the UI-text list "FileCommandMsg": what the file commands say.
#ifndef FILETEXTS_H
#define FILETEXTS_H

namespace FileText
{
enum : int {
    AllSupported = 0, // %1 the patterns
    Opened,           // %1 the file, %2 rows
    Saved,            // %1 the file, %2 rows
    Exported,         // %1 the file, %2 rows
    Separator,        // between the parts of a status text
    Gb18030Title,
    Gb18030Question, // %1 characters, %2 the first, %3 its row, %4 its column
    ReplaceTitle,
    ReplaceQuestion, // %1 the file
    RecentMissing,   // %1 the file
    ColumnsNotKept,  // %1 the columns
    InGb18030,       // after a status text
    ReadingFile,     // %1 the file: heading of the findings
    WritingFile,     // %1 the file
    NoRecentFiles,
    ListSeparator, // between the items of a list
};
} // namespace FileText

#include <QString>
#include <QStringList>

// The reason a whole-file write of `path` failed with what it left there, worded by the UI-text list
// "DamagedFileTexts" (`texts`); `existed`: something stood at `path` before (app/table/filesave.cpp).
QString with_what_was_left(const QStringList& texts, const QString& reason, const QString& path, bool existed);

#endif // FILETEXTS_H
