// The logger interface against the site simulator's data logger over the
// real serial layer: opening and refusing loggers, the blocks, commands and
// clock, and a download's reads checked against the simulator's true state.
#include "logger/LogIF.h"
#include "logger/LogIFException.h"
#include "logger/LoggerSimFixture.h"

#include "site/Site.h"

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

std::vector<uint8_t> FromHex(const std::string& text)
{
    const QByteArray bytes = QByteArray::fromHex(QByteArray::fromStdString(text));
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

class LogIFSimTest : public QuorvelTest::LoggerSimFixture {
protected:
    // The logger interface on a connected link, not opened yet.
    void Start(const QString& scenario = {}) { StartUnopened(scenario); }

    uint64_t Frames() { return Count("frames_answered"); }
};

} // namespace

TEST_F(LogIFSimTest, OpenReadsTheLoggersBlocksAndDeviceList)
{
    Start();
    std::vector<QString> statuses;
    log->StatusCallback = [&] { statuses.push_back(log->StatusText()); };
    ASSERT_TRUE(log->Open());
    EXPECT_TRUE(log->IsOpen());
    EXPECT_EQ(statuses, (std::vector<QString>{"Reading logger status", "Reading logger configuration",
                                              "Reading log control data"}));
    EXPECT_EQ(log->Header.StatusAddress, 0x3110);
    EXPECT_EQ(log->ConfigSize, 1024);
    EXPECT_EQ(log->ConfigWord(0), 900);
    EXPECT_EQ(log->Status.Interval, 900);
    EXPECT_EQ(log->Control.BufferSize, 16384);
    EXPECT_EQ(log->DeviceCount(), 6);
    EXPECT_EQ(log->SensorTripCount, 3);
    EXPECT_EQ(log->OutputOnOffCount, 2);
    EXPECT_EQ(log->GetDevice(0), TDeviceKey(DevSensor, 0x61));
    EXPECT_EQ(log->GetDevice(3), TDeviceKey(DevVariableOutput, 0x09));
    EXPECT_EQ(log->GetDevice(5), TDeviceKey(DevAsm, 0x0221));
    EXPECT_EQ(log->Readings().size(), 6u);
}

TEST_F(LogIFSimTest, DescriptorWordZeroMeansNoLoggerAndNothingIsRead)
{
    Start("descriptors 3 0x3000 0x3040 0\n");
    const uint64_t before = Frames();
    EXPECT_FALSE(log->Open());
    EXPECT_FALSE(log->IsOpen());
    EXPECT_EQ(log->DeviceCount(), 0);
    EXPECT_EQ(Frames(), before);
}

TEST_F(LogIFSimTest, FormatWord0x01FFIsAccepted)
{
    Start("logger format 0x01FF\n");
    EXPECT_TRUE(log->Open());
}

TEST_F(LogIFSimTest, FormatWord0x0200IsRefused)
{
    Start("logger format 0x0200\n");
    EXPECT_FALSE(log->Open());
    EXPECT_FALSE(log->IsOpen());
    EXPECT_THROW(log->ReadControl(), ELogIFException);
}

TEST_F(LogIFSimTest, ConfigurationLargerThan2048BytesIsRefused)
{
    Start("logger config 2049\n");
    EXPECT_FALSE(log->Open());
    EXPECT_EQ(log->DeviceCount(), 0);
}

TEST_F(LogIFSimTest, BufferThatDoesNotFitWithTheLastValuesIsRefused)
{
    Start("logger buffer 32768\n"); // six devices need 12 more bytes
    EXPECT_FALSE(log->Open());
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x61)), -1);
}

TEST_F(LogIFSimTest, EmptyBufferIsRefused)
{
    Start("logger buffer 0\n");
    EXPECT_FALSE(log->Open());
}

TEST_F(LogIFSimTest, ClosedLoggerRaisesForEveryReadingOperation)
{
    Start();
    EXPECT_THROW(log->ReadConfig(), ELogIFException);
    EXPECT_THROW(log->ReadControl(), ELogIFException);
    EXPECT_THROW(log->SendCommand(), ELogIFException);
    EXPECT_THROW(log->ReadClock(), ELogIFException);
    EXPECT_THROW(log->ReadReadings(), ELogIFException);
    EXPECT_THROW(log->SynchInterval(), ELogIFException);
    try {
        log->Hold(0xFF);
        FAIL() << "no exception";
    } catch (const ELogIFException& error) {
        EXPECT_STREQ(error.what(), "Logger interface exception");
    }
}

TEST_F(LogIFSimTest, ReadClockGivesTheLoggersDateAndTime)
{
    Start("logger clock-stopped\n");
    ASSERT_TRUE(log->Open());
    log->ReadClock();
    EXPECT_EQ(log->NewestEntryLoggerTime, std::stoul(Dump()["clock"]));
}

TEST_F(LogIFSimTest, ReadControlAndReadingsMatchTheLoggersState)
{
    Start("logger clock-stopped\nlogger prefill 12\n");
    ASSERT_TRUE(log->Open());
    log->ReadControl();
    ASSERT_TRUE(log->ReadReadings());
    const auto dump = Dump();
    EXPECT_EQ(log->Status.Entries, 12);
    EXPECT_EQ(log->Status.IntervalTimer, std::stoul(dump.at("timer")));
    EXPECT_EQ(log->Control.EndPosition, std::stoul(dump.at("end_position")));
    const std::vector<uint8_t> readings = FromHex(dump.at("readings"));
    for (std::size_t i = 0; i < log->Readings().size(); ++i)
        EXPECT_EQ(log->Readings()[i], readings[2 * i] | readings[2 * i + 1] << 8) << i;
}

