// All-or-nothing text file writing in GBK, GB18030 or UTF-8.
#include "data/textfile.h"

#include "data/replacefile.h"

#include <QTextCodec>

#include <algorithm>

namespace
{

constexpr int kBatchSize = 1 << 16;

bool is_ascii(const QString& text)
{
    ushort bits = 0;
    const ushort* data = text.utf16();
    for (int i = 0, n = text.size(); i < n; ++i)
        bits |= data[i];
    return bits < 0x80;
}

} // namespace

TextFileWriter::TextFileWriter(const QString& path, bool append, OutputEncoding encoding)
    : path_(path), append_(append), encoding_(encoding)
{
}

TextFileWriter::~TextFileWriter()
{
    cancel();
}

bool TextFileWriter::open()
{
    if (append_)
        file_ = std::make_unique<QFile>(path_);
    else
        file_ = replacement_file(path_);
    // Unbuffered: the lines are gathered here, and a failing write reports its own reason.
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Text | QIODevice::Unbuffered;
    if (append_)
        mode |= QIODevice::Append;
    if (!file_->open(mode)) {
        error_ = file_->errorString();
        file_.reset();
        return false;
    }
    codec_ = QTextCodec::codecForName(encoding_ == OutputEncoding::Gb18030 ? "GB18030" : "GBK");
    pending_.clear();
    lines_ = 0;
    unencodable_ = 0;
    failed_ = false;
    // The mark starts a new file; one appended to already has it.
    if (encoding_ == OutputEncoding::Utf8WithBom && !append_) {
        static const char kBom[] = "\xEF\xBB\xBF";
        failed_ = !write_all(*file_, kBom, 3, &error_);
    }
    return !failed_;
}

void TextFileWriter::find_unencodable()
{
    // The encoder said this batch held characters GBK cannot hold: which, and where.
    qint64 line = pending_first_line_;
    int field = 0;
    int size = 1;
    for (int i = 0; i < pending_.size(); i += size) {
        const QChar c = pending_.at(i);
        if (c == QLatin1Char('\n')) {
            ++line;
            field = 0;
        } else if (c == QLatin1Char(',')) {
            ++field;
        }
        if (gbk_holds(pending_, i, &size))
            continue;
        if (unencodable_++ == 0)
            first_unencodable_ = {line, field, pending_.mid(i, size)};
    }
}

void TextFileWriter::write_line(const QString& line)
{
    if (!file_ || failed_)
        return;
    if (pending_.isEmpty())
        pending_first_line_ = lines_;
    ++lines_;
    // Lines are gathered and encoded in batches: one conversion per batch, not per line. The line and
    // its end go in with one growth check (an append costs as much as a short line's copy).
    const qsizetype at = pending_.size();
    pending_.resize(at + line.size() + 1);
    QChar* end = std::copy(line.cbegin(), line.cend(), pending_.data() + at);
    *end = QLatin1Char('\n');
    if (pending_.size() >= kBatchSize)
        write_buffer();
}

bool TextFileWriter::write_buffer()
{
    // Coordinates are mostly ASCII, which GBK and GB18030 write byte for byte: such a batch needs
    // no conversion table.
    QByteArray bytes;
    if (is_ascii(pending_)) {
        bytes = pending_.toLatin1();
    } else if (encoding_ == OutputEncoding::Utf8WithBom) {
        bytes = pending_.toUtf8(); // holds every character
    } else {
        QTextEncoder encoder(codec_);
        bytes = encoder.fromUnicode(pending_);
        if (encoding_ == OutputEncoding::Gbk && encoder.hasFailure())
            find_unencodable();
    }
    pending_.truncate(0);
    if (write_all(*file_, bytes.constData(), bytes.size(), &error_))
        return true;
    failed_ = true;
    return false;
}

bool TextFileWriter::flush()
{
    if (file_ && !failed_ && !pending_.isEmpty())
        write_buffer();
    return file_ && !failed_;
}

bool TextFileWriter::finish()
{
    if (!file_)
        return false;
    if (!failed_)
        write_buffer();
    bool done = !failed_;
    if (append_)
        file_->close();
    else if (!done)
        cancel_replacement(*file_);
    else
        done = commit_replacement(*file_, &error_);
    file_.reset();
    return done;
}

void TextFileWriter::cancel()
{
    if (!file_)
        return;
    if (!append_)
        cancel_replacement(*file_);
    file_.reset(); // a save file that is not committed leaves the old file in place
}
