// The UI side of the runner: RunJob, the standard progress display, pausing
// and resuming the worker, and serving the worker's calls. Every wait here
// runs a local event loop, so the windows stay alive and the worker's calls
// onto this thread are served while we wait for it.
#include "jobs/PelkThread.h"

#include "base/Exception.h"
#include "base/MessageFlags.h"
#include "comms/MestraIF.h"
#include "jobs/JobProgressView.h"
#include "jobs/PelkJob.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace Quorvel1 {

bool TPelkThread::RunJob(TPelkJob* job, bool withDialog)
{
    if (!job)
        throw Exception(NullJobText);
    if (uiCallDepth_ > 0)
        throw Exception(RunJobInUpdateText);
    job->SetActive(true);
    // The job on the link gives it up at its next request; the scheduler
    // then chooses this one-shot job before any standing job.
    link_.RequestBreak();
    const auto over = [this, job] { return JobOver(*job); };
    // The waits below run event loops, in which the limit comes.
    QTimer limit;
    if (jobTimeLimit_.count() > 0) {
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, [this, job] { BreakOffJob(*job); });
        limit.start(jobTimeLimit_);
    }
    if (withDialog && view_)
        view_->ShowModalFor(*job, over);
    // Also after the view: it may have closed between the job's last Update
    // and the end of its step, and the caller must not meet a job still in
    // its step.
    WaitOnUiThread(over);
    const bool result = job->Succeeded();
    job->Release();
    return result;
}

bool TPelkThread::JobOver(const TPelkJob& job) const
{
    std::lock_guard lock(mutex_);
    // A worker suspended on a link that is down will not step it again. It
    // may be parked inside the job's step, but then it stays off the job
    // until resumed, and a released job lives until the worker's next pass.
    if (suspended_ && !link_.IsConnected())
        return true;
    return stepping_ != &job && !job.IsActive();
}

void TPelkThread::BreakOffJob(const TPelkJob& job)
{
    if (JobOver(job))
        return;
    link_.Abort();
    if (report_) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(jobTimeLimit_).count();
        report_(QStringLiteral("Broken off after %1 s without an end").arg(seconds), job.Name,
                MessageFlags::IconError | MessageFlags::Ok);
    }
}

void TPelkThread::ShowProgress(TPelkJob& job)
{
    if (view_ && view_->IsShowing(job)) {
        view_->ShowStatus(job.Status);
        if (job.Progress >= 0)
            view_->ShowProgress(job.Progress);
        if (!job.IsActive())
            view_->SetFinished();
        return;
    }
    if (!statusText_)
        return;
    statusText_(0, job.Name + ": " + job.Status);
    statusText_(2, job.Progress < 0 ? QString() : QString::number(job.Progress) + "%");
}

void TPelkThread::Pause()
{
    if (IsSuspended()) {
        // A command's break the worker never met (it was suspended) would
        // fail the caller's first request.
        link_.ClearBreak();
        return;
    }
    if (uiCallDepth_ > 0) {
        // Called from inside a UI call the worker is waiting for, so it
        // cannot reach a suspension point before we return: it stays parked
        // where it waits, off the link, until resumed.
        std::lock_guard lock(mutex_);
        suspended_ = true;
        parked_ = true;
        return;
    }
    {
        std::lock_guard lock(mutex_);
        Pausing = true; // also ends an idle rest
    }
    changed_.notify_all();
    link_.RequestBreak();
    WaitOnUiThread([this] { return IsSuspended(); });
    Pausing = false;
    // The caller uses the link next; a break the worker never met would
    // fail the caller's first request.
    link_.ClearBreak();
    // A RunJob waiting further out looks again once we are back in its loop:
    // its job may now be stranded on a link the caller takes down.
    PostToUi();
}

void TPelkThread::ResumeIfConnected()
{
    if (!link_.IsConnected())
        return;
    bool startNow = false;
    {
        std::lock_guard lock(mutex_);
        if (terminating_)
            return;
        if (!suspended_) {
            wakePending_ = true;
        } else {
            suspended_ = false;
            startNow = !started_;
            started_ = true;
        }
    }
    if (startNow)
        start();
    else
        changed_.notify_all();
}

void TPelkThread::StopAll()
{
    Pause();
    bool parked = false;
    {
        std::lock_guard lock(mutex_);
        parked = parked_;
    }
    // A parked worker is still inside a job's step: it must be gone before
    // the job is freed.
    if (parked)
        EndWorker();
    queue_.Clear();
}

bool TPelkThread::IsSuspended() const
{
    std::lock_guard lock(mutex_);
    return suspended_;
}

void TPelkThread::EndWorker()
{
    if (!IsSuspended())
        Pause();
    {
        std::lock_guard lock(mutex_);
        terminating_ = true;
    }
    changed_.notify_all();
    if (!started_)
        return;
    wait();
    // The worker's last act was to take this lock; taking it here orders
    // all its work before the runner goes, in a way the thread sanitizer
    // sees too (Qt's own wait does not show it that).
    std::lock_guard lock(mutex_);
}

void TPelkThread::ServeWorker()
{
    TUiCall* call = nullptr;
    {
        std::lock_guard lock(mutex_);
        call = std::exchange(pendingCall_, nullptr);
    }
    if (call) {
        ++uiCallDepth_;
        try {
            (*call->call)();
        } catch (...) {
            call->error = std::current_exception();
        }
        --uiCallDepth_;
        {
            std::lock_guard lock(mutex_);
            call->done = true; // the worker's frame may end from here on
        }
        changed_.notify_all();
    }
    for (QEventLoop* loop : waits_)
        loop->quit();
}

void TPelkThread::WaitOnUiThread(const std::function<bool()>& done)
{
    // Whatever changes `done` posts ServeWorker, which quits this loop; it is
    // posted to this thread, so it cannot slip in between the test and exec.
    while (!done()) {
        QEventLoop loop;
        waits_.push_back(&loop);
        loop.exec();
        waits_.erase(std::find(waits_.begin(), waits_.end(), &loop));
    }
}

bool TPelkThread::OnUiThread() const
{
    return std::this_thread::get_id() == uiThread_;
}

} // namespace Quorvel1
