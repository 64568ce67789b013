// Attribute values and ASCII texts as UTF-8 bytes.
#include "landxml/xmlbytes.h"

namespace
{

void append_utf8(QByteArray& out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

bool is_plain(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u >= 0x7F || u == '&' || u == '<' || u == '>' || u == '"')
            return false;
    }
    return true;
}

} // namespace

void append_ascii(QByteArray& out, const QString& text)
{
    const int start = int(out.size());
    out.resize(start + int(text.size()));
    char* bytes = out.data() + start;
    for (const QChar c : text)
        *bytes++ = char(c.unicode());
}

void append_attribute(QByteArray& out, const QString& text, int* dropped)
{
    if (is_plain(text)) {
        append_ascii(out, text);
        return;
    }
    const int size = int(text.size());
    for (int i = 0; i < size; ++i) {
        const char16_t u = text.at(i).unicode();
        switch (u) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '"':
            out += "&quot;";
            continue;
        case '\t':
            out += "&#9;";
            continue;
        case '\n':
            out += "&#10;";
            continue;
        case '\r':
            out += "&#13;";
            continue;
        default:
            break;
        }
        if (QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            append_utf8(out, QChar::surrogateToUcs4(u, text.at(i + 1).unicode()));
            ++i;
        } else if (u < 0x20 || QChar::isSurrogate(u) || u == 0xFFFE || u == 0xFFFF) {
            ++*dropped;
        } else {
            append_utf8(out, u);
        }
    }
}
