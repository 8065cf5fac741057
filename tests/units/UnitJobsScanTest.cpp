// The scan against the simulator's units, and the program name rules on
// hand-made RAM words.
#include "UnitJobsFixture.h"

#include "units/DjScanUnits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace Quorvel1;
using namespace QuorvelTest;

namespace {

// Unit 3's RAM name "AB CD", unit 29's third character a bell; unit 12 is a
// network interface module whose RAM holds a ROM identifier and a name that
// the scan must not use.
const QString ScanSite = "unit 3 app 0x0C05 proc 1234 rom 0x0102 airspaces 3 rooms 2 d2 7 d3 9\n"
                         "unit 3 ram 0x3000 hex 4142204344\n"
                         "unit 12 app 0x0205 proc 777 rom 0x0333 name BRIDGE airspaces 2 rooms 0\n"
                         "unit 20 wrong-code\n"
                         "unit 29 app 0x0C06 proc 2929\n"
                         "unit 29 ram 0x3000 hex 4142074344\n"
                         "unit 30 app 0x0C07 proc 3030 rom 0x0300 name ABCDEFGHIJKLMNOP\n";

QByteArray NameFromWords(const std::map<uint16_t, uint16_t>& words, int* reads = nullptr)
{
    return TDjScanUnits::ReadProgramName([&](uint16_t address) -> uint16_t {
        if (reads)
            ++*reads;
        const auto word = words.find(address);
        return word == words.end() ? 0 : word->second;
    });
}

} // namespace

TEST_F(UnitJobsTest, ScanRecordsTheUnitsItFindsAndNothingElse)
{
    Start(ScanSite);
    auto* scan = new TDjScanUnits(*runner, site, &views);
    EXPECT_EQ(scan->Name, "Scan Units");
    EXPECT_EQ(scan->Status, "Initialising");

    ASSERT_TRUE(Run(scan));

    for (int n = 1; n <= 30; ++n) {
        const bool expected = n == 3 || n == 12 || n == 29 || n == 30;
        EXPECT_EQ(site.UnitByNumber(n) != nullptr, expected) << n;
    }
    const TUnit* unit3 = site.UnitByNumber(3);
    ASSERT_NE(unit3, nullptr);
    EXPECT_EQ(unit3->AppId, 0x0C05);
    EXPECT_EQ(unit3->AppIdText(), "012-005");
    EXPECT_EQ(site.ProcessorId(3), 1234);
    EXPECT_EQ(unit3->RomId, 0x0102);
    EXPECT_EQ(unit3->ProgramNameText(), "AB");
    EXPECT_EQ(unit3->AirspaceCount, 3);
    EXPECT_EQ(unit3->RoomCount, 2);
    EXPECT_EQ(unit3->IdByte2, 7);
    EXPECT_EQ(unit3->IdByte3, 9);
    ASSERT_NE(site.AirspaceOfUnit(3, 3), nullptr);
    EXPECT_TRUE(site.AirspaceOfUnit(3, 2)->IsRoom());
    EXPECT_FALSE(site.AirspaceOfUnit(3, 3)->IsRoom());
    EXPECT_EQ(site.AirspaceOfUnit(3, 4), nullptr);

    EXPECT_EQ(site.UnitByNumber(29)->ProgramNameText(), "");
    EXPECT_EQ(site.ProcessorId(29), 2929);
    EXPECT_EQ(site.UnitByNumber(30)->ProgramNameText(), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(site.ProcessorId(30), 3030);

    // A network interface module: named "XBRIDGE7" with no ROM identifier,
    // whatever its RAM holds.
    const TUnit* bridge = site.UnitByNumber(12);
    ASSERT_NE(bridge, nullptr);
    EXPECT_EQ(bridge->ProgramNameText(), "XBRIDGE7");
    EXPECT_EQ(bridge->RomId, 0);
    EXPECT_EQ(bridge->AppIdText(), "002-005");
    EXPECT_EQ(site.ProcessorId(12), 777);
    EXPECT_EQ(bridge->AirspaceCount, 2);
    EXPECT_EQ(bridge->RoomCount, 0);
    EXPECT_TRUE(site.IsModified());
}

TEST_F(UnitJobsTest, ScanShowsEachNumberWithItsStatusProgressAndErrors)
{
    Start(ScanSite);
    ASSERT_TRUE(Run(new TDjScanUnits(*runner, site, &views)));

    std::set<int> shown(views.units.begin(), views.units.end());
    EXPECT_EQ(shown.size(), 30u);
    EXPECT_EQ(*shown.begin(), 1);
    EXPECT_EQ(*shown.rbegin(), 30);
    EXPECT_EQ(views.statuses[1], "Scanning for Unit 1");
    EXPECT_EQ(views.statuses[3], "Scanning for Unit 3");
    // A unit that answers wrongly is an error of that number only.
    EXPECT_EQ(views.statuses[20], "Unit 20 Error: Mestra link: LAN message failure");
    EXPECT_EQ(views.statuses[21], "Scanning for Unit 21");
    EXPECT_EQ(views.statuses[30], "Scanning for Unit 30");
    EXPECT_EQ(site.UnitByNumber(20), nullptr);
    EXPECT_EQ(site.ProcessorId(20), 0);
    ASSERT_FALSE(views.progress.empty());
    EXPECT_NE(std::find(views.progress.begin(), views.progress.end(), 3), views.progress.end());
    EXPECT_NE(std::find(views.progress.begin(), views.progress.end(), 6), views.progress.end());
    EXPECT_NE(std::find(views.progress.begin(), views.progress.end(), 10), views.progress.end());
    EXPECT_EQ(views.progress.back(), 100);
}

TEST(ProgramNameTest, EndsAtASpace)
{
    EXPECT_EQ(NameFromWords({{0x3000, 'A' | 'B' << 8}, {0x3002, ' ' | 'C' << 8}, {0x3004, 'D'}}), "AB");
}

TEST(ProgramNameTest, EndsAtAZeroByteInTheHighHalfOfAWord)
{
    EXPECT_EQ(NameFromWords({{0x3000, 'P' | 'R' << 8}, {0x3002, 'G'}}), "PRG");
}

TEST(ProgramNameTest, IsEmptyWhenACharacterIsNotPrintable)
{
    EXPECT_EQ(NameFromWords({{0x3000, 'A' | 'B' << 8}, {0x3002, 0x07 | 'C' << 8}}), "");
    EXPECT_EQ(NameFromWords({{0x3000, 'A' | 0x7F << 8}}), "");
    EXPECT_EQ(NameFromWords({{0x3000, 0xC1 | 'B' << 8}}), "");
}

TEST(ProgramNameTest, SixteenCharactersWithoutAnEndAreAllKeptFromEightWords)
{
    std::map<uint16_t, uint16_t> words;
    const char* text = "0123456789!~xyzW";
    for (int i = 0; i < 16; i += 2)
        words[uint16_t(0x3000 + i)] = uint16_t(uint8_t(text[i]) | uint8_t(text[i + 1]) << 8);
    words[0x3010] = 'Q' | 'Q' << 8; // past the longest name
    int reads = 0;

    EXPECT_EQ(NameFromWords(words, &reads), "0123456789!~xyzW");
    EXPECT_EQ(reads, 8);
}
