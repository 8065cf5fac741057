#pragma once
// How RunJob shows a command's progress modally. The window's progress
// dialog implements it; with no view (the unattended mode) RunJob waits the
// same way and shows nothing.
#include <QString>

#include <functional>

namespace Quorvel1 {

class TPelkJob;

class TJobProgressView {
public:
    virtual ~TJobProgressView() = default;

    // Shows the view for `job` and returns once it has closed again: at its
    // first tick after SetFinished, or after `jobOver` turns true. UI thread.
    virtual void ShowModalFor(TPelkJob& job, const std::function<bool()>& jobOver) = 0;

    // True while the view is showing for this very job.
    virtual bool IsShowing(const TPelkJob& job) const = 0;
    virtual void ShowStatus(const QString& text) = 0;
    virtual void ShowProgress(int percent) = 0;
    // The job has ended: the view closes at its next tick.
    virtual void SetFinished() = 0;
};

} // namespace Quorvel1
