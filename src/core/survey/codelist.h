// The crew's code list: which codes make points, lines or areas, the layer and colour each is drawn
// with, a description in both languages, and the three characters that control lines from the code
// field. Read from and written to an XML file (config/codes.xml; the user's copy comes first):
//
//     <CODELIST start="+" end="-" close="*">
//       <code code="WALL" kind="line" layer="WALL" colour="1" english="Wall" chinese="墙"/>
//     </CODELIST>
//
// A file that is not well-formed, names an unknown kind, holds a code twice or cannot be drawn from
// (a bad colour, layer name or control character) is refused whole, with the line and column where
// it goes wrong: the caller keeps the list it had.
#ifndef SURVEY_CODELIST_H
#define SURVEY_CODELIST_H

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QString>
#include <QVector>

enum class CodeKind { Point, Line, Area };

struct CodeEntry {
    QString code; // as the crew types it (printable ASCII); compared without regard to letter case;
                  // a point code also names its symbol's block in a drawing
    CodeKind kind = CodeKind::Point;
    QString layer;   // the drawing's layer (printable ASCII; several codes may share one)
    int colour = 7;  // AutoCAD colour index, 1 to 255
    QString english; // description
    QString chinese;
};

// Why a file was refused, and where.
struct CodeListError {
    enum Kind {
        None,
        CannotOpen,        // detail: why
        NotWellFormed,     // detail: the XML reader's message
        NotCodeList,       // the root element is not CODELIST (detail: its name)
        BadControl,        // detail: the attribute; a control is one character, no letter, digit or
                           // blank, and the three differ
        UnexpectedElement, // detail: its name
        MissingCode,       // a code element without a code, or a code that is not printable ASCII or
                           // holds a blank, a control character or a character a drawing forbids
        UnknownKind,       // detail: the kind
        DuplicateCode,     // detail: the code
        BadColour,         // detail: the colour text
        BadLayer,          // detail: the layer name (empty, too long, not printable ASCII, or a
                           // character a drawing forbids)
    };
    Kind kind = None;
    QString detail;
    qint64 line = 0;
    qint64 column = 0;

    bool failed() const { return kind != None; }
};

class CodeList
{
public:
    CodeList() = default;

    QChar start() const { return start_; }
    QChar end() const { return end_; }
    QChar close() const { return close_; }
    // False, changing nothing, when the three are not one character each that can serve (see
    // CodeListError::BadControl).
    bool set_controls(QChar start, QChar end, QChar close);
    bool is_control(QChar c) const { return c == start_ || c == end_ || c == close_; }

    const QVector<CodeEntry>& entries() const { return entries_; }
    int size() const { return entries_.size(); }
    // The entry of `code` (letter case ignored), or -1.
    int find(const QString& code) const;
    int find(QStringView code) const;

    // Adds or replaces entries; false, changing nothing, when the entry is not valid for this list
    // (see validate) or its code is held by another entry. `error` (when given) says why.
    bool append(const CodeEntry& entry, CodeListError* error = nullptr);
    bool replace(int index, const CodeEntry& entry, CodeListError* error = nullptr);
    void remove(int index);

    // Why `entry` cannot be in this list as it stands (not counting duplicates); None when it can.
    CodeListError::Kind validate(const CodeEntry& entry) const;

private:
    void reindex();

    QChar start_{'+'};
    QChar end_{'-'};
    QChar close_{'*'};
    QVector<CodeEntry> entries_;
    QHash<QString, int> index_; // upper-case code -> entry
};

// The kind's name in the file ("point", "line", "area").
QString code_kind_name(CodeKind kind);
bool code_kind_of_name(const QString& name, CodeKind* kind);

// Reads a code list from the bytes of a file. False with *error set (and *list untouched) when the
// list is refused.
bool read_code_list(const QByteArray& bytes, CodeList* list, CodeListError* error);
bool read_code_list_file(const QString& path, CodeList* list, CodeListError* error);

// The file text of a list (UTF-8 XML), read back by read_code_list as the same list.
QByteArray code_list_xml(const CodeList& list);
// Writes the file whole or not at all (the old file stays on failure); false with *error set.
bool write_code_list_file(const QString& path, const CodeList& list, QString* error);

// An English sentence for an error, for the command-line tools and the log.
QString code_list_error_text(const CodeListError& error);

// The code list file to read: the user's copy in the user's configuration folder when there is one,
// else the shipped <runtime>/config/codes.xml.
QString code_list_file_to_read(const QString& runtime);
// Where edits of the list go: always the user's copy (its folder is made), so the shipped list stays
// the default of every user. Empty when the folder cannot be made.
QString code_list_file_to_write();

#endif // SURVEY_CODELIST_H
