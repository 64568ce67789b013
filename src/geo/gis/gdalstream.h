// A file that GDAL writes through its standard output ("/vsistdout/"), redirected into a QFile so
// that every write is checked. GDAL's GeoJSON and KML writers ignore failed writes: a full disk would
// leave a file cut short that looks written. The redirection is the process's only one: one stream
// at a time.
#ifndef GEO_GDALSTREAM_H
#define GEO_GDALSTREAM_H

#include <QFile>
#include <QString>

class GdalStream
{
public:
    // The name to give GDAL for the stream.
    static const char* const kGdalName;

    GdalStream() = default;
    ~GdalStream();
    GdalStream(const GdalStream&) = delete;
    GdalStream& operator=(const GdalStream&) = delete;

    // Creates `path` and sends GDAL's standard output into it. False, with error() set, when the
    // file cannot be made or another stream is open.
    bool open(const QString& path);
    // Ends the redirection and closes the file; false, with error() set, when any write failed.
    // Call it after GDAL has closed the dataset.
    bool close();
    QString error() const { return error_; }

private:
    static size_t write(const void* data, size_t size, size_t count, FILE* stream);

    QFile file_;
    bool active_ = false;
    bool failed_ = false;
    QString error_;
};

#endif // GEO_GDALSTREAM_H
