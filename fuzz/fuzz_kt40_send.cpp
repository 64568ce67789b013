// The KT40 frame set, the PC sending: every buffer the instrument's bytes can make.
#include "kt2040_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzz_kt2040_link("KT40", 1, data, size);
}
