#include "app/CommandLine.h"
#include "app/LaunchFile.h"
#include "app/QuorvelView.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace Quorvel1;

TEST(CommandLine, NoArgumentsGiveNoOptionsAndTheLastSite)
{
    const TCommandLine line = ParseCommandLine({}, "/sites/last.ste");
    EXPECT_EQ(line.Options, "");
    EXPECT_EQ(line.SitePath, "/sites/last.ste");
}

TEST(CommandLine, SingleArgumentWithoutDashIsTheSitePath)
{
    const TCommandLine line = ParseCommandLine({"north.ste"}, "/sites/last.ste");
    EXPECT_EQ(line.Options, "");
    EXPECT_EQ(line.SitePath, "north.ste");
}

TEST(CommandLine, SingleOptionWordKeepsTheLastSite)
{
    const TCommandLine line = ParseCommandLine({"-R"}, "/sites/last.ste");
    EXPECT_EQ(line.Options, "-R");
    EXPECT_EQ(line.SitePath, "/sites/last.ste");
}

TEST(CommandLine, OptionWordThenSitePathAndFurtherArgumentsIgnored)
{
    const TCommandLine line = ParseCommandLine({"-ALG", "north.ste", "south.ste"}, "last.ste");
    EXPECT_EQ(line.Options, "-ALG");
    EXPECT_EQ(line.SitePath, "north.ste");
}

TEST(CommandLine, SitePathFirstMakesALaterDashWordNoOption)
{
    const TCommandLine line = ParseCommandLine({"north.ste", "-A"}, "last.ste");
    EXPECT_EQ(line.Options, "");
    EXPECT_EQ(line.SitePath, "north.ste");
}

TEST(CommandLine, OptionLettersCountAnywhereAndAreCaseSensitive)
{
    EXPECT_TRUE(HasOptionLetter("-LGA", 'A'));
    EXPECT_TRUE(HasOptionLetter("-LGA", 'L'));
    EXPECT_FALSE(HasOptionLetter("-lga", 'A'));
    EXPECT_FALSE(HasOptionLetter("-lga", 'L'));
    EXPECT_FALSE(HasOptionLetter("", 'A'));
    EXPECT_TRUE(HasOptionLetter("-R", '-'));
}

TEST(CommandLine, OnlyAutomaticWithoutStayOpenRunsUnattended)
{
    EXPECT_TRUE(IsUnattendedRun("-A"));
    EXPECT_TRUE(IsUnattendedRun("-RGA"));
    EXPECT_FALSE(IsUnattendedRun("-AO"));
    EXPECT_FALSE(IsUnattendedRun("-OA"));
    EXPECT_FALSE(IsUnattendedRun("-a"));
    EXPECT_FALSE(IsUnattendedRun("-LG"));
    EXPECT_FALSE(IsUnattendedRun(""));
}

TEST(CommandLine, UsageNamesEveryOptionLetterAndTheLaunchFile)
{
    const QString usage = UsageText("quorvel");
    for (const char* letter : {"A", "J", "R", "L", "G", "F", "P", "C", "T", "O"})
        EXPECT_TRUE(usage.contains(QString("\n  %1  ").arg(letter))) << letter;
    EXPECT_TRUE(usage.contains("QW1Launch.txt"));
    EXPECT_TRUE(usage.contains("Mestra Apps/Quorvel.conf"));
}

TEST(LaunchFile, ThreeLinesOfResultSiteAndLog)
{
    EXPECT_EQ(LaunchFileText(true, "/s/north.ste", "/s/Log0007.log"),
              QByteArray("0\n/s/north.ste\n/s/Log0007.log\n"));
    EXPECT_EQ(LaunchFileText(false, "/s/north.ste", ""), QByteArray("1\n/s/north.ste\n\n"));
    EXPECT_EQ(LaunchFileText(false, "", ""), QByteArray("1\n\n\n"));
}

TEST(LaunchFile, WritingReplacesTheWholeFile)
{
    const QString path = QDir::tempPath() + "/QuorvelLaunchTest.txt";
    ASSERT_TRUE(WriteLaunchFile(path, "0\nlong/earlier/site/path.ste\nlog\n"));
    ASSERT_TRUE(WriteLaunchFile(path, "1\na\n\n"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("1\na\n\n"));
    file.remove();
}

TEST(LaunchFile, UnwritableFolderIsReportedAsFailure)
{
    EXPECT_FALSE(WriteLaunchFile("/nonexistent-folder/QW1Launch.txt", "1\n\n\n"));
}

TEST(MessageAnswers, HeadlessViewAnswersNo)
{
    THeadlessView view;
    EXPECT_EQ(view.ShowMessage("Save changes to site?", "Confirm", 0x23), 7);
    EXPECT_EQ(view.ShowMessage("Are you sure?", "Clear Alarms", 0x24), 7);
    EXPECT_EQ(view.ShowMessage("Clear/reset logging?", "Log Download Failure", 1), 2);
    EXPECT_EQ(view.ShowMessage("Couldn't save site", "Quorvel Error", 0x10), 1);
    EXPECT_EQ(view.AskSaveFileName("/s", "a.ste"), "");
    EXPECT_EQ(view.AskOpenFileName("/s", "a.ste"), "");
}
