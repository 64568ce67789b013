// The program's local 8-bit text (GBK once the program has started) to and from Unicode.
#ifndef LOCALTEXT_H
#define LOCALTEXT_H

#include <QByteArray>
#include <QString>

// Both go through QTextCodec::codecForLocale(), which the entry point makes GBK, and read bytes as
// Qt 5's QString::fromLocal8Bit does: up to the first NUL, null for null. QString's own conversions
// follow that codec in Qt 5 only; Qt 6 takes the system's encoding.
QString from_local_text(const QByteArray& bytes);
QByteArray to_local_text(const QString& text);

#endif // LOCALTEXT_H
