// Uploading a logging configuration made from a site's devices to the
// simulator's logger over the real serial layer: the space questions, the
// bytes that reach EE and how they are sent, and the logger logging exactly
// the uploaded devices afterwards. Also the logger's clock and restart.
#include "logger/LoggerSimFixture.h"

#include "logger/LogIF.h"
#include "logger/LogIFException.h"
#include "site/Asm.h"
#include "site/Output.h"
#include "site/Sensor.h"
#include "site/Site.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Quorvel1;

namespace {

// A 65-byte configuration block, EE 0x0400..0x0440: 64 bytes the program
// may write and the end byte it must not.
const QString SmallBlock = "logger config 65\nlogger clock-stopped\n";
constexpr uint16_t BlockStart = 0x0400;
constexpr uint16_t BlockEnd = 0x0440;
constexpr uint8_t EndByteMark = 0xA5;

const char* const SpaceQuestion = "Insufficient space for full configuration - continue?";
const char* const TypesQuestion = "Insufficient space for sensor types - continue?";

struct TQuestion {
    QString Text;
    QString Caption;
    int Flags = 0;
};

std::unique_ptr<TDev> Sensor(unsigned unit, unsigned channel, uint8_t sensorType, uint8_t active = ActiveYes)
{
    auto device = std::make_unique<TSensor>();
    device->SetIOAddress(unit, channel);
    device->Subtype = sensorType;
    device->Active = active;
    return device;
}

std::unique_ptr<TDev> Output(unsigned unit, unsigned channel, uint8_t typeByte)
{
    auto device = std::make_unique<TOutput>();
    device->SetIOAddress(unit, channel);
    device->SetKind(typeByte);
    return device;
}

std::unique_ptr<TDev> Asm(unsigned unit, unsigned airspace, unsigned message)
{
    auto device = std::make_unique<TAsm>();
    device->SetAsmAddress(unit, airspace, message);
    return device;
}

// `count` sensors from unit 1 channel 0 on (addresses 0x08 upwards), of
// types 1..7 in turn.
void AddSensors(TSite& site, int count)
{
    for (int i = 0; i < count; ++i)
        site.Devices.push_back(Sensor(1 + i / 8, i % 8, uint8_t(i % 7 + 1)));
}

// Twenty sensors, ten variable outputs and five ASMs: together they fill
// the 64-byte configuration block but for the sensor types.
void AddMixedDevices(TSite& site)
{
    AddSensors(site, 20);
    for (int i = 0; i < 10; ++i)
        site.Devices.push_back(Output(10 + i / 8, i % 8, DevVariableOutput));
    for (unsigned message = 1; message <= 5; ++message)
        site.Devices.push_back(Asm(2, 1, message));
}

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// Bytes first, first + 1, ... (`count` of them).
QByteArray Ascending(int first, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(first + i));
    return bytes;
}

class LogUploadSimTest : public QuorvelTest::LoggerSimFixture {
protected:
    void StartSmallBlock(const QString& more = {})
    {
        Start(SmallBlock + more);
        const uint8_t mark = EndByteMark;
        link.WriteMem(&mark, BlockEnd, 1, true);
        ForgetSent();
    }

    TLogIF::AskHook Answer(int button)
    {
        return [this, button](const QString& text, const QString& caption, int flags) {
            asked.push_back({text, caption, flags});
            return button;
        };
    }
    QStringList AskedTexts() const
    {
        QStringList texts;
        for (const TQuestion& question : asked)
            texts << question.Text;
        return texts;
    }

    TSite site;
    std::vector<TQuestion> asked;
};

} // namespace

