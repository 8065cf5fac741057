// Log downloads over a bad line, against the simulator's logger: a noisy
// line whose corrupted and lost bytes are retried until the saved log is the
// logger's true state byte for byte, and a cable pulled in the middle of the
// buffer, which fails the download as a link failure without touching the
// previous log file and without leaving logging held.
#include "logger/LoggerSimFixture.h"

#include "logger/LogDownload.h"
#include "logger/LogFile.h"
#include "logger/LogIF.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Quorvel1;
using QuorvelTest::FileBytes;

namespace {

// A noisy line: 0.05 % of the bytes the interface unit sends corrupted and
// as many lost, so about one 252-byte block in five needs a retry.
const QStringList NoisyLine = {"--seed", "7", "--corrupt", "0.0005", "--drop", "0.0005"};
// Each lost byte costs a read time-out; the simulator answers at once, so
// these can be short.
const QString NoisyLineTimeouts = "2,150,40,40,300,500";

constexpr int StatusNewEntriesAt = 10; // cleared by the "download done" command after the read

uint32_t U32At(const QByteArray& bytes, int at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | uint8_t(bytes[at + i]);
    return value;
}

// The bytes of the ring from `start` to `end` inclusive, wrapping.
class LogDownloadFaultsTest : public QuorvelTest::LoggerSimFixture {};

} // namespace

TEST_F(LogDownloadFaultsTest, NoisyLineDownloadSavesTheLoggersTrueStateByteForByte)
{
    // More entries than the 8 KiB ring holds: it has wrapped, and the whole
    // of it is read in some 33 blocks.
    timeouts = NoisyLineTimeouts;
    Start("logger buffer 8192\nlogger prefill 3000\nlogger clock-stopped\n", NoisyLine);
    link.MaxRetries = 10;
    QString fileName;
    ASSERT_TRUE(log->Download(fileName, Folder()));
    EXPECT_EQ(log->DownloadFailure, LogDlNone);

    auto counts = sim->GetCounts();
    EXPECT_GT(counts["bytes_corrupted"] + counts["bytes_dropped"], 2u) << "the line was not noisy";
    EXPECT_GT(link.Resets, 2); // and the hit blocks were retried
    const TDump dump = Dump();
    const QByteArray file = FileBytes(fileName);
    const QByteArray config = DumpBytes(dump, "config");
    const QByteArray lastValues = DumpBytes(dump, "last_values");
    const QByteArray ring = DumpBytes(dump, "buffer");
    const QByteArray status = DumpBytes(dump, "status");
    ASSERT_EQ(file.size(), FileConfigAt + config.size() + lastValues.size() + ring.size());

    EXPECT_EQ(file.mid(FileHeaderAt, 12), DumpBytes(dump, "header"));
    EXPECT_EQ(file.mid(FileStatusAt, StatusNewEntriesAt), status.left(StatusNewEntriesAt));
    EXPECT_EQ(file.mid(FileStatusAt + StatusNewEntriesAt + 2, 19), status.mid(StatusNewEntriesAt + 2, 19));
    EXPECT_EQ(file.mid(FileControlAt, 12), DumpBytes(dump, "control"));
    EXPECT_EQ(file.mid(FileConfigAt, config.size()), config);
    EXPECT_EQ(file.mid(FileConfigAt + config.size(), lastValues.size()), lastValues);
    const int start = Number(dump, "start_position");
    const int end = Number(dump, "end_position");
    ASSERT_GT(start, end); // the ring has wrapped
    const QByteArray savedRing = file.mid(FileConfigAt + config.size() + lastValues.size());
    EXPECT_EQ(RingPart(savedRing, start, end), RingPart(ring, start, end));
    // The newest entry by the logger's clock: the clock less the timer and
    // the command's allowance of 3 s.
    EXPECT_EQ(U32At(file, FileLoggerTimeAt), std::stoul(dump.at("clock")) - Number(dump, "timer") - 3);
    EXPECT_EQ(dump.at("held"), "0");
}

TEST_F(LogDownloadFaultsTest, CablePulledMidBufferFailsAsALinkFailureAndKeepsThePreviousFile)
{
    Start("logger prefill 100\nlogger clock-stopped\n");
    QString fileName;
    ASSERT_TRUE(log->Download(fileName, Folder()));
    const QByteArray previous = FileBytes(fileName);
    ASSERT_FALSE(previous.isEmpty());
    StopSim();

    // Another logger, with a longer log; the line goes dead some 6000 bytes
    // into its buffer.
    Start("logger prefill 2500\nlogger clock-stopped\n", {"--stall-after", "6000"});
    link.MaxRetries = 0;
    link.ResetTimeout = 100;
    std::vector<int> progress;
    log->StatusCallback = [&] {
        if (log->StatusText() == "Reading log buffer")
            progress.push_back(log->Progress);
    };
    QString second = fileName;
    EXPECT_ANY_THROW(log->Download(second, Folder()));
    log->StatusCallback = nullptr;

    EXPECT_EQ(log->DownloadFailure, LogDlLinkError);
    ASSERT_FALSE(progress.empty());
    EXPECT_GT(progress.back(), 0);
    EXPECT_LT(progress.back(), 100); // broken off in the middle of the buffer
    EXPECT_EQ(Files(), QStringList{QFileInfo(fileName).fileName()});
    EXPECT_EQ(FileBytes(fileName), previous);
    EXPECT_GT(sim->GetCounts()["bytes_stalled"], 0u);
    // The release went out on the error path; the interface unit hears the
    // PC even though its answers are lost.
    EXPECT_EQ(Dump().at("held"), "0");
}

// The cable is pulled in both directions in the middle of the buffer, so
// not even the release on the error path reaches the logger. Once the cable
// is back, opening the logger releases it.
TEST_F(LogDownloadFaultsTest, ReleaseThatCouldNotBeSentGoesOutAtTheNextOpen)
{
    Start("logger prefill 2500\nlogger clock-stopped\n");
    const auto retries = link.MaxRetries;
    const auto resetTimeout = link.ResetTimeout;
    link.MaxRetries = 0;
    link.ResetTimeout = 100;
    bool cut = false;
    log->StatusCallback = [&] {
        if (!cut && log->StatusText() == "Reading log buffer" && log->Progress >= 10) {
            CutLine(true);
            cut = true;
        }
    };
    QString fileName;
    EXPECT_ANY_THROW(log->Download(fileName, Folder()));
    log->StatusCallback = nullptr;
    ASSERT_TRUE(cut);
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_EQ(Dump().at("held"), "1");

    CutLine(false);
    link.MaxRetries = retries;
    link.ResetTimeout = resetTimeout;
    ASSERT_TRUE(link.Connect());
    ASSERT_TRUE(log->Open());
    EXPECT_EQ(Dump().at("held"), "0");
}
