// A log download against the time its bytes need on the wire: the simulator
// paced at 4800 baud (10 bits a byte) holds a full 16 KiB ring. A minimal
// client (the bare request/reply loop over the same read frames, no link
// object, no job runner) sets the mark; the program's whole download is
// timed against the bytes that crossed the line, as the download command
// runs it (a job on the runner behind the progress dialog, which shows the
// progress on the UI thread after every block while the worker waits) and
// called on the UI thread itself. The time the dialog takes in those calls
// is reported per block. Then, after a few new entries, an appending
// download shows how few bytes it reads.
//
//   bench_LogDownload [ring bytes]      (QT_QPA_PLATFORM=offscreen, or under Xvfb)
#include "comms/MestraIF.h"
#include "jobs/PelkThread.h"
#include "jobs/gui/DlgDJ.h"
#include "logger/DjLogJob.h"
#include "logger/LogIF.h"
#include "site/SiteExt.h"
#include "support/SimLinkFixture.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr int Baud = 4800;
constexpr speed_t BaudConstant = B4800;
constexpr int Rounds = 2;

struct Figures {
    double seconds = 0;
    uint64_t wireBytes = 0;
    uint32_t bufferBytes = 0;
    bool saved = false;
    double WireSeconds() const { return double(wireBytes) * 10.0 / Baud; }
    double TimesWire() const { return seconds / WireSeconds(); }
};

Figures Time(QuorvelTest::SimProcess& sim, const std::function<void(Figures&)>& run)
{
    auto before = sim.GetCounts();
    const auto start = std::chrono::steady_clock::now();
    Figures figures;
    run(figures);
    figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto after = sim.GetCounts();
    figures.wireBytes = (after["bytes_in"] - before["bytes_in"]) + (after["bytes_out"] - before["bytes_out"]);
    return figures;
}

void Print(const char* what, const Figures& f)
{
    std::printf("%-26s %s, %6.2f s for %6llu bytes on the wire (%6.2f s at %d baud): %.4f x wire time; "
                "%u buffer bytes read\n",
                what, f.saved ? "saved" : "NOT saved", f.seconds, (unsigned long long)f.wireBytes, f.WireSeconds(),
                Baud, f.TimesWire(), f.bufferBytes);
    std::fflush(stdout);
}

// The progress dialog, with the time spent in what the worker waits for.
class TTimedProgressView : public Quorvel1::TJobProgressView {
public:
    explicit TTimedProgressView(Quorvel1::TdlgDJ& dialog) : dialog_(dialog) {}

    void ShowModalFor(Quorvel1::TPelkJob& job, const std::function<bool()>& jobOver) override
    {
        dialog_.ShowModalFor(job, jobOver);
    }
    bool IsShowing(const Quorvel1::TPelkJob& job) const override { return dialog_.IsShowing(job); }
    void ShowStatus(const QString& text) override
    {
        Timed([&] { dialog_.ShowStatus(text); });
    }
    void ShowProgress(int percent) override
    {
        Timed([&] { dialog_.ShowProgress(percent); });
    }
    void SetFinished() override
    {
        if (finishedAt == std::chrono::steady_clock::time_point{})
            finishedAt = std::chrono::steady_clock::now();
        dialog_.SetFinished();
    }

