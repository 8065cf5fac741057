// The simulator's data logger driven in-process: its blocks as the program's
// logger model reads them, entries on the local-clock grid, the full ring,
// the commands and the fast clock. The model's own log check is the judge of
// every ring the simulator writes.
#include "SimLogger.h"
#include "SimLoggerSettings.h"

#include "logger/Log1.h"
#include "logger/LogTime.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace SiteSim;
using Quorvel1::TLog1;
using Quorvel1::TDeviceKey;
using namespace std::chrono_literals;

namespace {

constexpr uint16_t Header = 0x3100;
// 2023-09-13 10:00:20 local: 20 s into a 900 s interval, 40 s before the
// next grid point (60 s after a multiple of the interval).
constexpr uint32_t TenOhOhTwenty = Quorvel1::LoggerDateToStamp({45180, 10, 0, 20});

std::vector<uint8_t> Read(const SimMemory& memory, SimMemory::Space space, uint16_t address, std::size_t length)
{
    std::vector<uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = memory.Byte(space, uint16_t(address + i));
    return bytes;
}

// The program's model of the logger, filled from the simulator's memory the
// way the program reads it.
std::unique_ptr<TLog1> Model(const SimMemory& memory)
{
    auto log = std::make_unique<TLog1>();
    log->Header = *Quorvel1::TLogHeader::Parse(Read(memory, Ram, Header, 12));
    log->Status = *Quorvel1::TLogStatus::Parse(Read(memory, Ram, log->Header.StatusAddress, 32));
    log->Control = *Quorvel1::TLogControl::Parse(Read(memory, Ram, log->Header.ControlAddress, 12));
    const auto config = Read(memory, Ee, log->Header.ConfigStart, std::size_t(log->Header.ConfigSize()));
    std::copy(config.begin(), config.end(), log->ConfigImage.begin());
    for (uint8_t count : log->Status.Counts)
        log->LoggedDevices = uint16_t(log->LoggedDevices + count);
    log->BufferLength = log->Control.BufferSize;
    const auto ring = Read(memory, Ram, log->Control.BufferAddress, log->Control.BufferSize);
    std::copy(ring.begin(), ring.end(), log->DataArea.begin());
    for (int i = 0; i < log->LoggedDevices; ++i)
        log->SetLastValue(i, memory.Word(Ram, uint16_t(log->Status.LastValuesAddress + 2 * i)));
    return log;
}

bool ModelChecksLog(const SimMemory& memory)
{
    auto log = Model(memory);
    std::vector<uint16_t> sums(log->LoggedDevices);
    return log->CheckLog(sums);
}

class SimLoggerTest : public ::testing::Test {
protected:
    SimLogger& Start(const SimLoggerSettings& settings, uint32_t clock = TenOhOhTwenty)
    {
        logger = std::make_unique<SimLogger>(*memory, settings, Header, now, clock);
        return *logger;
    }
    void Pass(std::chrono::milliseconds time)
    {
        now += time;
        logger->Advance(now);
    }
    // Writes the command block as the program does and lets the logger see it.
    void Command(uint8_t code, std::vector<uint8_t> dateOrParameter = {})
    {
        const uint16_t at = logger->CommandAddress();
        for (std::size_t i = 0; i < dateOrParameter.size(); ++i)
            memory->SetByte(Ram, uint16_t(at + (dateOrParameter.size() == 1 ? 4 : i)), dateOrParameter[i]);
        memory->SetByte(Ram, uint16_t(at + 5), code);
        logger->OnWrite(Ram, at, 6, now);
    }
    uint16_t StatusWord(int offset) const { return memory->Word(Ram, uint16_t(logger->StatusAddress() + offset)); }

    std::unique_ptr<SimMemory> memory = std::make_unique<SimMemory>();
    std::unique_ptr<SimLogger> logger;
    SimLogger::TimePoint now{};
};

SimLoggerSettings Fast(uint32_t ms = 100)
{
    SimLoggerSettings settings;
    settings.FastMs = ms;
    return settings;
}

} // namespace

