#pragma once
// Keeps the logger information fresh while its dialog is open: a standing
// job of period 1, so that it is chosen on most of the scheduler's passes,
// that takes a snapshot of the logger at every step and hands it to its view
// in the update.
#include "jobs/PelkJob.h"
#include "logger/LogInfo.h"

#include <functional>

namespace Quorvel1 {

class TLogIF;

class TDjLogInfo : public TPelkJob {
public:
    static constexpr std::int32_t InfoPeriod = 1;
    using TView = std::function<void(const TLogInfo& info)>;

    // Active from birth: make it while the runner is held.
    TDjLogInfo(TPelkThread& runner, TLogIF& log);

    // Where the update shows a snapshot; empty shows nothing. UI thread: a
    // view that goes away clears it before it goes, and no update reaches it
    // after that.
    void SetView(TView view) { view_ = std::move(view); }

    void Step() override;
    void Update() override;

    const TLogInfo& Info() const { return info_; }
    // False until the first step has taken a snapshot.
    bool Valid() const { return valid_; }

private:
    TLogIF& log_;
    TLogInfo info_;
    bool valid_ = false;
    TView view_;
};

} // namespace Quorvel1
