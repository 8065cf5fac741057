// Alarm and trip collection against the simulator's units: the alarm table
// in one step, unit by unit without it, and trip words from the EE address
// the settings-address file names.
#include "UnitJobsFixture.h"

#include "units/DjUnitAlarms.h"
#include "units/DjUnitCommands.h"
#include "units/DjUnitTrips.h"

#include <gtest/gtest.h>

using namespace Quorvel1;
using namespace QuorvelTest;

namespace {

const QString AlarmUnits = "unit 3 alarms 0x0001\n"
                           "unit 5 alarms 0x0082\n"
                           "unit 7 alarms 0x0400\n";

// The default descriptor table with its alarm-table slot empty.
const QString NoAlarmTable = "descriptors 3 0 0x3040 0x3100\n";

} // namespace

TEST_F(UnitJobsTest, AlarmTableGivesEveryUnitsAlarmWordInOneStep)
{
    Start(AlarmUnits);
    AddSiteUnit(3, 0x0C05);
    AddSiteUnit(5, 0x0C05);
    AddSiteUnit(9, 0x0C05);
    site.SetAlarmWord(7, 0x1234); // unit 7 is on the LAN but not in the site
    site.SetAlarmWord(9, 0x5678);
    auto* alarms = new TDjUnitAlarms(*runner, site, &views, 0);
    EXPECT_EQ(alarms->Name, "Unit Alarms");

    ASSERT_TRUE(Run(alarms));

    EXPECT_EQ(site.AlarmWord(3), 0x0001);
    EXPECT_EQ(site.AlarmWord(5), 0x0082);
    EXPECT_EQ(site.AlarmWord(7), 0);
    EXPECT_EQ(site.AlarmWord(9), 0);
    EXPECT_EQ(views.statusUpdates.size(), 31u);
    EXPECT_EQ(Count("lan_taken"), 0u); // the table alone, no unit asked
}

TEST_F(UnitJobsTest, WithoutAnAlarmTableEachUnitIsAskedAndASilentOneIsANetworkFailure)
{
    Start(NoAlarmTable + AlarmUnits);
    ASSERT_EQ(link.GetDescriptor(Pelk::TMestraIF::AlarmTableSlot), 0);
    AddSiteUnit(3, 0x0C05);
    AddSiteUnit(5, 0x0C05);
    AddSiteUnit(9, 0x0C05); // not on the LAN

    ASSERT_TRUE(Run(new TDjUnitAlarms(*runner, site, &views, 0)));

    EXPECT_EQ(site.AlarmWord(3), 0x0001);
    EXPECT_EQ(site.AlarmWord(5), 0x0082);
    EXPECT_EQ(site.AlarmWord(7), 0);
    EXPECT_EQ(site.AlarmWord(9), 0x4000);
    EXPECT_EQ(views.statusUpdates, (std::set<int>{3, 5, 9}));
}

TEST_F(UnitJobsTest, TripWordsComeFromTheTripFlagsAddressOfTheUnitsApplication)
{
    WriteSettingsAddressFile(0x0C05, "012-005,FRIDGE5\n12,TRIPFLAGS\n40,SETPOINT1\n");
    WriteSettingsAddressFile(0x0C06, "012-006,FRIDGE6\n40,SETPOINT1\n");
    Start("unit 3 app 0x0C05\n"
          "unit 3 ee 12 words 0x0104\n"
          "unit 4 app 0x0C06\n"
          "unit 4 ee 12 words 0x0999\n");
    AddSiteUnit(3, 0x0C05);
    AddSiteUnit(4, 0x0C06); // its application has no trip flags
    AddSiteUnit(9, 0x0C05); // not on the LAN
    site.SetTripWord(4, 0x7777);
    site.SetTripWord(9, 0x5555);
    auto* trips = new TDjUnitTrips(*runner, site, 0);
    EXPECT_EQ(trips->Name, "Unit Trips");

    ASSERT_TRUE(Run(trips));

    EXPECT_EQ(site.TripWord(3), 0x0104);
    EXPECT_EQ(site.TripWord(4), 0x7777);
    EXPECT_EQ(site.TripWord(9), 0);
}

TEST_F(UnitJobsTest, StandingAlarmAndTripJobsKeepCyclingOverTheUnits)
{
    WriteSettingsAddressFile(0x0C05, "012-005,FRIDGE5\n12,TRIPFLAGS\n");
    Start(NoAlarmTable + "unit 3 alarms 0x0001\nunit 3 ee 12 words 0x0010\n");
    AddSiteUnit(3, 0x0C05);
    runner->Pause();
    new TDjUnitAlarms(*runner, site, &views, 50);
    new TDjUnitTrips(*runner, site, 50);
    runner->ResumeIfConnected();
    QElapsedTimer waited;
    waited.start();
    while (site.TripWord(3) != 0x0010 || views.statusUpdates.empty()) {
        ASSERT_LT(waited.elapsed(), 30000) << "the standing jobs never collected unit 3";
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    const std::size_t firstRound = views.statusUpdates.size();

    // A change on the unit reaches the site on a later cycle.
    runner->Pause();
    link.SelectUnit(3, false);
    link.WriteWord(0x0020, 12, true);
    runner->ResumeIfConnected();
    while (site.TripWord(3) != 0x0020) {
        ASSERT_LT(waited.elapsed(), 30000) << "the trip job stopped after one cycle";
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    runner->Pause();
    EXPECT_EQ(site.AlarmWord(3), 0x0001);
    EXPECT_EQ(firstRound, 1u);
}

TEST_F(UnitJobsTest, ATripReadBrokenOffByACommandLeavesTheUnitsTripWord)
{
    WriteSettingsAddressFile(0x0C05, "012-005,FRIDGE5\n12,TRIPFLAGS\n");
    Start("unit 1 app 0x0C05 silent\nunit 3 alarms 0x0001\n");
    AddSiteUnit(1, 0x0C05);
    site.SetTripWord(1, 0x5555);
    runner->Pause();
    new TDjUnitTrips(*runner, site, 50);
    runner->ResumeIfConnected();
    // The trip job is now waiting for the silent unit's reply.
    QElapsedTimer waited;
    waited.start();
    while (Count("lan_taken") == 0) {
        ASSERT_LT(waited.elapsed(), 30000) << "the trip job never asked unit 1";
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    ASSERT_TRUE(Run(new TDjClrAlarms(*runner, 3)));
    runner->Pause();

    EXPECT_EQ(site.TripWord(1), 0x5555);
}
