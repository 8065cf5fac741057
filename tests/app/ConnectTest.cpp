// Connecting to a site through the local port, against the site simulator:
// the controller's connection state, the site's identifier, the logger, the
// job runner, disconnecting, a port that does not exist, and the built
// program's unattended run with the letter L.
#include "support/AppFixture.h"
#include "support/PtyPair.h"
#include "support/SimProcess.h"

#include "app/ConnectSequence.h"
#include "app/QuorvelW.h"
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "jobs/PelkThread.h"
#include "logger/LogIF.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QDateTime>

using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;
using QuorvelTest::SimProcess;

namespace {


class ConnectTest : public AppFixture {
protected:
    void StartSim() { sim = std::make_unique<SimProcess>(QStringList{}, "identity 0x4D2E\n"); }

    AppTest::TRecordingView view;
    std::unique_ptr<SimProcess> sim;
};

} // namespace

TEST_F(ConnectTest, LocalConnectBringsTheSiteOnlineWithItsIdentifierAndLogger)
{
    StartSim();
    TQuorvelW controller(view);
    controller.Properties().LocalPort = sim->PortPath();
    ASSERT_EQ(controller.Site().ProcId, 0);

    EXPECT_TRUE(controller.Connect(false));
    EXPECT_TRUE(view.Messages.empty()) << view.Messages.front().Text.toStdString();
    EXPECT_TRUE(controller.Online);
    EXPECT_FALSE(controller.ModemCall);
    EXPECT_TRUE(controller.LoggerPresent);
    EXPECT_TRUE(controller.Logger().IsOpen());
    EXPECT_EQ(controller.Site().ProcId, AppTest::SimIdentity);
    EXPECT_TRUE(controller.Site().IsModified()); // a new identifier
    EXPECT_TRUE(controller.ConnectTime.isValid());

    EXPECT_TRUE(controller.Disconnect());
    EXPECT_FALSE(controller.Online);
    EXPECT_FALSE(controller.Link().IsOpen());
    EXPECT_FALSE(controller.Logger().IsOpen());
    EXPECT_TRUE(controller.Runner().IsSuspended());
}

TEST_F(ConnectTest, ConnectingAgainAfterADisconnectWorks)
{
    StartSim();
    TQuorvelW controller(view);
    controller.Properties().LocalPort = sim->PortPath();
    ASSERT_TRUE(controller.Connect(false));
    controller.Disconnect();
    EXPECT_TRUE(controller.Connect(false));
    EXPECT_TRUE(controller.Online);
    controller.Disconnect();
}

TEST_F(ConnectTest, DisconnectWritesTheSecondsOnlineToTheErrorLog)
{
    StartSim();
    TQuorvelW controller(view);
    controller.RunLaunch("-J", QString());
    ASSERT_TRUE(controller.ErrLogOpen());
    controller.Properties().LocalPort = sim->PortPath();
    ASSERT_TRUE(controller.Connect(false));
    // Online for 2 minutes and a fraction of a second, which is dropped.
    controller.ConnectTime = QDateTime::currentDateTime().addMSecs(-125500);
    controller.Disconnect();
    EXPECT_TRUE(ReadFile(ErrorLogPath()).endsWith("Online: 125\n")) << ReadFile(ErrorLogPath()).toStdString();
}

TEST_F(ConnectTest, MissingPortFailsWithTheCommPortErrorAndStaysOffline)
{
    TQuorvelW controller(view);
    controller.Properties().LocalPort = Path("no-such-port");
    EXPECT_FALSE(controller.Connect(false));
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_TRUE(view.Messages[0].Text.startsWith("Couldn't open comm port")) << view.Messages[0].Text.toStdString();
    EXPECT_EQ(view.Messages[0].Caption, "Quorvel Error");
    EXPECT_FALSE(controller.Online);
    EXPECT_FALSE(controller.LoggerPresent);
    EXPECT_FALSE(controller.Link().IsOpen());
    EXPECT_EQ(controller.Site().ProcId, 0);
}

