// Field extraction, fixed-decimal formatting and the angle notation.
#include "data/fieldtext.h"
#include "data/numbertext.h"

#include <algorithm>

QString field_text(const QByteArray& bytes, int pos, int length, int alllength, const QString& addstr, int addwenzhi)
{
    QString text;
    const int begin = std::max(pos, 0);
    const int end = std::min(int(bytes.size()), pos + std::max(length, 0));
    for (int i = begin; i < end; ++i) {
        if (bytes[i] != '\0')
            text.append(QChar(uchar(bytes[i])));
    }
    if (!addstr.isEmpty()) {
        while (text.size() < alllength)
            text = (addwenzhi == 0) ? addstr + text : text + addstr;
    }
    return text;
}

QString fixed_decimals(const QString& text, int decimals)
{
    if (decimals <= 0)
        return text;
    QString number = text.trimmed();
    // The KT20_KT40 fields put their zero filling in front of a minus sign (-12.345 travels as
    // 000000-12.345); read that as the negative number it is rather than as no number.
    int zeros = 0;
    while (zeros < number.size() && number[zeros] == QChar('0'))
        ++zeros;
    if (zeros > 0 && zeros < number.size() && number[zeros] == QChar('-'))
        number.remove(0, zeros);
    return double_to_fixed(text_to_double(number), decimals);
}

QString angle_text(const QString& text, int flag)
{
    QString result = text;
    if (flag == 0) {
        if (result.size() > 6) {
            result.insert(7, QChar('"'));
            result.insert(5, QChar('\''));
            result.insert(3, QChar(0x00B0));
        }
        return result;
    }
    result.remove(QChar('"'));
    result.remove(QChar('\''));
    result.remove(QChar(0x00B0));
    return result;
}

QByteArray latin1_bytes(const QString& text)
{
    QByteArray bytes(text.size(), '\0');
    for (int i = 0; i < text.size(); ++i) {
        const ushort code = text[i].unicode();
        if (code < 256)
            bytes[i] = char(code);
    }
    return bytes;
}
