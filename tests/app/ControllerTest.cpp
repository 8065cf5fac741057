// Start-up, options, reporting and the error log of the application controller.
#include "support/AppFixture.h"

#include "app/QuorvelW.h"
#include "settings/Properties.h"
#include "site/SiteExt.h"

#include <QFileInfo>

using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::TRecordingView;

namespace {

class ControllerTest : public AppFixture {
protected:
    TRecordingView view;
};

} // namespace

TEST_F(ControllerTest, ControllerIsReachableOnlyWhileItExists)
{
    EXPECT_EQ(Controller(), nullptr);
    {
        TQuorvelW controller(view);
        EXPECT_EQ(Controller(), &controller);
    }
    EXPECT_EQ(Controller(), nullptr);
}

TEST_F(ControllerTest, StartWithoutArgumentsOrLastSiteGivesAnUntitledSite)
{
    TQuorvelW controller(view);
    EXPECT_FALSE(controller.Start({}));
    EXPECT_TRUE(view.SiteTabShown);
    EXPECT_EQ(view.Panels[2], QUORVEL_VERSION);
    ASSERT_FALSE(view.Captions.isEmpty());
    EXPECT_EQ(view.Captions.last(), "QuorvelXP - Untitled");
    EXPECT_FALSE(controller.Online);
    EXPECT_TRUE(view.Messages.empty());
}

TEST_F(ControllerTest, StartOpensTheLastSiteWhenNoneIsGiven)
{
    WriteFile(Path("north.ste"), AppTest::EmptySiteFile("North store"));
    StoreSetting("Settings/Paths/LastSite", Path("north.ste"));
    TQuorvelW controller(view);
    EXPECT_FALSE(controller.Start({"-R"}));
    EXPECT_EQ(controller.Options, "-R");
    EXPECT_EQ(controller.Site().DescriptionText(), "North store");
    EXPECT_EQ(view.Captions.last(), "QuorvelXP - north");
}

TEST_F(ControllerTest, SingleArgumentIsOpenedAsTheSiteWithNoOptions)
{
    WriteFile(Path("south.ste"), AppTest::EmptySiteFile("South store"));
    TQuorvelW controller(view);
    EXPECT_FALSE(controller.Start({Path("south.ste")}));
    EXPECT_EQ(controller.Options, "");
    EXPECT_FALSE(controller.Automatic);
    EXPECT_EQ(controller.Site().DescriptionText(), "South store");
    EXPECT_EQ(controller.Properties().LastSite, Path("south.ste"));
}

TEST_F(ControllerTest, HasOptionFindsALetterAnywhereCaseSensitively)
{
    TQuorvelW controller(view);
    controller.RunLaunch("-xJ", QString());
    EXPECT_TRUE(controller.HasOption('J'));
    EXPECT_TRUE(controller.HasOption('x'));
    EXPECT_TRUE(controller.HasOption('-'));
    EXPECT_FALSE(controller.HasOption('j'));
    EXPECT_FALSE(controller.HasOption('A'));
    EXPECT_FALSE(controller.Automatic);
}

TEST_F(ControllerTest, InteractiveReportShowsTheMessageAndReturnsTheAnswer)
{
    TQuorvelW controller(view);
    view.Answers = {6};
    EXPECT_EQ(controller.Report("Are you sure?", "Clear Alarms", 0x24), 6);
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Are you sure?");
    EXPECT_EQ(view.Messages[0].Caption, "Clear Alarms");
    EXPECT_EQ(view.Messages[0].Flags, 0x24);
}

TEST_F(ControllerTest, ReportErrorUsesTheErrorCaptionAndIcon)
{
    TQuorvelW controller(view);
    controller.ReportError("Couldn't save site");
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Caption, "Quorvel Error");
    EXPECT_EQ(view.Messages[0].Flags, 0x10);
}

TEST_F(ControllerTest, AutomaticReportWritesOneLineAndAnswersNo)
{
    TQuorvelW controller(view);
    controller.RunLaunch("-A", QString());
    EXPECT_EQ(controller.Report("Are you sure?", "Reset Unit", 0x24), 0);
    EXPECT_TRUE(view.Messages.empty());
    EXPECT_TRUE(ReadFile(ErrorLogPath()).endsWith("Are you sure?: Reset Unit\n"));
}

