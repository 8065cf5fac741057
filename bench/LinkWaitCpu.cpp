// Processor time the link uses while it waits for a reply that never comes
// (the simulator stops answering, a pulled cable): the waits must sleep, not
// spin.
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "support/SimLinkFixture.h"

#include <QCoreApplication>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

// The connect takes 33 bytes from the simulator; after them it is silent.
constexpr const char* StallAfter = "33";
// The acknowledgement deadline: 4 x 10 + 9960 = 10 s.
constexpr const char* Timeouts = "10,9960,500,500,3000,5000";

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void measure(const char* where, Pelk::TMestraIF& link, bool onWorker)
{
    auto wait = [&] {
        uint8_t buffer[16];
        try {
            link.ReadMem(buffer, 0x4000, sizeof buffer, false);
        } catch (const Pelk::EPelkOpFailure&) {
        }
    };
    const double cpuBefore = cpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (onWorker) {
        std::thread worker(wait);
        worker.join();
    } else {
        wait();
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("%-28s waited %5.2f s, processor %.4f s = %.3f %% of one core\n", where, wall, cpu,
                100.0 * cpu / wall);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QuorvelTest::SimLinkFixture site;
    site.timeouts = Timeouts;
    site.Connect({"--stall-after", StallAfter});
    Pelk::TMestraIF& link = site.link;
    // The first failed block ends the call: only the acknowledgement wait is measured.
    link.MaxRetries = 0;
    std::printf("ReadMem with no reply, acknowledgement deadline 10 s\n");
    measure("worker thread:", link, true);
    measure("UI thread (events pumped):", link, false);
    return 0;
}
