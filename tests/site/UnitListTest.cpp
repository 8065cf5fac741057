// Units and airspaces: the unit record, the unit list record, replacing units
// and the airspace kinds.
#include "ByteStreams.h"
#include "TestUnits.h"

#include "site/AsList.h"

#include <gtest/gtest.h>

#include <QTextStream>

#include <vector>

using namespace Quorvel1;
using SiteTest::Bytes;
using SiteTest::MakeUnit;

namespace {

// "u4" for a unit, "4.2" for airspace 2 of unit 4, in list order.
std::vector<std::string> Layout(TAsList& list)
{
    std::vector<std::string> layout;
    for (TMListItem* item = list.First(); item; item = list.Next()) {
        auto* asItem = dynamic_cast<TAsItem*>(item);
        if (asItem->AirspaceNumber() == 0)
            layout.push_back("u" + std::to_string(asItem->UnitNumber()));
        else
            layout.push_back(std::to_string(asItem->UnitNumber()) + "." +
                             std::to_string(asItem->AirspaceNumber()));
    }
    return layout;
}

QByteArray UnitRecord(int number, int airspaces, int rooms, const char* name, int appLo, int appHi)
{
    QByteArray record = Bytes({number, airspaces, rooms, 0, 0});
    QByteArray nameBytes(name);
    nameBytes.resize(17, '\0');
    return record + nameBytes + Bytes({appLo, appHi});
}

template <typename T>
QString Printed(T& printable)
{
    QString text;
    QTextStream out(&text);
    printable.Print(out);
    out.flush();
    return text;
}

} // namespace

TEST(Unit, RecordIsTwentyFourBytesInFileOrder)
{
    TUnit unit(4, 3, 2, 0xD3, 0xD2, "PROG", 0x0C05);
    SiteTest::WriteBuffer out;
    ASSERT_TRUE(unit.Write(out.Stream()));
    EXPECT_EQ(out.Data(), Bytes({4, 3, 2, 0xD3, 0xD2, 'P', 'R', 'O', 'G', 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0, 0x05, 0x0C}));
}

