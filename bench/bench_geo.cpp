// Writes the point lines of a text file as LandXML (.xml) or a GIS layer (.gpkg, .shp, .geojson, .kml)
// through the geo library, for bench/run and for measuring by hand against ogr2ogr:
//     bench_geo INPUT.txt OUTPUT.suffix [EPSG:CODE]
// Lines are read and written one at a time, so the memory shown by /usr/bin/time is the writer's.
#include "geo/giswriter.h"
#include "geo/landxmlwriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <functional>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_geo INPUT OUTPUT [EPSG:CODE]\n");
        return 2;
    }
    const QString output = args.at(2);
    const QString crs = args.value(3);
    QFile input(args.at(1));
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    const QString suffix = QFileInfo(output).suffix();
    std::function<bool(const QStringList&)> write;
    std::function<bool()> finish;
    std::unique_ptr<LandXmlWriter> landxml;
    std::unique_ptr<GisWriter> gis;
    GisFormat format;
    if (suffix == "xml") {
        landxml = std::make_unique<LandXmlWriter>(output, PointFields::point_line());
        if (!landxml->open(crs))
            return std::fprintf(stderr, "%s\n", qPrintable(landxml->error())), 1;
        write = [&](const QStringList& row) { return landxml->write(row); };
        finish = [&] { return landxml->finish(); };
    } else if (gis_format_for_suffix(suffix, &format)) {
        gis = std::make_unique<GisWriter>(output, format, PointFields::point_line());
        if (!gis->open(crs))
            return std::fprintf(stderr, "%s\n", qPrintable(gis->error())), 1;
        write = [&](const QStringList& row) { return gis->write(row); };
        finish = [&] { return gis->finish(); };
    } else {
        std::fprintf(stderr, "no format for .%s\n", qPrintable(suffix));
        return 2;
    }
    QTextStream lines(&input);
    QString line;
    long count = 0;
    while (lines.readLineInto(&line)) {
        write(split_point_line(line));
        ++count;
    }
    if (!finish()) {
        std::fprintf(stderr, "%s\n", qPrintable(landxml ? landxml->error() : gis->error()));
        return 1;
    }
    std::printf("%ld lines in %.3f s", count, clock.elapsed() / 1000.0);
    if (gis)
        std::printf(", %d skipped, %d outside the area of use", gis->skipped(), gis->outside_area());
    std::printf("\n");
    return 0;
}
