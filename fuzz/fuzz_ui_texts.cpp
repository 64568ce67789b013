// The UI-text reader on any config/parameter.xml.
#include "config/xml_analysis.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_environment();
    fuzz_write_file("config/parameter.xml", QByteArray(reinterpret_cast<const char*>(data), int(size)));
    xml_analysis xml;
    xml.get_parameter("English");
    xml.get_parameter("");
    return 0;
}
