// The code field's line control and the linework on any rows: each input line is a code field (a
// first byte below 0x20 makes the point's N no number), read against the shipped code list. Every
// point of a line comes from a row with that code, in row order; every issue names rows that exist.
#include "harness.h"
#include "survey/linework.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const CodeList codes = [] {
        CodeList list;
        CodeListError error;
        if (!read_code_list_file(fuzz_environment() + "/config/codes.xml", &list, &error))
            __builtin_trap();
        return list;
    }();
    const QStringList fields = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size)).split('\n');
    LineworkBuilder builder(codes);
    for (int row = 0; row < fields.size(); ++row) {
        const bool placed = fields[row].isEmpty() || fields[row].at(0).unicode() >= 0x20;
        builder.add(row, QString::number(row), fields[row], placed ? QString::number(row) : "x", "1", "");
    }
    for (const LineworkLine& line : builder.lines()) {
        if (line.vertices.isEmpty() || line.entry < 0 || line.entry >= codes.size())
            __builtin_trap();
        for (int i = 0; i < line.vertices.size(); ++i) {
            const int row = line.vertices[i].row;
            const LineCode parsed = parse_line_code(fields[row], codes);
            if ((i > 0 && row <= line.vertices[i - 1].row) || parsed.entry != line.entry ||
                parsed.string_number != line.string_number || !parsed.joins(codes))
                __builtin_trap();
        }
    }
    for (const LineworkIssue& issue : builder.issues()) {
        for (int row : issue.rows) {
            if (row < 0 || row >= fields.size())
                __builtin_trap();
        }
        linework_issue_text(issue);
    }
    return 0;
}
