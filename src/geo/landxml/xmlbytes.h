// XML made as UTF-8 bytes directly, for the LandXML writers' many small elements: attribute values
// escaped, number texts appended as they are.
#ifndef GEO_XMLBYTES_H
#define GEO_XMLBYTES_H

#include <QByteArray>
#include <QString>

// Appends text known to be printable ASCII.
void append_ascii(QByteArray& out, const QString& text);

// Appends `text` as the UTF-8 of an XML attribute value: markup characters, and white space that a
// reader would turn into blanks, as references; characters XML cannot carry (control characters,
// lone surrogates, U+FFFE, U+FFFF) left out and counted in *dropped.
void append_attribute(QByteArray& out, const QString& text, int* dropped);

#endif // GEO_XMLBYTES_H
