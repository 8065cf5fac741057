// The logger memory model without a link: the device list from the
// configuration, configuration access, and the log check over the ring.
#include "LogBits.h"

#include "logger/Log1.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Quorvel1;
using LogTest::RingBits;

namespace {

// A model with the configuration block at EE 0x0400..0x040F+extra.
std::unique_ptr<TLog1> ModelWithConfig(std::vector<uint8_t> config, uint16_t loggedDevices)
{
    auto log = std::make_unique<TLog1>();
    log->Header.ConfigStart = 0x0400;
    log->Header.ConfigEnd = uint16_t(0x0400 + config.size() - 1);
    std::copy(config.begin(), config.end(), log->ConfigImage.begin());
    log->LoggedDevices = loggedDevices;
    return log;
}

// Counts 2, 0, 1, 0, 1; sensors 0x05 and an empty entry, output 0x12, ASM
// 0x0021; then the two sensor type bytes.
std::vector<uint8_t> ExampleConfig()
{
    return {0x84, 0x03, 7, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 1, 0x05, 0xFF, 0x12, 0x21, 0x00, 2, 2, 0};
}

// A model over `ring` with two devices whose newest values are `last`.
std::unique_ptr<TLog1> ModelWithRing(const std::vector<uint8_t>& ring, uint16_t entries,
                                     TLogBitPosition start, TLogBitPosition end,
                                     std::vector<uint16_t> last = {0, 0})
{
    auto log = std::make_unique<TLog1>();
    log->LoggedDevices = uint16_t(last.size());
    log->BufferLength = int(ring.size());
    log->Control.BufferSize = uint16_t(ring.size());
    std::copy(ring.begin(), ring.end(), log->DataArea.begin());
    log->Status.Entries = entries;
    log->Control.StartPosition = start.Byte;
    log->Control.StartBit = start.Bit;
    log->Control.EndPosition = end.Byte;
    log->Control.EndBit = end.Bit;
    for (std::size_t i = 0; i < last.size(); ++i)
        log->SetLastValue(int(i), last[i]);
    return log;
}

// Two entries of two devices from byte 3 of a 4-byte ring: (+1, -2), then
// (0, +8). 16 bits, ending at byte 1, bit 0, after wrapping.
RingBits WrappingEntries()
{
    RingBits ring(4, 3 * 8);
    ring.Put({1, 0, 0, 0}).Put({1, 0, 1, 1});
    ring.Put({0}).Put({1, 1, 0, 0, 1, 0, 1});
    return ring;
}

} // namespace

TEST(LogDeviceList, FollowsTheGroupOrderAndSkipsEmptyEntries)
{
    auto log = ModelWithConfig(ExampleConfig(), 3);
    log->BuildDeviceList(true);
    EXPECT_EQ(log->GetDevice(0), TDeviceKey(DevSensor, 0x05));
    EXPECT_EQ(log->GetDevice(1), TDeviceKey(DevVariableOutput, 0x12));
    EXPECT_EQ(log->GetDevice(2), TDeviceKey(DevAsm, 0x0021));
    EXPECT_EQ(log->GetDevice(3), TDeviceKey());
}

TEST(LogDeviceList, KeysBeyondTheLoggedDeviceCountAreLeftOut)
{
    auto log = ModelWithConfig(ExampleConfig(), 2);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevVariableOutput, 0x12)), 1);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevAsm, 0x0021)), -1);
    EXPECT_EQ(log->GetDevice(2), TDeviceKey());
}

TEST(LogDeviceList, AsmEntryWithUnitZeroIsEmpty)
{
    std::vector<uint8_t> config = ExampleConfig();
    config[18] = 0x40; // ASM 0x0040: airspace 2, unit 0
    auto log = ModelWithConfig(config, 3);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevAsm, 0x0040)), -1);
    EXPECT_EQ(log->GetDevice(2), TDeviceKey());
}

TEST(LogDeviceList, FindDeviceComparesAllFourKeyBytes)
{
    auto log = ModelWithConfig(ExampleConfig(), 3);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x05)), 0);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevTripInput, 0x05)), -1);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x0105)), -1);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevAsm, 0x0021)), 2);
}

TEST(LogDeviceList, IsReusedUntilRebuilt)
{
    auto log = ModelWithConfig(ExampleConfig(), 3);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x05)), 0);
    log->ConfigImage[15] = 0x06;
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x05)), 0);
    log->BuildDeviceList(true);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x06)), 0);
}

TEST(LogDeviceList, ListsCutByTheBlockEndStopThere)
{
    // Counts promise two ASMs, but the block ends after the first.
    const std::vector<uint8_t> config = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0x21, 0x00};
    auto log = ModelWithConfig(config, 2);
    EXPECT_EQ(log->GetDevice(0), TDeviceKey(DevAsm, 0x0021));
    EXPECT_EQ(log->GetDevice(1), TDeviceKey());
}

