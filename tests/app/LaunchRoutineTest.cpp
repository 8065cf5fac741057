// The launch routine: which steps run for which option letters, in which
// order, and what the launch file and the error log say afterwards.
#include "support/AppFixture.h"

#include "app/QuorvelW.h"
#include "app/UnattendedRun.h"
#include "site/SiteExt.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;
using AppTest::TRecordingView;

namespace {

// A controller whose network steps only record that they ran and give
// scripted results.
class TScriptedController : public TQuorvelW {
public:
    using TQuorvelW::TQuorvelW;

    QStringList Calls;
    bool ConnectResult = true;
    bool DownloadResult = true;
    bool AlarmsResult = true;
    bool TripsResult = true;
    bool RealAlarmCollection = false;
    QString DownloadedLog = "/logs/Log0012.log";

    bool Connect(bool remote) override
    {
        Calls << (remote ? "Connect remote" : "Connect local");
        Online = ConnectResult;
        return ConnectResult;
    }
    bool Disconnect() override
    {
        Calls << "Disconnect";
        Online = false;
        return true;
    }
    bool DownloadLog() override
    {
        Calls << "DownloadLog";
        if (DownloadResult)
            Site().LastLog = DownloadedLog;
        return DownloadResult;
    }
    bool CollectAlarms() override
    {
        Calls << "CollectAlarms";
        return RealAlarmCollection ? TQuorvelW::CollectAlarms() : AlarmsResult;
    }
    bool CollectTrips() override
    {
        Calls << "CollectTrips";
        return TripsResult;
    }
    bool ClearAlarms(int unit) override
    {
        Calls << QString("ClearAlarms %1").arg(unit);
        return true;
    }
    bool SetLoggerTime() override
    {
        Calls << "SetLoggerTime";
        return true;
    }
};

class LaunchSiteTest : public AppFixture {
protected:
    LaunchSiteTest() { WriteFile(site, EmptySiteFile("North store")); }

    QByteArray Launch() { return ReadFile(LaunchPath()); }

    QString site = Path("north.ste");
    TRecordingView view;
};

class LaunchRoutineTest : public LaunchSiteTest {
protected:
    TScriptedController controller{view};
};

} // namespace

TEST_F(LaunchRoutineTest, LocalDownloadAndClockSucceedWithTheNewLogFile)
{
    EXPECT_TRUE(controller.RunLaunch("-ALGT", site));
    EXPECT_EQ(controller.Calls,
              QStringList({"Connect local", "DownloadLog", "SetLoggerTime", "Disconnect"}));
    EXPECT_EQ(Launch(), "0\n" + site.toUtf8() + "\n/logs/Log0012.log\n");
    EXPECT_TRUE(controller.LaunchSucceeded());
}

TEST_F(LaunchRoutineTest, FailedModemCallWritesFailureWithNoLogAndEnds)
{
    controller.ConnectResult = false;
    EXPECT_TRUE(controller.RunLaunch("-ARG", site));
    EXPECT_EQ(controller.Calls, QStringList({"Connect remote", "Disconnect"}));
    EXPECT_EQ(Launch(), "1\n" + site.toUtf8() + "\n\n");
    EXPECT_FALSE(controller.LaunchSucceeded());
}

TEST_F(LaunchRoutineTest, LocalWinsOverRemote)
{
    controller.RunLaunch("-ARL", site);
    EXPECT_EQ(controller.Calls.value(0), "Connect local");
}

TEST_F(LaunchRoutineTest, WithoutConnectLettersTheSiteIsOnlyOpenedAndTheRunFails)
{
    EXPECT_TRUE(controller.RunLaunch("-AGFT", site));
    EXPECT_EQ(controller.Calls, QStringList({"Disconnect"}));
    EXPECT_EQ(controller.Site().DescriptionText(), "North store");
    EXPECT_EQ(view.Refreshes, 1);
    EXPECT_EQ(Launch(), "1\n" + site.toUtf8() + "\n\n");
}

TEST_F(LaunchRoutineTest, StayOpenKeepsTheConnectionAndTheProgram)
{
    controller.Site().LastLog = "unused";
    EXPECT_FALSE(controller.RunLaunch("-ALO", site));
    EXPECT_EQ(controller.Calls, QStringList({"Connect local"}));
    EXPECT_TRUE(controller.Online);
    // Without G the log path is the last log recorded for the site.
    EXPECT_EQ(Launch(), "0\n" + site.toUtf8() + "\n\n");
}

TEST_F(LaunchRoutineTest, StayOpenWithoutConnectingWritesFailureAndStays)
{
    EXPECT_FALSE(controller.RunLaunch("-AO", site));
    EXPECT_EQ(Launch().left(2), "1\n");
    EXPECT_TRUE(controller.Automatic);
}

