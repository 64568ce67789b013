// The LandXML point reader on any document: nesting, references, refusals. It needs no runtime
// files, so no working folder of the harness.
#include "landxml/landxmlreader.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char*>(data), int(size));
    buffer.open(QIODevice::ReadOnly);
    const LandXmlPoints points = read_landxml(&buffer);
    // A refusal holds no points; an accepted file holds at least one.
    if (points.ok() == points.lines.isEmpty())
        __builtin_trap();
    return 0;
}
