// quorvel-sim: a simulated site's interface unit on a pseudo-terminal.
#include "SimCounts.h"
#include "SimFaults.h"
#include "SimLinkProtocol.h"
#include "SimLogger.h"
#include "SimMemory.h"
#include "SimOptions.h"
#include "SimPtyServer.h"
#include "SimScenario.h"

#include <cstdio>
#include <exception>
#include <memory>

using namespace SiteSim;

namespace {

int serve(const SimOptions& options)
{
    const SimScenario scenario =
        options.ScenarioPath.empty() ? SimScenario::Default() : SimScenario::Load(options.ScenarioPath);
    auto memory = std::make_unique<SimMemory>();
    scenario.Apply(*memory);
    SimLinkProtocol link(*memory);
    SimFaults faults(options.Faults);
    SimPtyServer server(link, faults, options.Baud);
    if (!options.LinkPath.empty())
        server.MakeLink(options.LinkPath);

    std::unique_ptr<SimLogger> logger;
    if (const uint16_t header = scenario.Slots[SimScenario::LoggerSlot]; scenario.Logger.Present && header != 0) {
        logger = std::make_unique<SimLogger>(*memory, scenario.Logger, header, SimPacer::Clock::now(),
                                             SimLogger::LocalClockNow());
        link.SetWriteHook([&](SimMemory::Space space, uint16_t address, std::size_t length) {
            logger->OnWrite(space, address, length, SimPacer::Clock::now());
        });
        server.SetTick([&](SimPacer::TimePoint now) {
            logger->Advance(now);
            return now + logger->TickPeriod();
        });
    }

    SimCounts counts;
    const auto writeCounts = [&] {
        // The dump first: a test that sees the new counts finds it written.
        if (logger && !options.LoggerDumpPath.empty() && !logger->WriteDump(options.LoggerDumpPath))
            std::fprintf(stderr, "quorvel-sim: cannot write %s\n", options.LoggerDumpPath.c_str());
        if (options.CountsPath.empty())
            return;
        ++counts.Snapshot;
        counts.BytesIn = server.BytesIn();
        counts.BytesOut = server.BytesOut();
        counts.Link = link.Counts();
        counts.Faults = faults.Counts();
        if (!WriteCountsFile(options.CountsPath, counts))
            std::fprintf(stderr, "quorvel-sim: cannot write %s\n", options.CountsPath.c_str());
    };

    std::printf("%s\n", server.PortPath().c_str());
    std::fflush(stdout);
    server.Serve(writeCounts);
    writeCounts();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const SimOptions options = SimOptions::Parse(std::vector<std::string>(argv + 1, argv + argc));
        if (options.Help) {
            std::fputs(SimOptions::Usage().c_str(), stdout);
            return 0;
        }
        return serve(options);
    } catch (const SimUsageError& error) {
        std::fprintf(stderr, "quorvel-sim: %s\n\n%s", error.what(), SimOptions::Usage().c_str());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quorvel-sim: %s\n", error.what());
        return 1;
    }
}
