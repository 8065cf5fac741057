#include "SimLanFaults.h"

namespace SiteSim {

namespace {

// Apart from the line's fault generator, which shares the seed: LAN faults
// must not change which bytes the line corrupts.
constexpr uint64_t LanStream = 0x4C414E0000000000ull;

} // namespace

SimLanFaults::SimLanFaults(const SimLanFaultSettings& settings, uint64_t seed)
    : settings_(settings), random_(seed ^ LanStream)
{
}

bool SimLanFaults::happens(double rate)
{
    // The generator's raw output is fixed by the standard, unlike the
    // library's distributions, so a seed gives the same run everywhere.
    const double draw = double(random_() >> 11) * 0x1.0p-53;
    return draw < rate;
}

SimLanFaults::Draw SimLanFaults::Next()
{
    Draw draw;
    draw.Silent = happens(settings_.SilentRate);
    draw.WrongCode = happens(settings_.WrongCodeRate);
    draw.SlowTake = happens(settings_.SlowTakeRate);
    return draw;
}

} // namespace SiteSim
