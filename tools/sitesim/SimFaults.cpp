#include "SimFaults.h"

#include "SimLinkProtocol.h"

namespace SiteSim {

SimFaults::SimFaults(const SimFaultSettings& settings) : settings_(settings), random_(settings.Seed)
{
}

bool SimFaults::happens(double rate)
{
    if (rate <= 0)
        return false;
    // The generator's raw output is fixed by the standard, unlike the
    // library's distributions, so a seed gives the same run everywhere.
    const double draw = double(random_() >> 11) * 0x1.0p-53;
    return draw < rate;
}

std::vector<uint8_t> SimFaults::Apply(const std::vector<uint8_t>& answer)
{
    std::vector<uint8_t> out = answer;
    if (!out.empty() && out[0] == SimLinkProtocol::Ack && happens(settings_.NakRate)) {
        out = {SimLinkProtocol::Nak};
        ++counts_.NaksInjected;
    }
    std::vector<uint8_t> sent;
    for (uint8_t byte : out) {
        if (settings_.StallAfter && sent_ >= *settings_.StallAfter) {
            ++counts_.BytesStalled;
            continue;
        }
        if (happens(settings_.DropRate)) {
            ++counts_.BytesDropped;
            continue;
        }
        if (happens(settings_.CorruptRate)) {
            // Flip at least one bit, so a corrupted byte always differs.
            byte ^= uint8_t(1 + random_() % 255);
            ++counts_.BytesCorrupted;
        }
        sent.push_back(byte);
        ++sent_;
    }
    return sent;
}

} // namespace SiteSim
