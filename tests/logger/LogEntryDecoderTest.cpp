// The entry code: the examples of the code's definition decoded, the code
// lengths, the wrap at the ring's end and the codes no logger can write.
#include "LogBits.h"

#include "logger/LogEntryDecoder.h"

#include <gtest/gtest.h>

using namespace Quorvel1;
using LogTest::RingBits;

namespace {

// Decodes one code from a ring holding `bits` from bit 0 on.
std::optional<uint16_t> DecodeBits(std::initializer_list<int> bits, TLogBitPosition* after = nullptr)
{
    RingBits ring(8);
    ring.Put(bits);
    TLogBitPosition position;
    const auto change = DecodeLogCode(ring.bytes, position);
    if (after)
        *after = position;
    return change;
}

} // namespace

TEST(LogEntryCode, ZeroBitIsNoChangeOneBitLong)
{
    TLogBitPosition after;
    EXPECT_EQ(DecodeBits({0, 1, 1, 1}, &after), 0);
    EXPECT_EQ(after, (TLogBitPosition{0, 1}));
}

TEST(LogEntryCode, OneZeroZeroZeroIsPlusOne)
{
    TLogBitPosition after;
    EXPECT_EQ(DecodeBits({1, 0, 0, 0}, &after), 1);
    EXPECT_EQ(after, (TLogBitPosition{0, 4}));
}

TEST(LogEntryCode, OneZeroOneOneIsMinusTwo)
{
    EXPECT_EQ(DecodeBits({1, 0, 1, 1}), uint16_t(-2));
}

TEST(LogEntryCode, SevenBitCodeGivesPlusEight)
{
    TLogBitPosition after;
    EXPECT_EQ(DecodeBits({1, 1, 0, 0, 1, 0, 1}, &after), 8);
    EXPECT_EQ(after, (TLogBitPosition{0, 7}));
}

TEST(LogEntryCode, FourOnesWithZeroValueGivePlus139In21Bits)
{
    RingBits ring(8);
    ring.Put({1, 1, 1, 1, 0, 0}).PutZeros(15);
    TLogBitPosition position;
    EXPECT_EQ(DecodeLogCode(ring.bytes, position), 139);
    EXPECT_EQ(position, (TLogBitPosition{2, 5}));
}

TEST(LogEntryCode, TwelveBitCodeCarriesSevenValueBits)
{
    // 111 0, sign 1, m = 127 (seven 1-bits): -(11 + 127)
    EXPECT_EQ(DecodeBits({1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1}), uint16_t(-138));
}

TEST(LogEntryCode, LargestMagnitudeWrapsTo16Bits)
{
    // +(139 + 32767) = 32906, which is 0x808A as a 16-bit value.
    RingBits ring(8);
    ring.Put({1, 1, 1, 1, 0, 0});
    for (int i = 0; i < 15; ++i)
        ring.PutBit(1);
    TLogBitPosition position;
    EXPECT_EQ(DecodeLogCode(ring.bytes, position), 0x808A);
}

TEST(LogEntryCode, FifthLeadingOneBitIsCorrupt)
{
    RingBits ring(8);
    ring.Put({1, 1, 1, 1, 1, 0, 0}).PutZeros(20);
    TLogBitPosition position{0, 0};
    EXPECT_EQ(DecodeLogCode(ring.bytes, position), std::nullopt);
    EXPECT_EQ(position, (TLogBitPosition{0, 0}));
}

TEST(LogEntryCode, AllOnesBufferIsCorruptNotArithmetic)
{
    const std::vector<uint8_t> ring(4, 0xFF);
    for (uint8_t bit = 0; bit < 8; ++bit) {
        TLogBitPosition position{1, bit};
        EXPECT_EQ(DecodeLogCode(ring, position), std::nullopt) << int(bit);
    }
}

TEST(LogEntryCode, CodeRunningPastTheLastByteContinuesAtByteZero)
{
    // A 12-bit code starting at bit 6 of the last byte of a 3-byte ring.
    RingBits ring(3, 2 * 8 + 6);
    ring.Put({1, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0}); // +(11 + 1)
    TLogBitPosition position{2, 6};
    EXPECT_EQ(DecodeLogCode(ring.bytes, position), 12);
    EXPECT_EQ(position, (TLogBitPosition{1, 2}));
}

TEST(LogEntryCode, PositionOutsideTheRingIsCorrupt)
{
    const std::vector<uint8_t> ring(4, 0);
    TLogBitPosition beyond{4, 0};
    EXPECT_EQ(DecodeLogCode(ring, beyond), std::nullopt);
    TLogBitPosition badBit{0, 8};
    EXPECT_EQ(DecodeLogCode(ring, badBit), std::nullopt);
    TLogBitPosition none{0, 0};
    EXPECT_EQ(DecodeLogCode({}, none), std::nullopt);
}
