#pragma once
// The command line of quorvel-sim.
#include "SimFaults.h"
#include "SimLanFaults.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace SiteSim {

class SimUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SimOptions {
    bool Help = false;
    std::string ScenarioPath; // empty: the built-in default site
    std::string LinkPath;     // symlink made to the port, removed at exit
    std::string CountsPath;   // counts written at exit and on SIGUSR1
    std::string LoggerDumpPath; // the logger's state, written at exit and on SIGUSR1
    uint32_t Baud = 0;        // 0: no wire-speed pacing
    bool Modem = false;       // a Hayes modem in front of the interface unit
    SimFaultSettings Faults;
    SimLanFaultSettings LanFaults; // drawn from the same --seed

    // Options as "--name value" or "--name=value"; raises SimUsageError.
    static SimOptions Parse(const std::vector<std::string>& arguments);
    static std::string Usage();
};

} // namespace SiteSim