TEST_F(LogIFSimTest, CommandTheLoggerNeverTakesIsGivenUpAfterFourSeconds)
{
    Start("logger frozen\n");
    ASSERT_TRUE(log->Open());
    log->Command.Code = 2;
    const uint32_t before = link.Tick();
    EXPECT_NO_THROW(log->SendCommand());
    EXPECT_GE(link.Tick() - before, TLogIF::CommandTimeoutMs);
    log->ReadCommandBlock();
    EXPECT_EQ(log->Command.Code, 2);
}

TEST_F(LogIFSimTest, HoldAndReleaseReachTheLogger)
{
    Start();
    ASSERT_TRUE(log->Open());
    log->Hold(0xFF);
    EXPECT_EQ(Dump()["held"], "1");
    log->Hold(0);
    EXPECT_EQ(Dump()["held"], "0");
}

TEST_F(LogIFSimTest, EntryTimesFollowTheLoggersClockAndTimer)
{
    Start("logger clock-stopped\nlogger prefill 10\n");
    ASSERT_TRUE(log->Open());
    const auto dump = Dump();
    const uint32_t timer = uint32_t(std::stoul(dump.at("timer")));
    const uint32_t utcBefore = TLogTimeSource::SystemUtcNow();
    log->CalcEntryTimes();
    const uint32_t utcAfter = TLogTimeSource::SystemUtcNow();
    EXPECT_EQ(log->NewestEntryLoggerTime, std::stoul(dump.at("newest_entry_time")) - 3);
    EXPECT_GE(log->NewestEntryPCTime, utcBefore - timer - 1);
    EXPECT_LE(log->NewestEntryPCTime, utcAfter - timer - 1);
    // Logging started ten intervals before the newest entry, by the logger's clock.
    EXPECT_EQ(log->LogStartTime, std::stoul(dump.at("newest_entry_time")) - 10 * 900);
    EXPECT_EQ(log->StartTime(false), log->NewestEntryLoggerTime - 10 * 900);
}

TEST_F(LogIFSimTest, ShortIntervalIsNeitherReadNorSynchronised)
{
    Start("logger interval 240\n");
    ASSERT_TRUE(log->Open());
    const uint64_t before = Frames();
    log->SynchInterval();
    EXPECT_EQ(Frames(), before);
}

TEST_F(LogIFSimTest, LoggerOnTheLocalGridIsLeftInStep)
{
    Start("logger prefill 5\n");
    ASSERT_TRUE(log->Open());
    log->SynchInterval();
    EXPECT_EQ(log->StatusText(), "Checking log synch...");
    EXPECT_EQ(Dump()["entries"], "5"); // no restart
}

TEST_F(LogIFSimTest, HeldReadOfAWrappedRingPassesTheLogCheck)
{
    Start("logger buffer 512\nlogger fast 20\nlogger prefill 400\n");
    ASSERT_TRUE(log->Open());
    log->Hold(0xFF);
    log->ReadControl();
    log->CalcEntryTimes();
    const std::span<uint8_t> last = log->LastValuesBytes();
    link.ReadMem(last.data(), log->Status.LastValuesAddress, uint16_t(last.size()), false);
    const std::span<uint8_t> ring = log->BufferImage();
    link.ReadMem(ring.data(), log->Control.BufferAddress, uint16_t(ring.size()), false);
    const auto dump = Dump();
    log->Hold(0);

    EXPECT_EQ(std::vector<uint8_t>(ring.begin(), ring.end()), FromHex(dump.at("buffer")));
    EXPECT_GT(log->Control.StartPosition + log->Control.StartBit, 0) << "the oldest entries were dropped";
    std::vector<uint16_t> sums(log->DeviceCount());
    EXPECT_TRUE(log->CheckLog(sums));
    EXPECT_EQ(log->Status.Entries, std::stoul(dump.at("entries")));
}

TEST_F(LogIFSimTest, SiteAttachesItsDevicesToTheOpenLogger)
{
    Start();
    ASSERT_TRUE(log->Open());
    TSite site;
    site.Devices.push_back(TSite::CreateFromKey(TDeviceKey(DevVariableOutput, 0x09)));
    site.Devices.push_back(TSite::CreateFromKey(TDeviceKey(DevSensor, 0x77)));
    site.AttachDevices(*log);
    ASSERT_EQ(site.Devices.size(), 7u);
    EXPECT_EQ(site.Devices[std::size_t(site.FindByKey(TDeviceKey(DevVariableOutput, 0x09)))]->LoggerIndex, 3);
    EXPECT_EQ(site.Devices[std::size_t(site.FindByKey(TDeviceKey(DevSensor, 0x77)))]->LoggerIndex, -1);
    EXPECT_EQ(site.Devices[std::size_t(site.FindByKey(TDeviceKey(DevAsm, 0x0221)))]->LoggerIndex, 5);
    EXPECT_EQ(site.Devices[std::size_t(site.FindByKey(TDeviceKey(DevTripInput, 0x63)))]->LoggerIndex, 2);
}

TEST_F(LogIFSimTest, ClosingDetachesTheDeviceList)
{
    Start();
    ASSERT_TRUE(log->Open());
    log->Close();
    EXPECT_EQ(log->LoggedDeviceCount(), 0);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x61)), -1);
    TSite site;
    site.Devices.push_back(TSite::CreateFromKey(TDeviceKey(DevSensor, 0x61)));
    EXPECT_NO_THROW(site.AttachDevices(*log));
    EXPECT_EQ(site.Devices[0]->LoggerIndex, -1);
}