TEST_F(SimLoggerTest, HeaderPointsAtTheBlocksAndTheConfiguration)
{
    Start({});
    EXPECT_EQ(memory->Word(Ram, Header), 0x0100);
    EXPECT_EQ(memory->Word(Ram, Header + 2), SimLogger::ConfigStart);
    EXPECT_EQ(memory->Word(Ram, Header + 4), SimLogger::ConfigStart + 1023);
    EXPECT_EQ(memory->Word(Ram, Header + 6), Header + 0x10);
    EXPECT_EQ(memory->Word(Ram, Header + 8), Header + 0x30);
    EXPECT_EQ(memory->Word(Ram, Header + 10), Header + 0x40);
    // Buffer 16384 bytes at the top of RAM.
    EXPECT_EQ(memory->Word(Ram, Header + 0x30), 0xC000);
    EXPECT_EQ(memory->Word(Ram, Header + 0x32), 16384);
}

TEST_F(SimLoggerTest, DevicesFollowTheProgramsGroupOrder)
{
    SimLoggerSettings settings;
    settings.Devices = {{SimDevAsm, 0x0221, 0}, {SimDevOnOff, 0x0A, 0}, {SimDevSensor, 0x61, 5},
                        {SimDevTrip, 0x63, 8},  {SimDevOutput, 0x09, 0}, {SimDevSensor, 0x62, 2}};
    Start(settings);
    // Configuration: counts 2 1 1 1 1, lists in group order, then sensor types.
    const auto config = Read(*memory, Ee, SimLogger::ConfigStart, 25);
    EXPECT_EQ(std::vector<uint8_t>(config.begin() + 10, config.end()),
              (std::vector<uint8_t>{2, 1, 1, 1, 1, 0x61, 0x62, 0x63, 0x09, 0x0A, 0x21, 0x02, 5, 2, 0}));
    auto model = Model(*memory);
    EXPECT_EQ(model->LoggedDevices, 6);
    EXPECT_EQ(model->GetDevice(0), TDeviceKey(0x20, 0x61));
    EXPECT_EQ(model->GetDevice(2), TDeviceKey(0x21, 0x63));
    EXPECT_EQ(model->GetDevice(5), TDeviceKey(0x30, 0x0221));
}

TEST_F(SimLoggerTest, EmptyListEntriesAreNotLoggedOrCounted)
{
    SimLoggerSettings settings = Fast();
    settings.Devices = {{SimDevSensor, 0x61, 2}, {SimDevSensor, 0xFF, 2}, {SimDevAsm, 0x0040, 0},
                        {SimDevAsm, 0x0221, 0}};
    Start(settings);
    const uint16_t status = logger->StatusAddress();
    EXPECT_EQ(Read(*memory, Ram, uint16_t(status + 22), 5), (std::vector<uint8_t>{1, 0, 0, 0, 1}));
    Pass(1000ms);
    auto model = Model(*memory);
    EXPECT_EQ(model->GetDevice(1), TDeviceKey(0x30, 0x0221));
    EXPECT_TRUE(ModelChecksLog(*memory));
}

TEST_F(SimLoggerTest, TimerPutsTheNextEntrySixtySecondsAfterAGridPoint)
{
    Start({});
    EXPECT_EQ(logger->Timer(), 860);
    EXPECT_EQ(StatusWord(4), 860);
    Pass(39s);
    EXPECT_EQ(logger->Entries(), 0);
    Pass(1s);
    EXPECT_EQ(logger->Entries(), 1);
    EXPECT_EQ(StatusWord(4), 0);
    EXPECT_EQ(logger->NewestEntryTime(), TenOhOhTwenty + 40);
}

TEST_F(SimLoggerTest, FastTimeMakesOneIntervalEveryGivenMilliseconds)
{
    Start(Fast(100));
    Pass(100ms);
    EXPECT_EQ(logger->Entries(), 1);
    EXPECT_EQ(logger->Clock(), TenOhOhTwenty + 900);
    Pass(250ms); // 2250 s more: entries at 940, 1840 and 2740 s
    EXPECT_EQ(logger->Entries(), 4);
    EXPECT_EQ(StatusWord(8), 4);
    EXPECT_EQ(StatusWord(10), 4);
    EXPECT_TRUE(ModelChecksLog(*memory));
}

