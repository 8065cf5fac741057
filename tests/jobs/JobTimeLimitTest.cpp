// RunJob's bound for an automatic run, where nobody can press Cancel: a
// command whose job does not end in time is broken off as Cancel would and
// reported; without a bound the runner waits as long as the job runs.
#include "JobRunnerFixture.h"

#include "base/MessageFlags.h"

using namespace QuorvelTest;
using namespace Quorvel1;
using namespace std::chrono_literals;

namespace {

constexpr int GuardMs = 10000;

struct TReported {
    QString Text;
    QString Caption;
    int Flags = 0;
};

} // namespace

TEST_F(JobRunnerTest, JobThatOutlastsTheTimeLimitIsBrokenOffAndReported)
{
    std::vector<TReported> reported;
    runner.SetReport([&](const QString& text, const QString& caption, int flags) {
        reported.push_back({text, caption, flags});
        return 0;
    });
    runner.SetJobTimeLimit(1s);
    StopRunnerAtEnd stop{runner};
    Connect();
    // Never done: each step only looks at the link's abort flag.
    TestJob* endless = NewJob(0, [](TestJob& job) { job.Runner().Link().Delay(0); });
    endless->Name = "Endless";
    bool guardFired = false;
    QTimer guard; // goes with the test
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        guardFired = true;
        link.Abort();
    });
    guard.start(GuardMs);

    EXPECT_FALSE(runner.RunJob(endless, false));

    EXPECT_FALSE(guardFired) << "the job ran on until the test's own guard";
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].Text, "Broken off after 1 s without an end");
    EXPECT_EQ(reported[0].Caption, "Endless");
    EXPECT_EQ(reported[0].Flags, MessageFlags::IconError | MessageFlags::Ok);
}

TEST_F(JobRunnerTest, JobThatEndsInTimeIsNeitherBrokenOffNorReported)
{
    int reports = 0;
    runner.SetReport([&](const QString&, const QString&, int) { return ++reports, 0; });
    runner.SetJobTimeLimit(60s);
    StopRunnerAtEnd stop{runner};
    Connect();

    EXPECT_TRUE(runner.RunJob(NewCommand(), false));
    EXPECT_EQ(reports, 0);
    EXPECT_FALSE(link.IsAborted());
}
