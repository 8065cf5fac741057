// Calls from a job's step onto the UI thread: SyncUpdate, AskUser, and the
// standard progress display in the status bar.
#include "JobRunnerFixture.h"

#include "base/Exception.h"

#include <utility>

using namespace QuorvelTest;
using namespace Quorvel1;

TEST_F(JobRunnerTest, SyncUpdateRunsOnTheUiThreadWhileTheWorkerWaits)
{
    Connect();
    QString shownDuringStep;
    QString seenByStepAfterCall;
    bool shownOnUiThread = false;
    TestJob* job = NewJob(
        0,
        [&](TestJob& self) {
            self.Status = "Half way";
            self.Runner().SyncUpdate();
            seenByStepAfterCall = shownDuringStep;
            self.SetDone(true);
        },
        [&](TestJob& self) {
            if (self.Status == "Half way") {
                shownDuringStep = self.Status;
                shownOnUiThread = OnUiThread();
            }
        });

    EXPECT_TRUE(runner.RunJob(job, false));

    EXPECT_EQ(seenByStepAfterCall, "Half way");
    EXPECT_TRUE(shownOnUiThread);
}

TEST_F(JobRunnerTest, AskUserReturnsTheAnswerOfTheReporter)
{
    Connect();
    std::vector<std::string> asked;
    bool askedOnUiThread = false;
    runner.SetReport([&](const QString& text, const QString& caption, int flags) {
        asked = {text.toStdString(), caption.toStdString(), std::to_string(flags)};
        askedOnUiThread = OnUiThread();
        return 7;
    });
    int answer = -1;
    TestJob* job = NewCommand([&](TestJob& self) {
        answer = self.Runner().AskUser("Overwrite the log file?", "Confirm", 0x24);
    });

    EXPECT_TRUE(runner.RunJob(job, false));

    EXPECT_EQ(answer, 7);
    EXPECT_EQ(asked, (std::vector<std::string>{"Overwrite the log file?", "Confirm", "36"}));
    EXPECT_TRUE(askedOnUiThread);
}

TEST_F(JobRunnerTest, AskUserWithNoReporterAnswersNothing)
{
    Connect();
    int answer = -1;
    TestJob* job = NewCommand([&](TestJob& self) { answer = self.Runner().AskUser("Go on?", "Confirm", 0x24); });

    EXPECT_TRUE(runner.RunJob(job, false));
    EXPECT_EQ(answer, 0);
}

TEST_F(JobRunnerTest, RunJobFromInsideAJobsUpdateIsRefused)
{
    Connect();
    QString refusal;
    TestJob* job = NewJob(
        0, [](TestJob& self) { self.SetDone(true); },
        [&](TestJob& self) {
            try {
                self.Runner().RunJob(NewCommand(), false);
            } catch (const Exception& e) {
                refusal = e.Message();
            }
        });

    EXPECT_TRUE(runner.RunJob(job, false));
    EXPECT_EQ(refusal, "TPelkJob::RunJob - called during a job's update");
}

TEST_F(JobRunnerTest, ShowProgressWithoutADialogWritesTheStatusBar)
{
    std::vector<std::pair<int, QString>> panels;
    runner.SetStatusText([&](int panel, const QString& text) { panels.emplace_back(panel, text); });
    TestJob* job = NewJob(0, [](TestJob&) {});
    job->Name = "Scan units";
    job->Status = "Unit 3";
    job->Progress = 40;

    runner.ShowProgress(*job);
    job->Progress = -1;
    runner.ShowProgress(*job);

    EXPECT_EQ(panels, (std::vector<std::pair<int, QString>>{
                          {0, "Scan units: Unit 3"}, {2, "40%"}, {0, "Scan units: Unit 3"}, {2, ""}}));
}
