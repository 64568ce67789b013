// Zip members read through GDAL's "/vsizip/" file system.
#include "gis/zippart.h"

#include "gis/gdalsupport.h"

#include <cpl_vsi.h>

ZipPart::~ZipPart()
{
    close();
}

namespace
{

// The braces keep the archive's own name whole, whatever it holds.
QByteArray zip_name(const QString& archive, const QString& member)
{
    return "/vsizip/{" + archive.toUtf8() + "}" + (member.isEmpty() ? QByteArray() : "/" + member.toUtf8());
}

} // namespace

bool ZipPart::is_archive(const QString& archive)
{
    ensure_gdal();
    GdalMessages messages(true);
    VSIStatBufL stat;
    return VSIStatL(zip_name(archive, QString()).constData(), &stat) == 0;
}

bool ZipPart::open_member(const QString& archive, const QString& member)
{
    close();
    damaged_ = false;
    ensure_gdal();
    GdalMessages messages(true);
    const QByteArray name = zip_name(archive, member);
    file_ = VSIFOpenL(name.constData(), "rb");
    if (!file_) {
        setErrorString(messages.text().isEmpty() ? QStringLiteral("the workbook holds no part \"%1\"").arg(member)
                                                 : messages.text());
        return false;
    }
    return QIODevice::open(QIODevice::ReadOnly);
}

void ZipPart::close()
{
    if (file_)
        VSIFCloseL(static_cast<VSILFILE*>(file_));
    file_ = nullptr;
    if (isOpen())
        QIODevice::close();
}

qint64 ZipPart::readData(char* data, qint64 size)
{
    if (!file_)
        return -1;
    GdalMessages messages(true);
    auto* file = static_cast<VSILFILE*>(file_);
    const size_t read = VSIFReadL(data, 1, size_t(size), file);
    // A damaged member (a bad checksum, a cut archive) is an error, not the end of the part.
    if (read < size_t(size) && (messages.failed() || !VSIFEofL(file))) {
        damaged_ = true;
        setErrorString(messages.text().isEmpty() ? QStringLiteral("the workbook is damaged") : messages.text());
        return read > 0 ? qint64(read) : -1;
    }
    return qint64(read);
}
