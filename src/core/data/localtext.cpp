// The program's 8-bit text through the GBK codec.
#include "data/localtext.h"

#include <QTextCodec>

namespace
{

QTextCodec* gbk()
{
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    return codec;
}

} // namespace

QString from_local_text(const QByteArray& bytes)
{
    if (bytes.isNull())
        return QString();
    return gbk()->toUnicode(bytes.constData(), int(qstrnlen(bytes.constData(), bytes.size())));
}

QByteArray to_local_text(const QString& text)
{
    if (text.isNull())
        return QByteArray();
    return gbk()->fromUnicode(text);
}