TEST(Unit, ProgramNameIsCutToSixteenCharactersAndTerminated)
{
    TUnit unit(1, 0, 0, 0, 0, "ABCDEFGHIJKLMNOPQRST", 0);
    EXPECT_EQ(unit.ProgramNameText(), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(unit.ProgramName[16], '\0');
}

TEST(Unit, UnterminatedProgramNameFromAFileReadsSeventeenCharacters)
{
    TUnit unit(0);
    SiteTest::ReadBuffer in(UnitRecord(2, 0, 0, "ABCDEFGHIJKLMNOPQ", 0, 0));
    ASSERT_TRUE(unit.Read(in.Stream()));
    EXPECT_EQ(unit.ProgramNameText(), "ABCDEFGHIJKLMNOPQ");
}

TEST(Unit, NewUnitHasNoReading)
{
    EXPECT_EQ(TUnit(3).Reading, NoValueMarker);
    EXPECT_EQ(MakeUnit(3, 1)->Reading, NoValueMarker);
    TAs airspace(nullptr, 1);
    for (std::int16_t value : airspace.Readings)
        EXPECT_EQ(value, NoValueMarker);
}

TEST(Unit, AppIdTextShowsHighThenLowByte)
{
    EXPECT_EQ(MakeUnit(1, 0, 0, "", 0x0C05)->AppIdText(), "012-005");
    EXPECT_EQ(MakeUnit(1, 0, 0, "", 0xFFFF)->AppIdText(), "255-255");
}

TEST(Unit, PrintLines)
{
    TUnit unit(4, 1, 1, 0, 0, "PROG", 0x0C05);
    EXPECT_EQ(Printed(unit), "  4  012-005 PROG            ");
    TAs room(&unit, 1);
    EXPECT_EQ(Printed(room), QString(24, ' ') + "ROOM1");
}

TEST(Airspace, RoomsComeBeforeCreeps)
{
    TUnit unit(1, 5, 3, 0, 0, "", 0);
    const char* kinds[] = {"ROOM", "ROOM", "ROOM", "CREEP", "CREEP"};
    const int numbers[] = {1, 2, 3, 1, 2};
    for (int k = 1; k <= 5; ++k) {
        TAs airspace(&unit, static_cast<std::uint8_t>(k));
        EXPECT_EQ(airspace.KindName(), kinds[k - 1]) << k;
        EXPECT_EQ(airspace.KindNumber(), numbers[k - 1]) << k;
        EXPECT_EQ(airspace.IsRoom(), k <= 3) << k;
    }
}

TEST(Airspace, UnitWithoutRoomsHasOnlyCreeps)
{
    TUnit unit(1, 2, 0, 0, 0, "", 0);
    TAs second(&unit, 2);
    EXPECT_EQ(second.KindName(), "CREEP");
    EXPECT_EQ(second.KindNumber(), 2);
}

TEST(UnitList, ReadRecreatesAirspacesAfterEachUnit)
{
    TAsList list;
    SiteTest::ReadBuffer in(Bytes({5, 0}) + UnitRecord(2, 3, 1, "A", 1, 0) +
                            UnitRecord(9, 0, 0, "B", 2, 0));
    ASSERT_TRUE(list.Read(in.Stream()));
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(Layout(list), (std::vector<std::string>{"u2", "2.1", "2.2", "2.3", "u9"}));
    auto* airspace = dynamic_cast<TAs*>(list.Find(2, 3));
    ASSERT_NE(airspace, nullptr);
    EXPECT_EQ(airspace->Unit, list.FindUnit(2));
    EXPECT_EQ(list.FindUnit(9)->ProgramNameText(), "B");
}

TEST(UnitList, WriteStoresUnitsOnlyWithCountOfAllItems)
{
    TAsList list;
    list.AddUnit(MakeUnit(2, 3, 1, "A", 1));
    list.AddUnit(MakeUnit(9, 0, 0, "B", 2));
    SiteTest::WriteBuffer out;
    ASSERT_TRUE(list.Write(out.Stream()));
    EXPECT_EQ(out.Data(), Bytes({5, 0}) + UnitRecord(2, 3, 1, "A", 1, 0) +
                              UnitRecord(9, 0, 0, "B", 2, 0));
}

TEST(UnitList, ReadOfMissingUnitRecordFailsKeepingUnitsReadSoFar)
{
    TAsList list;
    SiteTest::ReadBuffer in(Bytes({5, 0}) + UnitRecord(2, 3, 1, "A", 1, 0) +
                            UnitRecord(9, 0, 0, "B", 2, 0).left(10));
    EXPECT_FALSE(list.Read(in.Stream()));
    EXPECT_EQ(Layout(list), (std::vector<std::string>{"u2", "2.1", "2.2", "2.3"}));
}

TEST(UnitList, AddUnitReplacesUnitAndItsAirspacesAtTheEnd)
{
    TAsList list;
    list.AddUnit(MakeUnit(4, 2));
    list.AddUnit(MakeUnit(7, 1));
    TUnit* added = list.AddUnit(MakeUnit(4, 3, 0, "NEW"));
    EXPECT_EQ(Layout(list), (std::vector<std::string>{"u7", "7.1", "u4", "4.1", "4.2", "4.3"}));
    EXPECT_EQ(list.FindUnit(4), added);
    EXPECT_EQ(added->ProgramNameText(), "NEW");
    EXPECT_EQ(list.Count(), 6);
}

TEST(UnitList, AddUnitReplacingTheLastUnit)
{
    TAsList list;
    list.AddUnit(MakeUnit(2, 1));
    list.AddUnit(MakeUnit(4, 2));
    list.AddUnit(MakeUnit(4, 1));
    EXPECT_EQ(Layout(list), (std::vector<std::string>{"u2", "2.1", "u4", "4.1"}));
}

TEST(UnitList, AddUnitOfNewNumberFollowsExistingAirspaces)
{
    TAsList list;
    list.AddUnit(MakeUnit(2, 2));
    list.AddUnit(MakeUnit(1, 1));
    EXPECT_EQ(Layout(list), (std::vector<std::string>{"u2", "2.1", "2.2", "u1", "1.1"}));
}

TEST(UnitList, FindMissLeavesCursorOnLastItem)
{
    TAsList list;
    list.AddUnit(MakeUnit(2, 2));
    list.First();
    EXPECT_EQ(list.Find(2, 3), nullptr);
    EXPECT_EQ(list.FindUnit(5), nullptr);
    EXPECT_EQ(list.Current(), list.Tail());
    EXPECT_EQ(list.CurrentIndex(), 2);
}

TEST(UnitList, PrintShowsUnitsAndAirspaces)
{
    TAsList list;
    list.AddUnit(MakeUnit(3, 2, 1, "P", 0x0102));
    EXPECT_EQ(Printed(list), "\nUNIT PROGRAM\n  3  001-002 P               \n" + QString(24, ' ') +
                                 "ROOM1\n" + QString(23, ' ') + "CREEP1\n");
}
