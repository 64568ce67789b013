// Telling, checking and decoding the encodings of text files, and GBK's reach.
#include "data/textencoding.h"

#include <QTextCodec>

#include <algorithm>
#include <cstring>

namespace
{

QTextCodec* gbk_codec()
{
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    return codec;
}

QTextCodec* gb18030_codec()
{
    static QTextCodec* const codec = QTextCodec::codecForName("GB18030");
    return codec;
}

// Decodes without dropping a U+FEFF at the start: the pieces decoded are lines within a file.
QString to_unicode(QTextCodec* codec, const char* data, qint64 size)
{
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return codec->toUnicode(data, int(size), &state);
}

} // namespace

qint64 first_high_byte(const char* data, qint64 size)
{
    // Eight bytes at a time, then the byte.
    qint64 i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    for (; i < size; ++i) {
        if (uchar(data[i]) >= 0x80)
            return i;
    }
    return -1;
}

namespace
{

bool is_ascii(const char* data, qint64 size)
{
    return first_high_byte(data, size) < 0;
}

bool is_utf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

ushort utf16_unit(TextEncoding encoding, const char* at)
{
    const auto lo = uchar(at[0]);
    const auto hi = uchar(at[1]);
    return encoding == TextEncoding::Utf16Le ? ushort(lo | hi << 8) : ushort(hi | lo << 8);
}

bool is_line_end_unit(ushort unit)
{
    return unit == '\n' || unit == '\r';
}

qint64 decode_utf16(TextEncoding encoding, const char* data, qint64 size, QString* text)
{
    qint64 invalid = 0;
    const qint64 units = size / 2;
    text->reserve(int(text->size() + units));
    for (qint64 i = 0; i < units; ++i) {
        const ushort unit = utf16_unit(encoding, data + 2 * i);
        if (QChar::isHighSurrogate(unit) && i + 1 < units &&
            QChar::isLowSurrogate(utf16_unit(encoding, data + 2 * (i + 1)))) {
            text->append(QChar(unit));
            text->append(QChar(utf16_unit(encoding, data + 2 * ++i)));
        } else if (QChar::isSurrogate(unit)) {
            text->append(QChar(QChar::ReplacementCharacter));
            invalid += 2;
        } else {
            text->append(QChar(unit));
        }
    }
    if (size % 2 != 0) {
        text->append(QChar(QChar::ReplacementCharacter));
        ++invalid;
    }
    return invalid;
}

} // namespace

QString text_encoding_name(TextEncoding encoding, const QTextCodec* code_page)
{
    switch (encoding) {
    case TextEncoding::Ascii:
        return QStringLiteral("ASCII");
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16Le:
        return QStringLiteral("UTF-16LE");
    case TextEncoding::Utf16Be:
        return QStringLiteral("UTF-16BE");
    case TextEncoding::Gbk:
        return QStringLiteral("GBK");
    case TextEncoding::Gb18030:
        return QStringLiteral("GB18030");
    case TextEncoding::CodePage:
        break;
    }
    return code_page ? QString::fromLatin1(code_page->name()) : QStringLiteral("GBK");
}

int byte_order_mark(const char* data, qint64 size, TextEncoding* encoding)
{
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
        *encoding = TextEncoding::Utf8;
        return 3;
    }
    if (size >= 2 && std::memcmp(data, "\xFF\xFE", 2) == 0) {
        *encoding = TextEncoding::Utf16Le;
        return 2;
    }
    if (size >= 2 && std::memcmp(data, "\xFE\xFF", 2) == 0) {
        *encoding = TextEncoding::Utf16Be;
        return 2;
    }
    return 0;
}

bool looks_like_utf16(const char* data, qint64 size, TextEncoding* encoding)
{
    const qint64 units = size / 2;
    if (units == 0)
        return false;
    qint64 even = 0; // zero bytes at even offsets: high bytes of UTF-16BE
    qint64 odd = 0;  // at odd offsets: high bytes of UTF-16LE
    for (qint64 i = 0; i < units; ++i) {
        even += data[2 * i] == 0;
        odd += data[2 * i + 1] == 0;
    }
    if (2 * odd >= units && 8 * even <= odd) {
        *encoding = TextEncoding::Utf16Le;
        return true;
    }
    if (2 * even >= units && 8 * odd <= even) {
        *encoding = TextEncoding::Utf16Be;
        return true;
    }
    return false;
}

void Utf8Checker::start(uchar byte)
{
    // The well-formed sequences: no overlong form, no surrogate, nothing past U+10FFFF.
    lower_ = 0x80;
    upper_ = 0xBF;
    have_ = 1;
    if (byte < 0x80) {
        have_ = 0;
    } else if (byte >= 0xC2 && byte <= 0xDF) {
        need_ = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        need_ = 2;
        if (byte == 0xE0)
            lower_ = 0xA0;
        else if (byte == 0xED)
            upper_ = 0x9F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        need_ = 3;
        if (byte == 0xF0)
            lower_ = 0x90;
        else if (byte == 0xF4)
            upper_ = 0x8F;
    } else {
        have_ = 0;
        ++invalid_;
    }
}

void Utf8Checker::feed(const char* data, qint64 size)
{
    for (qint64 i = 0; i < size; ++i) {
        if (need_ == 0) {
            const qint64 high = first_high_byte(data + i, size - i);
            if (high < 0)
                return;
            i += high;
            start(uchar(data[i]));
            continue;
        }
        const auto byte = uchar(data[i]);
        if (byte >= lower_ && byte <= upper_) {
            lower_ = 0x80;
            upper_ = 0xBF;
            ++have_;
            if (--need_ == 0)
                have_ = 0;
            continue;
        }
        // A broken sequence: its bytes so far are undecodable, this byte starts afresh.
        invalid_ += have_;
        need_ = 0;
        start(byte);
    }
}