TEST_F(SimLoggerTest, PrefilledEntriesEndOnTheGridPointBeforeNow)
{
    SimLoggerSettings settings;
    settings.Prefill = 200;
    Start(settings);
    EXPECT_EQ(logger->Entries(), 200);
    EXPECT_EQ(logger->Timer(), 860);
    // The logging start is 200 intervals before the newest entry.
    const uint32_t start = TenOhOhTwenty - 860 - 200 * 900;
    const Quorvel1::TLoggerDate date = Quorvel1::StampToLoggerDate(start);
    EXPECT_EQ(StatusWord(16), date.Day);
    EXPECT_EQ(memory->Byte(Ram, uint16_t(logger->StatusAddress() + 18)), date.Hour);
    EXPECT_TRUE(ModelChecksLog(*memory));
}

TEST_F(SimLoggerTest, WanderingValuesUseEveryCodeLength)
{
    SimLoggerSettings settings;
    settings.Prefill = 300;
    Start(settings);
    auto model = Model(*memory);
    Quorvel1::TLogBitPosition at{model->Control.StartPosition, model->Control.StartBit};
    std::set<unsigned> lengths;
    for (int code = 0; code < 300 * model->LoggedDevices; ++code) {
        const Quorvel1::TLogBitPosition before = at;
        ASSERT_TRUE(Quorvel1::DecodeLogCode(model->BufferImage(), at));
        lengths.insert(unsigned((at.Byte * 8 + at.Bit) - (before.Byte * 8 + before.Bit)));
    }
    EXPECT_EQ(lengths, (std::set<unsigned>{1, 4, 7, 12, 21}));
}

TEST_F(SimLoggerTest, FullRingDropsTheOldestWholeEntries)
{
    SimLoggerSettings settings = Fast(10);
    settings.BufferSize = 64;
    Start(settings);
    Pass(2000ms); // 200 entries into a ring that holds a few dozen
    EXPECT_LT(logger->Entries(), 200);
    EXPECT_GT(logger->Entries(), 5);
    EXPECT_EQ(logger->NewEntries(), logger->Entries());
    EXPECT_NE(logger->Start(), (SimRingPosition{0, 0}));
    EXPECT_TRUE(ModelChecksLog(*memory));
    // At least a byte stays free between the newest entry and the oldest.
    EXPECT_GE(RingBitsBetween(logger->End(), logger->Start(), 64), 8u);
}

TEST_F(SimLoggerTest, StopWhenFullKeepsTheOldEntriesAndLetsTheTimerRun)
{
    SimLoggerSettings settings = Fast(10);
    settings.BufferSize = 64;
    settings.StopWhenFull = true;
    Start(settings);
    Pass(2000ms);
    const uint16_t entries = logger->Entries();
    EXPECT_EQ(logger->Start(), (SimRingPosition{0, 0}));
    EXPECT_GT(logger->Timer(), 900);
    Pass(500ms);
    EXPECT_EQ(logger->Entries(), entries);
    EXPECT_EQ(memory->Byte(Ee, SimLogger::ConfigStart + 9) & 1, 1);
    EXPECT_TRUE(ModelChecksLog(*memory));
}

TEST_F(SimLoggerTest, ReportsItsClockBeforeClearingTheCommandByte)
{
    Start({});
    Command(SimLogger::CmdReadClock);
    EXPECT_EQ(Read(*memory, Ram, logger->CommandAddress(), 6),
              (std::vector<uint8_t>{0x7C, 0xB0, 10, 0, 20, 0})); // day 45180
}

TEST_F(SimLoggerTest, SetsItsClockFromTheCommandBlock)
{
    Start({});
    Command(SimLogger::CmdSetClock, {0x7D, 0xB0, 23, 59, 58});
    EXPECT_EQ(logger->Clock(), Quorvel1::LoggerDateToStamp({45181, 23, 59, 58}));
    EXPECT_EQ(memory->Byte(Ram, uint16_t(logger->CommandAddress() + 5)), 0);
}

TEST_F(SimLoggerTest, HeldLoggerMakesItsDueEntryOnReleaseStampedOnTheGrid)
{
    Start({});
    Command(SimLogger::CmdHold, {0xFF});
    EXPECT_TRUE(logger->Held());
    Pass(50s); // the entry fell due 10 s ago
    EXPECT_EQ(logger->Entries(), 0);
    EXPECT_EQ(logger->Timer(), 910);
    Command(SimLogger::CmdHold, {0x00});
    EXPECT_FALSE(logger->Held());
    EXPECT_EQ(logger->Entries(), 1);
    EXPECT_EQ(logger->Timer(), 10);
    EXPECT_EQ(logger->NewestEntryTime(), TenOhOhTwenty + 40);
}

