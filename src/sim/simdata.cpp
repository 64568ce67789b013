// Reading ktsim's point, measured-data and job files, and storing uploaded jobs.
#include "simdata.h"

#include "data/filefindings.h"
#include "data/fileoperation.h"
#include "data/safefilename.h"
#include "data/tablecolumns.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace
{

const char kFixedFile[] = "fixed.txt";
const char kObservationsFile[] = "observations.txt";
const char kCodesFile[] = "codes.txt";

// Record kinds by the first field of an observation line: the keys, and the labels ktlink writes.
const struct {
    const char* word;
    kt2040::Frame kind;
} kKinds[] = {
    {"STN", kt2040::Frame::StationRecord},
    {"BK", kt2040::Frame::BacksightRecord},
    {"MP", kt2040::Frame::MeasuredRecord},
    {"Station", kt2040::Frame::StationRecord},
    {"Backsight", kt2040::Frame::BacksightRecord},
    {"Measured point", kt2040::Frame::MeasuredRecord},
    {"\xe6\xb5\x8b\xe7\xab\x99", kt2040::Frame::StationRecord},   // 测站
    {"\xe5\x90\x8e\xe8\xa7\x86", kt2040::Frame::BacksightRecord}, // 后视
    {"\xe6\xb5\x8b\xe7\x82\xb9", kt2040::Frame::MeasuredRecord},  // 测点
};

// The fields of an observation line: kind, name, HA, VA, HD, VD, E, N, Z, code, and optionally
// instrument height, backsight angle, slope distance, reflector height.
namespace LineField
{
enum : int {
    Kind,
    Name,
    HorizontalAngle,
    VerticalAngle,
    HorizontalDistance,
    VerticalDistance,
    East,
    North,
    Height,
    Code,
    InstrumentHeight,
    BacksightAngle,
    SlopeDistance,
    ReflectorHeight,
};
} // namespace LineField

// The fields of the shortest observation line.
constexpr int kLeastFields = LineField::Code + 1;

// Observation line field -> table column (the observation layout); what a record kind does not
// carry its layout leaves out.
const struct {
    int field;
    int column;
} kObservationColumns[] = {
    {LineField::Name, ObsColumn::Name},
    {LineField::Code, ObsColumn::Code},
    {LineField::North, ObsColumn::North},
    {LineField::East, ObsColumn::East},
    {LineField::Height, ObsColumn::Height},
    {LineField::InstrumentHeight, ObsColumn::InstrumentHeight},
    {LineField::HorizontalAngle, ObsColumn::HorizontalAngle},
    {LineField::VerticalAngle, ObsColumn::VerticalAngle},
    {LineField::SlopeDistance, ObsColumn::SlopeDistance},
    {LineField::VerticalDistance, ObsColumn::VerticalDistance},
    {LineField::HorizontalDistance, ObsColumn::HorizontalDistance},
    {LineField::ReflectorHeight, ObsColumn::ReflectorHeight},
};

kt2040::Frame kind_of(const QString& word)
{
    for (const auto& k : kKinds) {
        if (word.trimmed().compare(QString::fromUtf8(k.word), Qt::CaseInsensitive) == 0)
            return k.kind;
    }
    return kt2040::Frame::None;
}

// After a read of `path`: false with `error` set when it failed, else what the reader met added to
// `notes` (the encoding, undecodable bytes, commas replaced, lines skipped).
bool told_read(const QString& path, const FileOperation& file, QString* error, QStringList* notes)
{
    if (!file.last_read_ok) {
        *error = QString("cannot read %1: %2")
                     .arg(path, finding_in_english(read_refusal(file.last_read, file.last_layer, file.last_error)));
        return false;
    }
    for (const FileFindingText& finding : read_findings(file.last_read, file.last_layer)) {
        if (notes)
            *notes << QString("%1%2%3").arg(path, finding.kind == FileFinding::Encoding ? " " : ": ",
                                            finding_in_english(finding));
    }
    return true;
}

bool read_lines(const QString& path, QStringList* lines, QString* error, QStringList* notes)
{
    FileOperation file;
    *lines = file.readfile(path);
    return told_read(path, file, error, notes);
}

} // namespace

bool load_points(const QString& path, kt2040::FrameSet set, QList<kt2040::InstrumentRecord>* records, QString* error,
                 QStringList* notes)
{
    FileOperation file;
    const QStringList lines = file.readfile_byextension(path, QFileInfo(path).suffix());
    if (!told_read(path, file, error, notes))
        return false;
    *records = kt2040::point_records(set, lines);
    if (records->isEmpty()) {
        *error = QString("no point in %1 (its suffix names its format: ndad, txt, csv, edad, ndat, gdat, "
                         "svf, pts, dxf)")
                     .arg(path);
        return false;
    }
    return true;
}

