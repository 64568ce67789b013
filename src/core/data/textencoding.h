// The encodings of the text files the program reads and writes: telling a file's encoding from its
// bytes, finding line ends in them, decoding whole lines with a count of the bytes that could not be
// decoded, and finding the characters GBK cannot hold. Pure functions on bytes and strings.
//
// A file's encoding is decided once: a byte order mark names it (UTF-8, UTF-16 LE or BE); else zero
// bytes at one parity name UTF-16 without a mark; else, at the first byte above 0x7F, valid UTF-8
// is UTF-8 and anything else GBK (with GB18030's four-byte sequences, which GBK text never holds).
// Until that first byte the text is ASCII, which every candidate decodes alike, so a file whose first
// megabytes are ASCII is still told right. The decision is never revised: bytes later in the file
// that the decided encoding cannot decode each become U+FFFD and are counted for the user.
#ifndef TEXTENCODING_H
#define TEXTENCODING_H

#include <QList>
#include <QString>
#include <QStringList>

class QTextCodec;

enum class TextEncoding {
    Ascii, // nothing above 0x7F met (yet)
    Utf8,
    Utf16Le,
    Utf16Be,
    Gbk,     // GBK; four-byte GB18030 sequences are read too
    Gb18030, // GBK text that held four-byte GB18030 sequences
    CodePage // a code page a drawing names, decoded by its codec
};

// "ASCII", "UTF-8", "UTF-16LE", "UTF-16BE", "GBK", "GB18030", or the code page's codec name.
QString text_encoding_name(TextEncoding encoding, const QTextCodec* code_page = nullptr);

// The encoding a byte order mark at the start of `data` names, and the mark's size; 0 without one.
int byte_order_mark(const char* data, qint64 size, TextEncoding* encoding);

// UTF-16 without a byte order mark: at least half of the 16-bit units have a zero byte on one side
// and at most an eighth as many on the other (ASCII text in UTF-16 is half zero bytes; text in a
// byte encoding holds none). Sets *encoding to the byte order.
bool looks_like_utf16(const char* data, qint64 size, TextEncoding* encoding);

// Checks UTF-8 as it comes, in pieces: a sequence the end of one piece cuts goes on in the next.
class Utf8Checker
{
public:
    void feed(const char* data, qint64 size);
    // The end of the text: a sequence left open is undecodable.
    void finish();
    qint64 invalid_bytes() const { return invalid_; }

private:
    void start(uchar byte);

    int need_ = 0; // continuation bytes still expected
    int have_ = 0; // bytes of the open sequence so far
    uchar lower_ = 0x80;
    uchar upper_ = 0xBF;
    qint64 invalid_ = 0;
};

// UTF-8 or GBK for text that holds a byte above 0x7F: UTF-8 when all of it is valid UTF-8. A
// sequence cut by the end of `data` counts as valid unless `at_end` says the text ends there.
TextEncoding utf8_or_gbk(const char* data, qint64 size, bool at_end);

// The offset of the first byte above 0x7F, or -1.
qint64 first_high_byte(const char* data, qint64 size);

// Line ends: LF, CR LF and CR alone, as bytes or, in UTF-16, as units from an even offset.
// The offset just past the last CR or LF in [from, to), or -1.
qint64 after_last_line_end(TextEncoding encoding, const char* data, qint64 from, qint64 to);
// The offset of the first CR or LF in [from, to), or -1.
qint64 first_line_end(TextEncoding encoding, const char* data, qint64 from, qint64 to);

// Appends the text of `data` (whole lines, or the end of the text) to *text; returns the number of
// bytes that could not be decoded, each of which became U+FFFD. Ascii is decoded as GBK; CodePage
// by `code_page`, whose U+FFFD replacements are counted.
qint64 decode_text(TextEncoding encoding, QTextCodec* code_page, const char* data, qint64 size, QString* text);
// As decode_text for GBK; sets *four_byte when a four-byte GB18030 sequence was met.
qint64 decode_gbk(const char* data, qint64 size, QString* text, bool* four_byte);

// A character that GBK cannot hold: its line and comma-separated field (both from 0) and the
// character itself (two UTF-16 units for a character beyond U+FFFF).
struct UnencodableCharacter {
    qint64 line = 0;
    int field = 0;
    QString character;
};

// Whether GBK holds the character starting at text[i] (a surrogate pair is one character); *size is
// set to its length in UTF-16 units. U+FFFD counts as held: it marks bytes a reader could not decode
// (already reported) and is written as "?".
bool gbk_holds(const QString& text, int i, int* size);
// Every character of `lines` that GBK cannot hold, in order, at most `limit` of them.
QList<UnencodableCharacter> characters_gbk_cannot_hold(const QStringList& lines, int limit = 1000);

#endif // TEXTENCODING_H
