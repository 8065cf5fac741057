// The site record and the per-unit records of the site.
#include "ByteStreams.h"
#include "TestUnits.h"

#include "site/Sensor.h"
#include "site/SiteExt.h"

#include <gtest/gtest.h>

using namespace Quorvel1;
using SiteTest::Bytes;
using SiteTest::Field;
using SiteTest::MakeUnit;

TEST(SiteBlock, IsEightyFiveBytesEndingWithLowByteOfActiveCount)
{
    TSite site;
    site.Version = TSite::CurrentVersion;
    site.SetDescription("Cold store");
    site.SetTelephone("0123 456");
    site.ActiveCount = 0x1234;
    SiteTest::WriteBuffer out;
    ASSERT_TRUE(site.WriteBlock(out.Stream()));
    EXPECT_EQ(out.Data(), Bytes({0x01, 0x01}) + Field("Cold store", 41) + Field("0123 456", 41) +
                              Bytes({0x34}));
}

TEST(SiteBlock, ReadBackRewritesTheSameBytes)
{
    // Bytes after a text's terminator are kept, so the block rewrites as read.
    const QByteArray block = Bytes({0x00, 0x01}) + QByteArray("Site\0xyz", 8) +
                             QByteArray(33, 'Q') + QByteArray("01\0", 3) +
                             QByteArray(38, '\x7F') + Bytes({0x09});
    ASSERT_EQ(block.size(), 85);
    TSite site;
    SiteTest::ReadBuffer in(block);
    ASSERT_TRUE(site.ReadBlock(in.Stream()));
    EXPECT_EQ(site.Version, 0x100);
    EXPECT_EQ(site.DescriptionText(), "Site");
    EXPECT_EQ(site.TelephoneText(), "01");
    EXPECT_EQ(site.ActiveCount, 9);
    SiteTest::WriteBuffer out;
    ASSERT_TRUE(site.WriteBlock(out.Stream()));
    EXPECT_EQ(out.Data(), block);
}

TEST(SiteBlock, ShortBlockFailsAndLeavesTheSite)
{
    TSite site;
    site.SetDescription("Keep");
    SiteTest::ReadBuffer in(QByteArray(84, 'x'));
    EXPECT_FALSE(site.ReadBlock(in.Stream()));
    EXPECT_EQ(site.DescriptionText(), "Keep");
}

TEST(SiteBlock, TextsAreCutToFortyCharacters)
{
    TSite site;
    site.SetDescription(QString(50, 'D'));
    EXPECT_EQ(site.DescriptionText(), QString(40, 'D'));
    EXPECT_EQ(site.Description[40], '\0');
}

TEST(Site, ClearRestoresNewSiteValues)
{
    TSiteExt site;
    site.SetDescription("x");
    site.SetTelephone("y");
    site.LogInterval = 60;
    site.LogFlags = LogStopWhenFull;
    site.LogReserved = 7;
    site.ProcId = 99;
    site.AddUnit(MakeUnit(3, 1));
    site.Devices.push_back(std::make_unique<TSensor>());
    site.Clear();
    EXPECT_EQ(site.DescriptionText(), "");
    EXPECT_EQ(site.TelephoneText(), "");
    EXPECT_EQ(site.LogInterval, 900);
    EXPECT_EQ(site.LogFlags, 0);
    EXPECT_EQ(site.LogReserved, 0u);
    EXPECT_EQ(site.ProcId, 0);
    EXPECT_EQ(site.Units.Count(), 0);
    EXPECT_TRUE(site.Devices.empty());
    EXPECT_EQ(site.UnitByNumber(3), nullptr);
    EXPECT_EQ(site.AirspaceOfUnit(3, 1), nullptr);
}

TEST(SiteUnits, NewSiteHasEmptyRecordsAndDefaultSettings)
{
    TSiteExt site;
    for (const TUnitRecord& record : site.UnitTable) {
        EXPECT_EQ(record.Unit, nullptr);
        EXPECT_TRUE(record.Airspaces.empty());
        EXPECT_EQ(record.AlarmWord, 0);
        EXPECT_EQ(record.TripWord, 0);
        EXPECT_EQ(record.ProcessorId, 0);
    }
    EXPECT_EQ(site.ModemDev, -1);
    EXPECT_EQ(site.ComSpeed, -1);
    EXPECT_FALSE(site.IsModified());
}

TEST(SiteUnits, AddUnitRecordsItAndMarksModified)
{
    TSiteExt site;
    TUnit* unit = site.AddUnit(MakeUnit(5, 2, 1));
    EXPECT_EQ(site.UnitByNumber(5), unit);
    ASSERT_NE(site.AirspaceOfUnit(5, 2), nullptr);
    EXPECT_EQ(site.AirspaceOfUnit(5, 2)->Number, 2);
    EXPECT_EQ(site.AirspaceOfUnit(5, 2)->KindName(), "CREEP");
    EXPECT_TRUE(site.IsModified());
}

