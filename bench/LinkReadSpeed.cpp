// How close a 16 KiB read of the interface unit's memory comes to the time
// its bytes need on the wire: the simulator paces both directions at 4800
// baud (10 bits a byte), and the link's own overhead is what remains.
#include "comms/MestraIF.h"
#include "support/SimLinkFixture.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int Baud = 4800;
constexpr uint16_t ReadLength = 16384;
constexpr uint16_t ReadAddress = 0x8000;

struct Figures {
    double seconds = 0;
    double wireSeconds = 0;
    uint64_t bytes = 0;
};

Figures timeRead(QuorvelTest::SimProcess& sim, Pelk::TMestraIF& link, bool onWorker)
{
    std::vector<uint8_t> buffer(ReadLength);
    auto before = sim.GetCounts();
    const auto start = std::chrono::steady_clock::now();
    if (onWorker) {
        std::thread worker([&] { link.ReadMem(buffer.data(), ReadAddress, ReadLength, false); });
        worker.join();
    } else {
        link.ReadMem(buffer.data(), ReadAddress, ReadLength, false);
    }
    const auto end = std::chrono::steady_clock::now();
    auto after = sim.GetCounts();
    Figures figures;
    figures.seconds = std::chrono::duration<double>(end - start).count();
    figures.bytes = (after["bytes_in"] - before["bytes_in"]) + (after["bytes_out"] - before["bytes_out"]);
    figures.wireSeconds = double(figures.bytes) * 10.0 / Baud;
    return figures;
}

void print(const char* where, const Figures& f, int resets)
{
    std::printf("%-28s %6.2f s for %llu bytes on the wire (%6.2f s at %d baud): %.4f x wire time, %d resets\n",
                where, f.seconds, (unsigned long long)f.bytes, f.wireSeconds, Baud, f.seconds / f.wireSeconds,
                resets);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QuorvelTest::SimLinkFixture site;
    site.timeouts = {}; // the link's own, as in use
    site.Connect({"--baud", QString::number(Baud)});
    Pelk::TMestraIF& link = site.link;
    std::printf("16 KiB ReadMem, blocks of %u, simulator paced at %d baud\n", link.MaxReadBlock, Baud);
    print("worker thread:", timeRead(*site.sim, link, true), link.Resets);
    print("UI thread (events pumped):", timeRead(*site.sim, link, false), link.Resets);
    return 0;
}
