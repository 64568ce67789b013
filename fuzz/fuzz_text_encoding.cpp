// The encoding detection and the line reader on any bytes, in memory, with small blocks and a short
// longest line (the first two bytes choose them), so every block end and every refusal is reached by
// small inputs: the reader gives the lines of the whole input decoded at once by the same rules, up
// to the first line too long, which it refuses; the UTF-8 checker counts the same fed in pieces as
// whole; the check of what GBK cannot hold takes any line.
#include "data/textfile.h"
#include "harness.h"

#include <QBuffer>
#include <cstdlib>

namespace
{

struct Expected {
    QStringList lines;
    bool refused = false;
};

bool is_utf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

// The lines of the whole input: its encoding decided by the reader's rules, decoded at once, split
// at LF, CR LF and CR, no empty line after the last line end; cut before the first line longer than
// `longest` bytes.
Expected expected_lines(const QByteArray& bytes, int block, qint64 longest)
{
    TextEncoding encoding = TextEncoding::Ascii;
    const int mark = byte_order_mark(bytes.constData(), bytes.size(), &encoding);
    const QByteArray body = bytes.mid(mark);
    if (mark == 0 && !looks_like_utf16(body.constData(), qMin(body.size(), block), &encoding)) {
        int high = 0;
        while (high < body.size() && uchar(body[high]) < 0x80)
            ++high;
        const int window = qMin(block, body.size() - high);
        encoding = utf8_or_gbk(body.constData() + high, window, high + window == body.size());
    }
    QString text;
    decode_text(encoding, nullptr, body.constData(), body.size(), &text);
    Expected expected;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r'))
            continue;
        expected.lines << text.mid(start, i - start);
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        expected.lines << text.mid(start);
    // The same lines in bytes, for their lengths.
    const int unit = is_utf16(encoding) ? 2 : 1;
    qint64 line_start = 0;
    int line = 0;
    for (qint64 at = 0; at + unit <= body.size() || line_start < body.size(); at += unit) {
        const bool end_of_text = at + unit > body.size();
        qint64 end = at;
        bool line_end = false;
        if (end_of_text) {
            end = body.size();
        } else {
            const ushort value = unit == 1 ? uchar(body[int(at)])
                                 : encoding == TextEncoding::Utf16Le
                                     ? ushort(uchar(body[int(at)]) | uchar(body[int(at) + 1]) << 8)
                                     : ushort(uchar(body[int(at)]) << 8 | uchar(body[int(at) + 1]));
            line_end = value == '\n' || value == '\r';
            if (!line_end)
                continue;
        }
        if (end - line_start > longest) {
            expected.lines = expected.lines.mid(0, line);
            expected.refused = true;
            break;
        }
        if (end_of_text)
            break;
        ++line;
        // A LF after a CR is the CR's line end.
        if (unit == 1 && body[int(at)] == '\r' && at + 1 < body.size() && body[int(at) + 1] == '\n')
            ++at;
        if (unit == 2 && at + 3 < body.size()) {
            const bool cr = encoding == TextEncoding::Utf16Le ? body.mid(int(at), 4) == QByteArray("\r\0\n\0", 4)
                                                              : body.mid(int(at), 4) == QByteArray("\0\r\0\n", 4);
            if (cr)
                at += 2;
        }
        line_start = at + unit;
    }
    return expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    fuzz_environment();
    const int block = 4 + data[0] % 61;
    const qint64 longest = 2 * block + data[1] % 128;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2), int(size - 2));

    Utf8Checker whole;
    whole.feed(bytes.constData(), bytes.size());
    whole.finish();
    Utf8Checker pieces;
    const int step = 1 + data[0] % 13;
    for (int at = 0; at < bytes.size(); at += step)
        pieces.feed(bytes.constData() + at, qMin(step, bytes.size() - at));
    pieces.finish();
    if (whole.invalid_bytes() != pieces.invalid_bytes())
        std::abort();

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TextFileReader reader(block, longest);
    reader.open(&buffer);
    QStringList lines;
    QString line;
    while (reader.read_line(&line))
        lines << line;
    const Expected expected = expected_lines(bytes, block, longest);
    if (lines != expected.lines || reader.failed() != expected.refused)
        std::abort();
    characters_gbk_cannot_hold(lines);
    return 0;
}
