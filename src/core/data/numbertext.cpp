// Number texts through std::from_chars and std::to_chars, with Qt deciding the rare texts and values
// whose reading or writing the two might not share.
#include "data/numbertext.h"

#include "data/pointfields.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace
{

// Longer texts are no coordinates; Qt reads them.
constexpr int kPlainLength = 48;
// Below this every digit of a value's whole part is exact and fits the buffer.
constexpr double kPlainMagnitude = 1e15;
constexpr int kPlainDecimals = 30;

// `text` read by std::from_chars when it is a plain decimal number that both read alike.
bool plain_double(QStringView text, double* value)
{
    if (text.size() > kPlainLength || !is_number_text(text))
        return false;
    char buffer[kPlainLength];
    int size = 0;
    for (const QChar c : text)
        buffer[size++] = char(c.unicode()); // ASCII: is_number_text allows nothing else
    // std::from_chars takes a minus sign only.
    const char* begin = buffer[0] == '+' ? buffer + 1 : buffer;
    const char* end = buffer + size;
    double parsed = 0;
    const std::from_chars_result result = std::from_chars(begin, end, parsed);
    // Out of range (an overflow, an underflow to zero) is left to Qt, which has its own answers.
    if (result.ec != std::errc() || result.ptr != end)
        return false;
    *value = parsed;
    return true;
}

// An exact half at the first place dropped: to_chars rounds it to even, Qt away from zero. The
// value is then an odd multiple of 2^-(decimals + 1), and scaling by a power of two is exact.
bool is_half(double value, int decimals)
{
    const double scaled = std::ldexp(value, decimals + 1);
    return scaled == std::trunc(scaled) && std::fmod(scaled, 2.0) != 0;
}

} // namespace

double text_to_double(QStringView text, bool* ok)
{
    const QStringView trimmed = text.trimmed();
    double value = 0;
    if (plain_double(trimmed, &value)) {
        if (ok)
            *ok = true;
        return value;
    }
    return trimmed.toDouble(ok);
}

QString double_to_fixed(double value, int decimals)
{
    if (!std::isfinite(value) || std::fabs(value) >= kPlainMagnitude || decimals < 0 || decimals > kPlainDecimals ||
        is_half(value, decimals))
        return QString::number(value, 'f', decimals);
    // Qt writes -0 as 0 (while -0.0001 is "-0.000").
    const double unsigned_zero = value == 0 ? 0.0 : value;
    char buffer[64];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, unsigned_zero, std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}
