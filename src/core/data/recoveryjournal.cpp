// Writing, reading, locking and setting aside the recovery journal.
//
// Version 2 (what is written): the head line ends in a field "2", and every further line is a change:
//     +  cells...          a row appended
//     =  row  cells...     row `row` replaced
//     -  row  row...       rows removed, ascending, as numbered before the removal
// Version 1 (an earlier program's journal, still read): the head line has four fields and every further
// line is a row.
#include "data/recoveryjournal.h"

#include "data/filesync.h"
#include "data/textencoding.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace
{

const QByteArray kMagic = "ktlink-journal";
const QByteArray kVersion = "2";
const QString kDateFormat = "yyyy-MM-ddThh:mm:ss";
// A journal this large is no journal of ours: a day of receiving is a few MB.
constexpr qint64 kLargestJournal = 256LL * 1024 * 1024;

QString clean_cell(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar(' ');
    }
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

// A row number as the journal writes it: plain decimal digits.
bool row_number(const QString& text, int* row)
{
    static const QRegularExpression digits("^\\d{1,9}$");
    if (!digits.match(text).hasMatch())
        return false;
    *row = text.toInt();
    return true;
}

// Applies one change line of version 2 to `rows`; false for a line that is no change of this journal.
bool apply_change(const QStringList& fields, int columns, QList<QStringList>* rows)
{
    const QString& op = fields.first();
    int row = 0;
    if (op == "+" && fields.size() == columns + 1) {
        rows->append(fields.mid(1));
        return true;
    }
    if (op == "=" && fields.size() == columns + 2 && row_number(fields[1], &row) && row < rows->size()) {
        (*rows)[row] = fields.mid(2);
        return true;
    }
    if (op != "-" || fields.size() < 2)
        return false;
    QList<int> removed;
    for (int i = 1; i < fields.size(); ++i) {
        if (!row_number(fields[i], &row) || row >= rows->size() || (!removed.isEmpty() && row <= removed.last()))
            return false;
        removed.append(row);
    }
    for (int i = removed.size() - 1; i >= 0; --i)
        rows->removeAt(removed[i]);
    return true;
}

// How many rows a line beyond the damage would have added (removed: negative), as far as it can be
// told: a change line cut or spoilt in its cells still says it added a row.
int rows_of_line(const QByteArray& line, bool changes, int columns)
{
    if (!changes)
        return line.count('\t') == columns - 1 ? 1 : 0;
    if (line.startsWith("+\t"))
        return 1;
    if (!line.startsWith("-\t") || !is_text_line(line))
        return 0;
    const QStringList fields = QString::fromUtf8(line).split('\t');
    int row = 0;
    for (int i = 1; i < fields.size(); ++i) {
        if (!row_number(fields[i], &row))
            return 0;
    }
    return -(int(fields.size()) - 1);
}

} // namespace

RecoveryJournal::RecoveryJournal(const QString& folder, const QString& layout, int columns, int slot)
    : folder_(folder), layout_(layout), columns_(columns), slot_(std::max(slot, 1))
{
    file_.setFileName(path());
}

RecoveryJournal::~RecoveryJournal()
{
    if (sync_pending_)
        sync();
}

QString RecoveryJournal::base_name() const
{
    return slot_ == 1 ? QString("journal-%1").arg(layout_) : QString("journal-%1-%2").arg(layout_).arg(slot_);
}

QString RecoveryJournal::path() const
{
    return folder_ + "/" + base_name() + ".txt";
}

bool RecoveryJournal::exists() const
{
    return QFileInfo(path()).isFile();
}

bool RecoveryJournal::try_lock()
{
    if (lock_)
        return true;
    const QString locks = folder_ + "/locks";
    if (!QDir().mkpath(locks))
        return false;
    auto lock = std::make_unique<QLockFile>(locks + "/" + base_name() + ".lock");
    // Held for a window's life: never stale by age, only when its program is gone.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    lock_ = std::move(lock);
    return true;
}

QList<int> RecoveryJournal::slots_in(const QString& folder, const QString& layout)
{
    QList<int> found;
    const QString first = QString("journal-%1.txt").arg(layout);
    const QRegularExpression other(
        QString("^journal-%1-([2-9]|[1-9]\\d{1,5})\\.txt$").arg(QRegularExpression::escape(layout)));
    for (const QString& name : QDir(folder).entryList({"journal-*.txt"}, QDir::Files)) {
        if (name == first) {
            found.append(1);
            continue;
        }
        const QRegularExpressionMatch match = other.match(name);
        if (match.hasMatch())
            found.append(match.captured(1).toInt());
    }
    std::sort(found.begin(), found.end());
    return found;
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
           started.toString(kDateFormat).toUtf8() + '\t' + kVersion + '\n';
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
    // Handed to the system at once: a line this call wrote outlives the process. Pushed to the disk now,
    // or with the first line after the sync interval, so that it outlives a power cut too.
    if (file_.write(bytes) != bytes.size() || !file_.flush()) {
        error_ = file_.errorString();
        file_.close();
        return false;
    }
    sync_pending_ = true;
    if (sync_interval_ms_ > 0 && last_sync_.isValid() && last_sync_.elapsed() < sync_interval_ms_)
        return true;
    return sync();
}

