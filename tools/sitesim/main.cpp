// quorvel-sim: a simulated site's interface unit on a pseudo-terminal.
#include "SimCounts.h"
#include "SimFaults.h"
#include "SimLinkProtocol.h"
#include "SimLogger.h"
#include "SimMemory.h"
#include "SimModem.h"
#include "SimOptions.h"
#include "SimPtyServer.h"
#include "SimScenario.h"
#include "SimSite.h"

#include <algorithm>
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

    // The LAN, its units and the data logger, on one clock.
    SimSite site(*memory, scenario, options.LanFaults, options.Faults.Seed, SimPacer::Clock::now(),
                 SimLogger::LocalClockNow());
    SimLogger* const logger = site.Logger();
    link.SetWriteHook([&](SimMemory::Space space, uint16_t address, std::size_t length) {
        site.OnWrite(space, address, length, SimPacer::Clock::now());
    });
    // With --modem the PC dials first; the link engine sees only the call's data.
    SimModem modem(scenario.Modem, [&](uint8_t byte, SimPacer::TimePoint at) { return link.Receive(byte, at); });
    if (options.Modem)
        server.SetReceiver([&](uint8_t byte, SimPacer::TimePoint at) { return modem.Receive(byte, at); });
    server.SetTick([&](SimPacer::TimePoint now) {
        if (!options.Modem)
            return site.Tick(now);
        server.Send(modem.Tick(now), now);
        return std::min(site.Tick(now), modem.NextEvent());
    });

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
        counts.Lan = site.Lan().Counts();
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