// Nobody answers behind the port and the link's own time-outs are long: the
// "ModemTimeout" aborts the link, whose abort error is reported once, and the
// attempt ends then rather than 30 seconds later.
TEST_F(ConnectTest, ModemTimeoutAbortsALinkThatNeverAnswers)
{
    QuorvelTest::PtyPair silent;
    TQuorvelW controller(view);
    controller.Properties().LocalPort = silent.SlavePath();
    controller.Properties().ModemTimeout = 1;
    controller.Site().ComTimeouts = "10,30000,30000,30000,30000,30000";

    EXPECT_FALSE(controller.Connect(false));

    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, Pelk::EPelkUserAbort::Text);
    EXPECT_FALSE(controller.Online);
    EXPECT_FALSE(controller.Link().IsOpen());
}

TEST_F(ConnectTest, BadTimeoutListIsReportedAndNothingIsOpened)
{
    TQuorvelW controller(view);
    controller.Site().ComTimeouts = "10,x,500";
    EXPECT_FALSE(controller.Connect(false));
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Caption, "Quorvel Error");
    EXPECT_FALSE(controller.Link().IsOpen());
}

TEST_F(ConnectTest, DialNumberJoinsPrefixTelephoneAndSuffix)
{
    TQuorvelW controller(view);
    controller.Properties().DialPrefix = "9,";
    controller.Properties().DialSuffix = "#";
    controller.Properties().ModemDevice = 2;
    controller.Site().SetTelephone("0123 456");
    TConnectSequence sequence(controller.Link(), controller.Logger(), controller.Site(),
                              controller.Properties(), nullptr, {});
    EXPECT_EQ(sequence.DialNumber(), "9,0123 456#");
    EXPECT_EQ(sequence.DialDevice(), 2); // the site names no device
    controller.Site().ModemDev = 0;
    EXPECT_EQ(sequence.DialDevice(), 0);
}

// The built program as a supervisor starts it, with the simulator's port as
// the local port in the settings it reads.
TEST_F(ConnectTest, UnattendedLocalRunOfTheProgramSucceeds)
{
    StartSim();
    StoreSetting("Settings/Comms/LocalPort", sim->PortPath());
    const QString site = Path("north.ste");
    WriteFile(site, EmptySiteFile("North store"));

    const AppTest::TProgramRun run = RunProgram({"-AL", site});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_EQ(ReadFile(LaunchPath()), "0\n" + site.toUtf8() + "\n\n");
    EXPECT_TRUE(ReadFile(ErrorLogPath()).contains("Online: ")) << ReadFile(ErrorLogPath()).toStdString();
}

// A supervisor must never wait on a dialog nobody sees: the failure goes to
// the error log and the launch file, and the program ends.
TEST_F(ConnectTest, UnattendedRunWithAMissingPortFailsAndEnds)
{
    StoreSetting("Settings/Comms/LocalPort", Path("no-such-port"));
    const QString site = Path("north.ste");
    WriteFile(site, EmptySiteFile("North store"));

    const AppTest::TProgramRun run = RunProgram({"-ALF", site});
    ASSERT_TRUE(run.Finished);
    EXPECT_NE(run.ExitCode, 0);
    EXPECT_TRUE(ReadFile(LaunchPath()).startsWith("1\n" + site.toUtf8() + "\n")) << ReadFile(LaunchPath()).toStdString();
    EXPECT_TRUE(ReadFile(ErrorLogPath()).contains("Couldn't open comm port")) << ReadFile(ErrorLogPath()).toStdString();
}

TEST_F(ConnectTest, ControllerMakesTheThreeStandingJobs)
{
    TQuorvelW controller(view);
    EXPECT_EQ(controller.Runner().Queue().Count(), 3u);
    EXPECT_TRUE(controller.Runner().IsSuspended()); // nothing runs while offline
}
