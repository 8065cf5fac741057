#pragma once
// Logger jobs: one-shot jobs on the job runner whose work is a logger
// operation. The base shows the logger's status text and progress through
// the job's update for as long as the operation runs; TDjLogDL downloads
// the log into the site's folder.
#include "jobs/PelkJob.h"

#include <cstdint>
#include <functional>

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

// Writes a configuration made from the site's devices and logging options;
// once it has run, the site's devices take their places in the configuration
// the logger now holds and `refillDevices` shows them.
class TDjLogConfig : public TDjLogJob {
public:
    static constexpr const char* JobName = "Upload log configuration";

    TDjLogConfig(TPelkThread& runner, TLogIF& log, TSiteExt& site, std::function<void()> refillDevices);

    bool Execute() override;
    void Update() override;

private:
    TSiteExt& site_;
    std::function<void()> refillDevices_;
};

// Sets the logger's clock from the PC's.
class TDjLogTime : public TDjLogJob {
public:
    static constexpr const char* JobName = "Set logger time";

    TDjLogTime(TPelkThread& runner, TLogIF& log);

    bool Execute() override;
};

// Restarts logging, which clears the logger's log.
class TDjLogRestart : public TDjLogJob {
public:
    static constexpr const char* JobName = "Restart logging!";

    TDjLogRestart(TPelkThread& runner, TLogIF& log);

    bool Execute() override;
};

} // namespace Quorvel1
