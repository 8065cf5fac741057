// The built program as a supervisor starts it: no display at all, an option
// word with 'A' and a site; it must end by itself and leave the launch file.
#include "support/AppFixture.h"

using AppTest::AppFixture;
using AppTest::EmptySiteFile;

namespace {

class ProgramRunTest : public AppFixture {
protected:
    static AppTest::TProgramRun Run(const QStringList& arguments) { return RunProgram(arguments); }
};

} // namespace

TEST_F(ProgramRunTest, AutomaticRunNeedsNoDisplayAndEndsByItself)
{
    const QString site = Path("north.ste");
    WriteFile(site, EmptySiteFile("North store", 0x100));
    const AppTest::TProgramRun result = Run({"-A", site});
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 1); // opened, but no connection was asked for
    EXPECT_EQ(ReadFile(LaunchPath()), "1\n" + site.toUtf8() + "\n\n");
    EXPECT_EQ(ReadFile(site).size(), 103);
}

TEST_F(ProgramRunTest, AutomaticRunOfAMissingSiteEndsWithFailure)
{
    const AppTest::TProgramRun result = Run({"-ALG", Path("missing.ste")});
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_TRUE(ReadFile(ErrorLogPath()).contains("Couldn't open site: "));
}

TEST_F(ProgramRunTest, VersionIsPrinted)
{
    const AppTest::TProgramRun result = Run({"--version"});
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Output, "quorvel " QUORVEL_VERSION "\n");
}

TEST_F(ProgramRunTest, HelpNamesTheOptionsAndTheLaunchFile)
{
    const AppTest::TProgramRun result = Run({"--help"});
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_TRUE(result.Output.startsWith("Usage: quorvel [-LETTERS] [SITE.ste]"));
    EXPECT_TRUE(result.Output.contains("QW1Launch.txt"));
}
