// The job's own rules and the scheduler's choice, with the link down so the
// worker never starts and the test walks the queue itself.
#include "JobRunnerFixture.h"

#include "base/Exception.h"

using namespace QuorvelTest;
using namespace Quorvel1;

namespace {

class JobQueueTest : public JobRunnerTest {
protected:
    TestJob* NewStanding(int32_t period) { return NewJob(period, [](TestJob&) {}); }

    // The names of the jobs the next `passes` scheduler passes choose.
    std::string Choices(int passes, const std::vector<std::pair<TPelkJob*, char>>& names)
    {
        std::string chosen;
        for (int i = 0; i < passes; ++i) {
            TPelkJob* job = runner.Queue().NextJob();
            char name = '-';
            for (const auto& [candidate, letter] : names)
                if (candidate == job)
                    name = letter;
            chosen += name;
        }
        return chosen;
    }
};

} // namespace

TEST_F(JobQueueTest, NewOneShotJobWaitsInactiveWithItsDefaults)
{
    TestJob* job = NewJob(0, [](TestJob&) {});

    EXPECT_EQ(job->Flags.load(), (1u << 1) | (1u << 2));
    EXPECT_EQ(job->Name, "Pelk Job");
    EXPECT_EQ(job->Status, "None");
    EXPECT_EQ(job->ErrorText, "");
    EXPECT_EQ(job->Progress, -1);
    EXPECT_EQ(job->WaitCount, 0);
    EXPECT_EQ(runner.Queue().Count(), 1u);
}

TEST_F(JobQueueTest, NewStandingJobIsActiveFromBirth)
{
    TestJob* job = NewStanding(50);

    EXPECT_EQ(job->Flags.load(), (1u << 2) | (1u << 4));
}

TEST_F(JobQueueTest, DoneEndsAOneShotJobButNotAStandingOne)
{
    TestJob* command = NewJob(0, [](TestJob&) {});
    TestJob* standing = NewStanding(50);
    command->SetActive(true);
    command->Status = "Reading";
    command->Progress = 40;

    command->SetDone(true);
    standing->SetDone(true);

    EXPECT_FALSE(command->IsActive());
    EXPECT_EQ(command->Status, "Done");
    EXPECT_EQ(command->Progress, -1);
    EXPECT_TRUE(command->Succeeded());
    EXPECT_TRUE(standing->IsActive());
}

TEST_F(JobQueueTest, ActivatingAnEndedJobClearsItsOutcome)
{
    TestJob* job = NewJob(0, [](TestJob&) {});
    job->SetDone(true);
    job->SetFailed(true);
    job->ErrorText = "Link Error";

    job->SetActive(true);

    EXPECT_TRUE(job->IsActive());
    EXPECT_FALSE(job->HasFlag(jfDone));
    EXPECT_FALSE(job->HasFlag(jfFailed));
    EXPECT_EQ(job->ErrorText, "");
}

TEST_F(JobQueueTest, ActivatingAnActiveJobKeepsItsOutcome)
{
    TestJob* standing = NewStanding(50);
    standing->SetFailed(true);
    standing->ErrorText = "User Break";

    standing->SetActive(true);

    EXPECT_TRUE(standing->HasFlag(jfFailed));
    EXPECT_EQ(standing->ErrorText, "User Break");
}

TEST_F(JobQueueTest, ThreeStandingJobsOfEqualPeriodTakeTurnsInQueueOrder)
{
    TestJob* a = NewStanding(50);
    TestJob* b = NewStanding(50);
    TestJob* c = NewStanding(50);

    EXPECT_EQ(Choices(7, {{a, 'A'}, {b, 'B'}, {c, 'C'}}), "ABCABCA");
}

// Urgency is passes waited x 100 / period: A (50) gains 2 a pass, B (100)
// gains 1; a tie goes to the job earlier in the queue.
TEST_F(JobQueueTest, ShorterPeriodRunsMoreOften)
{
    TestJob* a = NewStanding(50);
    TestJob* b = NewStanding(100);

    EXPECT_EQ(Choices(6, {{a, 'A'}, {b, 'B'}}), "AABAAB");
}

TEST_F(JobQueueTest, ActiveOneShotJobIsChosenBeforeAnyStandingJob)
{
    TestJob* before = NewStanding(50);
    TestJob* command = NewJob(0, [](TestJob&) {});
    TestJob* after = NewStanding(50);
    command->SetActive(true);

    EXPECT_EQ(runner.Queue().NextJob(), command);
    EXPECT_EQ(runner.Queue().Current(), command);
    // The walk stops at the one-shot job: only the jobs before it waited.
    EXPECT_EQ(before->WaitCount, 1);
    EXPECT_EQ(after->WaitCount, 0);
    EXPECT_EQ(command->WaitCount, 0);
}

TEST_F(JobQueueTest, NoActiveJobGivesNoneAndNoCurrentJob)
{
    NewJob(0, [](TestJob&) {});
    TestJob* standing = NewStanding(50);
    EXPECT_EQ(runner.Queue().NextJob(), standing);
    standing->SetActive(false);

    EXPECT_EQ(runner.Queue().NextJob(), nullptr);
    EXPECT_EQ(runner.Queue().Current(), nullptr);
}

TEST_F(JobQueueTest, ReleasedJobIsFreedAtTheNextPass)
{
    TestJob* job = NewJob(0, [](TestJob&) {});
    NewStanding(50);

    job->Release();
    EXPECT_EQ(destroyed.load(), 0);
    runner.Queue().NextJob();

    EXPECT_EQ(destroyed.load(), 1);
    EXPECT_EQ(runner.Queue().Count(), 1u);
}

TEST_F(JobQueueTest, ActivatingAJobDoesNotWakeTheRunnerWhileTheLinkIsDown)
{
    NewStanding(50)->SetActive(true);

    EXPECT_TRUE(runner.IsSuspended());
    EXPECT_FALSE(runner.isRunning());
}

TEST_F(JobQueueTest, RunJobOfNoJobIsRefused)
{
    try {
        runner.RunJob(nullptr, false);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "TPelkJob::RunJob - null job");
    }
}

TEST_F(JobQueueTest, RunJobFailsAtOnceWhileTheLinkIsDown)
{
    bool stepped = false;
    TestJob* job = NewCommand([&](TestJob&) { stepped = true; });

    EXPECT_FALSE(runner.RunJob(job, false));
    EXPECT_FALSE(stepped);
    EXPECT_TRUE(job->HasFlag(jfDelete));
}

TEST_F(JobQueueTest, StopAllFreesEveryJob)
{
    NewStanding(50);
    NewStanding(50);
    NewJob(0, [](TestJob&) {});

    runner.StopAll();

    EXPECT_EQ(destroyed.load(), 3);
    EXPECT_EQ(runner.Queue().Count(), 0u);
}
