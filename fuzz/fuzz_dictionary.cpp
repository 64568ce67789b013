// The communication dictionary on any dictionary file.
#include "config/dictionaryanalysis.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = fuzz_environment();
    fuzz_write_file("config/fuzz_dictionary.xml", QByteArray(reinterpret_cast<const char*>(data), int(size)));
    DictionaryAnalysis dictionary(folder + "/config/fuzz_dictionary.xml");
    for (const char* key : {"baudrate", "databit", "parity", "stopbit", "uart"})
        for (int flag : {0, 1, 2})
            dictionary.getuartpara(key, flag);
    return 0;
}
