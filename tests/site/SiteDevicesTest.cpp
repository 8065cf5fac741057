// The site's device list: creation by type and key, counting, sorting, the
// device groups of the site file and attachment to the logger's table.
#include "ByteStreams.h"

#include "base/Exception.h"
#include "site/Asm.h"
#include "site/LoggerDevices.h"
#include "site/Output.h"
#include "site/Sensor.h"
#include "site/Site.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Quorvel1;
using SiteTest::Bytes;

namespace {

// A logger whose device list is a fixed list of keys; `findAnswer` lets a test
// make the logger answer an impossible index.
class FakeLogger : public TLoggerDevices {
public:
    std::vector<TDeviceKey> keys;
    int count = -1; // the logged device count; -1 means keys.size()
    int findAnswer = -2;

    int LoggedDeviceCount() const override
    {
        return count >= 0 ? count : static_cast<int>(keys.size());
    }
    int FindDevice(const TDeviceKey& key) override
    {
        if (findAnswer != -2)
            return findAnswer;
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key)
                return static_cast<int>(i);
        return -1;
    }
    TDeviceKey GetDevice(int index) override
    {
        return index < static_cast<int>(keys.size()) ? keys[static_cast<std::size_t>(index)]
                                                     : TDeviceKey();
    }
};

TDev& Add(TSite& site, std::uint8_t typeByte, std::uint16_t address, const QString& name = {},
          std::uint8_t active = ActiveYes)
{
    site.Devices.push_back(TSite::CreateDevice(typeByte));
    TDev& device = *site.Devices.back();
    device.Address = address;
    device.SetName(name);
    device.Active = active;
    return device;
}

std::vector<QString> Names(const TSite& site)
{
    std::vector<QString> names;
    for (const auto& device : site.Devices)
        names.push_back(device->NameText());
    return names;
}

QByteArray Record(const char* name, int addrLo, int addrHi, int active, int subtype, int exponent,
                  char units)
{
    QByteArray bytes(name);
    bytes.resize(11, '\0');
    return bytes + Bytes({addrLo, addrHi, active, subtype, 0, exponent & 0xFF, units});
}

} // namespace

TEST(SiteDevices, CreateDeviceByTypeByte)
{
    EXPECT_EQ(TSite::CreateDevice(DevVariableOutput)->DevType(), DevVariableOutput);
    EXPECT_EQ(TSite::CreateDevice(DevOnOffOutput)->DevType(), DevOnOffOutput);
    EXPECT_EQ(TSite::CreateDevice(DevSensor)->DevType(), DevSensor);
    EXPECT_EQ(TSite::CreateDevice(DevSensor)->Subtype, 2);
    EXPECT_EQ(TSite::CreateDevice(DevTripInput)->DevType(), DevTripInput);
    EXPECT_EQ(TSite::CreateDevice(DevAsm)->DevType(), DevAsm);
    EXPECT_EQ(TSite::CreateDevice(0x00), nullptr);
    EXPECT_EQ(TSite::CreateDevice(0x40), nullptr);
}

TEST(SiteDevices, CreateFromKeyTakesTypeAndAddress)
{
    std::unique_ptr<TDev> device = TSite::CreateFromKey(TDeviceKey(DevAsm, 0x2284));
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->DevType(), DevAsm);
    EXPECT_EQ(device->Address, 0x2284);
    EXPECT_EQ(TSite::CreateFromKey(TDeviceKey()), nullptr);
}

TEST(SiteDevices, FindByKeyMatchesTypeAndAddress)
{
    TSite site;
    Add(site, DevSensor, 0x61, "A");
    Add(site, DevTripInput, 0x61, "B");
    Add(site, DevTripInput, 0x61, "C");
    EXPECT_EQ(site.FindByKey(TDeviceKey(DevTripInput, 0x61)), 1);
    EXPECT_EQ(site.FindByKey(TDeviceKey(DevSensor, 0x61)), 0);
    EXPECT_EQ(site.FindByKey(TDeviceKey(DevSensor, 0x161)), -1);
    EXPECT_EQ(site.FindByKey(TDeviceKey(DevOnOffOutput, 0x61)), -1);
}

