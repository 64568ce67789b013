// Coordinate reference systems from PROJ's database: searching them by code or name words, and
// describing one given as "AUTHORITY:CODE". Projected and geographic 2D systems of the Earth only,
// deprecated ones left out.
#ifndef GEO_CRS_H
#define GEO_CRS_H

#include <QString>
#include <QVector>

// An area in degrees of longitude and latitude; west may exceed east when it crosses 180°.
struct GeoBox {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
    bool valid = false;

    bool contains(double longitude, double latitude) const;
};

struct CrsInfo {
    enum Kind { Projected, Geographic, Other };

    QString authority; // "EPSG"
    QString code;      // "4547"
    QString name;      // "CGCS2000 / 3-degree Gauss-Kruger CM 114E"
    Kind kind = Other;
    QString area; // the name of the area of use
    GeoBox bounds;

    bool is_valid() const { return !code.isEmpty(); }
    // "EPSG:4547"; empty when not valid.
    QString id() const;
};

class CrsCatalog
{
public:
    // Every system of the database, read once per process.
    static const QVector<CrsInfo>& all();
    // Why all() is empty (PROJ's database not found), or empty text.
    static QString error();

    // Systems matching `query`, best first, at most `limit`:
    // - "EPSG:4547" (any authority): that system;
    // - digits alone: the systems of that code (EPSG first), then names holding the number;
    // - words ("CGCS2000 114E", "UTM 50N", "Xian 1980"): names holding every word, letter case and
    //   "_" against " " ignored. A name equal to the query comes first, then names where the words
    //   stand as whole words, then systems on the common datums (WGS 84, CGCS2000), EPSG, shorter.
    static QVector<CrsInfo> search(const QString& query, int limit = 200);
};

// The system "AUTHORITY:CODE" as the database describes it; not valid when PROJ does not know it, it
// is not a coordinate reference system or it has no authority code.
CrsInfo describe_crs(const QString& definition);

#endif // GEO_CRS_H