TEST_F(LogUploadSimTest, FullListsAskOnlyAboutSensorTypesAndTheTypesStopAtTheNinthByte)
{
    StartSmallBlock("logger prefill 30\n");
    site.LogInterval = 600;
    site.LogFlags = 0x0105; // only the low byte is the logger's
    AddMixedDevices(site);

    ASSERT_TRUE(log->UploadConfig(site, Answer(MessageAnswer::Yes)));

    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Text, TypesQuestion);
    EXPECT_EQ(asked[0].Caption, "Upload configuration");
    EXPECT_EQ(asked[0].Flags, 4);
    const TDump dump = Dump();
    const QByteArray expected = Hex("5802" "0100" "0000000000" "05" "14000a0005")
        + Ascending(0x08, 20) + Ascending(0x50, 10) + Hex("2202" "2204" "2206" "2208" "220a")
        + Hex("010203040506070102") + Hex("a5");
    EXPECT_EQ(DumpBytes(dump, "config").toHex(), expected.toHex());
    // Logging restarted with exactly these devices, in list order.
    EXPECT_EQ(Number(dump, "entries"), 0);
    EXPECT_EQ(Number(dump, "interval"), 600);
    QStringList devices;
    for (int i = 0; i < 20; ++i)
        devices << QString("20:%1").arg(0x08 + i, 4, 16, QChar('0'));
    for (int i = 0; i < 10; ++i)
        devices << QString("10:%1").arg(0x50 + i, 4, 16, QChar('0'));
    devices << "30:0222" << "30:0422" << "30:0622" << "30:0822" << "30:0a22";
    EXPECT_EQ(QString::fromStdString(dump.at("devices")), devices.join(','));
    // The program's model was re-read from the logger.
    EXPECT_TRUE(log->IsOpen());
    EXPECT_EQ(log->DeviceCount(), 35);
    EXPECT_EQ(log->GetDevice(19), TDeviceKey(DevSensor, 0x1B));
    EXPECT_EQ(log->GetDevice(20), TDeviceKey(DevVariableOutput, 0x50));
    EXPECT_EQ(log->GetDevice(34), TDeviceKey(DevAsm, 0x0A22));
    EXPECT_EQ(log->StatusText(), "Configuration done");
}

TEST_F(LogUploadSimTest, BlockWrittenInFourByteTransfersWithinTheBlock)
{
    StartSmallBlock();
    AddMixedDevices(site);
    ASSERT_TRUE(log->UploadConfig(site, Answer(MessageAnswer::Yes)));

    const auto writes = SentEeWrites();
    ASSERT_EQ(writes.size(), 16u);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].Address, BlockStart + 4 * i);
        EXPECT_EQ(writes[i].Data.size(), 4u);
    }
}

TEST_F(LogUploadSimTest, TooManySensorsAskTheFirstQuestionOnlyAndNothingIsWrittenBeyondTheBlock)
{
    StartSmallBlock();
    AddSensors(site, 60);

    ASSERT_TRUE(log->UploadConfig(site, Answer(MessageAnswer::Yes)));

    EXPECT_EQ(AskedTexts(), QStringList{SpaceQuestion});
    // 48 whole entries fit below the end byte; the 49th entry's low byte
    // landed on the last writable byte without being counted.
    const TDump dump = Dump();
    const QByteArray expected = Hex("8403" "0100" "0000000000" "00" "3000000000") + Ascending(0x08, 48) + Hex("38" "a5");
    EXPECT_EQ(DumpBytes(dump, "config").toHex(), expected.toHex());
    for (const auto& write : SentEeWrites())
        EXPECT_LE(write.Address + write.Data.size(), BlockEnd) << "EE written beyond the configuration block";
    EXPECT_EQ(log->DeviceCount(), 48);
    EXPECT_EQ(Number(dump, "entries"), 0);
}

TEST_F(LogUploadSimTest, AnsweringNoWritesNothingAndLeavesLoggingAlone)
{
    StartSmallBlock("logger prefill 12\n");
    const QByteArray before = DumpBytes(Dump(), "config");
    AddSensors(site, 60);

    EXPECT_FALSE(log->UploadConfig(site, Answer(7)));

    EXPECT_EQ(AskedTexts(), QStringList{SpaceQuestion});
    EXPECT_TRUE(SentEeWrites().empty());
    const TDump dump = Dump();
    EXPECT_EQ(DumpBytes(dump, "config"), before);
    EXPECT_EQ(Number(dump, "entries"), 12);
}

TEST_F(LogUploadSimTest, NoToTheSensorTypeQuestionWritesNothing)
{
    StartSmallBlock();
    AddSensors(site, 25); // 64 - 15 - 25 = 24 left, 25 types do not fit

    EXPECT_FALSE(log->UploadConfig(site, Answer(7)));

    EXPECT_EQ(AskedTexts(), QStringList{TypesQuestion});
    EXPECT_TRUE(SentEeWrites().empty());
}

