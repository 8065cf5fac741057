#pragma once
// The logger's entry code, from the device side: the change of a device's
// 16-bit value since the previous entry, as the bits the logger packs into
// its ring buffer (bit 0 upwards, bytes in increasing order, wrapping).
//
//   |change| 0          "0"                              1 bit
//   |change| 1..2       "1 0"    sign, m (1 bit)          4 bits
//   |change| 3..10      "11 0"   sign, m (3 bits)         7 bits
//   |change| 11..138    "111 0"  sign, m (7 bits)        12 bits
//   |change| 139..32906 "1111 0" sign, m (15 bits)       21 bits
//
// m = |change| - base (1, 3, 11, 139), least significant bit first; the sign
// is 1 for a negative change. Every 16-bit change fits: 0x8000 is -32768.
#include <cstddef>
#include <cstdint>
#include <span>

namespace SiteSim {

struct SimLogCode {
    uint32_t Bits = 0; // the code's bits, first bit in bit 0
    unsigned Length = 0;
};

SimLogCode EncodeLogChange(uint16_t change);

// A bit position in a ring of bytes.
struct SimRingPosition {
    uint16_t Byte = 0;
    uint8_t Bit = 0;

    friend bool operator==(const SimRingPosition&, const SimRingPosition&) = default;
};

// Writes the code's bits at `position`, setting or clearing each one and
// leaving the other bits of the bytes it touches alone, and moves
// `position` past it. The ring must not be empty.
void WriteLogCode(std::span<uint8_t> ring, SimRingPosition& position, const SimLogCode& code);

// Bits from `from` to `to` going forward round a ring of `ringBytes` bytes.
uint32_t RingBitsBetween(const SimRingPosition& from, const SimRingPosition& to, std::size_t ringBytes);

// `position` moved forward by `bits` round a ring of `ringBytes` bytes.
SimRingPosition RingAdvance(const SimRingPosition& position, uint32_t bits, std::size_t ringBytes);

} // namespace SiteSim
