// Unattended runs that share a program folder take turns, and a supervisor
// may name the run's own launch file: two runs started together (two sites,
// one port) both succeed, each leaving its own launch file; a run that
// cannot get its turn in time says so and leaves the other run's files.
#include "support/AppFixture.h"
#include "support/SimProcess.h"

#include "app/QuorvelView.h"
#include "app/QuorvelW.h"
#include "app/RunLock.h"
#include "app/UnattendedRun.h"

#include <QDir>
#include <QFileInfo>

using namespace Quorvel1;
using namespace std::chrono_literals;
using AppTest::AppFixture;
using AppTest::EmptySiteFile;
using QuorvelTest::SimProcess;

namespace {

class RunLockTest : public AppFixture {
protected:
    // A site in a folder of its own (its log files go there), with short
    // link time-outs.
    QString SiteIn(const QString& folder)
    {
        EXPECT_TRUE(QDir(Folder()).mkpath(folder));
        const QString site = Path(folder + "/" + folder + ".ste");
        WriteFile(site, EmptySiteFile("Store"));
        WriteFile(Path(folder + "/" + folder + ".ini"),
                  QByteArray("[Site]\nComTimeouts=") + SimProcess::ShortTimeouts + "\n");
        return site;
    }

    static QStringList Lines(const QString& path) { return QString::fromUtf8(ReadFile(path)).split('\n'); }
};

} // namespace

TEST_F(RunLockTest, TwoRunsStartedTogetherTakeTurnsAndEachWritesItsOwnLaunchFile)
{
    SimProcess sim({}, "logger prefill 300\n");
    StoreSetting("Settings/Comms/LocalPort", sim.PortPath());
    const QString sites[2] = {SiteIn("north"), SiteIn("south")};
    const QString launches[2] = {Path("north-launch.txt"), Path("south-launch.txt")};

    std::unique_ptr<QProcess> runs[2];
    for (int i = 0; i < 2; ++i)
        runs[i] = StartProgram({"-ALG", sites[i], "--launch-file", launches[i]});
    for (int i = 0; i < 2; ++i) {
        const AppTest::TProgramRun run = FinishProgram(*runs[i]);
        ASSERT_TRUE(run.Finished) << i;
        EXPECT_EQ(run.ExitCode, 0) << i << ": " << run.Errors.toStdString() << ReadFile(ErrorLogPath()).toStdString();
        // The supervisor reads its own launch file once its run has ended.
        const QStringList lines = Lines(launches[i]);
        ASSERT_EQ(lines.size(), 4) << lines.join('|').toStdString();
        EXPECT_EQ(lines[0], "0");
        EXPECT_EQ(lines[1], sites[i]);
        EXPECT_EQ(QFileInfo(lines[2]).absolutePath(), QFileInfo(sites[i]).absolutePath());
        EXPECT_TRUE(lines[2].endsWith(".LOG")) << lines[2].toStdString();
        EXPECT_TRUE(QFileInfo::exists(lines[2]));
    }
    EXPECT_FALSE(QFileInfo::exists(LaunchPath()));
    // One run after the other: the second opened its site only after the
    // first had gone offline.
    const QByteArray errors = ReadFile(ErrorLogPath());
    const qsizetype secondHeader = errors.indexOf("*** QuorvelW", errors.indexOf("*** QuorvelW") + 1);
    ASSERT_GT(secondHeader, 0) << errors.toStdString();
    const qsizetype firstOnline = errors.indexOf("Online: ");
    EXPECT_GT(firstOnline, 0) << errors.toStdString();
    EXPECT_LT(firstOnline, secondHeader) << errors.toStdString();
}

TEST_F(RunLockTest, RunThatDoesNotGetItsTurnInTimeSaysSoAndTouchesNothing)
{
    TRunLock earlier(ProgramFolder() + TRunLock::FileName);
    ASSERT_TRUE(earlier.Acquire(0ms)) << earlier.Failure().toStdString();
    const QByteArray earlierLaunch = "0\n/sites/first.ste\n/sites/4660A01.LOG\n";
    WriteFile(LaunchPath(), earlierLaunch);
    const QString site = Path("north.ste");
    WriteFile(site, EmptySiteFile("North store"));

    testing::internal::CaptureStderr();
    const int status = RunUnattended({"-A", site}, 300ms);
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, 1);
    EXPECT_EQ(errors.rfind("quorvel: another run in the same program folder has not ended", 0), 0u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(ReadFile(LaunchPath()), earlierLaunch);
    EXPECT_FALSE(QFileInfo::exists(ErrorLogPath()));
    EXPECT_EQ(ReadFile(site), EmptySiteFile("North store"));
}

TEST_F(RunLockTest, TheTurnPassesWhenTheEarlierRunEnds)
{
    const QString path = ProgramFolder() + TRunLock::FileName;
    auto earlier = std::make_unique<TRunLock>(path);
    ASSERT_TRUE(earlier->Acquire(0ms));
    TRunLock later(path);
    EXPECT_FALSE(later.Acquire(50ms));
    EXPECT_FALSE(later.Held());
    earlier.reset();
    EXPECT_TRUE(later.Acquire(0ms)) << later.Failure().toStdString();
}

TEST_F(RunLockTest, RelativeLaunchFileIsInTheFolderTheRunStartedIn)
{
    ASSERT_TRUE(QDir(Folder()).mkpath("sites"));
    const QString site = Path("sites/east.ste");
    WriteFile(site, EmptySiteFile("East store"));
    QDir::setCurrent(Folder());
    THeadlessView view;
    TQuorvelW controller(view);

    // Opening the site makes its folder the current one.
    EXPECT_TRUE(controller.Start({"-A", "sites/east.ste", "--launch-file", "east-launch.txt"}));

    EXPECT_EQ(ReadFile(Path("east-launch.txt")), "1\nsites/east.ste\n\n");
    EXPECT_FALSE(QFileInfo::exists(Path("sites/east-launch.txt")));
    EXPECT_FALSE(QFileInfo::exists(LaunchPath()));
    controller.Closing();
}
