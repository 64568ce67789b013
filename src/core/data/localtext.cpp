// Local 8-bit text through the locale codec.
#include "data/localtext.h"

#include <QTextCodec>

QString from_local_text(const QByteArray& bytes)
{
    if (bytes.isNull())
        return QString();
    return QTextCodec::codecForLocale()->toUnicode(bytes.constData(), int(qstrnlen(bytes.constData(), bytes.size())));
}

QByteArray to_local_text(const QString& text)
{
    if (text.isNull())
        return QByteArray();
    return QTextCodec::codecForLocale()->fromUnicode(text);
}
