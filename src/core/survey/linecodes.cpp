// Reading a code field: control character, code, string number.
#include "survey/linecodes.h"

namespace
{

LineControl control_of(QChar c, const CodeList& list)
{
    if (c == list.start())
        return LineControl::Start;
    if (c == list.end())
        return LineControl::End;
    if (c == list.close())
        return LineControl::Close;
    return LineControl::None;
}

bool only_controls(QStringView text, const CodeList& list)
{
    for (const QChar c : text) {
        if (!list.is_control(c))
            return false;
    }
    return true;
}

} // namespace

bool LineCode::joins(const CodeList& list) const
{
    return problem == Fine && entry >= 0 && entry < list.size() && list.entries()[entry].kind != CodeKind::Point;
}

LineCode parse_line_code(const QString& field, const CodeList& list)
{
    LineCode result;
    QStringView body = QStringView(field).trimmed();
    if (body.isEmpty())
        return result;
    if (only_controls(body, list)) {
        result.problem = LineCode::ControlOnly;
        result.code = body.toString();
        return result;
    }
    result.control = control_of(body.back(), list);
    if (result.control != LineControl::None)
        body.chop(1);

    result.entry = list.find(body);
    if (result.entry >= 0) {
        result.problem = LineCode::Fine;
        result.code = list.entries()[result.entry].code;
        return result;
    }
    // A code followed by its string number: the run of digits at the end.
    int digits = 0;
    while (digits < body.size() && body.at(body.size() - 1 - digits).isDigit() &&
           body.at(body.size() - 1 - digits).unicode() < 0x80)
        ++digits;
    const QStringView prefix = body.left(body.size() - digits);
    result.entry = digits > 0 && !prefix.isEmpty() ? list.find(prefix) : -1;
    if (result.entry < 0) {
        result.problem = digits > 0 && prefix.isEmpty() ? LineCode::StringWithoutLineCode : LineCode::Unknown;
        result.code = body.toString();
        return result;
    }
    const CodeEntry& entry = list.entries()[result.entry];
    result.code = entry.code;
    const int number = digits <= 2 ? body.right(digits).toString().toInt() : 0;
    if (number < 1 || number > kMaxStringNumber) {
        result.problem = LineCode::StringOutOfRange;
        return result;
    }
    if (entry.kind == CodeKind::Point) {
        // A point feature all the same: its symbol is drawn; the number is reported.
        result.problem = LineCode::StringWithoutLineCode;
        return result;
    }
    result.problem = LineCode::Fine;
    result.string_number = number;
    return result;
}
