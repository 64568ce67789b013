// The DXF drawing of a list of point lines, section by section.
#include "data/dxftext.h"
#include "data/fileoperation.h"

#include <utility>

QStringList FileOperation::getsaveCADdata(QStringList datalist)
{
    QStringList lines;
    lines = getsaveCADdata_HEAD(datalist, std::move(lines));
    lines = getsaveCADdata_TABLES(std::move(lines));
    lines = getsaveCADdata_BLOCKS(std::move(lines));
    lines = getsaveCADdata_ENTITIES(datalist, std::move(lines));
    dxf_append_eof(lines);
    return lines;
}

QStringList FileOperation::getsaveCADdata_HEAD(QStringList datalist, QStringList lines)
{
    DxfExtents extents;
    for (const QString& line : qAsConst(datalist))
        extents.include(line);
    dxf_append_header(lines, extents);
    return lines;
}

QStringList FileOperation::getsaveCADdata_TABLES(QStringList lines)
{
    dxf_append_tables(lines);
    return lines;
}

QStringList FileOperation::getsaveCADdata_BLOCKS(QStringList lines)
{
    dxf_append_blocks(lines);
    return lines;
}

QStringList FileOperation::getsaveCADdata_ENTITIES(QStringList datalist, QStringList lines)
{
    dxf_append_entities_start(lines);
    for (const QString& line : qAsConst(datalist))
        dxf_append_point(lines, line);
    dxf_append_entities_end(lines);
    return lines;
}