TEST_F(LogUploadSimTest, PolledDeviceIsListedAlthoughTheSpaceCheckLeftItOut)
{
    StartSmallBlock();
    AddSensors(site, 24); // exactly room for 24 entries and 24 types
    site.Devices.push_back(Sensor(5, 0, 3, ActivePolled));
    site.Devices.push_back(Sensor(6, 0, 3, ActiveNo));

    ASSERT_TRUE(log->UploadConfig(site, Answer(MessageAnswer::Yes)));

    EXPECT_TRUE(asked.empty());
    const QByteArray config = DumpBytes(Dump(), "config");
    EXPECT_EQ(uint8_t(config[10]), 25);
    EXPECT_EQ(config.mid(15, 25), Ascending(0x08, 24) + Hex("28"));
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x28)), 24);
    EXPECT_EQ(log->FindDevice(TDeviceKey(DevSensor, 0x30)), -1); // the inactive one
}

TEST_F(LogUploadSimTest, SiteWithoutActiveDevicesWritesFifteenBytesInFourTransfers)
{
    StartSmallBlock();
    site.Devices.push_back(Sensor(1, 0, 2, ActiveNo));
    std::vector<std::pair<QString, int>> shown;
    log->StatusCallback = [&] { shown.emplace_back(log->StatusText(), log->Progress); };

    ASSERT_TRUE(log->UploadConfig(site, Answer(MessageAnswer::Yes)));
    log->StatusCallback = nullptr;

    const auto writes = SentEeWrites();
    ASSERT_EQ(writes.size(), 4u);
    const std::vector<uint16_t> addresses = {0x0400, 0x0404, 0x0408, 0x040C};
    const std::vector<std::size_t> sizes = {4, 4, 4, 3};
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].Address, addresses[i]);
        EXPECT_EQ(writes[i].Data.size(), sizes[i]);
    }
    const QByteArray config = DumpBytes(Dump(), "config");
    EXPECT_EQ(config.left(15).toHex(), Hex("8403" "0100" "0000000000" "00" "0000000000").toHex());
    // Beyond the lists the block keeps what the logger held.
    EXPECT_EQ(config.mid(15, 9).toHex(), Hex("616263090a2102" "0205").toHex());
    EXPECT_EQ(log->DeviceCount(), 0);

    std::vector<int> progress;
    for (const auto& [text, value] : shown) {
        if (text == "Uploading configuration...")
            progress.push_back(value);
    }
    EXPECT_EQ(progress, (std::vector<int>{0, 26, 53, 80}));
}

TEST_F(LogUploadSimTest, LoggerLogsTheUploadedDevicesAndTheirLogDownloads)
{
    // Intervals below 300 s run free of the PC's clock, which fast time
    // would be out of step with.
    Start("logger interval 60\nlogger fast 20\n");
    site.LogInterval = 60;
    site.Devices.push_back(Sensor(2, 0, 4));
    auto trip = Sensor(2, 1, 2);
    trip->SetKind(DevTripInput);
    site.Devices.push_back(std::move(trip));
    site.Devices.push_back(Sensor(3, 5, 6));
    site.Devices.push_back(Output(4, 2, DevOnOffOutput));
    site.Devices.push_back(Asm(5, 2, 7));
    ASSERT_TRUE(log->UploadConfig(site, Answer(MessageAnswer::Yes)));
    const TDump uploaded = Dump();
    // Counts, the lists (sensors, trips, outputs, on-offs, ASMs) and the
    // types of the two sensors.
    EXPECT_EQ(DumpBytes(uploaded, "config").mid(10, 13).toHex(), "0201000101" "101d" "11" "22" "450e" "0406");
    EXPECT_EQ(QString::fromStdString(uploaded.at("devices")), "20:0010,20:001d,21:0011,11:0022,30:0e45");

    for (int polls = 0; polls < 500 && Number(Dump(), "entries") < 5; ++polls) {
    }
    ASSERT_GE(Number(Dump(), "entries"), 5) << "the logger made no entries";
    ASSERT_TRUE(log->Open());
    EXPECT_TRUE(log->ReadReadings());
    EXPECT_EQ(log->Readings().size(), 5u);
    QString fileName;
    ASSERT_TRUE(log->Download(fileName, Folder()));

    QFile file(fileName);
    TLog1 saved;
    ASSERT_TRUE(file.open(QIODevice::ReadOnly) && saved.LoadFromFile(file));
    EXPECT_EQ(saved.Status.Counts, (std::array<uint8_t, 5>{2, 1, 0, 1, 1}));
    ASSERT_EQ(saved.DeviceCount(), 5);
    const std::vector<TDeviceKey> expected = {TDeviceKey(DevSensor, 0x10), TDeviceKey(DevSensor, 0x1D),
                                              TDeviceKey(DevTripInput, 0x11), TDeviceKey(DevOnOffOutput, 0x22),
                                              TDeviceKey(DevAsm, 0x0E45)};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(saved.GetDevice(i), expected[std::size_t(i)]) << "device " << i;
    EXPECT_EQ(saved.Status.Interval, 60);
    EXPECT_GE(saved.Status.Entries, 5);
    EXPECT_TRUE(saved.CheckLog());
}

