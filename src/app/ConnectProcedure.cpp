#include "app/ConnectProcedure.h"

#include "app/ConnectSequence.h"
#include "base/Exception.h"

#include <QEventLoop>

#include <exception>

namespace Quorvel1 {

TConnectProcedure::TConnectProcedure(TConnectSequence& sequence, ReportHook reportError)
    : sequence_(sequence), reportError_(std::move(reportError))
{
    timer_.setInterval(TickMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

// The sequence must not call back into a procedure that is gone.
TConnectProcedure::~TConnectProcedure()
{
    if (running_)
        sequence_.WatchStatus({});
}

void TConnectProcedure::Start(bool runAtOnce)
{
    if (running_ || sequence_.ModemUp || sequence_.Connected)
        return;
    running_ = true;
    cancelled_ = false;
    attemptStarted_ = false;
    ticks_ = 0;
    sequence_.WatchStatus([this] { ShowStatus(sequence_.StatusText()); });
    ShowStatus(QString());
    if (OnTick)
        OnTick(ticks_);
    EnableCancel(false);
    timer_.start();
    if (runAtOnce) {
        attemptStarted_ = true;
        QTimer::singleShot(0, &timer_, [this] { RunAttempt(); });
    }
}

void TConnectProcedure::Exec(bool runAtOnce)
{
    QEventLoop loop;
    const auto previous = OnFinished;
    OnFinished = [&](bool cancelled) {
        if (previous)
            previous(cancelled);
        loop.quit();
    };
    Start(runAtOnce);
    if (running_)
        loop.exec();
    OnFinished = previous;
}

void TConnectProcedure::Tick()
{
    ++ticks_;
    // The attempt runs outside this tick: a timer does not fire again while
    // its own handler runs, and the later ticks (Cancel, the time-out) must
    // come while the attempt waits.
    if (ticks_ == 1 && !attemptStarted_) {
        attemptStarted_ = true;
        QTimer::singleShot(0, &timer_, [this] { RunAttempt(); });
    }
    if (ticks_ == CancelTick)
        EnableCancel(true);
    CheckTimeout();
    if (OnTick)
        OnTick(ticks_);
}

void TConnectProcedure::RunAttempt()
{
    if (!running_)
        return;
    attemptRunning_ = true;
    bool failed = true;
    QString failure;
    try {
        sequence_.Run();
        failed = false;
    } catch (const Exception& e) {
        failure = e.Message();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    attemptRunning_ = false;
    if (failed) {
        // After Cancel the link's abort error is no news to the user.
        if (!cancelled_ && reportError_)
            reportError_(failure);
        sequence_.CloseLinkQuietly();
    } else if (!running_ || sequence_.TimedOut) {
        // Stopped by Cancel or the time-out while the attempt was under way:
        // what it opened is closed now that nothing waits on it any more.
        sequence_.CloseLinkQuietly();
    }
    Finish(false);
}

void TConnectProcedure::CheckTimeout()
{
    const int32_t limit = sequence_.ModemTimeout();
    if (limit <= 0 || ticks_ <= limit)
        return;
    if (!sequence_.TimedOut) {
        sequence_.TimedOut = true;
        sequence_.WatchStatus({}); // the time-out text stays on show
        ShowStatus(QString::fromLatin1(TConnectSequence::TimeoutText));
        // The attempt then returns, closes down and ends the procedure.
        StopAttempt();
    } else if (ticks_ > limit + CloseAfterTimeoutTicks) {
        Finish(false);
    }
}

void TConnectProcedure::Cancel()
{
    if (!running_ || !cancelEnabled_)
        return;
    EnableCancel(false);
    cancelled_ = true;
    StopAttempt();
    Finish(true);
    EnableCancel(true);
}

// This runs inside the attempt's waits: the port the attempt is reading
// must stay until the attempt has returned (RunAttempt closes it then).
void TConnectProcedure::StopAttempt()
{
    if (attemptRunning_)
        sequence_.Interrupt();
    else
        sequence_.CloseLinkQuietly();
}

void TConnectProcedure::Finish(bool cancelled)
{
    if (!running_)
        return;
    running_ = false;
    cancelled_ = cancelled;
    timer_.stop();
    sequence_.WatchStatus({});
    if (OnFinished)
        OnFinished(cancelled);
}

void TConnectProcedure::EnableCancel(bool enabled)
{
    cancelEnabled_ = enabled;
    if (OnCancelEnabled)
        OnCancelEnabled(enabled);
}

void TConnectProcedure::ShowStatus(const QString& text)
{
    if (OnStatusText)
        OnStatusText(text);
}

} // namespace Quorvel1
