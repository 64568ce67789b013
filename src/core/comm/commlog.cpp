// Formatting the communication log's lines and keeping its files: per day, bounded in size and number.
#include "comm/commlog.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace
{

const QString kPrefix = "comm-";

QString file_name(const QDate& day, int sequence)
{
    return QString("%1%2-%3.log").arg(kPrefix, day.toString("yyyyMMdd")).arg(sequence, 3, 10, QChar('0'));
}

QStringList log_files(const QString& folder)
{
    // Dates and zero-padded sequence numbers: the names sort oldest first.
    static const QRegularExpression name("^comm-\\d{8}-\\d{3}\\.log$");
    QStringList names = QDir(folder).entryList({kPrefix + "*.log"}, QDir::Files, QDir::Name);
    names.erase(std::remove_if(names.begin(), names.end(), [](const QString& n) { return !name.match(n).hasMatch(); }),
                names.end());
    return names;
}

} // namespace

CommLog::CommLog(const QString& folder, qint64 max_file_bytes, int max_files)
    : folder_(folder), max_file_bytes_(max_file_bytes), max_files_(max_files)
{
}

QByteArray CommLog::lines(bool received, const QString& port, const QByteArray& bytes, const QDateTime& when)
{
    return lines(received, port, bytes, when.toString("yyyy-MM-dd hh:mm:ss.zzz").toUtf8());
}

QByteArray CommLog::lines(bool received, const QString& port, const QByteArray& bytes, const QByteArray& stamp)
{
    const QByteArray head = stamp + (received ? " RX " : " TX ") + port.toUtf8() + ' ';
    QByteArray out;
    for (int start = 0; start < bytes.size(); start += kBytesPerLine) {
        const QByteArray part = bytes.mid(start, kBytesPerLine);
        QByteArray printable(part.size(), '.');
        for (int i = 0; i < part.size(); ++i) {
            const auto c = static_cast<unsigned char>(part[i]);
            if (c >= 0x20 && c < 0x7f)
                printable[i] = char(c);
        }
        out += head + part.toHex(' ').toUpper() + " |" + printable + "|\n";
    }
    return out;
}

bool CommLog::write(bool received, const QString& port, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return true;
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    if (ms / 1000 != stamped_second_) {
        stamped_second_ = ms / 1000;
        const QDateTime second = QDateTime::fromMSecsSinceEpoch(stamped_second_ * 1000);
        second_text_ = second.toString("yyyy-MM-dd hh:mm:ss").toUtf8();
        second_day_ = second.date();
    }
    const QByteArray stamp = second_text_ + '.' + QByteArray::number(ms % 1000).rightJustified(3, '0');
    return write_lines(second_day_, lines(received, port, bytes, stamp));
}

bool CommLog::write(bool received, const QString& port, const QByteArray& bytes, const QDateTime& when)
{
    if (bytes.isEmpty())
        return true;
    return write_lines(when.date(), lines(received, port, bytes, when));
}

bool CommLog::write_lines(const QDate& day, const QByteArray& text)
{
    if (!open_file_for(day, text.size()))
        return false;
    if (file_.write(text) != text.size() || !file_.flush()) {
        error_ = file_.errorString();
        file_.close();
        return false;
    }
    return true;
}

bool CommLog::open_file_for(const QDate& day, qint64 next_bytes)
{
    const auto has_room = [&] { return file_.size() == 0 || file_.size() + next_bytes <= max_file_bytes_; };
    if (file_.isOpen() && day == day_ && has_room())
        return true;
    const bool rotate = file_.isOpen() && day == day_;
    file_.close();
    if (!QDir().mkpath(folder_)) {
        error_ = QString("cannot create %1").arg(folder_);
        return false;
    }
    if (day != day_) {
        // Today's latest file goes on where an earlier run left it.
        day_ = day;
        sequence_ = 1;
        const QString today = kPrefix + day.toString("yyyyMMdd") + "-";
        for (const QString& name : log_files(folder_)) {
            if (name.startsWith(today))
                sequence_ = std::max(sequence_, name.mid(today.size(), 3).toInt());
        }
    } else if (rotate) {
        ++sequence_;
    }
    for (;;) {
        file_.setFileName(folder_ + "/" + file_name(day_, sequence_));
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
            error_ = file_.errorString();
            return false;
        }
        if (has_room())
            break;
        file_.close(); // filled by an earlier run
        ++sequence_;
    }
    remove_oldest_files();
    return true;
}

void CommLog::remove_oldest_files()
{
    const QStringList names = log_files(folder_);
    for (int i = 0; i + max_files_ < names.size(); ++i)
        QFile::remove(folder_ + "/" + names[i]);
}
