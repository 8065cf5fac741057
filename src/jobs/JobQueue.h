#pragma once
// The runner's list of all jobs, in construction order, and the scheduler
// that picks the next job from it. The list is the one structure the UI
// thread and the worker share under a lock: jobs are added on the UI thread
// while the worker walks the list.
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace Quorvel1 {

class TPelkJob;

class TJobQueue {
public:
    TJobQueue() = default;
    ~TJobQueue();
    TJobQueue(const TJobQueue&) = delete;
    TJobQueue& operator=(const TJobQueue&) = delete;

    // Takes ownership; the job goes to the end of the list.
    void Add(TPelkJob* job);

    // Frees released jobs, then chooses: the first active one-shot job at
    // once, otherwise the most urgent active standing job (passes waited x
    // 100 / period; the earlier job wins a tie). Every standing job passed
    // over has waited one pass more. The choice becomes the current job.
    TPelkJob* NextJob();

    // The job chosen last; none before the first pass and after Clear.
    TPelkJob* Current() const;
    // Active standing jobs seen by the last pass that walked the whole list.
    int ActiveStanding() const;

    // Frees every job; at exit, with the worker suspended.
    void Clear();
    std::size_t Count() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<TPelkJob>> jobs_;
    TPelkJob* current_ = nullptr;
    int activeStanding_ = 0;
};

} // namespace Quorvel1
