// GDAL's standard output redirected into a checked file.
#include "gis/gdalstream.h"

#include <cpl_vsi.h>
#include <cstdio>

const char* const GdalStream::kGdalName = "/vsistdout/";

namespace
{

bool g_busy = false;

} // namespace

GdalStream::~GdalStream()
{
    if (active_) {
        close();
        file_.remove();
    }
}

bool GdalStream::open(const QString& path)
{
    if (g_busy) {
        error_ = QStringLiteral("another GeoJSON or KML file is being written");
        return false;
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = QStringLiteral("%1: %2").arg(path, file_.errorString());
        return false;
    }
    g_busy = true;
    active_ = true;
    failed_ = false;
    VSIStdoutSetRedirection(&GdalStream::write, reinterpret_cast<FILE*>(this));
    return true;
}

size_t GdalStream::write(const void* data, size_t size, size_t count, FILE* stream)
{
    auto* self = reinterpret_cast<GdalStream*>(stream);
    const qint64 bytes = qint64(size * count);
    if (self->failed_ || self->file_.write(static_cast<const char*>(data), bytes) != bytes) {
        if (!self->failed_) {
            self->file_.flush(); // for the reason, which a buffered write does not give
            self->error_ = QStringLiteral("%1: %2").arg(self->file_.fileName(), self->file_.errorString());
        }
        self->failed_ = true;
        return 0;
    }
    return count;
}

bool GdalStream::close()
{
    if (!active_)
        return false;
    VSIStdoutSetRedirection(fwrite, stdout);
    active_ = false;
    g_busy = false;
    if (!failed_ && !file_.flush()) {
        failed_ = true;
        error_ = QStringLiteral("%1: %2").arg(file_.fileName(), file_.errorString());
    }
    file_.close();
    return !failed_;
}