QList<kt2040::InstrumentRecord> observation_records(const QStringList& lines, int* skipped)
{
    QList<kt2040::InstrumentRecord> records;
    *skipped = 0;
    for (const QString& line : lines) {
        const QStringList fields = line.split(',');
        const kt2040::Frame kind =
            fields.size() >= kLeastFields ? kind_of(fields[LineField::Kind]) : kt2040::Frame::None;
        if (kind == kt2040::Frame::None) {
            if (!line.trimmed().isEmpty())
                ++*skipped;
            continue;
        }
        kt2040::InstrumentRecord record;
        record.kind = kind;
        for (int c = 0; c < ObsColumn::Count; ++c)
            record.cells << QString();
        for (const auto& place : kObservationColumns)
            record.cells[place.column] = fields.value(place.field).trimmed();
        // A line without a backsight angle gives its horizontal angle.
        const QString backsight = fields.value(LineField::BacksightAngle).trimmed();
        record.cells[ObsColumn::BacksightAngle] =
            backsight.isEmpty() ? fields[LineField::HorizontalAngle].trimmed() : backsight;
        records << record;
    }
    return records;
}

bool load_measured(const QString& path, QList<kt2040::InstrumentRecord>* records, QString* error, QStringList* notes)
{
    QStringList lines;
    if (!read_lines(path, &lines, error, notes))
        return false;
    int skipped = 0;
    const QList<kt2040::InstrumentRecord> rows = observation_records(lines, &skipped);
    if (rows.isEmpty()) {
        *error = QString("no station, backsight or measured point in %1").arg(path);
        return false;
    }
    kt2040::InstrumentRecord header;
    header.kind = kt2040::Frame::FileHeader;
    header.cells << QFileInfo(path).completeBaseName();
    *records = QList<kt2040::InstrumentRecord>{header} + rows;
    if (skipped > 0)
        *error =
            QString("%1 lines of %2 skipped: fewer than 10 fields or no STN, BK or MP kind").arg(skipped).arg(path);
    return true;
}

bool JobFolders::load(const QString& dir, QString* error)
{
    const QDir folder(dir);
    if (!QFileInfo(dir).isDir() || !folder.isReadable()) {
        *error = QString("--jobs %1: not a readable folder").arg(dir);
        return false;
    }
    dir_ = folder.absolutePath();
    const QRegularExpression name_pattern("^(\\d{1,2})_(.*)$");
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QRegularExpressionMatch m = name_pattern.match(entry.fileName());
        const int number = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (number < 1 || number > kt90::kJobSlots || folders_.contains(number)) {
            skipped << entry.fileName();
            continue;
        }
        kt90::Job job;
        job.number = number;
        job.name = m.captured(2);
        for (const auto& part :
             {std::make_pair(kFixedFile, &job.fixed), std::make_pair(kObservationsFile, &job.observations)}) {
            const QString path = entry.filePath() + '/' + part.first;
            if (QFileInfo::exists(path) && !read_lines(path, part.second, error, &notes))
                return false;
        }
        folders_.insert(number, entry.fileName());
        jobs_ << job;
    }
    const QString codes = dir_ + '/' + kCodesFile;
    return !QFileInfo::exists(codes) || read_lines(codes, &codes_, error, &notes);
}

bool JobFolders::store(const kt90::Job& job, QString* error)
{
    const QString name = QString("%1_%2").arg(job.number, 2, 10, QChar('0')).arg(make_safe_file_name(job.name, "JOB"));
    const QString old = folders_.value(job.number);
    QDir dir(dir_);
    if (!old.isEmpty() && old != name && !dir.rename(old, name)) {
        *error = QString("cannot rename %1 to %2 in %3").arg(old, name, dir_);
        return false;
    }
    if (!dir.mkpath(name)) {
        *error = QString("cannot create %1 in %2").arg(name, dir_);
        return false;
    }
    folders_.insert(job.number, name);
    for (const auto& part :
         {std::make_pair(kFixedFile, &job.fixed), std::make_pair(kObservationsFile, &job.observations)}) {
        if (part.second->isEmpty())
            continue;
        FileOperation file;
        if (!file.writefile(dir.filePath(name + '/' + part.first), *part.second, false)) {
            *error = QString("cannot write %1: %2").arg(dir.filePath(name + '/' + part.first), file.last_error);
            return false;
        }
    }
    return true;
}
