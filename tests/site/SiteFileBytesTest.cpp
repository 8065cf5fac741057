// The bytes of the binary site file: layout, old version, round trips.
#include "ByteStreams.h"
#include "SiteFileFixture.h"

#include "site/Asm.h"
#include "site/Output.h"
#include "site/Sensor.h"

using namespace Quorvel1;
using SiteTest::Bytes;
using SiteTest::Field;

namespace {

template <class Device>
TDev* AddDevice(TSite& site, const char* name, std::uint16_t address, std::uint8_t active,
                std::uint8_t subtype, std::int8_t exponent, char units)
{
    auto device = std::make_unique<Device>();
    device->SetName(name);
    device->Address = address;
    device->Active = active;
    device->Subtype = subtype;
    device->Exponent = exponent;
    device->Units = units;
    site.Devices.push_back(std::move(device));
    return site.Devices.back().get();
}

// One unit with one room, and one device in each group.
void BuildSmallSite(TSiteExt& site)
{
    site.SetDescription("Cold");
    site.SetTelephone("01");
    site.LogInterval = 600;
    site.LogFlags = LogStopWhenFull | LogAverageSensors;
    site.LogReserved = 0x11223344;
    site.AddUnit(std::make_unique<TUnit>(2, 1, 1, 7, 9, "RC2", 0x0C05));
    AddDevice<TSensor>(site, "T1", 0x0011, ActiveYes, 2, -1, 'C');
    AddDevice<TOutput>(site, "Fan", 0x0010, ActiveNo, OutputOnOff, 0, '%');
    AddDevice<TAsm>(site, "Rm1", 0x0622, ActivePolled, 0, 0, ' ');
}

// The file BuildSmallSite must give, written out field by field.
QByteArray SmallSiteFile()
{
    return Bytes({0x01, 0x01}) + Field("Cold", 41) + Field("01", 41) +
           Bytes({0x01})                          // one device with active mode Yes
           + Bytes({0x58, 0x02, 0x03, 0x00})      // interval 600, flags 3
           + Bytes({0x44, 0x33, 0x22, 0x11})      // reserved long of the options
           + Bytes({0x00, 0x00})                  // reserved word
           + Bytes({0x02, 0x00})                  // list items: the unit and its room
           + Bytes({0x02, 0x01, 0x01, 0x07, 0x09}) + Field("RC2", 17) + Bytes({0x05, 0x0C}) +
           Bytes({0x01, 0x00}) + Field("T1", 11) + Bytes({0x11, 0x00, 0x01, 0x02, 0x00, 0xFF, 'C'}) +
           Bytes({0x01, 0x00}) + Field("Fan", 11) + Bytes({0x10, 0x00, 0x00, 0x00, 0x00, 0x00, '%'}) +
           Bytes({0x01, 0x00}) + Field("Rm1", 11) + Bytes({0x22, 0x06, 0x02, 0x00, 0x00, 0x00, ' '});
}

// A site of one unit without airspaces in a version 0x100 file, which has
// no logging options.
QByteArray OldVersionFile()
{
    return Bytes({0x00, 0x01}) + Field("Old", 41) + Field("", 41) + Bytes({0x00}) +
           Bytes({0x00, 0x00})                    // reserved word
           + Bytes({0x01, 0x00}) + Bytes({0x05, 0x00, 0x00, 0x00, 0x00}) + Field("A", 17) +
           Bytes({0x34, 0x12}) + Bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
}

class SiteFileBytes : public SiteTest::SiteFileFixture {};

} // namespace

TEST_F(SiteFileBytes, SmallSiteIsWrittenFieldByField)
{
    TSiteExt site;
    BuildSmallSite(site);
    ASSERT_TRUE(site.Save(Path("small.ste")));
    const QByteArray expected = SmallSiteFile();
    ASSERT_EQ(expected.size(), 181);
    EXPECT_EQ(ReadFile(Path("small.ste")), expected);
}

TEST_F(SiteFileBytes, HandWrittenFileLoadsEveryField)
{
    WriteFile(Path("small.ste"), SmallSiteFile());
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("small.ste")));
    EXPECT_EQ(site.Version, 0x101);
    EXPECT_EQ(site.DescriptionText(), "Cold");
    EXPECT_EQ(site.TelephoneText(), "01");
    EXPECT_EQ(site.LogInterval, 600);
    EXPECT_EQ(site.LogFlags, 3);
    EXPECT_EQ(site.LogReserved, 0x11223344u);
    const TUnit* unit = site.UnitByNumber(2);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->ProgramNameText(), "RC2");
    EXPECT_EQ(unit->AppId, 0x0C05);
    EXPECT_EQ(unit->IdByte3, 7);
    EXPECT_EQ(unit->IdByte2, 9);
    ASSERT_NE(site.AirspaceOfUnit(2, 1), nullptr);
    ASSERT_EQ(site.Devices.size(), 3u);
    // Sorted: polled, then active, then inactive.
    EXPECT_EQ(site.Devices[0]->DevType(), DevAsm);
    EXPECT_EQ(site.Devices[0]->Address, 0x0622);
    EXPECT_EQ(site.Devices[1]->DevType(), DevSensor);
    EXPECT_EQ(site.Devices[1]->NameText(), "T1");
    EXPECT_EQ(site.Devices[1]->Exponent, -1);
    EXPECT_EQ(site.Devices[1]->Units, 'C');
    EXPECT_EQ(site.Devices[2]->DevType(), DevOnOffOutput);
    EXPECT_EQ(site.ActiveCount, 1);
    EXPECT_EQ(site.PolledCount, 1);
}

