#include "jobs/JobQueue.h"

#include "jobs/PelkJob.h"

#include <cstdint>

namespace Quorvel1 {

namespace {

// 64-bit product: a job with a long period may wait many passes.
int64_t Urgency(const TPelkJob& job)
{
    return int64_t(job.WaitCount) * 100 / job.Period;
}

} // namespace

TJobQueue::~TJobQueue()
{
    Clear();
}

void TJobQueue::Add(TPelkJob* job)
{
    std::lock_guard lock(mutex_);
    jobs_.emplace_back(job);
}

TPelkJob* TJobQueue::NextJob()
{
    // Freed outside the lock: a job's destructor is not ours to run under it.
    std::vector<std::unique_ptr<TPelkJob>> released;
    std::lock_guard lock(mutex_);
    current_ = nullptr;
    TPelkJob* best = nullptr;
    int standing = 0;
    bool walkedAll = true;
    for (auto it = jobs_.begin(); it != jobs_.end();) {
        TPelkJob& job = **it;
        if (job.HasFlag(jfDelete)) {
            released.push_back(std::move(*it));
            it = jobs_.erase(it);
            continue;
        }
        ++it;
        if (!job.IsActive())
            continue;
        if (job.Period == 0) {
            best = &job;
            walkedAll = false;
            break;
        }
        ++standing;
        ++job.WaitCount;
        if (!best || Urgency(job) > Urgency(*best))
            best = &job;
    }
    if (walkedAll)
        activeStanding_ = standing;
    if (best) {
        best->WaitCount = 0;
        current_ = best;
    }
    return best;
}

TPelkJob* TJobQueue::Current() const
{
    std::lock_guard lock(mutex_);
    return current_;
}

int TJobQueue::ActiveStanding() const
{
    std::lock_guard lock(mutex_);
    return activeStanding_;
}

void TJobQueue::Clear()
{
    std::vector<std::unique_ptr<TPelkJob>> all;
    {
        std::lock_guard lock(mutex_);
        all.swap(jobs_);
        current_ = nullptr;
        activeStanding_ = 0;
    }
}

std::size_t TJobQueue::Count() const
{
    std::lock_guard lock(mutex_);
    return jobs_.size();
}

} // namespace Quorvel1