TEST(SiteDevices, CountDevicesByClassTypeAndMode)
{
    TSite site;
    Add(site, DevSensor, 1);
    Add(site, DevTripInput, 2);
    Add(site, DevTripInput, 3, "", ActiveNo);
    Add(site, DevOnOffOutput, 4, "", ActivePolled);
    Add(site, DevAsm, 5);
    EXPECT_EQ(site.CountDevices(0, 0, -1), 5);
    EXPECT_EQ(site.CountDevices(DevClassSensor, 0, -1), 3);
    EXPECT_EQ(site.CountDevices(DevClassSensor, 0, ActiveYes), 2);
    EXPECT_EQ(site.CountDevices(0, DevTripInput, -1), 2);
    EXPECT_EQ(site.CountDevices(0, 0, ActivePolled), 1);
    EXPECT_EQ(site.CountDevices(DevClassOutput, DevVariableOutput, -1), 0);
}

TEST(SiteDevices, SortPutsPolledFirstAndInactiveLast)
{
    TSite site;
    Add(site, DevSensor, 8, "NO", ActiveNo);
    Add(site, DevSensor, 16, "YES", ActiveYes);
    Add(site, DevSensor, 24, "POLLED", ActivePolled);
    site.SortDevices();
    EXPECT_EQ(Names(site), (std::vector<QString>{"POLLED", "YES", "NO"}));
    EXPECT_EQ(site.ActiveCount, 1);
    EXPECT_EQ(site.PolledCount, 1);
}

TEST(SiteDevices, SortOrdersByUnitTypeAirspaceAddressThenName)
{
    TSite site;
    Add(site, DevAsm, 2 + 1 * 32, "ASM2/1");      // unit 2, airspace 1
    Add(site, DevSensor, 2 * 8 + 1, "S2/2");      // unit 2
    Add(site, DevOnOffOutput, 2 * 8, "O2/1");     // unit 2, type 0x11
    Add(site, DevAsm, 2, "ASM2/0");               // unit 2, airspace 0
    Add(site, DevSensor, 2 * 8, "S2/1b");         // same key as next: name decides
    Add(site, DevSensor, 2 * 8, "S2/1a");
    Add(site, DevSensor, 1 * 8 + 7, "S1/8");      // unit 1 first
    site.SortDevices();
    EXPECT_EQ(Names(site), (std::vector<QString>{"S1/8", "O2/1", "S2/1a", "S2/1b", "S2/2",
                                                 "ASM2/0", "ASM2/1"}));
}

TEST(SiteDevices, SortComparesNamesAsUnsignedBytes)
{
    TSite site;
    Add(site, DevSensor, 8, QString::fromLatin1("\xE9t\xE9"));
    Add(site, DevSensor, 8, "z");
    Add(site, DevSensor, 8, "");
    site.SortDevices();
    EXPECT_EQ(Names(site), (std::vector<QString>{"", "z", QString::fromLatin1("\xE9t\xE9")}));
}

TEST(SiteDevices, GroupsAreWrittenSensorsOutputsAsmsInListOrder)
{
    TSite site;
    Add(site, DevVariableOutput, 0x21, "OUT", ActiveYes);
    TDev& asmValue = Add(site, DevAsm, 0x2284, "ASM", ActivePolled);
    asmValue.Exponent = -1;
    asmValue.Units = 'C';
    Add(site, DevTripInput, 0x0161, "TRIP", ActiveNo);
    SiteTest::WriteBuffer buffer;
    ASSERT_TRUE(site.WriteDevices(buffer.Stream()));
    EXPECT_EQ(buffer.Data(), Bytes({1, 0}) + Record("TRIP", 0x61, 0x01, 0, 8, 0, ' ') +
                                 Bytes({1, 0}) + Record("OUT", 0x21, 0x00, 1, 1, 0, '%') +
                                 Bytes({1, 0}) + Record("ASM", 0x84, 0x22, 2, 0, -1, 'C'));
}

