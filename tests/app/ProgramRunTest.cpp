// The built program as a supervisor starts it: no display at all, an option
// word with 'A' and a site; it must end by itself and leave the launch file.
#include "support/AppFixture.h"

#include <QProcess>
#include <QProcessEnvironment>

using AppTest::AppFixture;
using AppTest::EmptySiteFile;

namespace {

constexpr int ProgramEndMs = 60000;

class ProgramRunTest : public AppFixture {
protected:
    struct TResult {
        bool Finished = false;
        int ExitCode = -1;
        QByteArray Output;
    };

    // Runs the program with the test's own program folder and settings, and
    // without any window system in its environment.
    static TResult Run(const QStringList& arguments)
    {
        TResult result;
        const QString program = qEnvironmentVariable("QUORVEL_PROGRAM");
        EXPECT_FALSE(program.isEmpty()) << "QUORVEL_PROGRAM names the built program";
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(program, arguments);
        result.Finished = process.waitForFinished(ProgramEndMs)
                          && process.exitStatus() == QProcess::NormalExit;
        if (!result.Finished)
            process.kill();
        process.waitForFinished();
        result.ExitCode = process.exitCode();
        result.Output = process.readAllStandardOutput();
        return result;
    }
};

} // namespace

TEST_F(ProgramRunTest, AutomaticRunNeedsNoDisplayAndEndsByItself)
{
    const QString site = Path("north.ste");
    WriteFile(site, EmptySiteFile("North store", 0x100));
    const TResult result = Run({"-A", site});
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 1); // opened, but no connection was asked for
    EXPECT_EQ(ReadFile(LaunchPath()), "1\n" + site.toUtf8() + "\n\n");
    EXPECT_EQ(ReadFile(site).size(), 103);
}

TEST_F(ProgramRunTest, AutomaticRunOfAMissingSiteEndsWithFailure)
{
    const TResult result = Run({"-ALG", Path("missing.ste")});
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_TRUE(ReadFile(ErrorLogPath()).contains("Couldn't open site: "));
}

TEST_F(ProgramRunTest, VersionIsPrinted)
{
    const TResult result = Run({"--version"});
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_EQ(result.Output, "quorvel " QUORVEL_VERSION "\n");
}

TEST_F(ProgramRunTest, HelpNamesTheOptionsAndTheLaunchFile)
{
    const TResult result = Run({"--help"});
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0);
    EXPECT_TRUE(result.Output.startsWith("Usage: quorvel [-LETTERS] [SITE.ste]"));
    EXPECT_TRUE(result.Output.contains("QW1Launch.txt"));
}
