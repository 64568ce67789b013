# Makes a GeoPackage or shapefile with GDAL's Python writer for the GIS reader's tests:
#     make_layers.py PATH KIND
# KIND: "one layer" (points), "two layers" (lines, then points), "lines only", "no system" (points
# without a coordinate system). The points are in EPSG:4547 unless KIND says no system.
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
if kind != "lines only":
    layer('stations', ogr.wkbPoint, [('S1', 'POINT (412345.678 3456789.123)', 88.25),
                                     ('S2', 'POINT (500000 3380000)', None)])
