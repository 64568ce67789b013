// ktconvert --linework: the points joined into lines and areas by the code list.
#include "config/runtimefiles.h"
#include "convert/console.h"
#include "data/fileoperation.h"
#include "gis/lineworkdrawing.h"
#include "survey/codelist.h"
#include "survey/linework.h"

#include <QCoreApplication>
#include <QFileInfo>

// --linework: the points of INPUT joined by the code list, drawn into OUTPUT.dxf or written as GIS
// layers with their lines and areas.
int convert_with_linework(const Options& options, bool existed)
{
    // The user's code list is the one ktlink edits, in ktlink's configuration folder.
    QCoreApplication::setApplicationName(QStringLiteral("ktlink"));
    const QString codes_file = code_list_file_to_read(runtime_folder());
    CodeList codes;
    CodeListError error;
    if (!read_code_list_file(codes_file, &codes, &error)) {
        say(stderr, QString("ktconvert: %1: %2").arg(codes_file, code_list_error_text(error)));
        return 1;
    }
    QStringList points;
    const PointFileConversion read = read_point_file(options.input, &points, options.crs, options.columns);
    tell_findings(options.input, read_findings(read.read, read.layer_read));
    if (tell_read_failure(options.input, options.output, read))
        return 1;
    const LineworkBuilder linework = linework_of_point_lines(codes, points);
    for (const LineworkIssue& issue : linework.issues())
        say(stderr, QString("ktconvert: %1: %2").arg(options.input, linework_issue_text(issue)));
    // Points, lines and areas written: GIS layers through the point writers, a drawing through GDAL's
    // DXF driver.
    int written = 0, lines = 0, areas = 0;
    const QString suffix = QFileInfo(options.output).suffix();
    if (suffix.toLower() != "dxf") {
        FileOperation files;
        files.crs = options.crs;
        files.linework = &linework;
        if (!files.writefile_byextension(options.output, suffix, points, false)) {
            say(stderr, write_failure(options.output, existed, files.last_layer, files.last_error));
            return 1;
        }
        tell_findings(options.output, write_findings(files.last_layer));
        written = files.last_layer.written;
        lines = files.last_layer.linework_lines;
        areas = files.last_layer.linework_areas;
    } else {
        LineworkDrawingReport drawn;
        if (!write_linework_drawing(options.output, points, linework, &drawn)) {
            say(stderr, write_failure(options.output, existed, LayerReport(), drawn.error));
            return 1;
        }
        if (drawn.without_coordinates > 0)
            say(stderr, QString("ktconvert: %1: %2 points without numeric N and E not drawn")
                            .arg(options.input)
                            .arg(drawn.without_coordinates));
        written = drawn.points;
        lines = drawn.lines;
        areas = drawn.areas;
    }
    say(stderr, QString("ktconvert: read %1 points from %2, wrote %3 points, %4 lines and %5 areas to %6")
                    .arg(read.points_read)
                    .arg(options.input)
                    .arg(written)
                    .arg(lines)
                    .arg(areas)
                    .arg(options.output));
    return 0;
}