TEST(SiteDevices, EmptySiteWritesThreeZeroCounts)
{
    TSite site;
    SiteTest::WriteBuffer buffer;
    ASSERT_TRUE(site.WriteDevices(buffer.Stream()));
    EXPECT_EQ(buffer.Data(), Bytes({0, 0, 0, 0, 0, 0}));
}

TEST(SiteDevices, GroupWriteStopsWhenTheStreamFills)
{
    TSite site;
    Add(site, DevSensor, 1, "S");
    SiteTest::FullDevice full(10);
    TBinaryStream stream(full);
    EXPECT_FALSE(site.WriteDevices(stream));
}

TEST(SiteDevices, GroupsReadBackWithTheirClassesSortedAndCounted)
{
    TSite site;
    SiteTest::ReadBuffer in(Bytes({2, 0}) + Record("S1", 0x10, 0, 1, 3, 0, ' ') +
                            Record("T1", 0x08, 0, 2, 8, 0, ' ') + Bytes({1, 0}) +
                            Record("O1", 0x09, 0, 0, 0, 0, '%') + Bytes({1, 0}) +
                            Record("A1", 0x21, 0x02, 1, 0, -2, 'B'));
    ASSERT_TRUE(site.ReadDevices(in.Stream()));
    ASSERT_EQ(site.Devices.size(), 4u);
    EXPECT_EQ(Names(site), (std::vector<QString>{"T1", "A1", "S1", "O1"}));
    EXPECT_EQ(site.Devices[0]->DevType(), DevTripInput);
    EXPECT_EQ(site.Devices[1]->DevType(), DevAsm);
    EXPECT_EQ(site.Devices[1]->Address, 0x0221);
    EXPECT_EQ(site.Devices[1]->Exponent, -2);
    EXPECT_EQ(site.Devices[2]->DevType(), DevSensor);
    EXPECT_EQ(site.Devices[3]->DevType(), DevOnOffOutput);
    EXPECT_EQ(site.ActiveCount, 2);
    EXPECT_EQ(site.PolledCount, 1);
}

// Devices alike in every sort key (the same sensor listed with other units)
// keep the file's order: a site saved and opened again writes the same
// bytes. Enough of them that the sort partitions the list.
TEST(SiteDevices, DevicesAlikeInEverySortKeyKeepTheirFileOrder)
{
    QByteArray records;
    QByteArray units;
    for (int i = 0; i < 40; ++i) {
        units += char('a' + (i * 7) % 26);
        records += Record("SAME", 0x10, 0, 1, 3, 0, units.back());
    }
    TSite site;
    SiteTest::ReadBuffer in(Bytes({40, 0}) + records + Bytes({0, 0, 0, 0}));
    ASSERT_TRUE(site.ReadDevices(in.Stream()));
    QByteArray read;
    for (const auto& device : site.Devices)
        read += device->Units;
    EXPECT_EQ(read, units);
}

TEST(SiteDevices, TruncatedGroupAddsTheCountedDevicesEmpty)
{
    TSite site;
    Add(site, DevAsm, 1, "OLD");
    SiteTest::ReadBuffer in(Bytes({3, 0}) + Record("S1", 0x10, 0, 1, 3, 0, ' ') +
                            Record("S2", 0x18, 0, 1, 3, 0, ' ').left(5));
    EXPECT_FALSE(site.ReadDevices(in.Stream()));
    ASSERT_EQ(site.Devices.size(), 3u);
    EXPECT_EQ(site.FindByKey(TDeviceKey(DevAsm, 1)), -1);
    int empty = 0;
    for (const auto& device : site.Devices) {
        EXPECT_EQ(device->DevType(), DevSensor);
        if (device->NameText().isEmpty() && device->Address == 0)
            ++empty;
    }
    EXPECT_EQ(empty, 2);
}

TEST(SiteDevices, MissingGroupCountFails)
{
    TSite site;
    SiteTest::ReadBuffer in(Bytes({0, 0, 0, 0}));
    EXPECT_FALSE(site.ReadDevices(in.Stream()));
    EXPECT_TRUE(site.Devices.empty());
}

