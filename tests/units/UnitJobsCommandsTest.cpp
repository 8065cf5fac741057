// The clear and reset commands: their names, the messages they compose, and
// their effect on the simulator's units.
#include "UnitJobsFixture.h"

#include "units/DjUnitCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace Quorvel1;
using namespace QuorvelTest;

namespace {

using Message = Pelk::TLanMessage;

// Units 3 and 4 keep their two reset counters side by side or apart; unit 5
// has no reset counters, unit 6 no trip flags at all.
const QString TripUnits = "unit 3 app 0x0C01 alarms 0x0003\n"
                          "unit 3 ee 12 words 0x0104\n"
                          "unit 3 ee 0x40 bytes 3 4 9\n"
                          "unit 4 app 0x0C02\n"
                          "unit 4 ee 12 words 0x0104\n"
                          "unit 4 ee 0x40 bytes 3 4 9\n"
                          "unit 4 ee 0x50 bytes 5\n"
                          "unit 5 app 0x0C03\n"
                          "unit 5 ee 12 words 0x0104\n"
                          "unit 5 ee 0x40 bytes 3 4\n"
                          "unit 6 app 0x0C04 alarms 0x0003\n";

std::pair<int16_t, int16_t> AirspaceMaxMin(Pelk::TMestraIF& link, uint8_t unit, uint8_t airspace)
{
    link.SelectUnit(unit, false);
    Message message{};
    link.LanRequest(0x85, airspace, message);
    return {int16_t(Pelk::Lan::DataWord(message, 0)), int16_t(Pelk::Lan::DataWord(message, 2))};
}

} // namespace

TEST(UnitCommandMessageTest, CarriesDestinationKindSixCodeAndDataWithUnusedBytesZero)
{
    EXPECT_EQ(UnitCommandMessage(5, 9), (Message{0, 5, 0x60, 9, 0, 0, 0, 0}));
    EXPECT_EQ(UnitCommandMessage(0, 17), (Message{0, 0, 0x60, 17, 0, 0, 0, 0}));
    EXPECT_EQ(UnitCommandMessage(30, 2, 0x0018, 0), (Message{0, 30, 0x60, 2, 0x18, 0, 0, 0}));
    EXPECT_EQ(UnitCommandMessage(1, 2, 0xA1B2, 0xC3D4), (Message{0, 1, 0x60, 2, 0xB2, 0xA1, 0xD4, 0xC3}));
}

TEST_F(UnitJobsTest, CommandJobsAreNamedAfterTheirUnit)
{
    Start({});
    auto* alarms = new TDjClrAlarms(*runner, 7);
    auto* trips = new TDjClrTrips(*runner, site, 12);
    auto* maxMins = new TDjClrMaxMins(*runner, 5);
    auto* reset = new TDjResetUnit(*runner, 30);

    EXPECT_EQ(alarms->Name, "Clear Alarms - Unit 7");
    EXPECT_EQ(trips->Name, "Clear Trips - Unit 12");
    EXPECT_EQ(maxMins->Name, "Clear Max/Mins - Unit 5");
    EXPECT_EQ(reset->Name, "Reset Unit 30");
    for (TPelkJob* job : {static_cast<TPelkJob*>(alarms), static_cast<TPelkJob*>(trips),
                          static_cast<TPelkJob*>(maxMins), static_cast<TPelkJob*>(reset)}) {
        EXPECT_EQ(job->Period, 0);
        job->Release();
    }
}

TEST_F(UnitJobsTest, ClearAlarmsClearsTheUnitsAlarmWordOnly)
{
    Start("unit 5 alarms 0x0081\nunit 6 alarms 0x0002\n");

    ASSERT_TRUE(Run(new TDjClrAlarms(*runner, 5)));

    EXPECT_EQ(UnitAlarmWord(5), 0);
    EXPECT_EQ(UnitAlarmWord(6), 0x0002);
    EXPECT_EQ(Count("lan_commands"), 1u);
}

TEST_F(UnitJobsTest, CommandsToANumberAboveThirtySendNothingAndSucceed)
{
    Start("unit 5 alarms 0x0081\n");

    EXPECT_TRUE(Run(new TDjClrAlarms(*runner, 31)));
    EXPECT_TRUE(Run(new TDjClrMaxMins(*runner, 31)));
    EXPECT_TRUE(Run(new TDjResetUnit(*runner, 31)));

    EXPECT_EQ(Count("lan_taken"), 0u);
}

