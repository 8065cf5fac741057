// The worker stepping jobs: commands before standing jobs, the break of the
// job on the link, and how a step's failure is recorded.
#include "JobRunnerFixture.h"

#include "comms/PelkExceptions.h"

#include <stdexcept>

using namespace QuorvelTest;
using namespace Quorvel1;

TEST_F(JobRunnerTest, CommandBreaksTheStandingJobOnTheLinkAndRunsNext)
{
    UiEvent standingInStep;
    Gate goOn;
    std::atomic<int> standingSteps{0};
    QString standingError;
    bool standingActive = false;
    TestJob* standing = NewJob(50, [&](TestJob& job) {
        if (standingSteps++ > 0)
            return job.NothingToDo();
        standingInStep.Set();
        goOn.WaitOpen();
        uint8_t buffer[2];
        job.Runner().Link().ReadMem(buffer, 0x3000, sizeof buffer, false);
        Record("standing step went on");
    });
    StopRunnerAtEnd stop{runner};
    Connect();
    ASSERT_TRUE(standingInStep.Wait());

    // Let the standing step go on only once RunJob has asked for the break.
    QTimer::singleShot(0, [&] { goOn.Open(); });
    TestJob* command = NewCommand([&](TestJob&) {
        Record("command");
        standingError = standing->ErrorText;
        standingActive = standing->IsActive();
    });
    EXPECT_TRUE(runner.RunJob(command, false));

    EXPECT_EQ(Log(), std::vector<std::string>{"command"});
    EXPECT_EQ(standingError, "User Break");
    EXPECT_TRUE(standingActive);
    EXPECT_TRUE(line->Written().empty());
}

TEST_F(JobRunnerTest, ThreeStandingJobsTakeTurnsInQueueOrder)
{
    UiEvent nineSteps;
    std::atomic<int> steps{0};
    const auto standing = [&](const std::string& name) {
        return [&, name](TestJob& job) {
            const int step = steps++;
            if (step < 9)
                Record(name);
            if (step == 8)
                nineSteps.Set();
            job.NothingToDo();
        };
    };
    NewJob(50, standing("A"));
    NewJob(50, standing("B"));
    NewJob(50, standing("C"));
    StopRunnerAtEnd stop{runner};

    Connect();
    ASSERT_TRUE(nineSteps.Wait());

    EXPECT_EQ(Log(), (std::vector<std::string>{"A", "B", "C", "A", "B", "C", "A", "B", "C"}));
}

TEST_F(JobRunnerTest, OneShotJobIsSteppedUntilItIsDone)
{
    Connect();
    int steps = 0;
    TestJob* job = NewJob(0, [&](TestJob& self) {
        if (++steps == 3)
            self.SetDone(true);
    });

    EXPECT_TRUE(runner.RunJob(job, false));
    EXPECT_EQ(steps, 3);
}

TEST_F(JobRunnerTest, UpdateRunsOnTheUiThreadBeforeAndAfterEachStep)
{
    Connect();
    std::vector<std::string> seen;
    bool allOnUiThread = true;
    TestJob* job = NewJob(
        0,
        [&](TestJob& self) {
            Record("step");
            self.Status = "Stepped";
            self.SetDone(true);
        },
        [&](TestJob& self) {
            allOnUiThread = allOnUiThread && OnUiThread();
            Record(self.Status.toStdString());
        });

    EXPECT_TRUE(runner.RunJob(job, false));

    EXPECT_EQ(Log(), (std::vector<std::string>{"None", "step", "Done"}));
    EXPECT_TRUE(allOnUiThread);
}

TEST_F(JobRunnerTest, StepRaisingOpFailureFailsTheJobWithLinkErrorAfterALinkReset)
{
    Connect();
    ScriptReset(*line);
    const int resetsBefore = link.Resets;
    QString errorText;
    TestJob* job = NewJob(
        0, [](TestJob&) { throw Pelk::EPelkOpFailure(); },
        [&](TestJob& self) { errorText = self.ErrorText; });

    EXPECT_FALSE(runner.RunJob(job, false));

    EXPECT_EQ(errorText, "Link Error");
    EXPECT_EQ(link.Resets, resetsBefore + 1);
    ExpectScriptDone();
}

TEST_F(JobRunnerTest, FailedResetAfterALinkErrorLeavesTheWorkerRunning)
{
    Connect();
    // Nothing scripted: the interface unit never answers the reset.
    TestJob* broken = NewJob(0, [](TestJob&) { throw Pelk::EPelkTimeout(); });
    EXPECT_FALSE(runner.RunJob(broken, false));

    bool stepped = false;
    EXPECT_TRUE(runner.RunJob(NewCommand([&](TestJob&) { stepped = true; }), false));
    EXPECT_TRUE(stepped);
}

TEST_F(JobRunnerTest, StepRaisingAnyOtherErrorFailsTheJobWithException)
{
    Connect();
    QString errorText;
    TestJob* job = NewJob(
        0, [](TestJob&) { throw std::runtime_error("disk full"); },
        [&](TestJob& self) { errorText = self.ErrorText; });

    EXPECT_FALSE(runner.RunJob(job, false));

    EXPECT_EQ(errorText, "Exception");
    EXPECT_EQ(link.Resets, 0);
}

TEST_F(JobRunnerTest, JobReleasedByRunJobLeavesTheQueueAtTheNextPass)
{
    Connect();
    EXPECT_TRUE(runner.RunJob(NewCommand(), false));
    EXPECT_EQ(runner.Queue().Count(), 1u);

    // The next command's pass frees the first.
    std::size_t countDuringStep = 0;
    EXPECT_TRUE(runner.RunJob(NewCommand([&](TestJob&) { countDuringStep = runner.Queue().Count(); }), false));

    EXPECT_EQ(countDuringStep, 1u);
    EXPECT_EQ(destroyed.load(), 1);
}

TEST_F(JobRunnerTest, UpdateThatRaisesFailsTheJobInsteadOfEndingTheProgram)
{
    Connect();
    bool stepped = false;
    TestJob* job = NewJob(
        0,
        [&](TestJob& self) {
            stepped = true;
            self.SetDone(true);
        },
        [](TestJob&) { throw std::runtime_error("view gone"); });

    EXPECT_FALSE(runner.RunJob(job, false));
    EXPECT_FALSE(stepped);
}