TEST_F(SiteFileBytes, ActiveCountByteIsIgnoredWhenReading)
{
    QByteArray bytes = SmallSiteFile();
    bytes[84] = 0x7F;
    WriteFile(Path("small.ste"), bytes);
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("small.ste")));
    EXPECT_EQ(site.ActiveCount, 1);
}

TEST_F(SiteFileBytes, EmptySiteIsOneHundredAndThreeBytes)
{
    TSiteExt site;
    site.NewSite();
    ASSERT_TRUE(site.Save(Path("empty.ste")));
    EXPECT_EQ(ReadFile(Path("empty.ste")),
              Bytes({0x01, 0x01}) + QByteArray(83, '\0') + Bytes({0x84, 0x03}) +
                  QByteArray(6 + 2 + 2 + 3 * 2, '\0'));
    EXPECT_EQ(site.Units.Count(), 0);
    EXPECT_TRUE(site.Devices.empty());
    EXPECT_EQ(site.LogInterval, 900);
}

TEST_F(SiteFileBytes, OldVersionLoadsWithDefaultOptionsAndIsWrittenAsCurrentVersion)
{
    WriteFile(Path("old.ste"), OldVersionFile());
    TSiteExt site;
    ASSERT_TRUE(site.Load(Path("old.ste")));
    EXPECT_EQ(site.DescriptionText(), "Old");
    EXPECT_EQ(site.LogInterval, 900);
    EXPECT_EQ(site.LogFlags, 0);
    ASSERT_NE(site.UnitByNumber(5), nullptr);
    EXPECT_EQ(site.UnitByNumber(5)->AppId, 0x1234);

    ASSERT_TRUE(site.Save(Path("new.ste")));
    EXPECT_EQ(ReadFile(Path("new.ste")),
              Bytes({0x01, 0x01}) + Field("Old", 41) + Field("", 41) + Bytes({0x00}) +
                  Bytes({0x84, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}) + Bytes({0x00, 0x00}) +
                  Bytes({0x01, 0x00}) + Bytes({0x05, 0x00, 0x00, 0x00, 0x00}) + Field("A", 17) +
                  Bytes({0x34, 0x12}) + Bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(SiteFileBytes, FullSiteSavesReloadsAndSavesAgainToTheSameBytes)
{
    TSiteExt site;
    site.SetDescription("Fruit store, hall B");
    site.SetTelephone("+44 1234 567890");
    site.LogInterval = 300;
    site.LogFlags = LogAverageOutputs | LogAverageAsms;
    site.AddUnit(std::make_unique<TUnit>(1, 3, 2, 1, 2, "ROOMCTRL-3", 0x0102));
    site.AddUnit(std::make_unique<TUnit>(7, 0, 0, 3, 4, "PLANT", 0x0A0B));
    site.AddUnit(std::make_unique<TUnit>(30, 2, 0, 5, 6, "SIXTEEN-CHARS-16", 0xFFFF));
    AddDevice<TSensor>(site, "Air 1", 8 * 1 + 0, ActiveYes, 2, -1, 'C');
    AddDevice<TSensor>(site, "Door trip", 8 * 7 + 3, ActivePolled, TripInputType, 0, ' ');
    AddDevice<TSensor>(site, "Spare", 8 * 7 + 4, ActiveNo, 3, -1, 'F');
    AddDevice<TOutput>(site, "Fan", 8 * 1 + 1, ActiveYes, OutputOnOff, 0, '%');
    AddDevice<TOutput>(site, "Valve", 8 * 30 + 2, ActivePolled, OutputVariable, 0, '%');
    AddDevice<TAsm>(site, "Set point", 1 + 32 * 2 + 512 * 5, ActiveYes, 0, -1, 'C');
    AddDevice<TAsm>(site, "Humidity", 30 + 32 * 1 + 512 * 9, ActiveNo, 0, 0, '%');
    // Loading sorts the devices; sorted first, the site is written in the
    // order it will be read back.
    site.SortDevices();
    ASSERT_TRUE(site.Save(Path("first.ste")));

    TSiteExt reloaded;
    ASSERT_TRUE(reloaded.Load(Path("first.ste")));
    EXPECT_EQ(reloaded.Units.Count(), 3 + 3 + 2); // units and airspaces
    EXPECT_EQ(reloaded.Devices.size(), 7u);
    EXPECT_EQ(reloaded.CountDevices(0, DevTripInput, -1), 1);
    EXPECT_EQ(reloaded.CountDevices(0, DevVariableOutput, -1), 1);
    ASSERT_TRUE(reloaded.Save(Path("second.ste")));
    const QByteArray first = ReadFile(Path("first.ste"));
    EXPECT_EQ(first.size(), 95 + 2 + 3 * 24 + 3 * 2 + 7 * 18);
    EXPECT_EQ(ReadFile(Path("second.ste")), first);
}
