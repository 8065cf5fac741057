#include "SimLogEncoder.h"

namespace SiteSim {

namespace {

struct CodeClass {
    unsigned Prefix; // leading 1-bits
    unsigned Width;  // bits of m
    uint32_t Base;
};

constexpr CodeClass Classes[] = {{1, 1, 1}, {2, 3, 3}, {3, 7, 11}, {4, 15, 139}};

} // namespace

SimLogCode EncodeLogChange(uint16_t change)
{
    if (change == 0)
        return {0, 1};
    const bool negative = change & 0x8000;
    const uint32_t magnitude = negative ? 0x10000u - change : change;
    for (const CodeClass& c : Classes) {
        if (magnitude >= c.Base + (1u << c.Width))
            continue;
        uint32_t bits = (1u << c.Prefix) - 1; // the prefix; its 0-bit follows
        unsigned at = c.Prefix + 1;
        bits |= uint32_t(negative) << at++;
        bits |= (magnitude - c.Base) << at;
        return {bits, at + c.Width};
    }
    return {}; // not reached: 32768, the largest magnitude, is below 139 + 32768
}

uint32_t RingBitsBetween(const SimRingPosition& from, const SimRingPosition& to, std::size_t ringBytes)
{
    const int64_t ringBits = int64_t(ringBytes) * 8;
    const int64_t a = int64_t(from.Byte) * 8 + from.Bit;
    const int64_t b = int64_t(to.Byte) * 8 + to.Bit;
    return uint32_t(((b - a) % ringBits + ringBits) % ringBits);
}

SimRingPosition RingAdvance(const SimRingPosition& position, uint32_t bits, std::size_t ringBytes)
{
    const uint64_t ringBits = uint64_t(ringBytes) * 8;
    const uint64_t at = (uint64_t(position.Byte) * 8 + position.Bit + bits) % ringBits;
    return {uint16_t(at / 8), uint8_t(at % 8)};
}

void WriteLogCode(std::span<uint8_t> ring, SimRingPosition& position, const SimLogCode& code)
{
    SimRingPosition at = position;
    for (unsigned i = 0; i < code.Length; ++i) {
        const auto mask = uint8_t(1u << at.Bit);
        if ((code.Bits >> i) & 1)
            ring[at.Byte] |= mask;
        else
            ring[at.Byte] &= uint8_t(~mask);
        at = RingAdvance(at, 1, ring.size());
    }
    position = at;
}

} // namespace SiteSim
