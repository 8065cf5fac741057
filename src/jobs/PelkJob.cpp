#include "jobs/PelkJob.h"

#include "jobs/PelkThread.h"

namespace Quorvel1 {

TPelkJob::TPelkJob(TPelkThread& runner, int32_t period) : Period(period), runner_(runner)
{
    runner_.Queue().Add(this);
    SetFlag(jfNotify, true);
    if (period == 0)
        SetFlag(jfOneShot, true);
    else
        SetActive(true);
}

TPelkJob::~TPelkJob() = default;

void TPelkJob::Update() {}

void TPelkJob::SetFlag(TJobFlag flag, bool on)
{
    if (on)
        Flags.fetch_or(Bit(flag));
    else
        Flags.fetch_and(~Bit(flag));
}

void TPelkJob::SetActive(bool on)
{
    if (!on) {
        SetFlag(jfActive, false);
        return;
    }
    if (!IsActive()) {
        // The error text is cleared before the flags publish the job to the
        // worker, which may pick it up at once.
        ErrorText.clear();
        uint32_t flags = Flags.load();
        while (!Flags.compare_exchange_weak(flags, (flags | Bit(jfActive)) & ~(Bit(jfDone) | Bit(jfFailed)))) {
        }
    }
    // Also when the worker looks busy: it may be just about to suspend itself
    // because the scheduler found nothing a moment ago.
    runner_.ResumeIfConnected();
}

void TPelkJob::SetDone(bool done)
{
    if (!done) {
        SetFlag(jfDone, false);
        return;
    }
    SetFlag(jfDone, true);
    if (HasFlag(jfOneShot))
        SetActive(false);
    Status = DoneStatus;
    Progress = -1;
}

void TPelkJob::SetFailed(bool failed)
{
    SetFlag(jfFailed, failed);
}

bool TPelkJob::Succeeded() const
{
    const uint32_t flags = Flags.load();
    return (flags & Bit(jfDone)) != 0 && (flags & Bit(jfFailed)) == 0;
}

void TPelkJob::Release()
{
    SetFlag(jfDelete, true);
}

} // namespace Quorvel1