TEST(AttachDevices, GivesEachDeviceItsLoggerIndex)
{
    TSite site;
    Add(site, DevSensor, 0x61, "S");
    Add(site, DevAsm, 0x2284, "A");
    Add(site, DevOnOffOutput, 0x09, "UNLOGGED");
    FakeLogger logger;
    logger.keys = {TDeviceKey(DevAsm, 0x2284), TDeviceKey(DevSensor, 0x61)};
    site.AttachDevices(logger);
    ASSERT_EQ(site.Devices.size(), 3u);
    EXPECT_EQ(site.Devices[site.FindByKey(TDeviceKey(DevAsm, 0x2284))]->LoggerIndex, 0);
    EXPECT_EQ(site.Devices[site.FindByKey(TDeviceKey(DevSensor, 0x61))]->LoggerIndex, 1);
    EXPECT_EQ(site.Devices[site.FindByKey(TDeviceKey(DevOnOffOutput, 0x09))]->LoggerIndex, -1);
}

TEST(AttachDevices, CreatesNamedDevicesForKeysTheSiteLacks)
{
    TSite site;
    Add(site, DevSensor, 0x61, "S");
    FakeLogger logger;
    logger.keys = {TDeviceKey(DevSensor, 0x61), TDeviceKey(DevTripInput, 0x62),
                   TDeviceKey(DevAsm, 4 + 2 * 32 + 17 * 512)};
    site.AttachDevices(logger);
    ASSERT_EQ(site.Devices.size(), 3u);
    const int trip = site.FindByKey(TDeviceKey(DevTripInput, 0x62));
    ASSERT_NE(trip, -1);
    EXPECT_EQ(site.Devices[trip]->NameText(), "SENSOR12/3");
    EXPECT_EQ(site.Devices[trip]->LoggerIndex, 1);
    EXPECT_EQ(site.Devices[trip]->Subtype, TripInputType);
    const int asmIndex = site.FindByKey(TDeviceKey(DevAsm, 4 + 2 * 32 + 17 * 512));
    ASSERT_NE(asmIndex, -1);
    EXPECT_EQ(site.Devices[asmIndex]->NameText(), "ASM4/2/17");
    EXPECT_EQ(site.Devices[asmIndex]->LoggerIndex, 2);
    EXPECT_EQ(site.ActiveCount, 3);
}

TEST(AttachDevices, CreatesOneDeviceForARepeatedKey)
{
    TSite site;
    FakeLogger logger;
    logger.keys = {TDeviceKey(DevSensor, 8), TDeviceKey(DevSensor, 8)};
    site.AttachDevices(logger);
    ASSERT_EQ(site.Devices.size(), 1u);
    EXPECT_EQ(site.Devices[0]->LoggerIndex, 0);
}

TEST(AttachDevices, SkipsSlotsWithoutAKey)
{
    TSite site;
    FakeLogger logger;
    logger.keys = {TDeviceKey(DevSensor, 8)};
    logger.count = 3; // the logger's list holds fewer keys than its count
    site.AttachDevices(logger);
    ASSERT_EQ(site.Devices.size(), 1u);
    EXPECT_EQ(site.Devices[0]->DevType(), DevSensor);
}

TEST(AttachDevices, NoLoggerDetachesEveryDevice)
{
    TSite site;
    Add(site, DevSensor, 8).LoggerIndex = 4;
    FakeLogger logger;
    site.AttachDevices(logger);
    EXPECT_EQ(site.Devices[0]->LoggerIndex, -1);
}

TEST(AttachDevices, IndexBeyondTheLoggedCountIsAnError)
{
    TSite site;
    Add(site, DevSensor, 8);
    FakeLogger logger;
    logger.keys = {TDeviceKey(DevSensor, 8), TDeviceKey(DevSensor, 16)};
    logger.findAnswer = 2;
    try {
        site.AttachDevices(logger);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "InitDevs failure: 1");
    }
}
