# Makes a GeoPackage or shapefile with GDAL's Python writer for the GIS reader's tests:
#     make_layers.py PATH KIND
# KIND: "one layer" (points), "two layers" (lines, then points), "lines only", "no system" (points
# without a coordinate system), "damaged" (20,000 points, then pages of the GeoPackage overwritten),
# "cut" (20,000 points, then the shapefile's .dbf cut in half). The points are in EPSG:4547 unless
# KIND says no system.
import os
import sys
from osgeo import ogr, osr
ogr.UseExceptions()
path, kind = sys.argv[1], sys.argv[2]
driver = ogr.GetDriverByName("ESRI Shapefile" if path.endswith(".shp") else "GPKG")
ds = driver.CreateDataSource(path)
srs = None
if kind != "no system":
    srs = osr.SpatialReference()
    srs.ImportFromEPSG(4547)
def layer(name, geometry_type, rows):
    l = ds.CreateLayer(name, srs, geometry_type)
    l.CreateField(ogr.FieldDefn("PointName", ogr.OFTString))
    l.CreateField(ogr.FieldDefn("Elevation", ogr.OFTReal))
    for name, wkt, z in rows:
        f = ogr.Feature(l.GetLayerDefn())
        f["PointName"] = name
        if z is not None:
            f["Elevation"] = z
        f.SetGeometry(ogr.CreateGeometryFromWkt(wkt))
        l.CreateFeature(f)
if kind in ("two layers", "lines only"):
    layer('roads', ogr.wkbLineString, [('R', 'LINESTRING (500000 3380000, 500010 3380010)', None)])
if kind in ("damaged", "cut"):
    layer('many', ogr.wkbPoint, [('P%d' % i, 'POINT (%d 3380000)' % (500000 + i), 1.5) for i in range(20000)])
    ds = None
    if kind == "damaged":
        size = os.path.getsize(path)
        with open(path, "r+b") as f:
            for tenth in range(2, 10):
                f.seek(size * tenth // 10)
                f.write(b"\x5a" * 4096)
    else:
        dbf = path[:-4] + ".dbf"
        with open(dbf, "r+b") as f:
            f.truncate(os.path.getsize(dbf) // 2)
elif kind != "lines only":
    layer('stations', ogr.wkbPoint, [('S1', 'POINT (412345.678 3456789.123)', 88.25),
                                     ('S2', 'POINT (500000 3380000)', None)])
