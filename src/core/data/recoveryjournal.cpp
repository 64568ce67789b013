// Writing, reading and setting aside the recovery journal.
#include "data/recoveryjournal.h"

#include "data/textencoding.h"

#include <QDir>
#include <QFileInfo>

namespace
{

const QByteArray kMagic = "ktlink-journal";
const QString kDateFormat = "yyyy-MM-ddThh:mm:ss";
// A journal this large is no journal of ours: a day of receiving is a few MB.
constexpr qint64 kLargestJournal = 256LL * 1024 * 1024;

QString clean_cell(QString text)
{
    text.replace('\t', ' ');
    text.replace('\r', ' ');
    text.replace('\n', ' ');
    return text;
}

// A line is text of ours: valid UTF-8 without control characters other than the tab.
bool is_text_line(const QByteArray& line)
{
    for (const char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t')
            return false;
        if (u == 0x7f)
            return false;
    }
    return QString::fromUtf8(line).toUtf8() == line;
}

// The lines of the file without their line ends (LF, CR LF or CR: a journal copied through another
// system keeps its lines); the last entry is what follows the last line end.
QList<QByteArray> split_lines(const QByteArray& data)
{
    QList<QByteArray> lines;
    qint64 start = 0;
    for (qint64 end; (end = first_line_end(TextEncoding::Utf8, data.constData(), start, data.size())) >= 0;) {
        lines.append(data.mid(int(start), int(end - start)));
        start = end + 1;
        if (data[int(end)] == '\r' && start < data.size() && data[int(start)] == '\n')
            ++start;
    }
    lines.append(data.mid(int(start)));
    return lines;
}

} // namespace

RecoveryJournal::RecoveryJournal(const QString& folder, const QString& layout, int columns)
    : folder_(folder), layout_(layout), columns_(columns)
{
    file_.setFileName(path());
}

QString RecoveryJournal::path() const
{
    return folder_ + "/journal-" + layout_ + ".txt";
}

bool RecoveryJournal::exists() const
{
    return QFileInfo(path()).isFile();
}

QByteArray RecoveryJournal::row_line(const QStringList& cells, int columns)
{
    QStringList texts;
    for (int c = 0; c < columns; ++c)
        texts.append(clean_cell(cells.value(c)));
    return texts.join('\t').toUtf8() + '\n';
}

QByteArray RecoveryJournal::head_line(const QDateTime& started) const
{
    return kMagic + '\t' + layout_.toUtf8() + '\t' + QByteArray::number(columns_) + '\t' +
           started.toString(kDateFormat).toUtf8() + '\n';
}

bool RecoveryJournal::open_for_append()
{
    if (file_.isOpen())
        return true;
    if (!QDir().mkpath(folder_)) {
        error_ = QString("cannot create %1").arg(folder_);
        return false;
    }
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
        error_ = file_.errorString();
        return false;
    }
    if (file_.size() == 0)
        return write_bytes(head_line(QDateTime::currentDateTime()));
    return true;
}

bool RecoveryJournal::write_bytes(const QByteArray& bytes)
{
    // Flushed line by line: a process killed after this call has the line in the file.
    if (file_.write(bytes) != bytes.size() || !file_.flush()) {
        error_ = file_.errorString();
        file_.close();
        return false;
    }
    return true;
}

bool RecoveryJournal::append(const QStringList& cells)
{
    return open_for_append() && write_bytes(row_line(cells, columns_));
}

bool RecoveryJournal::rewrite(const QDateTime& started, const QList<QStringList>& rows)
{
    remove();
    if (!QDir().mkpath(folder_) || !file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = file_.errorString();
        return false;
    }
    QByteArray bytes = head_line(started);
    for (const QStringList& row : rows)
        bytes += row_line(row, columns_);
    return write_bytes(bytes);
}

void RecoveryJournal::remove()
{
    file_.close();
    QFile::remove(path());
}

RecoveryJournal::Contents RecoveryJournal::read() const
{
    Contents contents;
    QFile file(path());
    if (!file.exists())
        return contents;
    contents.status = Contents::Refused;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestJournal)
        return contents;
    const QByteArray data = file.readAll();
    QList<QByteArray> lines = split_lines(data);
    // The piece after the last line end is a line the writer did not finish: dropped. A file with no
    // whole line is a journal cut in its head line, or not ours.
    const QByteArray cut = lines.takeLast();
    if (lines.isEmpty()) {
        if (kMagic.startsWith(cut.left(kMagic.size())) && is_text_line(cut)) {
            contents.status = Contents::Whole;
            contents.started = QFileInfo(file).lastModified();
        }
        return contents;
    }
    const QList<QByteArray> head = lines.takeFirst().split('\t');
    if (head.size() != 4 || head[0] != kMagic || head[1] != layout_.toUtf8() || head[2] != QByteArray::number(columns_))
        return contents;
    const QDateTime started = QDateTime::fromString(QString::fromUtf8(head[3]), kDateFormat);
    if (!started.isValid())
        return contents;
    QList<QStringList> rows;
    for (const QByteArray& line : lines) {
        if (!is_text_line(line))
            return contents;
        const QStringList cells = QString::fromUtf8(line).split('\t');
        if (cells.size() != columns_)
            return contents;
        rows.append(cells);
    }
    contents.status = Contents::Whole;
    contents.started = started;
    contents.rows = rows;
    return contents;
}

QString RecoveryJournal::set_aside(const QString& tag)
{
    file_.close();
    const QString target = QString("%1/journal-%2.%3-%4.txt")
                               .arg(folder_, layout_, tag, QDateTime::currentDateTime().toString("yyyyMMdd-hhmmsszzz"));
    return QFile::rename(path(), target) ? target : QString();
}
