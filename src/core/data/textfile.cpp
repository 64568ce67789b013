// Reading text files line by line, in their own encoding, with any of the three line ends.
#include "data/textfile.h"

#include <QTextStream>

#include <algorithm>

namespace
{

bool is_utf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

int index_or_size(const QString& text, QLatin1Char c, int from)
{
    const int at = text.indexOf(c, from);
    return at < 0 ? text.size() : at;
}

} // namespace

TextFileReader::TextFileReader(int block_size, qint64 longest_line)
    : block_size_(std::max(block_size, 4)), longest_line_(std::max<qint64>(longest_line, 2 * block_size_))
{
}

TextFileReader::~TextFileReader() = default;

bool TextFileReader::open(const QString& path)
{
    // Binary: the line ends are this reader's, all three of them.
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        fail(Failure::Open, file_.errorString());
        return false;
    }
    device_ = &file_;
    return true;
}

void TextFileReader::set_encoding(TextEncoding encoding, QTextCodec* code_page)
{
    encoding_ = encoding;
    code_page_ = code_page;
    forced_ = true;
}

bool TextFileReader::restart()
{
    if (!device_ || !device_->seek(0)) {
        fail(Failure::Read, device_ ? device_->errorString() : error_);
        return false;
    }
    stream_.reset();
    stream_text_.clear();
    encoding_ = TextEncoding::Ascii;
    code_page_ = nullptr;
    forced_ = marked_ = high_seen_ = false;
    started_ = file_at_end_ = skip_feed_ = false;
    raw_.truncate(0);
    scanned_ = 0;
    text_.truncate(0);
    pos_ = 0;
    next_feed_ = next_return_ = -1;
    undecodable_ = 0;
    lines_read_ = 0;
    failure_ = Failure::None;
    error_.clear();
    return true;
}

void TextFileReader::fail(Failure failure, const QString& error)
{
    failure_ = failure;
    error_ = error;
}

void TextFileReader::read_block()
{
    // A file is read no further than its size: a small file costs no block-sized buffer.
    qint64 want = block_size_;
    if (device_size_ >= 0) {
        want = std::min(want, device_size_ - device_->pos());
        if (want <= 0) {
            file_at_end_ = true;
            return;
        }
    }
    const int old_size = raw_.size();
    raw_.resize(old_size + int(want));
    const qint64 got = device_->read(raw_.data() + old_size, want);
    raw_.resize(old_size + int(std::max<qint64>(got, 0)));
    if (got < 0)
        fail(Failure::Read, device_->errorString());
    // A file read up to its size is at its end: the encoding is decided knowing that.
    if (got <= 0 || (device_size_ >= 0 && device_->pos() >= device_size_))
        file_at_end_ = true;
}

void TextFileReader::start()
{
    started_ = true;
    if (!device_ || !device_->isOpen()) {
        file_at_end_ = true;
        return;
    }
    // Buffers kept for the whole read: a buffer allocated afresh for every block costs more than
    // the decoding.
    // The size is asked once: every question is a system call.
    device_size_ = device_->isSequential() ? -1 : device_->size();
    qint64 reserve = 2 * qint64(block_size_);
    if (device_size_ >= 0)
        reserve = std::min(reserve, device_size_ + 1);
    raw_.reserve(int(reserve));
    text_.reserve(int(reserve));
    while (raw_.size() < block_size_ && !file_at_end_)
        read_block();
    TextEncoding marked = TextEncoding::Ascii;
    const int mark = byte_order_mark(raw_.constData(), raw_.size(), &marked);
    if (mark > 0) {
        encoding_ = marked;
        code_page_ = nullptr;
        marked_ = true;
        raw_.remove(0, mark);
    } else if (!forced_) {
        looks_like_utf16(raw_.constData(), raw_.size(), &encoding_);
    }
}