    double seconds = 0;
    // When the job's last update told the dialog it has ended; the dialog
    // closes at its next one-second tick.
    std::chrono::steady_clock::time_point finishedAt{};

private:
    template <typename Call>
    void Timed(Call call)
    {
        const auto start = std::chrono::steady_clock::now();
        call();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    Quorvel1::TdlgDJ& dialog_;
};

bool ReadExactly(int fd, uint8_t* buffer, std::size_t length)
{
    for (std::size_t done = 0; done < length;) {
        const ssize_t count = ::read(fd, buffer + done, length - done);
        if (count <= 0)
            return false;
        done += std::size_t(count);
    }
    return true;
}

// The bare request/reply loop: each read frame written whole, its
// acknowledgement, data and checksum read whole by blocking reads.
bool MinimalClientRead(const QString& port, uint16_t address, uint32_t length, uint16_t block, Figures& figures)
{
    const int fd = ::open(port.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return false;
    termios raw {};
    ::tcgetattr(fd, &raw);
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    ::cfsetspeed(&raw, BaudConstant);
    ::tcsetattr(fd, TCSANOW, &raw);
    std::vector<uint8_t> reply(3 + block);
    bool ok = true;
    for (uint32_t offset = 0; ok && offset < length; offset += block) {
        const auto count = uint8_t(std::min<uint32_t>(block, length - offset));
        const auto at = uint16_t(address + offset);
        uint8_t frame[9] = {0x01, 0x04, 0xFB, 0x00, uint8_t(at), uint8_t(at >> 8), count, 0, 0};
        const uint16_t sum = uint16_t(frame[3] + frame[4] + frame[5] + frame[6]);
        frame[7] = uint8_t(sum);
        frame[8] = uint8_t(sum >> 8);
        ok = ::write(fd, frame, sizeof frame) == ssize_t(sizeof frame) && ReadExactly(fd, reply.data(), 3u + count)
             && reply[0] == 0x06;
        uint16_t dataSum = 0;
        for (int i = 0; i < count; ++i)
            dataSum = uint16_t(dataSum + reply[1 + i]);
        ok = ok && reply[1 + count] == uint8_t(dataSum) && reply[2 + count] == uint8_t(dataSum >> 8);
        if (ok)
            figures.bufferBytes += count;
    }
    ::close(fd);
    figures.saved = ok;
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // A smaller ring (in bytes) when given, for quicker runs.
    const int ringBytes = argc > 1 ? std::max(1024, std::atoi(argv[1])) : 16384;
    // Interval 60 s (never synchronised to the PC clock), one interval every
    // 1.5 s of real time, and enough entries to fill the 16 KiB ring.
    QuorvelTest::SimLinkFixture site;
    site.timeouts = {}; // the link's own, as in use
    site.link.SetBaudRate(Baud);
    site.Connect({"--baud", QString::number(Baud)},
                 QString("logger interval 60\nlogger fast 1500\nlogger buffer %1\nlogger prefill %2\n")
                     .arg(ringBytes)
                     .arg(ringBytes * 3 / 8));
    Pelk::TMestraIF& link = site.link;
    Quorvel1::TLogIF log(link);
    if (!log.Open()) {
        std::fprintf(stderr, "no logger\n");
        return 1;
    }
    QTemporaryDir folder;
    QDir::setCurrent(folder.path()); // an untitled site's log files go to the current folder
    const uint16_t bufferAddress = log.Control.BufferAddress;
    const uint32_t bufferSize = log.Control.BufferSize;
    const uint16_t block = link.MaxReadBlock;
    std::printf("log download, %u-byte ring, blocks of %u, simulator paced at %d baud\n", bufferSize, block, Baud);

    for (int round = 0; round < Rounds; ++round) {
        // The port is the link's alone while it is open.
        link.Close();
        Print("minimal client, ring:", Time(*site.sim, [&](Figures& f) {
                  MinimalClientRead(site.sim->PortPath(), bufferAddress, bufferSize, block, f);
              }));
        site.ConnectLink();
        log.Open();

        Quorvel1::TSiteExt siteModel;
        Quorvel1::TPelkThread runner(link);
        Quorvel1::TdlgDJ dialog(link);
        TTimedProgressView view(dialog);
        runner.SetProgressView(&view);
        runner.ResumeIfConnected();
        double closing = 0;
        Figures command = Time(*site.sim, [&](Figures& f) {
            f.saved = runner.RunJob(new Quorvel1::TDjLogDL(runner, log, siteModel, 0), true);
            f.bufferBytes = log.BytesRead;
            closing = std::chrono::duration<double>(std::chrono::steady_clock::now() - view.finishedAt).count();
        });
        command.seconds -= closing;
        Print("download command:", command);
        const double blocks = double(bufferSize) / block;
        std::printf("%26s (the dialog closed %.2f s after the job's end, not counted); its updates took %.3f ms"
                    " a block of the worker's wait\n",
                    "", closing, 1000.0 * view.seconds / blocks);
        runner.StopAll();

        QString fileName;
        Print("Download on the UI thread:", Time(*site.sim, [&](Figures& f) {
                  f.saved = log.Download(fileName, folder.path() + "/");
                  f.bufferBytes = log.BytesRead;
              }));
        if (round + 1 < Rounds)
            continue;

        std::this_thread::sleep_for(std::chrono::milliseconds(5000)); // a few new entries
        log.Open();
        const uint16_t entriesBefore = log.Status.Entries;
        Print("after new entries:", Time(*site.sim, [&](Figures& f) {
                  f.saved = log.Download(fileName, folder.path() + "/");
                  f.bufferBytes = log.BytesRead;
              }));
        std::printf("%26s %d entries in the logger before the appending download\n", "", int(entriesBefore));
    }
    return 0;
}
