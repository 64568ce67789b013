// PROJ transformations in the easting-first convention, and the area-of-use test.
#include "crs/crstransform.h"

#include "crs/projhandles.h"
#include "geologging.h"

#include <cmath>

const char* const kWgs84 = "EPSG:4326";

struct CrsTransform::Handles {
    ProjContext context;
    ProjObject operation; // normalized: easting or longitude first
};

CrsTransform::CrsTransform() = default;
CrsTransform::~CrsTransform() = default;

bool CrsTransform::open(const QString& source, const QString& target)
{
    handles_.reset();
    error_.clear();
    auto handles = std::make_unique<Handles>();
    handles->context = make_proj_context();
    PJ_CONTEXT* context = handles->context.get();
    if (!context) {
        error_ = QStringLiteral("no PROJ context");
        return false;
    }
    ProjObject from(proj_create(context, source.toUtf8().constData()));
    ProjObject to(from ? proj_create(context, target.toUtf8().constData()) : nullptr);
    if (!from || !to || !proj_is_crs(from.get()) || !proj_is_crs(to.get())) {
        error_ = QStringLiteral("unknown coordinate system %1").arg(from ? target : source);
        return false;
    }
    ProjObject operation(proj_create_crs_to_crs_from_pj(context, from.get(), to.get(), nullptr, nullptr));
    if (operation)
        handles->operation.reset(proj_normalize_for_visualization(context, operation.get()));
    if (!handles->operation) {
        error_ = QStringLiteral("no transformation from %1 to %2: %3").arg(source, target, last_proj_error(context));
        return false;
    }
    qCDebug(lcGeo) << "transformation" << source << "->" << target << proj_get_name(handles->operation.get());
    handles_ = std::move(handles);
    return true;
}

bool CrsTransform::is_open() const
{
    return handles_ != nullptr;
}

bool CrsTransform::forward(double* x, double* y, double* z) const
{
    return apply(PJ_FWD, x, y, z);
}

bool CrsTransform::inverse(double* x, double* y, double* z) const
{
    return apply(PJ_INV, x, y, z);
}

bool CrsTransform::apply(int direction, double* x, double* y, double* z) const
{
    if (!handles_)
        return false;
    PJ* operation = handles_->operation.get();
    proj_errno_reset(operation);
    const PJ_COORD out = proj_trans(operation, PJ_DIRECTION(direction), proj_coord(*x, *y, z ? *z : 0.0, HUGE_VAL));
    if (proj_errno(operation) != 0 || !std::isfinite(out.xyz.x) || !std::isfinite(out.xyz.y) || out.xyz.x == HUGE_VAL)
        return false;
    *x = out.xyz.x;
    *y = out.xyz.y;
    if (z)
        *z = out.xyz.z;
    return true;
}

bool AreaOfUse::open(const QString& crs)
{
    crs_ = describe_crs(crs);
    geographic_ = crs_.kind == CrsInfo::Geographic;
    if (!crs_.is_valid())
        return false;
    if (geographic_ || !crs_.bounds.valid)
        return true;
    // The projection's own geographic system: inverting the projection needs no datum change.
    ProjContext context = make_proj_context();
    ProjObject object(proj_create(context.get(), crs.toUtf8().constData()));
    ProjObject geodetic(object ? proj_crs_get_geodetic_crs(context.get(), object.get()) : nullptr);
    QString definition;
    if (geodetic && proj_get_id_auth_name(geodetic.get(), 0) && proj_get_id_code(geodetic.get(), 0))
        definition = QString::fromUtf8(proj_get_id_auth_name(geodetic.get(), 0)) + QLatin1Char(':') +
                     QString::fromUtf8(proj_get_id_code(geodetic.get(), 0));
    else if (geodetic)
        definition = QString::fromUtf8(proj_as_wkt(context.get(), geodetic.get(), PJ_WKT2_2019, nullptr));
    if (definition.isEmpty() || !to_degrees_.open(crs, definition)) {
        qCWarning(lcGeo) << "no geographic system for the area of" << crs << to_degrees_.error();
        crs_.bounds.valid = false;
    }
    return true;
}

bool AreaOfUse::contains(double x, double y) const
{
    if (!crs_.is_valid() || !crs_.bounds.valid)
        return true;
    if (!geographic_ && !to_degrees_.forward(&x, &y))
        return false;
    return crs_.bounds.contains(x, y);
}
