// Searching and describing coordinate reference systems in PROJ's database.
#include "crs/crs.h"

#include "crs/projhandles.h"
#include "geologging.h"

#include <QRegularExpression>
#include <algorithm>
#include <tuple>

ProjContext make_proj_context()
{
    ProjContext context(proj_context_create());
    if (context)
        proj_log_level(context.get(), PJ_LOG_NONE);
    return context;
}

QString last_proj_error(PJ_CONTEXT* context)
{
    const int error = proj_context_errno(context);
    return error == 0 ? QString() : QString::fromUtf8(proj_context_errno_string(context, error));
}

bool GeoBox::contains(double longitude, double latitude) const
{
    if (!valid)
        return true;
    if (latitude < south || latitude > north)
        return false;
    if (west <= east)
        return longitude >= west && longitude <= east;
    return longitude >= west || longitude <= east; // across 180°
}

QString CrsInfo::id() const
{
    return is_valid() ? authority + QLatin1Char(':') + code : QString();
}

namespace
{

CrsInfo::Kind kind_of(PJ_TYPE type)
{
    switch (type) {
    case PJ_TYPE_PROJECTED_CRS:
        return CrsInfo::Projected;
    case PJ_TYPE_GEOGRAPHIC_2D_CRS:
    case PJ_TYPE_GEOGRAPHIC_3D_CRS:
    case PJ_TYPE_GEOGRAPHIC_CRS:
        return CrsInfo::Geographic;
    default:
        return CrsInfo::Other;
    }
}

// Lower case, with the separators of the database's names ("_", "/", brackets, commas) as spaces.
QString normalized(const QString& text)
{
    QString out = text.toLower();
    for (QChar& c : out) {
        if (c == QLatin1Char('_') || c == QLatin1Char('/') || c == QLatin1Char('(') || c == QLatin1Char(')') ||
            c == QLatin1Char(','))
            c = QLatin1Char(' ');
    }
    return out.simplified();
}

struct Catalog {
    QVector<CrsInfo> systems;
    QVector<QString> names; // normalized(name) of each system
    QString error;
};

Catalog load_catalog()
{
    Catalog catalog;
    ProjContext context = make_proj_context();
    PROJ_CRS_LIST_PARAMETERS* params = proj_get_crs_list_parameters_create();
    const PJ_TYPE types[] = {PJ_TYPE_PROJECTED_CRS, PJ_TYPE_GEOGRAPHIC_2D_CRS};
    params->types = types;
    params->typesCount = sizeof types / sizeof types[0];
    params->allow_deprecated = 0;
    params->celestial_body_name = "Earth";
    int count = 0;
    PROJ_CRS_INFO** list = proj_get_crs_info_list_from_database(context.get(), nullptr, params, &count);
    proj_get_crs_list_parameters_destroy(params);
    if (!list) {
        catalog.error = last_proj_error(context.get());
        qCWarning(lcGeo) << "no coordinate systems from PROJ's database:" << catalog.error;
        return catalog;
    }
    catalog.systems.reserve(count);
    catalog.names.reserve(count);
    for (int i = 0; i < count; ++i) {
        const PROJ_CRS_INFO* info = list[i];
        CrsInfo crs;
        crs.authority = QString::fromUtf8(info->auth_name);
        crs.code = QString::fromUtf8(info->code);
        crs.name = QString::fromUtf8(info->name);
        crs.kind = kind_of(info->type);
        crs.area = QString::fromUtf8(info->area_name);
        crs.bounds = {info->west_lon_degree, info->south_lat_degree, info->east_lon_degree, info->north_lat_degree,
                      info->bbox_valid != 0};
        catalog.names.append(normalized(crs.name));
        catalog.systems.append(crs);
    }
    proj_crs_info_list_destroy(list);
    qCDebug(lcGeo) << count << "coordinate systems in PROJ's database";
    return catalog;
}

const Catalog& catalog()
{
    static const Catalog loaded = load_catalog();
    return loaded;
}

bool is_common_datum(const QString& name)
{
    return name == QLatin1String("wgs 84") || name.startsWith(QLatin1String("wgs 84 ")) ||
           name.startsWith(QLatin1String("cgcs2000"));
}

bool all_digits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

const QVector<CrsInfo>& CrsCatalog::all()
{
    return catalog().systems;
}

QString CrsCatalog::error()
{
    return catalog().error;
}

QVector<CrsInfo> CrsCatalog::search(const QString& query, int limit)
{
    const Catalog& db = catalog();
    QVector<CrsInfo> found;
    static const QRegularExpression authority_code(QStringLiteral("^\\s*([A-Za-z0-9_]+)\\s*:\\s*(\\S+)\\s*$"));
    const QRegularExpressionMatch id = authority_code.match(query);
    if (id.hasMatch()) {
        for (const CrsInfo& crs : db.systems) {
            if (crs.code == id.captured(2) && crs.authority.compare(id.captured(1), Qt::CaseInsensitive) == 0)
                found.append(crs);
        }
        return found.mid(0, limit);
    }

    const QString wanted = normalized(query);
    const QStringList words = wanted.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return found;
    const bool code_query = words.size() == 1 && all_digits(words.first());

    // Smaller keys first: code, whole name, whole words, common datum, EPSG, length, code number.
    using Rank = std::tuple<int, int, int, int, int, int, qlonglong, int>;
    QVector<Rank> ranks;
    for (int i = 0; i < db.systems.size(); ++i) {
        const CrsInfo& crs = db.systems.at(i);
        const QString& name = db.names.at(i);
        const bool code_match = code_query && crs.code == words.first();
        const bool name_match =
            std::all_of(words.begin(), words.end(), [&name](const QString& word) { return name.contains(word); });
        if (!code_match && !name_match)
            continue;
        int whole_words = 0;
        const QStringList tokens = name.split(QLatin1Char(' '));
        for (const QString& word : words)
            whole_words += tokens.contains(word) ? 1 : 0;
        ranks.append(Rank(code_match ? 0 : 1, name == wanted ? 0 : 1, -whole_words, is_common_datum(name) ? 0 : 1,
                          crs.authority == QLatin1String("EPSG") ? 0 : 1, crs.name.size(), crs.code.toLongLong(), i));
    }
    std::sort(ranks.begin(), ranks.end());
    for (int i = 0; i < ranks.size() && i < limit; ++i)
        found.append(db.systems.at(std::get<7>(ranks.at(i))));
    return found;
}

CrsInfo describe_crs(const QString& definition)
{
    CrsInfo crs;
    ProjContext context = make_proj_context();
    if (definition.trimmed().isEmpty() || !context)
        return crs;
    ProjObject object(proj_create(context.get(), definition.trimmed().toUtf8().constData()));
    if (!object || !proj_is_crs(object.get())) {
        qCDebug(lcGeo) << "not a coordinate system:" << definition << last_proj_error(context.get());
        return crs;
    }
    const char* authority = proj_get_id_auth_name(object.get(), 0);
    const char* code = proj_get_id_code(object.get(), 0);
    if (!authority || !code)
        return crs;
    crs.authority = QString::fromUtf8(authority);
    crs.code = QString::fromUtf8(code);
    crs.name = QString::fromUtf8(proj_get_name(object.get()));
    crs.kind = kind_of(proj_get_type(object.get()));
    const char* area = nullptr;
    GeoBox& box = crs.bounds;
    box.valid = proj_get_area_of_use(context.get(), object.get(), &box.west, &box.south, &box.east, &box.north, &area);
    // PROJ gives -1000 for a side it does not know.
    if (box.west < -180 || box.south < -90 || box.east < -180 || box.north < -90)
        box.valid = false;
    crs.area = QString::fromUtf8(area);
    return crs;
}
