// The scenario's lan and unit lines: defaults, each key, several lines for
// one unit, and the lines that cannot be used.
#include "SimScenario.h"
#include "SimUnit.h"

#include <gtest/gtest.h>

using namespace SiteSim;

TEST(SimLanSettings, TheDefaultSiteHasNoUnitsAndAQuickLan)
{
    const SimLanSettings& lan = SimScenario::Default().Lan;
    EXPECT_TRUE(lan.Units.empty());
    EXPECT_EQ(lan.InterfaceAddress, 0);
    EXPECT_EQ(lan.TakeMs, 2u);
    EXPECT_EQ(lan.ReplyMs, 20u);
}

TEST(SimLanSettings, LanLinesSetTheAddressAndTheTimes)
{
    const SimLanSettings lan =
        SimScenario::Parse("lan address 31\nlan take 7\nlan reply 45\nlan slow-take 900\n").Lan;
    EXPECT_EQ(lan.InterfaceAddress, 31);
    EXPECT_EQ(lan.TakeMs, 7u);
    EXPECT_EQ(lan.ReplyMs, 45u);
    EXPECT_EQ(lan.SlowTakeMs, 900u);
}

TEST(SimLanSettings, AUnitLineSetsItsIdentityAndFaults)
{
    const SimLanSettings lan = SimScenario::Parse(
        "unit 12 app 0x0C05 proc 1234 rom 0x0102 name \"PROG1\" airspaces 3 rooms 2 d2 4 d3 5 "
        "alarms 0x0001 scale 401 silent wrong-code slow-take\n").Lan;
    ASSERT_EQ(lan.Units.size(), 1u);
    const SimUnitSettings& unit = lan.Units[0];
    EXPECT_EQ(unit.Number, 12);
    EXPECT_EQ(unit.AppId, 0x0C05);
    EXPECT_EQ(unit.ProcessorId, 1234);
    EXPECT_EQ(unit.RomId, 0x0102);
    EXPECT_EQ(unit.Name, "PROG1");
    EXPECT_EQ(unit.Identity, (std::array<uint8_t, 4>{3, 2, 4, 5}));
    EXPECT_EQ(unit.AlarmWord, 0x0001);
    EXPECT_EQ(unit.ScaleWord, 401);
    EXPECT_TRUE(unit.Silent);
    EXPECT_TRUE(unit.WrongCode);
    EXPECT_TRUE(unit.SlowTake);
}

TEST(SimLanSettings, LinesNamingOneUnitAddUp)
{
    const SimLanSettings lan = SimScenario::Parse(
        "unit 3 name AB\nunit 4\nunit 3 airspace 2 actual -15 set -20 max 5 min -31 minvent 35\n"
        "unit 3 ee 0x0011 words 0x3322\n").Lan;
    ASSERT_EQ(lan.Units.size(), 2u);
    const SimUnitSettings& unit = lan.Units[0];
    EXPECT_EQ(unit.Number, 3);
    EXPECT_EQ(unit.Name, "AB");
    const SimAirspace& airspace = unit.Airspaces[1];
    EXPECT_EQ(airspace.Actual, -15);
    EXPECT_EQ(airspace.Set, -20);
    EXPECT_EQ(airspace.Max, 5);
    EXPECT_EQ(airspace.Min, -31);
    EXPECT_EQ(airspace.MinVent, 35);
    ASSERT_EQ(unit.Fills.size(), 1u);
    EXPECT_EQ(unit.Fills[0].Space, Ee);
    EXPECT_EQ(unit.Fills[0].Address, 0x0011);
    EXPECT_EQ(unit.Fills[0].Bytes, (std::vector<uint8_t>{0x22, 0x33}));
}

TEST(SimLanSettings, AUnitKeepsItsIdentityInItsMemoryWithMemoryLinesOnTop)
{
    const SimScenario scenario =
        SimScenario::Parse("unit 8 app 0x0C05 proc 4321 rom 0x0203 name NAME12345678901\nunit 8 ram 0x2021 bytes 0x77\n");
    const SimUnit unit(scenario.Lan.Units[0]);
    const SimMemory& memory = unit.Memory();

    EXPECT_EQ(memory.Word(Ee, 0x0000), 4321);
    EXPECT_EQ(memory.Word(Ram, 0x2020), 0x7703);
    EXPECT_EQ(memory.Word(Ram, 0x7FFE), 0x0C05);
    const char expected[] = "NAME12345678901";
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(memory.Byte(Ram, uint16_t(0x3000 + i)), uint8_t(expected[i])) << i;
}

TEST(SimLanSettings, AUnitNamedOnlyByItsNumberHasTheDefaults)
{
    const SimUnit unit(SimScenario::Parse("unit 9\n").Lan.Units[0]);
    const SimMemory& memory = unit.Memory();

    EXPECT_EQ(memory.Word(Ee, 0x0000), 1009);
    EXPECT_EQ(memory.Byte(Ram, 0x3000), 'U');
    EXPECT_EQ(memory.Byte(Ram, 0x3004), '9');
    EXPECT_EQ(memory.Byte(Ram, 0x3005), 0);
    EXPECT_EQ(unit.AlarmWord(), 0);
}
