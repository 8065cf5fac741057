#pragma once
// The link's sense of time: the millisecond up-time tick, deadlines on it, and
// the waits of Delay. Tests substitute a manual clock so that time-outs and the
// reset's pauses pass without real waiting.
#include <cstdint>

namespace Pelk {

class TLinkWaiter;

// Milliseconds of a monotonic clock, truncated to 32 bits (wraps after ~49 days).
uint32_t MonotonicTick();

// A deadline on the millisecond tick. Expiry is computed as (now - Start) in
// unsigned 32-bit arithmetic, so a deadline that spans the tick's wrap still
// works.
struct TLinkTimer {
    uint32_t Start = 0;
    uint32_t Duration = 0;

    void StartAt(uint32_t now, uint32_t ms)
    {
        Start = now;
        Duration = ms;
    }
    uint32_t ElapsedAt(uint32_t now) const { return now - Start; }
    bool ExpiredAt(uint32_t now) const { return ElapsedAt(now) >= Duration; }
    uint32_t RemainingAt(uint32_t now) const
    {
        return ExpiredAt(now) ? 0 : Duration - ElapsedAt(now);
    }
};

class TLinkClock {
public:
    virtual ~TLinkClock() = default;

    virtual uint32_t Tick() = 0;

    // Waits up to `ms` milliseconds. May return early once `waiter` is woken
    // (the link's Abort); the caller re-checks its deadline.
    virtual void Sleep(uint32_t ms, TLinkWaiter& waiter) = 0;
};

// The real clock: the monotonic tick, and waits that block on the waiter.
class TSystemClock final : public TLinkClock {
public:
    uint32_t Tick() override { return MonotonicTick(); }
    void Sleep(uint32_t ms, TLinkWaiter& waiter) override;
};

} // namespace Pelk
