// GDAL set-up, messages, configuration and spatial reference helpers.
#include "gis/gdalsupport.h"

#include "geologging.h"

#include <QRegularExpression>
#include <cpl_conv.h>
#include <mutex>
#include <ogr_srs_api.h>

namespace
{

// Longest text of a GDAL message told to the user.
constexpr int kLongestMessage = 300;

// GDAL's words as one sentence: a failed statement is named by its function, not quoted whole
// ("sqlite3_exec(CREATE TABLE ...) failed: X" becomes "sqlite3_exec failed: X"), and cut short.
QString condensed(const QString& message)
{
    static const QRegularExpression statement(QStringLiteral("^(\\w+)\\(.*\\) failed: "),
                                              QRegularExpression::DotMatchesEverythingOption);
    QString text = QString(message).replace(statement, QStringLiteral("\\1 failed: ")).simplified();
    if (text.size() > kLongestMessage)
        text = text.left(kLongestMessage - 1) + QChar(0x2026);
    return text;
}

} // namespace

void ensure_gdal()
{
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        // Transformations use the grids installed with PROJ, never ones fetched on the way.
        OSRSetPROJEnableNetwork(FALSE);
    });
}

bool gdal_may_open(const QString& path, QString* why)
{
    static const QRegularExpression address(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (path.startsWith(QLatin1String("/vsi")) || address.match(path).hasMatch()) {
        *why = QStringLiteral("not a file of the file system: GDAL's virtual files and addresses are not opened");
        return false;
    }
    return true;
}

GdalMessages::GdalMessages(bool quiet) : quiet_(quiet)
{
    CPLPushErrorHandlerEx(&GdalMessages::handle, this);
    CPLErrorReset();
}

GdalMessages::~GdalMessages()
{
    CPLPopErrorHandler();
}

void CPL_STDCALL GdalMessages::handle(CPLErr level, CPLErrorNum number, const char* message)
{
    auto* self = static_cast<GdalMessages*>(CPLGetErrorHandlerUserData());
    const QString text = condensed(QString::fromUtf8(message)); // the log gets it whole
    if (level >= CE_Failure) {
        if (self->failed_)
            return;
        if (!self->quiet_)
            qCWarning(lcGeo) << "GDAL error" << number << message;
        self->failed_ = true;
        self->failure_ = text;
    } else if (level == CE_Warning) {
        if (!self->quiet_)
            qCDebug(lcGeo) << "GDAL warning" << number << message;
        self->warning_ = text;
    }
}

ScopedGdalConfig::ScopedGdalConfig(const QVector<std::pair<const char*, const char*>>& options)
{
    for (const auto& option : options) {
        const char* old = CPLGetThreadLocalConfigOption(option.first, nullptr);
        old_.append({QByteArray(option.first), QByteArray(old ? old : "")});
        was_set_.append(old != nullptr);
        CPLSetThreadLocalConfigOption(option.first, option.second);
    }
}

ScopedGdalConfig::~ScopedGdalConfig()
{
    for (int i = 0; i < old_.size(); ++i)
        CPLSetThreadLocalConfigOption(old_[i].first.constData(), was_set_[i] ? old_[i].second.constData() : nullptr);
}

OgrSrs make_srs(const QString& definition)
{
    OgrSrs srs(OSRNewSpatialReference(nullptr));
    if (OSRSetFromUserInput(srs.get(), definition.toUtf8().constData()) != OGRERR_NONE)
        return OgrSrs();
    OSRSetAxisMappingStrategy(srs.get(), OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

QString srs_id(OGRSpatialReferenceH srs)
{
    if (!srs)
        return QString();
    const char* authority = OSRGetAuthorityName(srs, nullptr);
    const char* code = OSRGetAuthorityCode(srs, nullptr);
    if (authority && code)
        return QString::fromUtf8(authority) + QLatin1Char(':') + QString::fromUtf8(code);
    // A shapefile's .prj holds no code: ask PROJ for a system it matches for sure.
    int count = 0;
    int* confidence = nullptr;
    OGRSpatialReferenceH* matches = OSRFindMatches(srs, nullptr, &count, &confidence);
    QString id;
    if (matches && count > 0 && confidence[0] >= 90) {
        authority = OSRGetAuthorityName(matches[0], nullptr);
        code = OSRGetAuthorityCode(matches[0], nullptr);
        if (authority && code)
            id = QString::fromUtf8(authority) + QLatin1Char(':') + QString::fromUtf8(code);
    }
    OSRFreeSRSArray(matches);
    CPLFree(confidence);
    return id;
}
