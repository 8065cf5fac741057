#pragma once
// The wait behind the link's Delay. A wait ends at its deadline or as soon as
// Wake is called from any thread; while woken, every wait returns at once,
// until Rearm. On the thread that owns the link (the UI thread, when Qt's
// application object exists) a wait runs a local event loop so the windows
// stay responsive; on any other thread it sleeps on a condition variable.
// Neither way uses the processor while waiting.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class QEventLoop;

namespace Pelk {

class TLinkWaiter {
public:
    explicit TLinkWaiter(std::thread::id owner = std::this_thread::get_id());
    TLinkWaiter(const TLinkWaiter&) = delete;
    TLinkWaiter& operator=(const TLinkWaiter&) = delete;

    // True on the owner thread while an application object can run events.
    bool PumpsEvents() const;

    void Wait(uint32_t ms);

    // One pass of a zero-length wait: the owner thread handles its pending
    // events, any other thread yields the processor.
    void Pump();

    void Wake();
    void Rearm();
    bool IsWoken() const;

private:
    void waitInEventLoop(uint32_t ms);
    void waitOnCondition(uint32_t ms);

    const std::thread::id owner_;
    mutable std::mutex mutex_;
    std::condition_variable wakeup_;
    bool woken_ = false;
    // Local loops running on the owner thread, innermost last; a wake ends
    // them all, since a nested wait inside an outer one must not hide it.
    std::vector<QEventLoop*> loops_;
};

} // namespace Pelk
