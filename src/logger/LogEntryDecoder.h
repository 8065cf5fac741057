#pragma once
// The log buffer's entry code: the change of one device's 16-bit value since
// the previous entry, bit-packed from bit 0 upwards, bytes in increasing
// order, wrapping at the end of the ring.
//
//   k 1-bits, then a 0-bit (k = 0..4); k = 0: no change (1 bit).
//   k = 1..4: a sign bit (1 = negative) and n = 2^k - 1 bits of m, least
//   significant first; the change is +/-(base + m), base 1, 3, 11, 139.
//
// A code with a fifth leading 1-bit cannot come from a logger: it is corrupt
// data, and the decoder says so instead of computing with it.
#include <cstdint>
#include <optional>
#include <span>

namespace Quorvel1 {

struct TLogBitPosition {
    std::uint16_t Byte = 0;
    std::uint8_t Bit = 0;

    friend bool operator==(const TLogBitPosition&, const TLogBitPosition&) = default;
};

constexpr int LogCodeMaxPrefix = 4;

// Decodes the code at `position` in `ring` and moves `position` past it.
// Nothing, and `position` unchanged, when the code is corrupt or the position
// lies outside the ring.
std::optional<std::uint16_t> DecodeLogCode(std::span<const std::uint8_t> ring, TLogBitPosition& position);

} // namespace Quorvel1
