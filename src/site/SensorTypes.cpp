#include "site/SensorTypes.h"

#include <array>
#include <cstdint>

namespace Quorvel1 {

std::int16_t RoundedProductQuotient(std::int16_t a, std::int16_t b, std::int16_t c)
{
    if (c == 0)
        return NoValueMarker;
    // |a x b| <= 2^30, so the product and twice the remainder fit in 32 bits.
    const std::int32_t product = std::int32_t{a} * std::int32_t{b};
    const std::int32_t quotient = product / c;
    const std::int32_t rounding = (2 * (product % c)) / c;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(
        static_cast<std::uint32_t>(quotient + rounding) & 0xFFFF));
}

namespace {

using R16 = std::int16_t;

R16 R(int a, int b, int c)
{
    return RoundedProductQuotient(static_cast<R16>(a), static_cast<R16>(b), static_cast<R16>(c));
}

R16 Keep16(int value)
{
    return static_cast<R16>(static_cast<std::uint16_t>(static_cast<unsigned>(value) & 0xFFFF));
}

// Entries 0..9 are never reached (x >= 40 means index >= 10).
constexpr std::array<std::int16_t, 244> Thermistor = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    -384, -369, -355, -342, -330, -318, -307, -297, -287, -278, -269, -260, -251,
    -243, -236, -228, -221, -213, -206, -200, -193, -187, -180, -174, -168, -162,
    -157, -151, -145, -140, -134, -129, -124, -119, -114, -109, -104, -99, -94,
    -90, -85, -80, -76, -71, -67, -63, -58, -54, -50, -46, -41, -37, -33, -29,
    -25, -21, -17, -13, -9, -5, -1, 2, 6, 10, 14, 17, 21, 25, 29, 32, 36, 39,
    43, 47, 50, 54, 58, 61, 65, 68, 72, 75, 79, 82, 86, 89, 92, 96, 99, 103,
    106, 110, 113, 117, 120, 123, 127, 130, 134, 137, 140, 144, 147, 151, 154,
    157, 161, 164, 168, 171, 175, 178, 181, 185, 188, 192, 195, 199, 202, 206,
    209, 213, 216, 220, 223, 227, 230, 234, 237, 241, 244, 248, 252, 255, 259,
    262, 266, 270, 273, 277, 281, 285, 288, 292, 296, 300, 304, 308, 312, 315,
    319, 323, 327, 331, 336, 340, 344, 348, 352, 356, 361, 365, 369, 373, 378,
    382, 387, 391, 396, 400, 405, 410, 415, 419, 424, 429, 434, 439, 444, 449,
    455, 460, 465, 471, 476, 482, 487, 493, 499, 505, 511, 517, 523, 530, 536,
    543, 549, 556, 563, 570, 577, 585, 592, 600, 608, 616, 624, 633, 642, 650,
    660, 669, 679, 689, 699, 710, 721, 733, 745, 757, 770, 784, 798, 812, 828,
    844, 861, 879, 898, 918, 940, 964, 989, 1015,
};

R16 CelsiusToFahrenheit(R16 tenthsC)
{
    if (tenthsC == NoValueMarker)
        return NoValueMarker;
    return Keep16(R(tenthsC, 9, 5) + 320);
}

R16 Sens00(std::uint16_t raw) { return raw > 0x7FFF ? NoValueMarker : static_cast<R16>(raw); }
R16 Sens01(std::uint16_t raw) { return raw > 1023 ? NoValueMarker : R(raw, 495, 1023); }
R16 Sens02(std::uint16_t raw) { return ThermistorTenths(raw); }
R16 Sens03(std::uint16_t raw) { return CelsiusToFahrenheit(Sens02(raw)); }

R16 Sens04(std::uint16_t raw)
{
    if (raw < 30 || raw > 900)
        return NoValueMarker;
    if (raw <= 125)
        return 0;
    if (raw >= 589)
        return 100;
    return R(raw - 125, 100, 464);
}

// The reading of a SENS05 sensor above its measuring range.
constexpr R16 SensorOverRange = 9999;

R16 Sens05(std::uint16_t raw)
{
    if (raw < 50 || raw > 950)
        return NoValueMarker;
    if (raw > 746)
        return SensorOverRange;
    const int divisor = 9923 - R(raw, 133, 10);
    // Near the top of the range (raw 741..746) the divisor shrinks to a few
    // counts and the quotient no longer fits 16 bits; show over-range then
    // rather than a wrapped negative value.
    if (raw * 3300 / divisor > INT16_MAX)
        return SensorOverRange;
    return R(raw, 3300, divisor);
}

R16 Sens06(std::uint16_t raw)
{
    if (raw > 406)
        return NoValueMarker;
    if (raw >= 206)
        return 100;
    return R(raw, 495, 1023);
}

R16 Sens07(std::uint16_t raw) { return raw > 123 ? NoValueMarker : R(raw, 4950, 1023); }
R16 Sens08(std::uint16_t raw) { return static_cast<R16>(raw); }

R16 Pressure(std::uint16_t raw, int span)
{
    if (raw < 172 || raw > 929)
        return NoValueMarker;
    return R(raw - 182, span, 727);
}

R16 Sens09(std::uint16_t raw) { return Pressure(raw, 130); }
R16 Sens10(std::uint16_t raw) { return Pressure(raw, 350); }
R16 Sens11(std::uint16_t raw) { return raw > 226 ? NoValueMarker : Keep16(R(raw, 4950, 1023) - 400); }
R16 Sens12(std::uint16_t raw) { return Keep16(100 - R(raw, 100, 1023)); }
R16 Sens13(std::uint16_t raw) { return CelsiusToFahrenheit(Sens11(raw)); }

R16 Sens14(std::uint16_t raw)
{
    const R16 celsius = (raw < 30 || raw > 800) ? NoValueMarker : Keep16(R(16092, 10, raw + 123) - 360);
    return CelsiusToFahrenheit(celsius);
}

R16 Sens15(std::uint16_t raw)
{
    if (raw < 132 || raw > 959)
        return NoValueMarker;
    if (raw <= 182)
        return 0;
    if (raw >= 909)
        return 1000;
    return R(raw - 182, 1000, 727);
}

constexpr std::array<TSensorType, SensorTypeCount> Types = {{
    {"NONE", ' ', 0, Sens00},
    {"SENS01", 'V', 2, Sens01},
    {"SENS02", 'C', 1, Sens02},
    {"SENS03", 'F', 1, Sens03},
    {"SENS04", '%', 0, Sens04},
    {"SENS05", 'M', 2, Sens05},
    {"SENS06", '%', 0, Sens06},
    {"SENS07", 'C', 1, Sens07},
    {"SENS08", ' ', 0, Sens08},
    {"SENS09", 'B', 1, Sens09},
    {"SENS10", 'B', 1, Sens10},
    {"SENS11", 'C', 1, Sens11},
    {"SENS12", ' ', 0, Sens12},
    {"SENS13", 'F', 1, Sens13},
    {"SENS14", 'F', 1, Sens14},
    {"SENS15", '%', 1, Sens15},
}};

} // namespace

std::int16_t ThermistorTenths(std::uint16_t raw)
{
    const int x = 1023 - int{raw};
    if (x < 40 || x > 972)
        return NoValueMarker;
    return static_cast<std::int16_t>(Thermistor[static_cast<std::size_t>(x >> 2)] + (x & 3));
}

const TSensorType* SensorType(int index)
{
    if (index < 0 || index >= SensorTypeCount)
        return nullptr;
    return &Types[static_cast<std::size_t>(index)];
}

} // namespace Quorvel1
