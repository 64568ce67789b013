// Coordinate files of every suffix (and suffixes no format has) through the reader the Open command
// uses, and the point lines back through the format writers.
#include "data/fileoperation.h"
#include "harness.h"

namespace
{

const char* const kSuffixes[] = {"ndad", "txt", "csv", "edad", "ndat", "gdat", "svf", "pts", "dxf", "TXT", "xyz"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QString suffix = kSuffixes[data[0] % (sizeof kSuffixes / sizeof kSuffixes[0])];
    const QString name = "input." + suffix;
    fuzz_write_file(name, QByteArray(reinterpret_cast<const char*>(data + 1), int(size - 1)));
    FileOperation files;
    const QStringList points = files.readfile_byextension(fuzz_environment() + "/" + name, suffix);
    for (const char* out : kSuffixes)
        files.getsavedata(out, points);
    files.getsaveCADdata(points);
    return 0;
}
