// The code list reader on any file: a list it takes is written and read back as the same list.
#include "survey/codelist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CodeList list;
    CodeListError error;
    if (!read_code_list(QByteArray(reinterpret_cast<const char*>(data), int(size)), &list, &error)) {
        if (!error.failed())
            __builtin_trap();
        code_list_error_text(error);
        return 0;
    }
    const QByteArray written = code_list_xml(list);
    CodeList again;
    if (!read_code_list(written, &again, &error) || code_list_xml(again) != written || again.size() != list.size())
        __builtin_trap();
    for (const CodeEntry& entry : list.entries()) {
        if (list.find(entry.code.toLower()) < 0)
            __builtin_trap();
    }
    return 0;
}
