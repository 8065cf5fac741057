#pragma once
// The job runner: one worker thread that takes a job from the queue, runs
// one step of it against the link, and shows the job on the UI thread before
// and after the step, waiting while the UI thread does so. UI-thread code
// starts commands with RunJob and borrows the link with Pause and
// ResumeIfConnected.
//
// The worker suspends itself whenever the link is not connected, when it is
// paused, and when no job is active; it then blocks (no processor use) until
// ResumeIfConnected or a job's SetActive wakes it. It is created suspended
// and started by the first resume.
//
// The controller wires the runner to the rest of the program:
//   SetReport     the controller's Report (AskUser asks through it)
//   SetStatusText status-bar panels 0 and 2 (ShowProgress without a dialog)
//   SetProgressView the progress dialog; none in the unattended mode
#include "jobs/JobQueue.h"
#include "jobs/UiWakeup.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class QEventLoop;

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TJobProgressView;
class TPelkJob;

class TPelkThread : public QThread {
    Q_OBJECT

public:
    // Why a step failed, in the job's ErrorText.
    static constexpr const char* UserBreakText = "User Break";
    static constexpr const char* LinkErrorText = "Link Error";
    static constexpr const char* ExceptionText = "Exception";

    static constexpr const char* NullJobText = "TPelkJob::RunJob - null job";
    // The worker is waiting for the very UI call that would wait for it.
    static constexpr const char* RunJobInUpdateText = "TPelkJob::RunJob - called during a job's update";

    // How long the worker rests when a whole round of standing jobs found
    // nothing to do; a command, a pause or a resume ends the rest at once.
    static constexpr int IdleRestMs = 100;

    using ReportHook = std::function<int(const QString& text, const QString& caption, int flags)>;
    using StatusTextHook = std::function<void(int panel, const QString& text)>;

    // Created on the UI thread, suspended; the thread starts at the first resume.
    explicit TPelkThread(Pelk::TMestraIF& link);
    // Pauses the worker if it runs, ends it and frees every job still queued.
    ~TPelkThread() override;

    Pelk::TMestraIF& Link() const { return link_; }
    TJobQueue& Queue() { return queue_; }

    void SetReport(ReportHook report) { report_ = std::move(report); }
    void SetStatusText(StatusTextHook statusText) { statusText_ = std::move(statusText); }
    void SetProgressView(TJobProgressView* view) { view_ = view; }
    // A one-shot job that RunJob has waited on for `limit` is broken off as
    // Cancel does (the link's abort) and reported through the reporter,
    // with the job's name as caption; it then fails. Zero, the default,
    // sets no limit: a user at the screen has Cancel. Automatic runs set one.
    void SetJobTimeLimit(std::chrono::milliseconds limit) { jobTimeLimit_ = limit; }

    // --- UI thread.
    // Runs a one-shot job to its end, behind the progress view when asked
    // for and there is one, and releases it. True when the job succeeded.
    bool RunJob(TPelkJob* job, bool withDialog);
    // The standard Update of jobs: the progress view while it shows this
    // job, otherwise the status bar.
    void ShowProgress(TPelkJob& job);
    // Returns once the worker is suspended and no longer uses the link.
    void Pause();
    void ResumeIfConnected();
    // At exit: pause, then free every job.
    void StopAll();
    bool IsSuspended() const;
    // How many TRunnerPause holds are taken.
    int PauseHolds() const { return pauseHolds_; }

    // --- Worker thread.
    // Runs the current job's Update on the UI thread and waits for it.
    void SyncUpdate();
    // Asks the user through the controller's Report and returns the answer;
    // 0 (no answer) when no reporter is wired.
    int AskUser(const QString& text, const QString& caption, int flags);

    std::atomic<bool> Pausing{false};

protected:
    void run() override;

private:
    // A call the worker waits for while the UI thread runs it.
    struct TUiCall {
        const std::function<void()>* call = nullptr;
        std::exception_ptr error;
        bool done = false;
    };

    enum class SuspendReason { Idle, Stopped };

    // Worker side.
    bool TerminationRequested() const;
    TPelkJob* ChooseJob();
    void SuspendSelf(SuspendReason reason);
    void RunStep(TPelkJob& job);
    template <typename Work>
    void RunGuarded(TPelkJob& job, Work&& work);
    void RecordFailure(TPelkJob& job, const char* errorText);
    void ResetLinkAfterError();
    void EndStep(TPelkJob& job);
    void RestIfIdle(const TPelkJob& job);
    void SetStepping(TPelkJob* job);
    void CallOnUiThread(const std::function<void()>& call);
    [[noreturn]] void LeaveParking(std::unique_lock<std::mutex>& lock);
    void PostToUi();

    // UI side.
    void ServeWorker();
    void WaitOnUiThread(const std::function<bool()>& done);
    bool OnUiThread() const;
    // The job will not be stepped again: ended and its last step over, or
    // stranded on a link that is down.
    bool JobOver(const TPelkJob& job) const;
    void BreakOffJob(const TPelkJob& job);
    void EndWorker();

    Pelk::TMestraIF& link_;
    TJobQueue queue_;
    ReportHook report_;
    StatusTextHook statusText_;
    TJobProgressView* view_ = nullptr;
    std::chrono::milliseconds jobTimeLimit_{0};

    // Suspension, the UI call and the step in progress, under one mutex; the
    // worker waits on `changed_` while suspended, resting or in a UI call.
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool suspended_ = true;
    bool started_ = false;
    bool terminating_ = false;
    bool wakePending_ = false;
    // Paused while it waited for a UI call: it stays parked when the call
    // returns, until resumed.
    bool parked_ = false;
    TUiCall* pendingCall_ = nullptr;
    // The job in its step cycle, from its first Update to its last.
    const TPelkJob* stepping_ = nullptr;

    // Worker only.
    int idleSteps_ = 0;

    // UI thread only.
    friend class TRunnerPause;
    int pauseHolds_ = 0;
    const std::thread::id uiThread_;
    int uiCallDepth_ = 0;
    std::vector<QEventLoop*> waits_;
    TUiWakeup uiWakeup_{[this] { ServeWorker(); }};
};

} // namespace Quorvel1
