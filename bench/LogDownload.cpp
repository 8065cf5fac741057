// A log download against the time its bytes need on the wire: the simulator
// paced at 4800 baud (10 bits a byte) holds a full 16 KiB ring; a whole
// download is timed against the bytes that crossed the line, then, after a
// few new entries, an appending download shows how few bytes it reads.
#include "comms/MestraIF.h"
#include "logger/LogIF.h"
#include "support/SimProcess.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int Baud = 4800;

struct Figures {
    double seconds = 0;
    uint64_t wireBytes = 0;
    uint32_t bufferBytes = 0;
    bool saved = false;
    double WireSeconds() const { return double(wireBytes) * 10.0 / Baud; }
};

Figures TimeDownload(QuorvelTest::SimProcess& sim, Quorvel1::TLogIF& log, QString& fileName, const QString& folder)
{
    auto before = sim.GetCounts();
    const auto start = std::chrono::steady_clock::now();
    Figures figures;
    figures.saved = log.Download(fileName, folder);
    figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto after = sim.GetCounts();
    figures.wireBytes = (after["bytes_in"] - before["bytes_in"]) + (after["bytes_out"] - before["bytes_out"]);
    figures.bufferBytes = log.BytesRead;
    return figures;
}

void Print(const char* what, const Figures& f)
{
    std::printf("%-22s %s, %6.2f s for %llu bytes on the wire (%6.2f s at %d baud): %.4f x wire time; "
                "%u buffer bytes read\n",
                what, f.saved ? "saved" : "NOT saved", f.seconds, (unsigned long long)f.wireBytes, f.WireSeconds(),
                Baud, f.seconds / f.WireSeconds(), f.bufferBytes);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Interval 60 s (never synchronised to the PC clock), one interval every
    // 1.5 s of real time, and enough entries to fill the 16 KiB ring.
    QuorvelTest::SimProcess sim({"--baud", QString::number(Baud)},
                                "logger interval 60\nlogger fast 1500\nlogger buffer 16384\nlogger prefill 6000\n");
    Pelk::TMestraIF link;
    link.SetBaudRate(Baud);
    link.SetTimeouts("");
    link.Open(-1, sim.PortPath());
    if (!link.Connect()) {
        std::fprintf(stderr, "connect failed\n");
        return 1;
    }
    Quorvel1::TLogIF log(link);
    if (!log.Open()) {
        std::fprintf(stderr, "no logger\n");
        return 1;
    }
    QTemporaryDir folder;
    std::printf("log download, %u-byte ring, blocks of %u, simulator paced at %d baud\n", log.Control.BufferSize,
                link.MaxReadBlock, Baud);
    QString fileName;
    Print("whole ring:", TimeDownload(sim, log, fileName, folder.path() + "/"));

    std::this_thread::sleep_for(std::chrono::milliseconds(5000)); // a few new entries
    log.Open();
    const uint16_t entriesBefore = log.Status.Entries;
    const Figures appended = TimeDownload(sim, log, fileName, folder.path() + "/");
    Print("after new entries:", appended);
    std::printf("%22s %d entries in the logger before the appending download\n", "", int(entriesBefore));
    return 0;
}
