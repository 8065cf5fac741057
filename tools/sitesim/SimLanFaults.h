#pragma once
// Faults of the site's LAN, to exercise the program's LAN time-outs and
// retries: a message taken and never answered, a reply with the wrong code,
// a message taken late. Each message taken draws its faults from one
// generator seeded by the user, so a run repeats exactly.
#include <cstdint>
#include <random>

namespace SiteSim {

struct SimLanFaultSettings {
    double SilentRate = 0;    // probability that a request is never answered
    double WrongCodeRate = 0; // probability that a reply carries the wrong code
    double SlowTakeRate = 0;  // probability that a message is taken late
};

class SimLanFaults {
public:
    struct Draw {
        bool Silent = false;
        bool WrongCode = false;
        bool SlowTake = false;
    };

    SimLanFaults(const SimLanFaultSettings& settings, uint64_t seed);

    // The faults of the next message sent; three draws a message whatever
    // the rates, so one rate does not shift the others' sequence.
    Draw Next();

private:
    bool happens(double rate);

    SimLanFaultSettings settings_;
    std::mt19937_64 random_;
};

} // namespace SiteSim