TEST_F(LogUploadSimTest, ListStopsAt255EntriesAndItsTypesFollowIt)
{
    Start("logger clock-stopped\n"); // a 1024-byte block: room for all
    for (int i = 0; i < 300; ++i)
        site.Devices.push_back(Sensor(1 + (i / 8) % 30, i % 8, uint8_t(i % 7 + 1)));

    ASSERT_TRUE(log->UploadConfig(site, Answer(MessageAnswer::Yes)));

    EXPECT_TRUE(asked.empty());
    const QByteArray config = DumpBytes(Dump(), "config");
    EXPECT_EQ(uint8_t(config[10]), 255);
    EXPECT_EQ(uint8_t(config[15]), 0x08);        // sensor 0: unit 1, channel 0
    EXPECT_EQ(uint8_t(config[15 + 254]), 0x16);  // sensor 254: unit 2, channel 6
    EXPECT_EQ(uint8_t(config[15 + 255]), 1);     // then the types, sensor 0 first
    EXPECT_EQ(uint8_t(config[15 + 255 + 254]), 3);
    EXPECT_EQ(log->DeviceCount(), 255);
}

TEST_F(LogUploadSimTest, UploadWithoutALoggerAsksNothingAndFails)
{
    Start("logger none\n", {}, false);
    AddSensors(site, 2);
    EXPECT_FALSE(log->UploadConfig(site, Answer(MessageAnswer::Yes)));
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(SentEeWrites().empty());
    EXPECT_FALSE(log->IsOpen());
}

TEST_F(LogUploadSimTest, SetTimeAtOneSecondToMidnightSendsTheNextDay)
{
    Start("logger clock-stopped\n");
    log->Time.LocalNow = [] { return uint32_t(1798761599); }; // 2026-12-31 23:59:59
    ASSERT_TRUE(log->SetTime());

    const TDump dump = Dump();
    EXPECT_EQ(std::stoul(dump.at("clock")), 1798761600u); // 2027-01-01 00:00:00
    // Day 46386 (0xB532) from 1900-01-01, 00:00:00; the command byte
    // cleared once the logger took it.
    EXPECT_EQ(QString::fromStdString(dump.at("command")), "32b5000000" "00");
    EXPECT_EQ(log->StatusText(), "Uploading time");
    EXPECT_EQ(log->Progress, -1);
}

TEST_F(LogUploadSimTest, RestartClearsTheLog)
{
    Start("logger prefill 40\nlogger clock-stopped\n");
    ASSERT_TRUE(log->Restart());
    const TDump dump = Dump();
    EXPECT_EQ(Number(dump, "entries"), 0);
    EXPECT_EQ(dump.at("start_position"), dump.at("end_position"));
    EXPECT_EQ(log->StatusText(), "Restarting logging");
}

TEST_F(LogUploadSimTest, ClockAndRestartNeedAnOpenLogger)
{
    Start("logger clock-stopped\n");
    log->Close();
    EXPECT_THROW(log->SetTime(), ELogIFException);
    EXPECT_THROW(log->Restart(), ELogIFException);
}
