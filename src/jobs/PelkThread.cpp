// The worker side of the runner: its loop, the step with its failure
// sorting, suspension, rest after idle rounds and calls onto the UI thread.
#include "jobs/PelkThread.h"

#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "jobs/PelkJob.h"

#include <QThread>

#include <chrono>
#include <utility>

namespace Quorvel1 {

TPelkThread::TPelkThread(Pelk::TMestraIF& link)
    : link_(link), uiThread_(std::this_thread::get_id())
{
}

TPelkThread::~TPelkThread()
{
    EndWorker();
    queue_.Clear();
}

void TPelkThread::run()
{
    while (!TerminationRequested()) {
        if (!link_.IsConnected() || Pausing.load()) {
            Pausing = false;
            SuspendSelf(SuspendReason::Stopped);
            continue;
        }
        TPelkJob* job = ChooseJob();
        if (!job) {
            SuspendSelf(SuspendReason::Idle);
            continue;
        }
        RunStep(*job);
    }
}

bool TPelkThread::TerminationRequested() const
{
    std::lock_guard lock(mutex_);
    return terminating_;
}

TPelkJob* TPelkThread::ChooseJob()
{
    {
        // From here on, an activation is seen by this pass or leaves a token.
        std::lock_guard lock(mutex_);
        wakePending_ = false;
    }
    return queue_.NextJob();
}

void TPelkThread::SuspendSelf(SuspendReason reason)
{
    std::unique_lock lock(mutex_);
    const bool wakeArrived = std::exchange(wakePending_, false);
    // A job activated after the scheduler found none must not sleep through.
    if (reason == SuspendReason::Idle && wakeArrived)
        return;
    suspended_ = true;
    PostToUi(); // a Pause or RunJob waiting on the UI thread looks again
    changed_.wait(lock, [this] { return !suspended_ || terminating_; });
}

void TPelkThread::RunStep(TPelkJob& job)
{
    SetStepping(&job);
    job.SetFlag(jfIdle, false);
    RunGuarded(job, [&] {
        if (job.HasFlag(jfNotify))
            CallOnUiThread([&job] { job.Update(); });
        link_.ClearBreak();
        job.Step();
    });
    EndStep(job);
    SetStepping(nullptr);
    if (!job.IsActive())
        PostToUi(); // RunJob waits for this
    RestIfIdle(job);
}

// Exceptions never leave the worker: they become the job's error text and
// its failed flag.
template <typename Work>
void TPelkThread::RunGuarded(TPelkJob& job, Work&& work)
{
    try {
        work();
    } catch (const Pelk::EPelkUserBreak&) {
        RecordFailure(job, UserBreakText);
    } catch (const Pelk::EPelkException&) {
        RecordFailure(job, LinkErrorText);
        ResetLinkAfterError();
    } catch (...) {
        RecordFailure(job, ExceptionText);
    }
}

void TPelkThread::RecordFailure(TPelkJob& job, const char* errorText)
{
    job.ErrorText = errorText;
    job.SetFailed(true);
}

void TPelkThread::ResetLinkAfterError()
{
    try {
        link_.Reset();
    } catch (...) {
        // A failed reset has traced its own error. The worker goes on: the
        // next job's first transfer fails and resets again, and the link
        // stays usable for a later connect.
    }
}

void TPelkThread::EndStep(TPelkJob& job)
{
    const auto deactivateIfEnded = [&job] {
        if (job.HasFlag(jfOneShot) && (job.HasFlag(jfDone) || job.HasFlag(jfFailed)))
            job.SetActive(false);
    };
    deactivateIfEnded();
    if (job.HasFlag(jfNotify)) {
        RunGuarded(job, [&job, this] { CallOnUiThread([&job] { job.Update(); }); });
        deactivateIfEnded();
    }
}

void TPelkThread::SetStepping(TPelkJob* job)
{
    std::lock_guard lock(mutex_);
    stepping_ = job;
}

// Standing jobs that find nothing to do would otherwise spin the worker and
// the UI thread (two Update calls a step). After a whole round of them, the
// worker rests a moment; a command, a pause or the end cut the rest short.
void TPelkThread::RestIfIdle(const TPelkJob& job)
{
    if (job.Period == 0 || !job.HasFlag(jfIdle)) {
        idleSteps_ = 0;
        return;
    }
    if (++idleSteps_ < queue_.ActiveStanding())
        return;
    idleSteps_ = 0;
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(IdleRestMs),
                      [this] { return wakePending_ || terminating_ || Pausing.load(); });
}

void TPelkThread::SyncUpdate()
{
    if (TPelkJob* job = queue_.Current())
        CallOnUiThread([job] { job->Update(); });
}

int TPelkThread::AskUser(const QString& text, const QString& caption, int flags)
{
    int answer = 0;
    CallOnUiThread([&] {
        if (report_)
            answer = report_(text, caption, flags);
    });
    return answer;
}

// The worker waits while the UI thread runs `call`. An exception of the call
// is carried back and raised here, on the worker, where steps are guarded.
void TPelkThread::CallOnUiThread(const std::function<void()>& call)
{
    if (OnUiThread()) {
        call();
        return;
    }
    TUiCall pending;
    pending.call = &call;
    std::unique_lock lock(mutex_);
    if (terminating_)
        return; // the UI thread waits for this thread to end
    pendingCall_ = &pending;
    PostToUi();
    changed_.wait(lock, [&] { return pending.done || terminating_; });
    if (!pending.done) {
        pendingCall_ = nullptr;
        return;
    }
    if (parked_)
        LeaveParking(lock);
    lock.unlock();
    if (pending.error)
        std::rethrow_exception(pending.error);
}

// Paused during the UI call: stay off the link until resumed, then end the
// step as a break would have.
void TPelkThread::LeaveParking(std::unique_lock<std::mutex>& lock)
{
    changed_.wait(lock, [this] { return !suspended_ || terminating_; });
    parked_ = false;
    lock.unlock();
    throw Pelk::EPelkUserBreak();
}

void TPelkThread::PostToUi()
{
    uiWakeup_.Post();
}

} // namespace Quorvel1
