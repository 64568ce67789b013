// What the geo suites share: running the outside judges (Debian's Python with osgeo, pyproj and
// openpyxl; xmllint) and reading files.
#ifndef GEOTEST_H
#define GEOTEST_H

#include "support/core/ktest_core.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtDebug>

// Runs `program` with `args`; its standard output, or a null array when it fails or exits non-zero.
inline QByteArray run_judge(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning().noquote() << program << "failed:" << process.readAllStandardError();
        return QByteArray();
    }
    QByteArray out = process.readAllStandardOutput();
    return out.isNull() ? QByteArray("") : out;
}

// Runs a Python script with `args` (sys.argv[1:]); its standard output, null on failure.
inline QByteArray run_python(const QString& script, const QStringList& args = QStringList())
{
    return run_judge(KT_PYTHON, QStringList{"-c", script} + args);
}

// The first layer of a GIS file as GDAL's Python reader sees it (its EPSG code, attribute types, and
// per feature the attributes, names in lower case, the point and its dimension), and where pyproj puts
// the points of `lines` (point lines, N and E read) from `crs` in WGS 84 longitude and latitude.
inline const char* const kGisLayerJudge = R"(
import json, sys
from osgeo import ogr
from pyproj import Transformer
ogr.UseExceptions()
ds = ogr.Open(sys.argv[1])
layer = ds.GetLayer(0)
srs = layer.GetSpatialRef()
epsg = None
if srs is not None:
    srs.AutoIdentifyEPSG()
    epsg = srs.GetAuthorityCode(None)
defn = layer.GetLayerDefn()
names = [defn.GetFieldDefn(i).GetName() for i in range(defn.GetFieldCount())]
types = {n.lower(): defn.GetFieldDefn(i).GetTypeName() for i, n in enumerate(names)}
features = []
for f in layer:
    g = f.GetGeometryRef()
    features.append({"attributes": {n.lower(): f.GetField(n) for n in names},
                     "point": [g.GetX(), g.GetY(), g.GetZ()], "dimension": g.CoordinateDimension()})
source = json.loads(sys.argv[2])
to_wgs84 = Transformer.from_crs(source["crs"], "EPSG:4326", always_xy=True)
expected = [list(to_wgs84.transform(e, n)) for n, e in source["points"]]
print(json.dumps({"epsg": epsg, "types": types, "features": features, "expected": expected}))
)";

inline QJsonObject judge_gis_layer(const QString& path, const QStringList& lines, const QString& crs)
{
    QJsonArray points;
    for (const QString& line : lines) {
        const QStringList fields = line.split(',');
        points.append(QJsonArray{fields.at(2).toDouble(), fields.at(3).toDouble()});
    }
    const QByteArray source = QJsonDocument(QJsonObject{{"crs", crs}, {"points", points}}).toJson();
    return QJsonDocument::fromJson(run_python(kGisLayerJudge, {path, QString::fromUtf8(source)})).object();
}

inline bool write_bytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

#endif // GEOTEST_H
