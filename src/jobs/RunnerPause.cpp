#include "jobs/RunnerPause.h"

#include "jobs/PelkThread.h"

namespace Quorvel1 {

// The hold counts only once the pause has returned: a pause that fails
// leaves nothing to release.
TRunnerPause::TRunnerPause(TPelkThread& runner) : runner_(runner)
{
    if (runner_.pauseHolds_ == 0)
        runner_.Pause();
    ++runner_.pauseHolds_;
}

TRunnerPause::~TRunnerPause()
{
    if (--runner_.pauseHolds_ == 0)
        runner_.ResumeIfConnected();
}

} // namespace Quorvel1
