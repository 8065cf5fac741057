// Mistakes on the command line and a missing display end the program with a
// message and an exit status, never inside the toolkit: an unknown option
// gives the usage and status 2, a window without a display one line and
// status 1.
#include "support/AppFixture.h"

#include "app/CommandLine.h"

#include <QFileInfo>

using namespace Quorvel1;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;

namespace {

struct TParseCase {
    QStringList arguments;
    QString options;
    QString site;
    QString launchFile;
    bool help;
    bool version;
    QString error;
};

} // namespace

TEST(CommandLineErrors, LongOptionsAnywhereAndEveryMistakeNamed)
{
    const TParseCase cases[] = {
        {{"--launch-file", "/s/l.txt", "-ALG", "n.ste"}, "-ALG", "n.ste", "/s/l.txt", false, false, ""},
        {{"-ALG", "n.ste", "--launch-file=/s/l.txt"}, "-ALG", "n.ste", "/s/l.txt", false, false, ""},
        {{"n.ste", "--help"}, "", "n.ste", "", true, false, ""},
        {{"--version"}, "", "last.ste", "", false, true, ""},
        {{"-"}, "-", "last.ste", "", false, false, ""},
        {{"-ALG", "--launch-file"}, "-ALG", "last.ste", "", false, false, "--launch-file needs a file name"},
        {{"--launch-file=", "-A"}, "-A", "last.ste", "", false, false, "--launch-file needs a file name"},
        {{"--frobnicate", "-A"}, "-A", "last.ste", "", false, false, "unknown option --frobnicate"},
        {{"-ALx", "n.ste"}, "-ALx", "n.ste", "", false, false, "unknown option letter 'x' in -ALx"},
        {{"-platform", "offscreen"}, "-platform", "offscreen", "", false, false,
         "unknown option letter 'p' in -platform"},
    };
    for (const TParseCase& c : cases) {
        const TCommandLine line = ParseCommandLine(c.arguments, "last.ste");
        const std::string name = c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.Options, c.options) << name;
        EXPECT_EQ(line.SitePath, c.site) << name;
        EXPECT_EQ(line.LaunchFile, c.launchFile) << name;
        EXPECT_EQ(line.Help, c.help) << name;
        EXPECT_EQ(line.Version, c.version) << name;
        EXPECT_EQ(line.Error, c.error) << name;
    }
}

class CommandLineErrorsTest : public AppFixture {
protected:
    QString Site()
    {
        const QString site = Path("north.ste");
        WriteFile(site, EmptySiteFile("North store"));
        return site;
    }
};

TEST_F(CommandLineErrorsTest, WindowWithoutADisplayEndsWithOneLineAndStatusOne)
{
    const QString site = Site();
    for (const QStringList& arguments : {QStringList{}, QStringList{site}, QStringList{"-LG", site},
                                         QStringList{"-AO", site}}) {
        const AppTest::TProgramRun run = RunProgram(arguments);
        const std::string name = arguments.join(' ').toStdString();
        ASSERT_TRUE(run.Finished) << name << ": " << run.Errors.toStdString();
        EXPECT_EQ(run.ExitCode, 1) << name;
        EXPECT_TRUE(run.Errors.startsWith("quorvel: no display found")) << name << ": " << run.Errors.toStdString();
        EXPECT_TRUE(run.Errors.contains("-A")) << name;
        EXPECT_EQ(run.Errors.count('\n'), 1) << name << ": " << run.Errors.toStdString();
        EXPECT_TRUE(run.Output.isEmpty()) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(LaunchPath()));
}

TEST_F(CommandLineErrorsTest, UnknownOptionEndsWithTheUsageAndStatusTwo)
{
    const QString site = Site();
    const QStringList cases[] = {
        {"--frobnicate"},
        {"-ALx", site},
        {"-A", site, "--bogus"},
        {"-A", site, "--launch-file"},
    };
    for (const QStringList& arguments : cases) {
        const AppTest::TProgramRun run = RunProgram(arguments);
        const std::string name = arguments.join(' ').toStdString();
        ASSERT_TRUE(run.Finished) << name;
        EXPECT_EQ(run.ExitCode, 2) << name;
        EXPECT_TRUE(run.Errors.startsWith("quorvel: ")) << name << ": " << run.Errors.toStdString();
        EXPECT_TRUE(run.Errors.contains("\nUsage: quorvel [-LETTERS]")) << name;
    }
    // Nothing ran: no launch file, no error log, the site as it was.
    EXPECT_FALSE(QFileInfo::exists(LaunchPath()));
    EXPECT_FALSE(QFileInfo::exists(ErrorLogPath()));
    EXPECT_EQ(ReadFile(site), EmptySiteFile("North store"));
}
