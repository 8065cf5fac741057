// Pausing the worker to borrow the link from the UI thread, and resuming it.
#include "JobRunnerFixture.h"

#include "support/ScriptedLine.h"

using namespace QuorvelTest;
using namespace Quorvel1;

namespace {

Bytes ReadRequest(uint16_t address, uint8_t count)
{
    const Bytes body = {0x00, uint8_t(address & 0xFF), uint8_t(address >> 8), count};
    unsigned sum = 0;
    for (uint8_t b : body)
        sum += b;
    return {0x01, 0x04, 0xFB, body[0], body[1], body[2], body[3], uint8_t(sum & 0xFF), uint8_t(sum >> 8)};
}

} // namespace

TEST_F(JobRunnerTest, PauseReturnsOnlyOnceTheWorkerIsSuspended)
{
    UiEvent inStep;
    Gate goOn;
    std::atomic<bool> stepEnded{false};
    NewJob(50, [&](TestJob& job) {
        if (stepEnded)
            return job.NothingToDo();
        inStep.Set();
        goOn.WaitOpen();
        stepEnded = true;
    });
    StopRunnerAtEnd stop{runner};
    Connect();
    ASSERT_TRUE(inStep.Wait());

    // The step can end only while Pause waits.
    QTimer::singleShot(0, [&] { goOn.Open(); });
    runner.Pause();

    EXPECT_TRUE(stepEnded);
    EXPECT_TRUE(runner.IsSuspended());
}

TEST_F(JobRunnerTest, PauseServesTheUiCallTheWorkerWaitsFor)
{
    std::mutex mutex;
    std::condition_variable changed;
    bool aboutToCall = false;
    bool updated = false;
    bool updatedOnUiThread = false;
    TestJob* standing = NewJob(
        50,
        [&](TestJob& job) {
            {
                std::lock_guard lock(mutex);
                if (aboutToCall)
                    return job.NothingToDo();
                aboutToCall = true;
            }
            changed.notify_all();
            job.Runner().SyncUpdate();
        },
        [&](TestJob&) {
            updated = true;
            updatedOnUiThread = OnUiThread();
        });
    standing->SetFlag(jfNotify, false); // only the step's own call reaches the UI thread
    StopRunnerAtEnd stop{runner};
    Connect();
    {
        // Not an event wait: the UI thread must be busy when the call comes.
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return aboutToCall; });
    }

    runner.Pause();

    EXPECT_TRUE(runner.IsSuspended());
    EXPECT_TRUE(updated);
    EXPECT_TRUE(updatedOnUiThread);
}

TEST_F(JobRunnerTest, PauseDuringAUiCallParksTheWorkerUntilResumed)
{
    Connect();
    bool suspendedInCall = false;
    QString errorText;
    runner.SetReport([&](const QString&, const QString&, int) {
        runner.Pause();
        suspendedInCall = runner.IsSuspended();
        QTimer::singleShot(0, [&] { runner.ResumeIfConnected(); });
        return 6;
    });
    TestJob* job = NewJob(
        0,
        [&](TestJob& self) {
            self.Runner().AskUser("Overwrite?", "Confirm", 0x24);
            Record("step went on after the pause");
            self.SetDone(true);
        },
        [&](TestJob& self) { errorText = self.ErrorText; });

    EXPECT_FALSE(runner.RunJob(job, false));

    EXPECT_TRUE(suspendedInCall);
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(errorText, "User Break");
}

TEST_F(JobRunnerTest, LinkIsFreeOfBreaksForTheCallerAfterPause)
{
    NewJob(50, [](TestJob& job) { job.NothingToDo(); });
    StopRunnerAtEnd stop{runner};
    Connect();
    line->Expect(ReadRequest(0x3000, 2)).Reply({0x06, 0x12, 0x34, 0x46, 0x00});

    runner.Pause();
    uint8_t buffer[2] = {};
    link.ReadMem(buffer, 0x3000, sizeof buffer, false);

    EXPECT_EQ(buffer[0], 0x12);
    EXPECT_EQ(buffer[1], 0x34);
    ExpectScriptDone();
}

TEST_F(JobRunnerTest, ResumeAfterPauseStepsJobsAgain)
{
    UiEvent steppedAfterResume;
    std::atomic<bool> paused{false};
    NewJob(50, [&](TestJob& job) {
        if (paused)
            steppedAfterResume.Set();
        job.NothingToDo();
    });
    StopRunnerAtEnd stop{runner};
    Connect();
    runner.Pause();
    paused = true;

    runner.ResumeIfConnected();

    EXPECT_TRUE(steppedAfterResume.Wait());
}

TEST_F(JobRunnerTest, RunJobGivesUpWhenTheLinkGoesDownUnderItsJob)
{
    Connect();
    int updates = 0;
    // A job that never ends; after its first step the link is disconnected,
    // as a dropped modem call does.
    TestJob* job = NewJob(0, [](TestJob&) {}, [&](TestJob&) {
        if (++updates == 2)
            QTimer::singleShot(0, [&] {
                runner.Pause();
                link.IdentityWord = 0;
            });
    });

    EXPECT_FALSE(runner.RunJob(job, false));
}
