#pragma once
// Fixed-point values: an integer with a decimal exponent (value x 10^exponent),
// as the units, the logger and the unit settings store them.
#include <QString>

namespace Quorvel1 {

// Decimal text of value x 10^exponent, padded on the left with spaces to
// `width` characters (never cut; width 0 pads nothing).
// (1234, -1) -> "123.4", (5, -2) -> "0.05", (12, 2) -> "1200", (0, 2) -> "0".
QString FormatFixed(long value, int exponent, int width = 0);

// Reads digits, one "." and a "-" anywhere, stopping at any other character,
// and scales to units of 10^exponent, dropping extra fraction digits.
// Returns the value; stores it in *result only when a digit was seen (a text
// without digits returns 0 and leaves *result alone). Values beyond the int
// range saturate, so a huge entry fails a range check instead of wrapping.
int ParseFixed(const QString& text, int exponent, int* result = nullptr);

} // namespace Quorvel1
