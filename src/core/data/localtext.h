// The program's 8-bit text, GBK, to and from Unicode: the bytes of the KT90's lines on the wire and of
// the simulator's output. Always the GBK codec itself, never the process's codec for local 8-bit text,
// which stays the system's (UTF-8 on Linux) so that file names are never converted through GBK.
#ifndef LOCALTEXT_H
#define LOCALTEXT_H

#include <QByteArray>
#include <QString>

// Bytes are read up to the first NUL, as Qt 5's QString::fromLocal8Bit does; null for null.
QString from_local_text(const QByteArray& bytes);
QByteArray to_local_text(const QString& text);

#endif // LOCALTEXT_H
