// Line-by-line text file reading and all-or-nothing text file writing.
#include "textfile.h"

#include <QSaveFile>

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
    QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Text;
    if (append_)
        mode |= QIODevice::Append;
    if (!file_->open(mode)) {
        error_ = file_->errorString();
        file_.reset();
        return false;
    }
    stream_.setDevice(file_.get());
    return true;
}

void TextFileWriter::write_line(const QString& line)
{
    stream_ << line << '\n';
}

bool TextFileWriter::finish()
{
    if (!file_)
        return false;
    stream_.flush();
    const bool written = stream_.status() == QTextStream::Ok && file_->error() == QFileDevice::NoError;
    if (!written)
        error_ = file_->errorString();
    stream_.setDevice(nullptr);
    bool done = written;
    if (auto* save = qobject_cast<QSaveFile*>(file_.get())) {
        if (!written)
            save->cancelWriting();
        if (!save->commit() && written) {
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
    stream_.setDevice(nullptr);
    if (auto* save = qobject_cast<QSaveFile*>(file_.get()))
        save->cancelWriting();
    file_.reset(); // a QSaveFile that is not committed leaves the old file in place
}