TEST_F(LaunchRoutineTest, WithoutAutomaticItConnectsDisconnectsAndWritesNoLaunchFile)
{
    EXPECT_FALSE(controller.RunLaunch("-L", site));
    EXPECT_EQ(controller.Calls, QStringList({"Connect local", "Disconnect"}));
    EXPECT_FALSE(QFileInfo::exists(LaunchPath()));
}

TEST_F(LaunchRoutineTest, TripsAndClearWithoutAlarmsDoNothing)
{
    EXPECT_TRUE(controller.RunLaunch("-ALPC", site));
    EXPECT_EQ(controller.Calls, QStringList({"Connect local", "Disconnect"}));
    EXPECT_EQ(Launch().left(2), "0\n");
}

TEST_F(LaunchRoutineTest, AlarmsTripsAndClearRunInThatOrder)
{
    controller.RunLaunch("-ALCPF", site);
    EXPECT_EQ(controller.Calls, QStringList({"Connect local", "CollectAlarms", "CollectTrips",
                                             "ClearAlarms 0", "Disconnect"}));
    EXPECT_EQ(Launch().left(2), "0\n");
}

TEST_F(LaunchRoutineTest, FailedTripCollectionFailsTheRunAndSkipsTheClear)
{
    controller.TripsResult = false;
    controller.RunLaunch("-ALFPC", site);
    EXPECT_EQ(controller.Calls,
              QStringList({"Connect local", "CollectAlarms", "CollectTrips", "Disconnect"}));
    EXPECT_EQ(Launch().left(2), "1\n");
}

TEST_F(LaunchRoutineTest, FailedAlarmCollectionSkipsTripsAndFailsTheRun)
{
    controller.AlarmsResult = false;
    controller.RunLaunch("-ALFP", site);
    EXPECT_EQ(controller.Calls, QStringList({"Connect local", "CollectAlarms", "Disconnect"}));
    EXPECT_EQ(Launch().left(2), "1\n");
}

TEST_F(LaunchRoutineTest, FailedDownloadFailsTheRunButAlarmsAndClockStillRun)
{
    controller.DownloadResult = false;
    controller.RunLaunch("-ALGFT", site);
    EXPECT_EQ(controller.Calls, QStringList({"Connect local", "DownloadLog", "CollectAlarms",
                                             "SetLoggerTime", "Disconnect"}));
    EXPECT_EQ(Launch(), "1\n" + site.toUtf8() + "\n\n");
}

TEST_F(LaunchRoutineTest, WithoutASitePathNothingIsTried)
{
    EXPECT_TRUE(controller.RunLaunch("-ALG", QString()));
    EXPECT_EQ(controller.Calls, QStringList({"Disconnect"}));
    EXPECT_EQ(Launch(), "1\n\n\n");
}

TEST_F(LaunchRoutineTest, OpeningASiteWritesTheHeaderLineToTheErrorLog)
{
    controller.RunLaunch("-A", site);
    const QRegularExpression header(
        "^\\n\\*\\*\\* QuorvelW \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d Site: "
        + QRegularExpression::escape(site) + "\\n$");
    EXPECT_TRUE(header.match(QString::fromUtf8(ReadFile(ErrorLogPath()))).hasMatch())
        << ReadFile(ErrorLogPath()).toStdString();
}

TEST_F(LaunchRoutineTest, SiteThatCannotBeOpenedGoesToTheErrorLogInAutomaticMode)
{
    const QString missing = Path("missing.ste");
    controller.RunLaunch("-AL", missing);
    EXPECT_TRUE(view.Messages.empty());
    EXPECT_TRUE(ReadFile(ErrorLogPath())
                    .endsWith("Couldn't open site: " + missing.toUtf8() + ": Quorvel Error\n"));
    EXPECT_EQ(controller.Calls, QStringList({"Disconnect"}));
}

TEST_F(LaunchSiteTest, AlarmsWithoutAnErrorLogFailTheRun)
{
    StoreSetting("Settings/Paths/ErrorLog", "/nonexistent-folder/errors.txt");
    TScriptedController controller(view);
    controller.RealAlarmCollection = true;
    controller.RunLaunch("-ALF", site);
    EXPECT_FALSE(controller.ErrLogOpen());
    EXPECT_EQ(controller.Calls, QStringList({"Connect local", "CollectAlarms", "Disconnect"}));
    EXPECT_EQ(Launch().left(2), "1\n");
}

// The real controller with no modem configuration file: a run that asks to
// connect remotely ends as for a site that cannot be reached.
TEST_F(LaunchSiteTest, RemoteRunWithoutAModemConfigurationFailsWithAnErrorLine)
{
    EXPECT_EQ(RunUnattended({"-ARG", site}), 1);
    const QByteArray log = ReadFile(ErrorLogPath());
    EXPECT_TRUE(log.contains("TAPI: Couldn't read config file: Quorvel Error\n")) << log.toStdString();
    EXPECT_EQ(Launch(), "1\n" + site.toUtf8() + "\n\n");
}
