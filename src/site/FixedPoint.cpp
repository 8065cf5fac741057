#include "site/FixedPoint.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace Quorvel1 {

QString FormatFixed(long value, int exponent, int width)
{
    const bool negative = value < 0;
    // Magnitude in 64 bits: the absolute value of the most negative long fits.
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value)
                                       : static_cast<std::uint64_t>(value);
    // Built lowest digit first, then reversed.
    QString text;
    if (exponent < 0) {
        for (int i = 0; i < -exponent; ++i) {
            text += QChar('0' + static_cast<int>(magnitude % 10));
            magnitude /= 10;
        }
        text += '.';
    } else if (exponent > 0 && value != 0) {
        text += QString(exponent, '0');
    }
    do {
        text += QChar('0' + static_cast<int>(magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        text += '-';
    std::reverse(text.begin(), text.end());
    if (text.size() < width)
        text = QString(width - text.size(), ' ') + text;
    return text;
}

namespace {

// Far below the int64 limit, far above the int range: accumulation and
// scaling cannot overflow, and the final clamp still sees "too big".
constexpr std::int64_t Ceiling = std::int64_t{1} << 40;

std::int64_t TimesTen(std::int64_t v)
{
    return v >= Ceiling / 10 ? Ceiling : v * 10;
}

} // namespace

int ParseFixed(const QString& text, int exponent, int* result)
{
    std::int64_t v = 0;
    bool negative = false;
    bool sawDigit = false;
    bool inFraction = false;
    for (const QChar c : text) {
        if (c.unicode() >= '0' && c.unicode() <= '9') {
            v = std::min(TimesTen(v) + (c.unicode() - '0'), Ceiling);
            sawDigit = true;
            if (inFraction && ++exponent >= 0)
                break;
        } else if (c == '.') {
            if (inFraction)
                break;
            inFraction = true;
        } else if (c == '-') {
            negative = true;
        } else {
            break;
        }
    }
    for (; exponent > 0 && v != 0; --exponent)
        v /= 10;
    for (; exponent < 0 && v != 0 && v != Ceiling; ++exponent)
        v = TimesTen(v);
    if (negative)
        v = -v;
    const int value = static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
    if (sawDigit && result)
        *result = value;
    return value;
}

} // namespace Quorvel1