TEST(SiteUnits, ReplacedUnitLeavesNoStaleAirspaces)
{
    TSiteExt site;
    site.AddUnit(MakeUnit(5, 3));
    TUnit* replacement = site.AddUnit(MakeUnit(5, 1));
    EXPECT_EQ(site.AirspaceOfUnit(5, 2), nullptr);
    ASSERT_NE(site.AirspaceOfUnit(5, 1), nullptr);
    EXPECT_EQ(site.AirspaceOfUnit(5, 1)->Unit, replacement);
}

TEST(SiteUnits, LookupsOutsideTheirRangesGiveNothing)
{
    TSiteExt site;
    site.AddUnit(MakeUnit(1, 2));
    site.AddUnit(MakeUnit(30, 1));
    EXPECT_NE(site.UnitByNumber(30), nullptr);
    EXPECT_EQ(site.UnitByNumber(0), nullptr);
    EXPECT_EQ(site.UnitByNumber(31), nullptr);
    EXPECT_EQ(site.UnitByNumber(-1), nullptr);
    EXPECT_EQ(site.AirspaceOfUnit(1, 0), nullptr);
    EXPECT_EQ(site.AirspaceOfUnit(1, 3), nullptr);
    EXPECT_EQ(site.AirspaceOfUnit(2, 1), nullptr);
    EXPECT_EQ(site.AirspaceOfUnit(31, 1), nullptr);
}

TEST(SiteUnits, UnitOutsideTheNetworkRangeStaysOutOfTheTable)
{
    TSiteExt site;
    site.AddUnit(MakeUnit(31, 1));
    site.AddUnit(MakeUnit(0, 1));
    EXPECT_EQ(site.Units.Count(), 4);
    for (int n = 0; n < TSiteExt::UnitRecordCount; ++n)
        EXPECT_EQ(site.UnitTable[static_cast<std::size_t>(n)].Unit, nullptr) << n;
}

TEST(SiteUnits, RebuildFollowsTheUnitList)
{
    TSiteExt site;
    SiteTest::ReadBuffer in(Bytes({3, 0, 7, 2, 2, 0, 0}) + QByteArray(17, '\0') + Bytes({0, 0}));
    ASSERT_TRUE(site.Units.Read(in.Stream()));
    EXPECT_EQ(site.UnitByNumber(7), nullptr);
    site.RebuildUnitTable();
    ASSERT_NE(site.UnitByNumber(7), nullptr);
    EXPECT_EQ(site.AirspaceOfUnit(7, 2)->KindName(), "ROOM");
}

TEST(SiteUnits, ClearUnitsZeroesWordsAndKeepsProcessorIds)
{
    TSiteExt site;
    site.AddUnit(MakeUnit(4, 1));
    site.SetAlarmWord(0, 1);
    site.SetAlarmWord(4, 0x4001);
    site.SetTripWord(30, 3);
    site.SetProcessorId(4, 1234);
    site.SetModified(false);
    site.ClearUnits();
    EXPECT_EQ(site.Units.Count(), 0);
    EXPECT_EQ(site.UnitByNumber(4), nullptr);
    EXPECT_EQ(site.AlarmWord(0), 0);
    EXPECT_EQ(site.AlarmWord(4), 0);
    EXPECT_EQ(site.TripWord(30), 0);
    EXPECT_EQ(site.ProcessorId(4), 1234);
    EXPECT_TRUE(site.IsModified());
}

TEST(SiteUnits, WordsOutsideTheRecordsAreIgnored)
{
    TSiteExt site;
    site.SetAlarmWord(31, 5);
    site.SetTripWord(-1, 5);
    site.SetProcessorId(40, 5);
    EXPECT_EQ(site.AlarmWord(31), 0);
    EXPECT_EQ(site.TripWord(-1), 0);
    EXPECT_EQ(site.ProcessorId(40), 0);
    EXPECT_FALSE(site.IsModified());
}

TEST(SiteUnits, ProcessorIdAlwaysMarksModified)
{
    TSiteExt site;
    site.SetProcessorId(3, 0);
    EXPECT_TRUE(site.IsModified());
    EXPECT_EQ(site.ProcessorId(3), 0);
}

TEST(SiteUnits, ProcIdMarksModifiedOnlyWhenItChanges)
{
    TSiteExt site;
    site.SetProcId(0);
    EXPECT_FALSE(site.IsModified());
    site.SetProcId(1234);
    EXPECT_TRUE(site.IsModified());
    EXPECT_EQ(site.ProcId, 1234);
    site.SetModified(false);
    site.SetProcId(1234);
    EXPECT_FALSE(site.IsModified());
}

TEST(SiteUnits, AlarmAndTripNamesOfAUnit)
{
    TSiteExt site;
    site.SetAlarmWord(2, 0x4001);
    site.SetTripWord(0, 0x0100);
    EXPECT_EQ(site.AlarmNames(2), (QStringList{"SENSOR FAILURE", "NETWORK FAILURE"}));
    EXPECT_TRUE(site.AlarmNames(3).isEmpty());
    EXPECT_EQ(site.TripNames(0), (QStringList{"TrHP"}));
}
