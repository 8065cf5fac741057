// The controller's unit commands end to end, against the simulator's LAN
// through a pseudo-terminal: the scan, the alarms and trips collected into
// the error log, clearing alarms, resetting, and the launch letters F, P and
// C in an unattended run, in process and with the built program.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelW.h"
#include "comms/MestraIF.h"
#include "settings/Properties.h"
#include "site/ConfigBlock.h"
#include "site/SiteExt.h"


using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;
using QuorvelTest::SimProcess;

namespace {

// An absent unit costs one short LAN time-out, so a scan of 30 numbers stays
// within a few seconds.

// Unit 3 has two alarms; unit 12 runs an application whose trip flags are
// EE word 12, with two trips set.
const QString TwoUnits = QStringLiteral("unit 3 alarms 0x0009\n"
                                        "unit 12 app 0x0C05\n"
                                        "unit 12 ee 12 words 0x00A0\n");

class UnitCommandsTest : public AppFixture {
protected:
    void StartSim(const QString& scenario)
    {
        sim = std::make_unique<SimProcess>(QStringList{}, scenario);
        StoreSetting("Settings/Comms/LocalPort", sim->PortPath());
        WriteTripFlagsFile();
    }

    static void WriteTripFlagsFile()
    {
        const QString path = TConfigBlock::SettingsAddressPath(0x0C05);
        QDir().mkpath(QFileInfo(path).path());
        WriteFile(path, "012-005,FRIDGE5\n12,TRIPFLAGS\n");
    }

    // Connects a controller to the simulator with the short time-outs.
    static bool ConnectLocally(TQuorvelW& controller)
    {
        controller.Site().ComTimeouts = SimProcess::ShortTimeouts;
        return controller.Connect(false);
    }

    // A site file with the simulator's units, as a scan leaves it.
    QString ScannedSiteFile()
    {
        const QString site = Path("scanned.ste");
        WriteFile(site, EmptySiteFile("Scanned"));
        AppTest::TRecordingView scanView;
        TQuorvelW controller(scanView);
        EXPECT_TRUE(controller.OpenSite(site));
        EXPECT_TRUE(ConnectLocally(controller));
        controller.ScanUnits();
        controller.Disconnect();
        EXPECT_TRUE(controller.SaveSite());
        return site;
    }

    uint64_t LanCommands() { return sim->GetCounts()["lan_commands"]; }

    QString ErrorLog() { return QString::fromUtf8(ReadFile(ErrorLogPath())); }

    AppTest::TRecordingView view;
    std::unique_ptr<SimProcess> sim;
};

} // namespace

TEST_F(UnitCommandsTest, ScanAddsTheUnitsFoundAndRebuildsTheUnitTable)
{
    StartSim(TwoUnits);
    TQuorvelW controller(view);
    ASSERT_TRUE(ConnectLocally(controller));
    controller.Site().SetModified(false);

    controller.ScanUnits();

    TSiteExt& site = controller.Site();
    EXPECT_TRUE(site.IsModified());
    EXPECT_EQ(view.UnitListClears, 1);
    EXPECT_EQ(view.UnitScans, 1);
    EXPECT_NE(site.UnitTable[3].Unit, nullptr);
    EXPECT_NE(site.UnitTable[12].Unit, nullptr);
    EXPECT_EQ(site.UnitTable[4].Unit, nullptr);
    controller.Disconnect();
}

TEST_F(UnitCommandsTest, AlarmsAndTripsGoToTheErrorLogWithNamesAndHexWords)
{
    StartSim(TwoUnits);
    TQuorvelW controller(view);
    controller.RunLaunch("-J", QString());
    ASSERT_TRUE(ConnectLocally(controller));
    controller.ScanUnits();

    EXPECT_TRUE(controller.CollectAlarms());
    EXPECT_TRUE(controller.CollectTrips());

    const QString log = ErrorLog();
    EXPECT_TRUE(log.contains("Unit 3 alarms: \"SENSOR FAILURE\",\"HIGH TEMPERATURE\"\n")) << log.toStdString();
    EXPECT_TRUE(log.contains("Unit 12 trips: 00A0\n")) << log.toStdString();
    EXPECT_FALSE(log.contains("Unit 12 alarms")) << log.toStdString();
    EXPECT_FALSE(log.contains("Unit 3 trips")) << log.toStdString();
    EXPECT_TRUE(view.Messages.empty());
    controller.Disconnect();
}

