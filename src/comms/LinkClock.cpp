#include "comms/LinkClock.h"

#include "comms/LinkWaiter.h"

#include <chrono>

namespace Pelk {

uint32_t MonotonicTick()
{
    using namespace std::chrono;
    const auto sinceStart = steady_clock::now().time_since_epoch();
    return uint32_t(duration_cast<milliseconds>(sinceStart).count());
}

void TSystemClock::Sleep(uint32_t ms, TLinkWaiter& waiter)
{
    waiter.Wait(ms);
}

} // namespace Pelk
