// The DXF point reader on any file.
#include "data/fileoperation.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_write_file("drawing.dxf", QByteArray(reinterpret_cast<const char*>(data), int(size)));
    FileOperation files;
    files.readDXFfile(fuzz_environment() + "/drawing.dxf");
    return 0;
}
