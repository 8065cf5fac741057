// Holding the runner paused from a modal window: the first hold pauses it,
// only the last release resumes it, and a hold left by an exception resumes
// it too.
#include "JobRunnerFixture.h"

#include "jobs/RunnerPause.h"

#include <stdexcept>

using namespace QuorvelTest;
using namespace Quorvel1;

namespace {

// A standing job that tells each step it makes, and whether it was made
// after the test let the runner go.
class RunnerPauseTest : public JobRunnerTest {
protected:
    RunnerPauseTest()
    {
        NewJob(50, [this](TestJob& job) {
            if (released)
                steppedAfterRelease.Set();
            else
                stepped.Set();
            job.NothingToDo();
        });
    }

    std::atomic<bool> released{false};
    UiEvent stepped;
    UiEvent steppedAfterRelease;
};

} // namespace

TEST_F(RunnerPauseTest, NestedHoldsResumeOnlyWhenTheLastIsReleased)
{
    StopRunnerAtEnd stop{runner};
    Connect();
    ASSERT_TRUE(stepped.Wait());
    {
        TRunnerPause outer(runner);
        EXPECT_TRUE(runner.IsSuspended());
        {
            TRunnerPause inner(runner);
            EXPECT_EQ(runner.PauseHolds(), 2);
        }
        EXPECT_EQ(runner.PauseHolds(), 1);
        EXPECT_TRUE(runner.IsSuspended()); // the outer window still uses the link
        released = true;
    }
    EXPECT_EQ(runner.PauseHolds(), 0);
    EXPECT_FALSE(runner.IsSuspended());
    EXPECT_TRUE(steppedAfterRelease.Wait());
}

TEST_F(RunnerPauseTest, AnExceptionLeavingTheHoldStillResumes)
{
    StopRunnerAtEnd stop{runner};
    Connect();
    ASSERT_TRUE(stepped.Wait());
    try {
        TRunnerPause hold(runner);
        EXPECT_TRUE(runner.IsSuspended());
        released = true;
        throw std::runtime_error("dialog failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(runner.PauseHolds(), 0);
    EXPECT_TRUE(steppedAfterRelease.Wait());
}

TEST_F(RunnerPauseTest, ReleasedWhileOfflineTheRunnerStaysSuspended)
{
    StopRunnerAtEnd stop{runner};
    {
        TRunnerPause hold(runner);
    }
    EXPECT_EQ(runner.PauseHolds(), 0);
    EXPECT_TRUE(runner.IsSuspended());
}