TEST_F(ControllerTest, ErrorLogLinesAreOnDiskAsSoonAsTheyAreWritten)
{
    TQuorvelW controller(view);
    controller.RunLaunch("-A", QString());
    controller.ReportError("Alarm collection failed");
    // Read while the controller still holds the log open: nothing may wait
    // in a buffer for the close.
    EXPECT_TRUE(ReadFile(ErrorLogPath()).endsWith("Alarm collection failed: Quorvel Error\n"));
}

TEST_F(ControllerTest, ErrorLogIsAppendedToNotReplaced)
{
    WriteFile(ErrorLogPath(), "earlier run\n");
    {
        TQuorvelW controller(view);
        controller.RunLaunch("-A", QString());
        controller.ReportError("second run");
    }
    EXPECT_EQ(ReadFile(ErrorLogPath()), "earlier run\nsecond run: Quorvel Error\n");
}

TEST_F(ControllerTest, OptionJOpensTheErrorLogWithoutAutomaticMode)
{
    TQuorvelW controller(view);
    controller.RunLaunch("-J", QString());
    EXPECT_TRUE(controller.ErrLogOpen());
    EXPECT_FALSE(controller.Automatic);
}

TEST_F(ControllerTest, WithoutAOrJThereIsNoErrorLog)
{
    TQuorvelW controller(view);
    controller.RunLaunch("-LG", QString());
    EXPECT_FALSE(controller.ErrLogOpen());
    EXPECT_FALSE(QFileInfo::exists(ErrorLogPath()));
}

TEST_F(ControllerTest, AutomaticReportWithoutAnErrorLogShowsNothing)
{
    StoreSetting("Settings/Paths/ErrorLog", "/nonexistent-folder/errors.txt");
    TQuorvelW controller(view);
    controller.RunLaunch("-A", QString());
    EXPECT_FALSE(controller.ErrLogOpen());
    EXPECT_EQ(controller.ReportError("Couldn't save site"), 0);
    EXPECT_TRUE(view.Messages.empty());
}

TEST_F(ControllerTest, DisconnectWhileOfflineWritesNoOnlineLine)
{
    TQuorvelW controller(view);
    controller.RunLaunch("-J", QString());
    const QByteArray before = ReadFile(ErrorLogPath());
    EXPECT_TRUE(controller.Disconnect());
    EXPECT_EQ(ReadFile(ErrorLogPath()), before);
    EXPECT_TRUE(view.Messages.empty());
}

// Offline every job ends at once without success: the download gives up
// after its three attempts and offers to clear logging; the clock command
// reports nothing of its own.
TEST_F(ControllerTest, OfflineDownloadFailsThriceThenOffersToClearLogging)
{
    TQuorvelW controller(view);
    EXPECT_FALSE(controller.DownloadLog());
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Clear/reset logging?");
    EXPECT_EQ(view.Messages[0].Caption, "Log Download Failure");
    EXPECT_EQ(view.Messages[0].Flags, 1);
    EXPECT_TRUE(controller.SetLoggerTime());
    EXPECT_EQ(view.Messages.size(), 1u);
}

TEST_F(ControllerTest, ReconfigureDeclinedUploadsNothing)
{
    TQuorvelW controller(view);
    EXPECT_FALSE(controller.ReconfigureLogger());
    ASSERT_EQ(view.Messages.size(), 1u);
    EXPECT_EQ(view.Messages[0].Text, "Are you sure?");
    EXPECT_EQ(view.Messages[0].Caption, "Upload log configuration");
    EXPECT_EQ(view.Messages[0].Flags, 0x24);
}

TEST_F(ControllerTest, AlarmCollectionWithoutAnErrorLogFailsWithoutAMessage)
{
    TQuorvelW controller(view);
    EXPECT_FALSE(controller.CollectAlarms());
    EXPECT_FALSE(controller.CollectTrips());
    EXPECT_TRUE(view.Messages.empty());
}
