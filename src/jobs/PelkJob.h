#pragma once
// A job: work against the site network done in steps on the job runner's
// worker thread. Standing jobs (a positive period) repeat for the whole run,
// chosen by how long they have waited against their period; one-shot jobs
// (period 0) are the commands, started by RunJob and run before any standing
// job. The runner's queue owns every job: create jobs with new and hand them
// over with Release (RunJob does that for one-shot jobs), never delete them.
//
// Job fields are written by the worker during Step and read by the UI thread
// in Update, which the worker calls synchronously; only Flags is touched by
// both threads at other times (RunJob, Cancel, the scheduler), so it alone is
// atomic.
#include <QString>

#include <atomic>
#include <cstdint>

namespace Quorvel1 {

class TPelkThread;

// Bit numbers of TPelkJob::Flags.
enum TJobFlag : uint32_t {
    jfOneShot = 1, // constructed with period 0
    jfNotify = 2,  // the runner calls Update before and after each step
    jfActive = 4,  // queued to run
    jfDone = 6,    // finished
    jfFailed = 7,  // the last step failed, or the job declared failure
    jfDelete = 8,  // to be freed at the next scheduler pass
    jfIdle = 9,    // the last step found nothing to do (standing jobs)
};

class TPelkJob {
public:
    static constexpr const char* DefaultName = "Pelk Job";
    static constexpr const char* DefaultStatus = "None";
    static constexpr const char* DoneStatus = "Done";

    // Registers the job with the runner's queue, which owns it from then on.
    // A standing job is active from birth, so the worker may step it at
    // once: construct standing jobs while the runner is suspended (at
    // start-up), before the derived part of the job could be half-built.
    TPelkJob(TPelkThread& runner, int32_t period);
    virtual ~TPelkJob();
    TPelkJob(const TPelkJob&) = delete;
    TPelkJob& operator=(const TPelkJob&) = delete;

    // One bounded piece of work with the link; worker thread.
    virtual void Step() = 0;
    // Shows the job's state; UI thread, while the worker waits.
    virtual void Update();

    void SetActive(bool on);
    void SetDone(bool done);
    void SetFailed(bool failed);
    bool Succeeded() const;
    // Hands the job back to the queue, which frees it at its next pass. The
    // job must not be touched afterwards.
    void Release();
    // A standing job's step that found nothing to do says so, so that the
    // runner can rest instead of spinning through idle steps.
    void NothingToDo() { SetFlag(jfIdle, true); }

    bool HasFlag(TJobFlag flag) const { return (Flags.load() & Bit(flag)) != 0; }
    bool IsActive() const { return HasFlag(jfActive); }
    void SetFlag(TJobFlag flag, bool on);

    TPelkThread& Runner() const { return runner_; }

    int32_t Period;
    int32_t WaitCount = 0;
    int32_t Progress = -1;
    std::atomic<uint32_t> Flags{0};
    QString Name = DefaultName;
    QString Status = DefaultStatus;
    QString ErrorText;

    static constexpr uint32_t Bit(TJobFlag flag) { return 1u << flag; }

private:
    TPelkThread& runner_;
};

} // namespace Quorvel1
