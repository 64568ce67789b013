// Text routines shared by the wire codecs and the table: fixed-width fields, fixed decimals, angles,
// and the wire's bytes of a text.
#ifndef FIELDTEXT_H
#define FIELDTEXT_H

#include <QByteArray>
#include <QString>

// `length` bytes of `bytes` from `pos` (clipped to the buffer), one character per byte, NULs left out.
// With `alllength` above the field's length the text is padded with `addstr`, in front when
// `addwenzhi` is 0 and behind otherwise.
QString field_text(const QByteArray& bytes, int pos, int length, int alllength = 0, const QString& addstr = QString(),
                   int addwenzhi = 0);
// The text as a number (surrounding spaces ignored, zeros in front of a minus sign too, no number
// counts as 0) with exactly `decimals` decimals; `text` unchanged when `decimals` is not above 0.
QString fixed_decimals(const QString& text, int decimals);
// flag 0: DDDMMSS becomes DDD°MM'SS" (texts of 6 characters or fewer stay); any other flag removes
// every degree sign, apostrophe and double quote.
QString angle_text(const QString& text, int flag);
// The wire's bytes of a text: each character by its Latin-1 value, anything beyond Latin-1 as 00.
QByteArray latin1_bytes(const QString& text);

#endif // FIELDTEXT_H