void Utf8Checker::finish()
{
    if (need_ > 0)
        invalid_ += have_;
    need_ = 0;
    have_ = 0;
}

TextEncoding utf8_or_gbk(const char* data, qint64 size, bool at_end)
{
    Utf8Checker checker;
    checker.feed(data, size);
    if (at_end)
        checker.finish();
    return checker.invalid_bytes() == 0 ? TextEncoding::Utf8 : TextEncoding::Gbk;
}

qint64 after_last_line_end(TextEncoding encoding, const char* data, qint64 from, qint64 to)
{
    if (is_utf16(encoding)) {
        // Units start at `from`; an odd byte at the end starts none.
        for (qint64 i = from + (to - from) / 2 * 2 - 2; i >= from; i -= 2) {
            if (is_line_end_unit(utf16_unit(encoding, data + i)))
                return i + 2;
        }
        return -1;
    }
    // Qt's searches: one pass each, word by word.
    const QByteArray bytes = QByteArray::fromRawData(data + from, int(to - from));
    const int last = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
    return last < 0 ? -1 : from + last + 1;
}

qint64 first_line_end(TextEncoding encoding, const char* data, qint64 from, qint64 to)
{
    if (is_utf16(encoding)) {
        for (qint64 i = from; i + 2 <= to; i += 2) {
            if (is_line_end_unit(utf16_unit(encoding, data + i)))
                return i;
        }
        return -1;
    }
    const auto* feed = static_cast<const char*>(std::memchr(data + from, '\n', size_t(to - from)));
    const qint64 end = feed ? feed - data : to;
    const auto* carriage = static_cast<const char*>(std::memchr(data + from, '\r', size_t(end - from)));
    return carriage ? carriage - data : feed ? end : -1;
}

qint64 decode_gbk(const char* data, qint64 size, QString* text, bool* four_byte)
{
    // Runs of well-formed sequences go to the GB18030 decoder, which reads every GBK pair as GBK
    // does and the four-byte sequences besides; 0x80 is the euro sign, as in GBK; any other byte
    // that starts no sequence is undecodable.
    qint64 invalid = 0;
    qint64 run = 0;
    const auto flush = [&](qint64 end) {
        if (end > run)
            text->append(to_unicode(gb18030_codec(), data + run, end - run));
    };
    const auto in = [](uchar byte, uchar low, uchar high) { return byte >= low && byte <= high; };
    qint64 i = 0;
    while (i < size) {
        const qint64 high = first_high_byte(data + i, size - i);
        if (high < 0)
            break;
        i += high;
        const auto byte = uchar(data[i]);
        if (byte != 0x80 && byte != 0xFF && i + 1 < size) {
            const auto second = uchar(data[i + 1]);
            if (in(second, 0x40, 0x7E) || in(second, 0x80, 0xFE)) {
                i += 2;
                continue;
            }
            if (in(second, 0x30, 0x39) && i + 3 < size && in(uchar(data[i + 2]), 0x81, 0xFE) &&
                in(uchar(data[i + 3]), 0x30, 0x39)) {
                *four_byte = true;
                i += 4;
                continue;
            }
        }
        flush(i);
        if (byte == 0x80) {
            text->append(QChar(0x20AC));
        } else {
            text->append(QChar(QChar::ReplacementCharacter));
            ++invalid;
        }
        run = ++i;
    }
    flush(size);
    return invalid;
}

qint64 decode_text(TextEncoding encoding, QTextCodec* code_page, const char* data, qint64 size, QString* text)
{
    if (is_utf16(encoding))
        return decode_utf16(encoding, data, size, text);
    if (is_ascii(data, size)) {
        text->append(QLatin1String(data, int(size)));
        return 0;
    }
    switch (encoding) {
    case TextEncoding::Utf8: {
        Utf8Checker checker;
        checker.feed(data, size);
        checker.finish();
        text->append(to_unicode(QTextCodec::codecForMib(106), data, size));
        return checker.invalid_bytes();
    }
    case TextEncoding::CodePage:
        if (code_page) {
            const QString decoded = to_unicode(code_page, data, size);
            text->append(decoded);
            return decoded.count(QChar(QChar::ReplacementCharacter));
        }
        break;
    default:
        break;
    }
    bool four_byte = false;
    return decode_gbk(data, size, text, &four_byte);
}

bool gbk_holds(const QString& text, int i, int* size)
{
    const QChar c = text.at(i);
    *size = 1;
    // U+FFFD stands for bytes a reader could not decode, already reported: it is written as "?".
    if (c.unicode() < 0x80 || c == QChar(QChar::ReplacementCharacter))
        return true;
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        *size = 2;
        return false; // GBK holds nothing beyond U+FFFF
    }
    if (c.isSurrogate())
        return false;
    // What the codec says of each character, asked once: 0 not asked, 1 held, 2 not held.
    static uchar known[0x10000] = {};
    uchar& answer = known[c.unicode()];
    if (answer == 0)
        answer = gbk_codec()->canEncode(c) ? 1 : 2;
    return answer == 1;
}

QList<UnencodableCharacter> characters_gbk_cannot_hold(const QStringList& lines, int limit)
{
    QList<UnencodableCharacter> found;
    for (int line = 0; line < lines.size(); ++line) {
        const QString& text = lines[line];
        int field = 0;
        int size = 1;
        for (int i = 0; i < text.size(); i += size) {
            if (text.at(i) == QLatin1Char(','))
                ++field;
            if (gbk_holds(text, i, &size))
                continue;
            if (found.size() >= limit)
                return found;
            found.append({line, field, text.mid(i, size)});
        }
    }
    return found;
}