TEST(LogConfigAccess, LastByteOfTheBlockIsNeverWritten)
{
    auto log = ModelWithConfig(std::vector<uint8_t>(16, 0), 0);
    EXPECT_TRUE(log->SetConfigByte(14, 0xAB));
    EXPECT_FALSE(log->SetConfigByte(15, 0xCD));
    EXPECT_FALSE(log->SetConfigByte(-1, 0xCD));
    EXPECT_EQ(log->ConfigByte(14), 0xAB);
    EXPECT_EQ(log->ConfigByte(15), 0);
}

TEST(LogConfigAccess, WordWithRefusedHighByteKeepsItsLowByte)
{
    auto log = ModelWithConfig(std::vector<uint8_t>(16, 0), 0);
    EXPECT_TRUE(log->SetConfigWord(0, 0x0384));
    EXPECT_EQ(log->ConfigWord(0), 0x0384);
    EXPECT_FALSE(log->SetConfigWord(14, 0xBEEF));
    EXPECT_EQ(log->ConfigByte(14), 0xEF);
    EXPECT_EQ(log->ConfigByte(15), 0);
}

TEST(LogCheck, EntriesWrappingPastTheLastByteAreChecked)
{
    const RingBits ring = WrappingEntries();
    auto log = ModelWithRing(ring.bytes, 2, {3, 0}, {1, 0}, {101, 206});
    std::vector<uint16_t> sums(2);
    EXPECT_TRUE(log->CheckLog(sums));
    // The values before the oldest entry: 101 - 1 and 206 - (-2 + 8).
    EXPECT_EQ(sums, (std::vector<uint16_t>{100, 200}));
    EXPECT_EQ(log->Decoder, (TLogBitPosition{3, 0}));
}

TEST(LogCheck, LogEndingOneBitShortOfTheEndPositionFails)
{
    const RingBits ring = WrappingEntries();
    auto log = ModelWithRing(ring.bytes, 2, {3, 0}, {1, 1});
    std::vector<uint16_t> sums(2);
    EXPECT_FALSE(log->CheckLog(sums));
    EXPECT_EQ(log->Decoder, (TLogBitPosition{3, 0}));
}

TEST(LogCheck, WrongEntryCountFails)
{
    const RingBits ring = WrappingEntries();
    std::vector<uint16_t> sums(2);
    EXPECT_FALSE(ModelWithRing(ring.bytes, 1, {3, 0}, {1, 0})->CheckLog(sums));
    EXPECT_FALSE(ModelWithRing(ring.bytes, 3, {3, 0}, {1, 0})->CheckLog(sums));
}

// Two devices' no-change codes, a bit each, in a 2-byte ring: 8 entries fill
// it once and end where they began; 16 would go round it twice.
TEST(LogCheck, EntriesGoingRoundTheRingMoreThanOnceFail)
{
    const std::vector<uint8_t> ring(2, 0);
    EXPECT_TRUE(ModelWithRing(ring, 8, {1, 3}, {1, 3})->CheckLog({}));
    EXPECT_FALSE(ModelWithRing(ring, 16, {1, 3}, {1, 3})->CheckLog({}));
}

TEST(LogCheck, CorruptCodeFailsTheCheck)
{
    const std::vector<uint8_t> ring(16, 0xFF);
    std::vector<uint16_t> sums(2);
    EXPECT_FALSE(ModelWithRing(ring, 1, {0, 0}, {2, 5})->CheckLog(sums));
}

TEST(LogCheck, ControlPositionsOutsideTheRingFail)
{
    const std::vector<uint8_t> ring(16, 0);
    std::vector<uint16_t> sums(2);
    EXPECT_FALSE(ModelWithRing(ring, 0, {16, 0}, {16, 0})->CheckLog(sums));
    EXPECT_FALSE(ModelWithRing(ring, 0, {0, 8}, {0, 8})->CheckLog(sums));
    EXPECT_TRUE(ModelWithRing(ring, 0, {5, 3}, {5, 3})->CheckLog(sums));
}

TEST(LogCheck, ChecksWithoutSumsToo)
{
    const RingBits ring = WrappingEntries();
    EXPECT_TRUE(ModelWithRing(ring.bytes, 2, {3, 0}, {1, 0})->CheckLog({}));
    EXPECT_FALSE(ModelWithRing(ring.bytes, 2, {3, 0}, {1, 1})->CheckLog({}));
}

TEST(LogTimes, StartTimeIsOneIntervalPerEntryBeforeTheNewest)
{
    TLog1 log;
    log.NewestEntryPCTime = 100000;
    log.NewestEntryLoggerTime = 90000;
    log.Status.Interval = 900;
    log.Status.Entries = 3;
    EXPECT_EQ(log.StartTime(true), 97300u);
    EXPECT_EQ(log.StartTime(false), 87300u);
}

TEST(LogModel, ClearForgetsTheDevicesAndEntries)
{
    auto log = ModelWithConfig(ExampleConfig(), 3);
    log->TotalDeviceCount = 3;
    log->Status.Entries = 9;
    log->ReservedHeader[0] = 0x55;
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x05)), 0);
    log->Clear();
    EXPECT_EQ(log->DeviceCount(), 0);
    EXPECT_EQ(log->TotalDeviceCount, 0);
    EXPECT_EQ(log->Status.Entries, 0);
    EXPECT_EQ(log->ReservedHeader[0], 0);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x05)), -1);
}
