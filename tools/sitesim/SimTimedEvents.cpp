#include "SimTimedEvents.h"

namespace SiteSim {

void SimTimedEvents::At(TimePoint due, Action action)
{
    events_.emplace(due, std::move(action));
}

void SimTimedEvents::RunDue(TimePoint now)
{
    while (!events_.empty() && events_.begin()->first <= now) {
        // Out of the list before it runs: the action may add events.
        const auto first = events_.begin();
        const TimePoint due = first->first;
        Action action = std::move(first->second);
        events_.erase(first);
        action(due);
    }
}

std::optional<SimTimedEvents::TimePoint> SimTimedEvents::NextDue() const
{
    if (events_.empty())
        return std::nullopt;
    return events_.begin()->first;
}

} // namespace SiteSim
