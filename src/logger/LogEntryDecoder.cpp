#include "logger/LogEntryDecoder.h"

namespace Quorvel1 {

namespace {

// The four ring bytes from `position` as a little-endian word, wrapping at
// the ring's end, shifted down to the position's bit. Bit 31 is cleared
// first: the longest code (21 bits) from bit 7 ends at bit 27.
std::uint32_t BitsAt(std::span<const std::uint8_t> ring, const TLogBitPosition& position)
{
    std::uint32_t word = 0;
    std::size_t index = position.Byte;
    for (int i = 0; i < 4; ++i) {
        word |= std::uint32_t(ring[index]) << (8 * i);
        index = index + 1 == ring.size() ? 0 : index + 1;
    }
    return (word & 0x7FFFFFFFu) >> position.Bit;
}

void Advance(TLogBitPosition& position, unsigned bits, std::size_t ringSize)
{
    unsigned bit = position.Bit + bits;
    while (bit >= 8) {
        position.Byte = std::uint16_t(position.Byte + 1u == ringSize ? 0 : position.Byte + 1u);
        bit -= 8;
    }
    position.Bit = std::uint8_t(bit);
}

} // namespace

std::optional<std::uint16_t> DecodeLogCode(std::span<const std::uint8_t> ring, TLogBitPosition& position)
{
    if (position.Byte >= ring.size() || position.Bit > 7)
        return std::nullopt;
    std::uint32_t bits = BitsAt(ring, position);
    std::uint32_t base = 0;
    unsigned width = 0;
    unsigned consumed = 0;
    while (bits & 1) {
        if (consumed == LogCodeMaxPrefix)
            return std::nullopt;
        base += 1u << width;
        width = 2 * width + 1;
        ++consumed;
        bits >>= 1;
    }
    bits >>= 1; // the prefix's terminating 0-bit
    ++consumed;
    std::uint16_t change = 0;
    if (width > 0) {
        const bool negative = bits & 1;
        bits >>= 1;
        const std::uint32_t magnitude = base + (bits & ((1u << width) - 1));
        change = std::uint16_t(negative ? 0u - magnitude : magnitude);
        consumed += 1 + width;
    }
    Advance(position, consumed, ring.size());
    return change;
}

} // namespace Quorvel1
