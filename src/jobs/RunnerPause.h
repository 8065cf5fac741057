#pragma once
// A hold on the job runner for as long as a window uses the link itself (a
// modal editor, the memory viewer, the timing test): the first hold pauses
// the runner, and the runner resumes (when the link is connected) only when
// the last hold is released, on whatever way the holder leaves, an exception
// included. Holds nest: a dialog opened from a dialog holds the runner too.
// UI thread only.
namespace Quorvel1 {

class TPelkThread;

class TRunnerPause {
public:
    explicit TRunnerPause(TPelkThread& runner);
    ~TRunnerPause();
    TRunnerPause(const TRunnerPause&) = delete;
    TRunnerPause& operator=(const TRunnerPause&) = delete;

private:
    TPelkThread& runner_;
};

} // namespace Quorvel1
