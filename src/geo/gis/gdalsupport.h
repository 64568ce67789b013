// What the files that speak to GDAL share: registering the drivers once, collecting GDAL's messages
// instead of printing them, configuration options set for a while, and owning handles.
#ifndef GEO_GDALSUPPORT_H
#define GEO_GDALSUPPORT_H

#include <QByteArray>
#include <QString>
#include <QVector>
#include <gdal.h>
#include <memory>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <utility>

// Registers GDAL's drivers, once per process, and keeps GDAL and PROJ off the network.
void ensure_gdal();

// Whether a path may be handed to GDAL: a file of the file system, not one of GDAL's virtual file
// systems ("/vsicurl/", "/vsizip/", ...) nor an address ("http://..."), which would read what the
// user did not name or go out to the network. False with *why set.
bool gdal_may_open(const QString& path, QString* why);

// While alive, GDAL's messages on this thread are kept (and logged unless `quiet`) rather than
// printed.
class GdalMessages
{
public:
    explicit GdalMessages(bool quiet = false);
    ~GdalMessages();
    GdalMessages(const GdalMessages&) = delete;
    GdalMessages& operator=(const GdalMessages&) = delete;

    bool failed() const { return failed_; }
    // The first failure's text (what went wrong first, not what followed from it), else the last
    // warning's, else empty text.
    QString text() const { return failure_.isEmpty() ? warning_ : failure_; }

private:
    static void CPL_STDCALL handle(CPLErr level, CPLErrorNum number, const char* message);

    bool quiet_;
    bool failed_ = false;
    QString failure_;
    QString warning_;
};

// Sets GDAL configuration options on this thread while alive; the old values come back afterwards.
class ScopedGdalConfig
{
public:
    explicit ScopedGdalConfig(const QVector<std::pair<const char*, const char*>>& options);
    ~ScopedGdalConfig();
    ScopedGdalConfig(const ScopedGdalConfig&) = delete;
    ScopedGdalConfig& operator=(const ScopedGdalConfig&) = delete;

private:
    QVector<std::pair<QByteArray, QByteArray>> old_; // name, old value ("" with the null flag below)
    QVector<bool> was_set_;
};

struct GdalDatasetCloser {
    void operator()(void* dataset) const { GDALClose(dataset); }
};
struct OgrFeatureDestroyer {
    void operator()(void* feature) const { OGR_F_Destroy(feature); }
};
struct OgrSrsReleaser {
    void operator()(void* srs) const { OSRRelease(srs); }
};
struct OgrTransformDestroyer {
    void operator()(void* transform) const { OCTDestroyCoordinateTransformation(transform); }
};
using GdalDataset = std::unique_ptr<void, GdalDatasetCloser>;
using OgrFeature = std::unique_ptr<void, OgrFeatureDestroyer>;
using OgrSrs = std::unique_ptr<void, OgrSrsReleaser>;
using OgrTransform = std::unique_ptr<void, OgrTransformDestroyer>;

// The system `definition` ("EPSG:4547"), easting or longitude first; null when GDAL does not know it.
OgrSrs make_srs(const QString& definition);
// "AUTHORITY:CODE" of a layer's system when GDAL can name one, else empty text.
QString srs_id(OGRSpatialReferenceH srs);

#endif // GEO_GDALSUPPORT_H
