// Line-by-line text file reading and all-or-nothing text file writing.
#include "textfile.h"

#include <QSaveFile>
#include <QTextCodec>

namespace
{

constexpr int kBufferSize = 1 << 16;

} // namespace

bool TextFileReader::open(const QString& path)
{
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error_ = file_.errorString();
        return false;
    }
    stream_.setDevice(&file_);
    return true;
}

bool TextFileReader::read_line(QString* line)
{
    if (stream_.atEnd())
        return false;
    *line = stream_.readLine();
    return true;
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
    encoder_ = std::make_unique<QTextEncoder>(QTextCodec::codecForLocale());
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
    const QByteArray bytes = encoder_->fromUnicode(pending_);
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
