// The simulator's entry encoder against the model's decoder: code lengths at
// every class boundary, and random logs of every code length written round a
// ring and checked by the log check.
#include "logger/Log1.h"

#include "SimLogEncoder.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>

using namespace Quorvel1;
using SiteSim::EncodeLogChange;

namespace {

uint16_t Change(int value)
{
    return uint16_t(value);
}

// A change of a random size class: 0, 1..2, 3..10, 11..138 or 139..32768.
uint16_t RandomChange(std::mt19937& random)
{
    static const int lows[] = {0, 1, 3, 11, 139};
    static const int highs[] = {0, 2, 10, 138, 32768};
    const int size = int(random() % 5);
    const int magnitude = lows[size] + int(random() % unsigned(highs[size] - lows[size] + 1));
    return Change(random() % 2 ? magnitude : -magnitude);
}

} // namespace

TEST(LogCodeLength, EachSizeClassHasItsLength)
{
    const std::pair<int, unsigned> cases[] = {
        {0, 1},    {1, 4},     {-2, 4},     {3, 7},       {-10, 7},      {11, 12},
        {-138, 12}, {139, 21}, {-139, 21},  {32767, 21},  {-32768, 21},
    };
    for (const auto& [change, length] : cases)
        EXPECT_EQ(EncodeLogChange(Change(change)).Length, length) << change;
}

TEST(LogCodeLength, ChangeOf0x8000HasTheLargestValueField)
{
    const SiteSim::SimLogCode code = EncodeLogChange(0x8000);
    ASSERT_EQ(code.Length, 21u);
    EXPECT_EQ(code.Bits & 0x1F, 0x0Fu);               // 1111 0
    EXPECT_EQ((code.Bits >> 6) & 0x7FFF, 32629u);      // 32768 - 139
}

TEST(LogCodeRoundTrip, EverySixteenBitChangeDecodesToItself)
{
    std::vector<uint8_t> ring(8);
    for (uint32_t change = 0; change <= 0xFFFF; ++change) {
        SiteSim::SimRingPosition write{0, uint8_t(change % 8)};
        SiteSim::WriteLogCode(ring, write, EncodeLogChange(uint16_t(change)));
        TLogBitPosition read{0, uint8_t(change % 8)};
        ASSERT_EQ(DecodeLogCode(ring, read), uint16_t(change));
        ASSERT_EQ(read.Byte, write.Byte);
        ASSERT_EQ(read.Bit, write.Bit);
    }
}

TEST(LogCodeRoundTrip, RandomLogsRoundAWrappingRingPassTheCheck)
{
    std::mt19937 random(20240613);
    constexpr int Devices = 7;
    constexpr uint16_t RingSize = 509; // odd, so entries end at every bit
    std::set<unsigned> lengths;
    for (int run = 0; run < 20; ++run) {
        auto log = std::make_unique<TLog1>();
        log->LoggedDevices = Devices;
        log->BufferLength = RingSize;
        const SiteSim::SimRingPosition start{uint16_t(random() % RingSize), uint8_t(random() % 8)};
        SiteSim::SimRingPosition at = start;
        std::vector<uint16_t> base(Devices), values(Devices);
        for (auto& v : base)
            v = uint16_t(random());
        values = base;
        const int entries = 40 + int(random() % 20);
        for (int e = 0; e < entries; ++e) {
            for (int d = 0; d < Devices; ++d) {
                const uint16_t change = RandomChange(random);
                const SiteSim::SimLogCode code = EncodeLogChange(change);
                lengths.insert(code.Length);
                SiteSim::WriteLogCode(log->BufferImage(), at, code);
                values[std::size_t(d)] = uint16_t(values[std::size_t(d)] + change);
            }
        }
        log->Status.Entries = uint16_t(entries);
        log->Control.StartPosition = start.Byte;
        log->Control.StartBit = start.Bit;
        log->Control.EndPosition = at.Byte;
        log->Control.EndBit = at.Bit;
        for (int d = 0; d < Devices; ++d)
            log->SetLastValue(d, values[std::size_t(d)]);
        std::vector<uint16_t> sums(Devices);
        ASSERT_TRUE(log->CheckLog(sums)) << "run " << run;
        EXPECT_EQ(sums, base);
    }
    EXPECT_EQ(lengths, (std::set<unsigned>{1, 4, 7, 12, 21}));
}
