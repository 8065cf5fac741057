#pragma once
// Sensor types: the converters that turn a raw reading (mostly a 10-bit
// analogue count) into a fixed-point value of the type's units and decimals.
#include <cstdint>

namespace Quorvel1 {

// The value of a reading that is out of its converter's range.
constexpr std::int16_t NoValueMarker = -32767; // 0x8001
// ASM values use the other end of the range.
constexpr std::int16_t AsmNoValueMarker = 0x7FFF;

using TConverter = std::int16_t (*)(std::uint16_t raw);

struct TSensorType {
    const char* Name;
    char Units;
    int Decimals;
    TConverter Converter;
};

constexpr int SensorTypeCount = 16;
constexpr int TripInputType = 8; // SENS08: the raw reading is a trip state

// The row of type `index`, or null outside 0..15.
const TSensorType* SensorType(int index);

// a x b / c rounded to nearest on signed 16-bit operands: the 32-bit product
// divided truncating toward zero, plus twice the remainder divided the same
// way, kept to 16 bits. A zero divisor gives NoValueMarker.
std::int16_t RoundedProductQuotient(std::int16_t a, std::int16_t b, std::int16_t c);

// Thermistor table, tenths of a degree C for x = 1023 - raw in steps of 4;
// NoValueMarker outside x = 40..972.
std::int16_t ThermistorTenths(std::uint16_t raw);

} // namespace Quorvel1
