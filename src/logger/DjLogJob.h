#pragma once
// Logger jobs: one-shot jobs on the job runner whose work is a logger
// operation. The base shows the logger's status text and progress through
// the job's update for as long as the operation runs; TDjLogDL downloads
// the log into the site's folder.
#include "jobs/PelkJob.h"

#include <cstdint>

namespace Quorvel1 {

class TLogIF;
class TSiteExt;

class TDjLogJob : public TPelkJob {
public:
    TDjLogJob(TPelkThread& runner, TLogIF& log);

    // Runs Execute with the logger's status routed to this job's update;
    // done when it returns true, failed when false. Errors go on to the
    // runner.
    void Step() override;
    void Update() override;
    virtual bool Execute() = 0;

protected:
    TLogIF& Log() const { return log_; }

private:
    TLogIF& log_;
};

class TDjLogDL : public TDjLogJob {
public:
    static constexpr const char* JobName = "Download Log";
    static constexpr const char* RetryText = " Retry: ";

    // Attempt 0 appends to the site's last log when it can; a retry never
    // does.
    TDjLogDL(TPelkThread& runner, TLogIF& log, TSiteExt& site, std::int32_t attempt);

    bool Execute() override;

    std::int32_t Attempt;

private:
    TSiteExt& site_;
};

} // namespace Quorvel1
