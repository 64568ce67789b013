// Line-by-line text file reading and all-or-nothing text file writing.
#include "data/textfile.h"

#include <QSaveFile>
#include <QTextCodec>
#include <QTextStream>

#include <algorithm>
#include <iterator>

namespace
{

constexpr int kBufferSize = 1 << 16;

// Codecs in which every ASCII character is its own single byte, both ways and whatever came before
// it, and in which no byte of a multibyte character is a line feed: text in them can be cut after
// any line feed, and an ASCII stretch needs no conversion table.
bool is_ascii_compatible(QTextCodec* codec)
{
    if (!codec)
        return false;
    static const int kStateless[] = {3 /* US-ASCII */, 4 /* ISO-8859-1 */, 106 /* UTF-8 */, 113 /* GBK */,
                                     114 /* GB18030 */};
    if (std::find(std::begin(kStateless), std::end(kStateless), codec->mibEnum()) == std::end(kStateless))
        return false;
    QByteArray bytes(128, Qt::Uninitialized);
    for (int c = 0; c < 128; ++c)
        bytes[c] = char(c);
    const QString text = QString::fromLatin1(bytes.constData(), bytes.size());
    return codec->fromUnicode(text) == bytes && codec->toUnicode(bytes) == text;
}

bool is_ascii(const QString& text)
{
    ushort bits = 0;
    const ushort* data = text.utf16();
    for (int i = 0, n = text.size(); i < n; ++i)
        bits |= data[i];
    return bits < 0x80;
}

bool is_ascii(const char* bytes, int size)
{
    uchar bits = 0;
    for (int i = 0; i < size; ++i)
        bits |= uchar(bytes[i]);
    return bits < 0x80;
}

} // namespace

TextFileReader::TextFileReader() = default;

TextFileReader::~TextFileReader() = default;

bool TextFileReader::open(const QString& path)
{
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error_ = file_.errorString();
        return false;
    }
    return true;
}

QTextStream* TextFileReader::stream()
{
    if (!stream_) {
        // Decoded here as a Qt 5 text stream decodes a file (the local codec unless a Unicode byte
        // order mark names another): a Qt 6 stream knows no GBK.
        const QByteArray bytes = file_.readAll();
        stream_text_ = QTextCodec::codecForUtfText(bytes, QTextCodec::codecForLocale())->toUnicode(bytes);
        stream_ = std::make_unique<QTextStream>(&stream_text_, QIODevice::ReadOnly);
    }
    return stream_.get();
}

bool TextFileReader::read_line(QString* line)
{
    if (!started_)
        start();
    if (stream_) {
        if (stream_->atEnd())
            return false;
        *line = stream_->readLine();
        return true;
    }
    int end = text_.indexOf(QLatin1Char('\n'), pos_);
    while (end < 0) {
        if (!decode_more()) {
            if (pos_ >= text_.size())
                return false;
            end = text_.size(); // the last line has no line feed
            break;
        }
        end = text_.indexOf(QLatin1Char('\n'), pos_);
    }
    *line = text_.mid(pos_, end - pos_);
    pos_ = end + 1;
    return true;
}

void TextFileReader::start()
{
    started_ = true;
    // The codec a text stream would choose: the local one unless the text begins with a Unicode
    // byte order mark. The mark is looked for in the first bytes, as the stream looks for it.
    raw_ = file_.read(kBufferSize);
    QTextCodec* codec = QTextCodec::codecForUtfText(raw_, QTextCodec::codecForLocale());
    if (!is_ascii_compatible(codec)) {
        // Other codecs are read as a text stream reads them, from the start.
        file_.seek(0);
        raw_.clear();
        stream();
        return;
    }
    decoder_ = std::make_unique<QTextDecoder>(codec);
}

bool TextFileReader::decode_more()
{
    text_.remove(0, pos_);
    pos_ = 0;
    while (!file_at_end_) {
        // Whole lines are decoded at a time, so no character is cut in two.
        const int last_feed = raw_.lastIndexOf('\n');
        if (last_feed >= 0) {
            decode(raw_.constData(), last_feed + 1);
            raw_.remove(0, last_feed + 1);
            return true;
        }
        const QByteArray more = file_.read(kBufferSize);
        if (more.isEmpty())
            file_at_end_ = true;
        else
            raw_.append(more);
    }
    if (raw_.isEmpty())
        return false;
    decode(raw_.constData(), raw_.size());
    raw_.clear();
    return true;
}

void TextFileReader::decode(const char* bytes, int size)
{
    if (is_ascii(bytes, size))
        text_.append(QLatin1String(bytes, size));
    else
        text_.append(decoder_->toUnicode(bytes, size));
}

TextFileWriter::TextFileWriter(const QString& path, bool append) : path_(path), append_(append) {}

TextFileWriter::~TextFileWriter()
{
    cancel();
}

bool TextFileWriter::open()
{
    if (append_)
        file_ = std::make_unique<QFile>(path_);
    else
        file_ = std::make_unique<QSaveFile>(path_);
    // Unbuffered: the lines are gathered here, and a failing write reports its own reason.
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Text | QIODevice::Unbuffered;
    if (append_)
        mode |= QIODevice::Append;
    if (!file_->open(mode)) {
        error_ = file_->errorString();
        file_.reset();
        return false;
    }
    QTextCodec* codec = QTextCodec::codecForLocale();
    encoder_ = std::make_unique<QTextEncoder>(codec);
    ascii_as_is_ = is_ascii_compatible(codec);
    pending_.clear();
    failed_ = false;
    return true;
}

void TextFileWriter::write_line(const QString& line)
{
    if (!file_ || failed_)
        return;
    // Lines are gathered and encoded in batches: one conversion per batch, not per line.
    pending_.append(line);
    pending_.append(QLatin1Char('\n'));
    if (pending_.size() >= kBufferSize)
        write_buffer();
}

bool TextFileWriter::write_buffer()
{
    // Coordinates are mostly ASCII, which the program's codecs write byte for byte: such a batch
    // needs no conversion table.
    const QByteArray bytes = ascii_as_is_ && is_ascii(pending_) ? pending_.toLatin1() : encoder_->fromUnicode(pending_);
    pending_.truncate(0);
    qint64 done = 0;
    while (done < bytes.size()) {
        // A short write is followed by another, which fails with the reason (disk full, too large).
        const qint64 written = file_->write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            failed_ = true;
            error_ = file_->errorString();
            return false;
        }
        done += written;
    }
    return true;
}

bool TextFileWriter::finish()
{
    if (!file_)
        return false;
    if (!failed_)
        write_buffer();
    bool done = !failed_;
    if (auto* save = qobject_cast<QSaveFile*>(file_.get())) {
        if (!done)
            save->cancelWriting();
        if (!save->commit() && done) {
            error_ = save->errorString();
            done = false;
        }
    } else {
        file_->close();
    }
    file_.reset();
    return done;
}

void TextFileWriter::cancel()
{
    if (!file_)
        return;
    if (auto* save = qobject_cast<QSaveFile*>(file_.get()))
        save->cancelWriting();
    file_.reset(); // a QSaveFile that is not committed leaves the old file in place
}
