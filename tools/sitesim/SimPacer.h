#pragma once
// Wire-speed pacing: at N baud a byte takes 10 bit times (start, 8 data,
// stop). Bytes leave no faster than that, and received bytes count as
// arrived no earlier than they could have at that speed. Deadlines are
// counted from the start of a burst (start + k * byte time, exact integer
// arithmetic), so long bursts do not drift. A speed of 0 means no pacing.
#include <chrono>
#include <cstdint>

namespace SiteSim {

class SimPacer {
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    explicit SimPacer(uint32_t baud) : baud_(baud) {}

    // When a byte read at `readAt` is taken as having arrived.
    TimePoint InputAt(TimePoint readAt) { return input_.Next(readAt, baud_); }
    // When a byte ready to go at `readyAt` may leave.
    TimePoint OutputAt(TimePoint readyAt) { return output_.Next(readyAt, baud_); }

private:
    // One direction of the wire: a burst's start and how many bytes it holds.
    class Direction {
    public:
        TimePoint Next(TimePoint earliest, uint32_t baud);

    private:
        TimePoint burstStart_{};
        uint64_t bytesInBurst_ = 0;
    };

    uint32_t baud_;
    Direction input_;
    Direction output_;
};

} // namespace SiteSim
