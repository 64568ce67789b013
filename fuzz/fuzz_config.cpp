// The configuration reader on any config/config.xml.
#include "config/xml_analysis.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = fuzz_environment();
    fuzz_write_file("config/config.xml", QByteArray(reinterpret_cast<const char*>(data), int(size)));
    xml_analysis().get_config(folder + "/config/config.xml", "language");
    return 0;
}
