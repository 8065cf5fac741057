// The clear and reset commands: their names, the messages they compose, and
// their effect on the simulator's units.
#include "UnitJobsFixture.h"

#include "units/DjUnitCommands.h"

#include <gtest/gtest.h>

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

TEST_F(UnitJobsTest, ClearTripsWritesAdjacentResetCountersAsOneWord)
{
    WriteSettingsAddressFile(0x0C01, "012-001,F1\n12,TRIPFLAGS\n64,LPRESETS\n65,HPRESETS\n");
    Start(TripUnits);
    AddSiteUnit(3, 0x0C01);
    const uint64_t writes = Count("lan_requests");

    ASSERT_TRUE(Run(new TDjClrTrips(*runner, site, 3)));

    EXPECT_EQ(Count("lan_requests") - writes, 2u); // trip flags, then both counters
    EXPECT_EQ(Count("lan_commands"), 1u);
    EXPECT_EQ(UnitEEWord(3, 12), 0);
    EXPECT_EQ(UnitEEWord(3, 0x40), 0);
    EXPECT_EQ(UnitEEByte(3, 0x42), 9);
    EXPECT_EQ(UnitAlarmWord(3), 0);
}

TEST_F(UnitJobsTest, ClearTripsWritesResetCountersApartAsTwoBytes)
{
    WriteSettingsAddressFile(0x0C02, "012-002,F2\n12,TRIPFLAGS\n64,LPRESETS\n80,HPRESETS\n");
    Start(TripUnits);
    AddSiteUnit(4, 0x0C02);
    const uint64_t writes = Count("lan_requests");

    ASSERT_TRUE(Run(new TDjClrTrips(*runner, site, 4)));

    EXPECT_EQ(Count("lan_requests") - writes, 3u);
    EXPECT_EQ(UnitEEWord(4, 12), 0);
    EXPECT_EQ(UnitEEByte(4, 0x40), 0);
    EXPECT_EQ(UnitEEByte(4, 0x41), 4);
    EXPECT_EQ(UnitEEByte(4, 0x50), 0);
}

TEST_F(UnitJobsTest, ClearTripsWithoutResetCountersWritesOnlyTheTripFlags)
{
    WriteSettingsAddressFile(0x0C03, "012-003,F3\n12,TRIPFLAGS\n");
    Start(TripUnits);
    AddSiteUnit(5, 0x0C03);
    const uint64_t writes = Count("lan_requests");

    ASSERT_TRUE(Run(new TDjClrTrips(*runner, site, 5)));

    EXPECT_EQ(Count("lan_requests") - writes, 1u);
    EXPECT_EQ(UnitEEWord(5, 12), 0);
    EXPECT_EQ(UnitEEWord(5, 0x40), 0x0403);
}

TEST_F(UnitJobsTest, ClearTripsWithoutTripFlagsSendsNothingAndSucceeds)
{
    Start(TripUnits);
    AddSiteUnit(6, 0x0C04); // no settings-address file

    ASSERT_TRUE(Run(new TDjClrTrips(*runner, site, 6)));

    EXPECT_EQ(Count("lan_taken"), 0u);
    EXPECT_EQ(UnitAlarmWord(6), 0x0003);
}

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
