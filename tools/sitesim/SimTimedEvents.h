#pragma once
// Things the simulated site does later by itself: a LAN reply some
// milliseconds after the message was taken, a logger entry at the next
// interval. Each event runs once, when the site's tick reaches its time.
#include <chrono>
#include <functional>
#include <map>
#include <optional>

namespace SiteSim {

class SimTimedEvents {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    // Gets the time the event was due, not the time it ran, so events that
    // follow one another keep their spacing however late the tick came.
    using Action = std::function<void(TimePoint due)>;

    void At(TimePoint due, Action action);

    // Runs every event due at or before `now`, the earliest first and those
    // of one time in the order they were added, including events that the
    // actions add for a time already reached.
    void RunDue(TimePoint now);

    std::optional<TimePoint> NextDue() const;
    std::size_t Pending() const { return events_.size(); }

private:
    // A multimap keeps events of equal time in the order of insertion.
    std::multimap<TimePoint, Action> events_;
};

} // namespace SiteSim
