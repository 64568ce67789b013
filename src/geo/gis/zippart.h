// One member of a zip archive (a part of a workbook) as a sequential device, unpacked as it is read
// through GDAL's zip file system: a part of any size is read in small pieces with flat memory.
#ifndef GEO_ZIPPART_H
#define GEO_ZIPPART_H

#include <QIODevice>
#include <QString>

class ZipPart : public QIODevice
{
public:
    ZipPart() = default;
    ~ZipPart() override;
    ZipPart(const ZipPart&) = delete;
    ZipPart& operator=(const ZipPart&) = delete;

    // Opens `member` ("xl/workbook.xml") of the archive `archive` (a file of the file system, checked
    // by the caller) for reading; false with errorString() set when the archive or the member cannot
    // be read.
    bool open_member(const QString& archive, const QString& member);
    // Whether `archive` is a zip archive GDAL can list.
    static bool is_archive(const QString& archive);
    bool isSequential() const override { return true; }
    void close() override;
    // Whether reading met a damaged member (errorString() says how) rather than its end.
    bool damaged() const { return damaged_; }

protected:
    qint64 readData(char* data, qint64 size) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void* file_ = nullptr; // VSILFILE
    bool damaged_ = false;
};

#endif // GEO_ZIPPART_H