TEST_F(UnitCommandsTest, ClearAlarmsAsksFirstAndClearsTheInterfaceUnitsLanAddressToo)
{
    StartSim(TwoUnits + "lan address 5\n");
    TQuorvelW controller(view);
    ASSERT_TRUE(ConnectLocally(controller));
    controller.ScanUnits(); // the replies tell the interface unit's address
    ASSERT_EQ(controller.Link().InterfaceAddress, 5);

    view.Answers = {MessageAnswer::No};
    EXPECT_TRUE(controller.ClearAlarms(0));
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Are you sure?");
    EXPECT_EQ(view.Messages[0].Caption, "Clear Alarms");
    EXPECT_EQ(view.Messages[0].Flags, 0x24);
    EXPECT_EQ(LanCommands(), 0u);

    view.Answers = {MessageAnswer::Yes};
    EXPECT_TRUE(controller.ClearAlarms(0));
    EXPECT_EQ(LanCommands(), 2u); // to unit 0 and to LAN address 5
    controller.Disconnect();
}

TEST_F(UnitCommandsTest, ResetIsSentOnlyAfterYesAndNeverInAnAutomaticRun)
{
    StartSim(TwoUnits);
    TQuorvelW controller(view);
    ASSERT_TRUE(ConnectLocally(controller));

    view.Answers = {MessageAnswer::Yes};
    controller.ResetUnit(3);
    EXPECT_EQ(view.Messages.back().Caption, "Reset Unit");
    EXPECT_EQ(LanCommands(), 1u);

    controller.Automatic = true;
    controller.ResetUnit(3);
    EXPECT_EQ(LanCommands(), 1u);
    controller.ClearMaxMins(3); // never asks
    EXPECT_EQ(LanCommands(), 2u);
    controller.Disconnect();
}

// -ALFPC collects both into the log and clears the alarms; a later -ALF run
// of the built program, headless, finds none left.
TEST_F(UnitCommandsTest, UnattendedRunsCollectAndClearAlarms)
{
    StartSim(TwoUnits);
    const QString site = ScannedSiteFile();

    {
        TQuorvelW controller(view);
        EXPECT_TRUE(controller.RunLaunch("-ALFPC", site));
        EXPECT_TRUE(controller.LaunchSucceeded());
    }
    const QString first = ErrorLog();
    EXPECT_TRUE(first.contains("Unit 3 alarms: \"SENSOR FAILURE\",\"HIGH TEMPERATURE\"\n")) << first.toStdString();
    EXPECT_TRUE(first.contains("Unit 12 trips: 00A0\n")) << first.toStdString();
    EXPECT_EQ(LanCommands(), 1u);

    const AppTest::TProgramRun run = RunProgram({"-ALF", site});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_EQ(ReadFile(LaunchPath()).left(2), "0\n");
    const QString second = ErrorLog().mid(first.size());
    EXPECT_TRUE(second.contains("*** QuorvelW")) << second.toStdString();
    EXPECT_FALSE(second.contains("alarms:")) << second.toStdString();
    EXPECT_TRUE(second.contains("Online: ")) << second.toStdString();
}

TEST_F(UnitCommandsTest, AlarmsWithoutAnErrorLogFailTheUnattendedRun)
{
    StartSim(TwoUnits);
    const QString site = ScannedSiteFile();
    StoreSetting("Settings/Paths/ErrorLog", Path("no-such-folder/errors.txt"));
    TQuorvelW controller(view);
    EXPECT_TRUE(controller.RunLaunch("-ALF", site));
    EXPECT_FALSE(controller.LaunchSucceeded());
    EXPECT_EQ(ReadFile(LaunchPath()), "1\n" + site.toUtf8() + "\n\n");
}