namespace {

// Clear trips for one of the units above, with its settings-address file.
struct ClearTripsCase {
    const char* Name;
    uint8_t Unit;
    uint16_t AppId;
    const char* AddressFile; // null: the unit's application has none
    uint64_t EeWrites;       // LAN requests
    uint64_t Commands;       // the clear-alarms message
    std::vector<std::pair<uint16_t, uint8_t>> EeBytes; // address, byte after the job
    uint16_t AlarmWord;      // after the job
};

void PrintTo(const ClearTripsCase& row, std::ostream* out)
{
    *out << row.Name;
}

class ClearTripsTest : public UnitJobsTest, public ::testing::WithParamInterface<ClearTripsCase> {};

TEST_P(ClearTripsTest, ClearsTheTripFlagsAndResetCountersItFindsThenTheAlarms)
{
    const ClearTripsCase& row = GetParam();
    if (row.AddressFile)
        WriteSettingsAddressFile(row.AppId, row.AddressFile);
    Start(TripUnits);
    AddSiteUnit(row.Unit, row.AppId);
    const uint64_t requests = Count("lan_requests");

    ASSERT_TRUE(Run(new TDjClrTrips(*runner, site, row.Unit)));

    EXPECT_EQ(Count("lan_requests") - requests, row.EeWrites);
    EXPECT_EQ(Count("lan_commands"), row.Commands);
    for (const auto& [address, byte] : row.EeBytes)
        EXPECT_EQ(UnitEEByte(row.Unit, address), byte) << "EE " << address;
    EXPECT_EQ(UnitAlarmWord(row.Unit), row.AlarmWord);
}

INSTANTIATE_TEST_SUITE_P(
    Counters, ClearTripsTest,
    ::testing::Values(
        ClearTripsCase{"AdjacentResetCountersAreWrittenAsOneWord", 3, 0x0C01,
                       "012-001,F1\n12,TRIPFLAGS\n64,LPRESETS\n65,HPRESETS\n", 2, 1,
                       {{12, 0}, {13, 0}, {0x40, 0}, {0x41, 0}, {0x42, 9}}, 0},
        ClearTripsCase{"ResetCountersApartAreWrittenAsTwoBytes", 4, 0x0C02,
                       "012-002,F2\n12,TRIPFLAGS\n64,LPRESETS\n80,HPRESETS\n", 3, 1,
                       {{12, 0}, {13, 0}, {0x40, 0}, {0x41, 4}, {0x50, 0}}, 0},
        ClearTripsCase{"WithoutResetCountersOnlyTheTripFlagsAreWritten", 5, 0x0C03, "012-003,F3\n12,TRIPFLAGS\n", 1,
                       1, {{12, 0}, {13, 0}, {0x40, 3}, {0x41, 4}}, 0},
        ClearTripsCase{"WithoutTripFlagsNothingIsSent", 6, 0x0C04, nullptr, 0, 0, {}, 0x0003}),
    [](const ::testing::TestParamInfo<ClearTripsCase>& info) { return std::string(info.param.Name); });

} // namespace

TEST_F(UnitJobsTest, ClearMaxMinsForOneUnitIsSentToEveryUnit)
{
    Start("unit 5 airspace 1 actual 40 max 70 min 10\n"
          "unit 6 airspace 1 actual -15 max 30 min -50\n");

    ASSERT_TRUE(Run(new TDjClrMaxMins(*runner, 5)));

    EXPECT_EQ(AirspaceMaxMin(link, 5, 1), std::make_pair(int16_t(40), int16_t(40)));
    EXPECT_EQ(AirspaceMaxMin(link, 6, 1), std::make_pair(int16_t(-15), int16_t(-15)));
}

TEST_F(UnitJobsTest, ResetUnitSetsSystemResetInThatUnitsAlarmWord)
{
    Start("unit 5 alarms 0x0001\nunit 6 alarms 0x0001\n");

    ASSERT_TRUE(Run(new TDjResetUnit(*runner, 5)));

    EXPECT_EQ(UnitAlarmWord(5), 0x8001);
    EXPECT_EQ(UnitAlarmWord(6), 0x0001);
}

TEST_F(UnitJobsTest, AClearCommandFailsWhenTheLinkCannotReachTheLan)
{
    Start("link 0x0100 16 252 0\nunit 5 alarms 0x0001\n");

    EXPECT_FALSE(Run(new TDjClrAlarms(*runner, 5)));
}