bool RecoveryJournal::sync()
{
    if (!sync_pending_ || !file_.isOpen())
        return true;
    sync_pending_ = false;
    last_sync_.start();
    if (sync_to_disk(file_, &error_))
        return true;
    file_.close();
    return false;
}

bool RecoveryJournal::write_line(const QByteArray& line)
{
    return open_for_append() && write_bytes(line);
}

bool RecoveryJournal::append(const QStringList& cells)
{
    return write_line("+\t" + row_line(cells, columns_));
}

bool RecoveryJournal::rows_appended(const QList<QStringList>& rows)
{
    QByteArray lines;
    for (const QStringList& row : rows)
        lines += "+\t" + row_line(row, columns_);
    return rows.isEmpty() || write_line(lines);
}

bool RecoveryJournal::row_replaced(int row, const QStringList& cells)
{
    return write_line("=\t" + QByteArray::number(row) + '\t' + row_line(cells, columns_));
}

bool RecoveryJournal::rows_removed(const QList<int>& rows)
{
    if (rows.isEmpty())
        return true;
    QByteArray line = "-";
    for (int row : rows)
        line += '\t' + QByteArray::number(row);
    return write_line(line + '\n');
}

bool RecoveryJournal::table_cleared()
{
    remove();
    return true;
}

bool RecoveryJournal::snapshot(const QList<QStringList>& rows)
{
    if (rows.isEmpty())
        return table_cleared();
    return rewrite(QDateTime::currentDateTime(), rows);
}

bool RecoveryJournal::rewrite(const QDateTime& started, const QList<QStringList>& rows)
{
    sync_pending_ = false;
    file_.close();
    if (!QDir().mkpath(folder_)) {
        error_ = QString("cannot create %1").arg(folder_);
        return false;
    }
    // Written beside and renamed over the old journal: a crash meanwhile leaves the old one whole.
    QSaveFile out(path());
    if (!out.open(QIODevice::WriteOnly)) {
        error_ = out.errorString();
        return false;
    }
    QByteArray bytes = head_line(started);
    for (const QStringList& row : rows)
        bytes += "+\t" + row_line(row, columns_);
    if (out.write(bytes) != bytes.size() || !sync_to_disk(out, &error_) || !out.commit()) {
        if (error_.isEmpty())
            error_ = out.errorString();
        out.cancelWriting();
        return false;
    }
    return true;
}

void RecoveryJournal::remove()
{
    sync_pending_ = false;
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
    return parse(file.readAll(), QFileInfo(file).lastModified());
}

RecoveryJournal::Contents RecoveryJournal::parse(const QByteArray& data, const QDateTime& modified) const
{
    Contents contents;
    contents.status = Contents::Refused;
    QList<QByteArray> lines = split_lines(data);
    // The piece after the last line end is a line the writer did not finish: dropped. A file with no
    // whole line is a journal cut in its head line, or not ours.
    const QByteArray cut = lines.takeLast();
    if (lines.isEmpty()) {
        if (kMagic.startsWith(cut.left(kMagic.size())) && is_text_line(cut)) {
            contents.status = Contents::Whole;
            contents.started = modified;
        }
        return contents;
    }
    const QList<QByteArray> head = lines.takeFirst().split('\t');
    const bool changes = head.size() == 5 && head[4] == kVersion;
    if ((head.size() != 4 && !changes) || head[0] != kMagic || head[1] != layout_.toUtf8() ||
        head[2] != QByteArray::number(columns_))
        return contents;
    const QDateTime started = QDateTime::fromString(QString::fromUtf8(head[3]), kDateFormat);
    if (!started.isValid())
        return contents;
    QList<QStringList> rows;
    contents.status = Contents::Whole;
    contents.started = started;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = is_text_line(lines[i]) ? QString::fromUtf8(lines[i]).split('\t') : QStringList();
        if (changes && !fields.isEmpty() && apply_change(fields, columns_, &rows))
            continue;
        if (!changes && fields.size() == columns_) {
            rows.append(fields);
            continue;
        }
        // Damaged from here: what came before is given back, the rest counted.
        contents.status = Contents::Partial;
        contents.damaged_line = i + 2; // the head is line 1
        int meant = rows.size();
        for (int j = i; j < lines.size(); ++j)
            meant += rows_of_line(lines[j], changes, columns_);
        contents.rows_meant = std::max(meant, int(rows.size()));
        break;
    }
    contents.rows = rows;
    return contents;
}

QString RecoveryJournal::set_aside(const QString& tag)
{
    sync_pending_ = false;
    file_.close();
    const QString target =
        QString("%1/%2.%3-%4.txt")
            .arg(folder_, base_name(), tag, QDateTime::currentDateTime().toString("yyyyMMdd-hhmmsszzz"));
    return QFile::rename(path(), target) ? target : QString();
}
