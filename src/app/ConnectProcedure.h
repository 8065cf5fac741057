#pragma once
// The timed procedure around a connection attempt (TConnectSequence), the
// same with the connect dialog and without a window: a one-second tick
// counts the seconds; the first tick runs the attempt; Cancel is allowed
// from the fifth; once the "ModemTimeout" setting's seconds have passed the
// attempt is aborted with "Timeout - aborting call", and the procedure ends
// regardless 30 seconds later. The attempt's waits keep the event loop
// running, so the ticks and Cancel come while it is under way.
//
// An exception from the attempt is reported once and ends the procedure
// with everything closed and all results false: whoever waits for the end
// (a user, or a supervisor with no window to look at) never waits on a
// failed attempt.
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace Quorvel1 {

class TConnectSequence;

class TConnectProcedure {
public:
    static constexpr int TickMs = 1000;
    static constexpr int CancelTick = 5;
    // After the time-out, how long an attempt stuck in a wait is given to
    // end before the procedure ends regardless.
    static constexpr int CloseAfterTimeoutTicks = 30;

    using ReportHook = std::function<void(const QString& message)>;

    // `reportError` shows the attempt's exception (the controller's ReportError).
    TConnectProcedure(TConnectSequence& sequence, ReportHook reportError);
    ~TConnectProcedure();
    TConnectProcedure(const TConnectProcedure&) = delete;
    TConnectProcedure& operator=(const TConnectProcedure&) = delete;

    void SetTickInterval(int ms) { timer_.setInterval(ms); }

    // Starts counting, with the attempt at the first tick or, when
    // `runAtOnce`, straight away (nobody needs to see the window first).
    // Nothing starts over an attempt that is already up.
    void Start(bool runAtOnce = false);
    // Closes everything (its errors ignored) and ends the procedure as
    // cancelled. Ignored until Cancel is enabled.
    void Cancel();
    // Start, then wait in a local event loop until the procedure has ended.
    void Exec(bool runAtOnce = true);

    int32_t Ticks() const { return ticks_; }
    bool CancelEnabled() const { return cancelEnabled_; }
    bool IsRunning() const { return running_; }
    bool WasCancelled() const { return cancelled_; }

    // What a window shows: the status text, the seconds, Cancel's state, and
    // the end (true when cancelled).
    std::function<void(const QString& text)> OnStatusText;
    std::function<void(int32_t ticks)> OnTick;
    std::function<void(bool enabled)> OnCancelEnabled;
    std::function<void(bool cancelled)> OnFinished;

private:
    void Tick();
    void RunAttempt();
    void CheckTimeout();
    void StopAttempt();
    void Finish(bool cancelled);
    void EnableCancel(bool enabled);
    void ShowStatus(const QString& text);

    TConnectSequence& sequence_;
    ReportHook reportError_;
    QTimer timer_;
    int32_t ticks_ = 0;
    bool running_ = false;
    bool attemptStarted_ = false;
    bool attemptRunning_ = false;
    bool cancelEnabled_ = false;
    bool cancelled_ = false;
};

} // namespace Quorvel1