bool TextFileReader::fill()
{
    text_.truncate(0);
    pos_ = 0;
    next_feed_ = next_return_ = -1;
    const bool skip_feed = skip_feed_;
    skip_feed_ = false;
    const int unit = is_utf16(encoding_) ? 2 : 1;
    while (!failed()) {
        const qint64 cut = after_last_line_end(encoding_, raw_.constData(), scanned_, raw_.size());
        if (cut >= 0) {
            // Only the line begun before this search can be long: every other fits in a block.
            if (first_line_end(encoding_, raw_.constData(), scanned_, cut) > longest_line_)
                break;
            decode(cut);
            raw_.remove(0, int(cut));
            scanned_ = 0;
        } else {
            // Whole units searched; a part of one may start a line end.
            scanned_ = raw_.size() / unit * unit;
            if (!file_at_end_) {
                if (scanned_ > longest_line_)
                    break;
                read_block();
                continue;
            }
            if (raw_.isEmpty())
                return false;
            if (raw_.size() > longest_line_)
                break;
            // The last line, without a line end.
            decode(raw_.size());
            raw_.clear();
            scanned_ = 0;
        }
        if (skip_feed && text_.startsWith(QLatin1Char('\n')))
            pos_ = 1;
        return true;
    }
    if (!failed()) {
        fail(Failure::LongLine,
             QStringLiteral("line %1 is longer than %2 bytes").arg(lines_read_ + 1).arg(longest_line_));
    }
    return false;
}

TextEncoding TextFileReader::encoding() const
{
    return high_seen_ || marked_ || is_utf16(encoding_) ? encoding_ : TextEncoding::Ascii;
}

void TextFileReader::decode(qint64 size)
{
    const qint64 high = is_utf16(encoding_) ? 0 : first_high_byte(raw_.constData(), size);
    if (high < 0) {
        text_.append(QLatin1String(raw_.constData(), int(size)));
        return;
    }
    high_seen_ = true;
    if (encoding_ == TextEncoding::Ascii) {
        // Nothing above 0x7F so far: the first such byte decides, on a block from it on.
        while (raw_.size() - high < block_size_ && !file_at_end_)
            read_block();
        const qint64 window = std::min<qint64>(block_size_, raw_.size() - high);
        const bool at_end = file_at_end_ && high + window == raw_.size();
        encoding_ = utf8_or_gbk(raw_.constData() + high, window, at_end);
    }
    if (encoding_ == TextEncoding::Gbk || encoding_ == TextEncoding::Gb18030) {
        bool four_byte = false;
        undecodable_ += decode_gbk(raw_.constData(), size, &text_, &four_byte);
        if (four_byte)
            encoding_ = TextEncoding::Gb18030;
        return;
    }
    undecodable_ += decode_text(encoding_, code_page_, raw_.constData(), size, &text_);
}

bool TextFileReader::at_end()
{
    if (!started_)
        start();
    if (stream_)
        return stream_->atEnd();
    while (pos_ >= text_.size()) {
        if (!fill())
            return true;
    }
    return false;
}

bool TextFileReader::read_line(QString* line)
{
    if (at_end())
        return false;
    if (stream_) {
        *line = stream_->readLine();
        return true;
    }
    // The next LF and the next CR, each looked for again only once passed: a file with one kind of
    // line end is searched once for the other.
    const int size = text_.size();
    if (next_feed_ < pos_)
        next_feed_ = index_or_size(text_, QLatin1Char('\n'), pos_);
    if (next_return_ < pos_)
        next_return_ = index_or_size(text_, QLatin1Char('\r'), pos_);
    const int end = std::min(next_feed_, next_return_);
    const ushort* const data = text_.utf16();
    *line = text_.mid(pos_, end - pos_);
    pos_ = end;
    if (end < size) {
        pos_ = end + 1;
        if (data[end] == '\r') {
            if (pos_ < size && data[pos_] == '\n')
                ++pos_;
            else if (pos_ == size)
                skip_feed_ = true;
        }
    }
    ++lines_read_;
    return true;
}

QTextStream* TextFileReader::stream()
{
    if (!stream_) {
        QString line;
        while (read_line(&line)) {
            stream_text_ += line;
            stream_text_ += QLatin1Char('\n');
        }
        stream_ = std::make_unique<QTextStream>(&stream_text_, QIODevice::ReadOnly);
    }
    return stream_.get();
}