TEST_F(SimLoggerTest, DownloadedCommandReleasesAndCountsNoNewEntries)
{
    SimLoggerSettings settings;
    settings.Prefill = 5;
    Start(settings);
    Command(SimLogger::CmdHold, {0xFF});
    Command(SimLogger::CmdDownloaded, {0x00});
    EXPECT_FALSE(logger->Held());
    EXPECT_EQ(logger->Entries(), 5);
    EXPECT_EQ(StatusWord(10), 0);
}

TEST_F(SimLoggerTest, RestartTakesTheConfigurationNowInEE)
{
    SimLoggerSettings settings;
    settings.Prefill = 10;
    Start(settings);
    // The program's upload: interval 600, one output and one ASM.
    const std::vector<uint8_t> config = {0x58, 0x02, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0x11, 0x42, 0x02};
    for (std::size_t i = 0; i < config.size(); ++i)
        memory->SetByte(Ee, uint16_t(SimLogger::ConfigStart + i), config[i]);
    const SimRingPosition end = logger->End();
    Command(SimLogger::CmdRestart);
    EXPECT_EQ(logger->Entries(), 0);
    EXPECT_EQ(logger->Start(), end);
    EXPECT_EQ(logger->End(), end);
    EXPECT_EQ(StatusWord(12), 600);
    EXPECT_EQ(Read(*memory, Ram, uint16_t(logger->StatusAddress() + 22), 5), (std::vector<uint8_t>{0, 0, 1, 0, 1}));
    // 10:00:20 is 20 s into a 600 s interval; the next grid point is in 40 s.
    EXPECT_EQ(logger->Timer(), 560);
    auto model = Model(*memory);
    EXPECT_EQ(model->GetDevice(0), TDeviceKey(0x10, 0x11));
    EXPECT_EQ(model->GetDevice(1), TDeviceKey(0x30, 0x0242));
}

TEST_F(SimLoggerTest, TimerWrittenByTheProgramMovesTheNextEntry)
{
    Start({});
    memory->SetWord(Ram, uint16_t(logger->StatusAddress() + 4), 899);
    logger->OnWrite(Ram, uint16_t(logger->StatusAddress() + 4), 2, now);
    Pass(1s);
    EXPECT_EQ(logger->Entries(), 1);
}

TEST_F(SimLoggerTest, FrozenLoggerLeavesTheCommandByteSet)
{
    SimLoggerSettings settings;
    settings.Frozen = true;
    Start(settings);
    Command(SimLogger::CmdReadClock);
    EXPECT_EQ(memory->Byte(Ram, uint16_t(logger->CommandAddress() + 5)), SimLogger::CmdReadClock);
}

TEST_F(SimLoggerTest, StoppedClockMakesNoEntries)
{
    SimLoggerSettings settings = Fast(10);
    settings.ClockStopped = true;
    Start(settings);
    Pass(1000ms);
    EXPECT_EQ(logger->Entries(), 0);
    EXPECT_EQ(logger->Clock(), TenOhOhTwenty);
}

TEST_F(SimLoggerTest, EmptyBufferNeverLogs)
{
    SimLoggerSettings settings = Fast(10);
    settings.BufferSize = 0;
    Start(settings);
    Pass(1000ms);
    EXPECT_EQ(logger->Entries(), 0);
}

TEST_F(SimLoggerTest, DumpHoldsTheTrueState)
{
    SimLoggerSettings settings;
    settings.Prefill = 3;
    settings.BufferSize = 16;
    Start(settings);
    const std::string dump = logger->DumpText();
    EXPECT_NE(dump.find("entries=3\n"), std::string::npos);
    EXPECT_NE(dump.find("timer=860\n"), std::string::npos);
    EXPECT_NE(dump.find("devices=20:0061,20:0062,21:0063,10:0009,11:000a,30:0221\n"), std::string::npos);
    EXPECT_NE(dump.find("header=0001000"), std::string::npos);
    EXPECT_NE(dump.find("\nbuffer="), std::string::npos);
}
