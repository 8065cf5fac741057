// The link end to end: the real serial port against the site simulator on a
// pseudo-terminal. Short time-outs from the site's time-out list keep the
// suite fast; every test starts a simulator of its own.
#include "MestraIFFixture.h"

#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "support/SimLinkFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <vector>

using namespace Pelk;
using namespace QuorvelTest;
using namespace std::chrono_literals;

namespace {

constexpr uint16_t PatternAddress = 0x8000;
constexpr uint16_t PatternLength = 16384;

uint8_t PatternByte(std::size_t i)
{
    return uint8_t(i * 31 + (i >> 8) + 5);
}

// A scenario that fills RAM 0x8000..0xBFFF with the pattern.
QString PatternScenario()
{
    QString scenario;
    for (std::size_t line = 0; line < PatternLength / 256; ++line) {
        QByteArray chunk(256, 0);
        for (std::size_t i = 0; i < 256; ++i)
            chunk[qsizetype(i)] = char(PatternByte(line * 256 + i));
        scenario += QString("ram 0x%1 hex %2\n")
                        .arg(PatternAddress + line * 256, 4, 16, QChar('0'))
                        .arg(QString::fromLatin1(chunk.toHex()));
    }
    return scenario;
}

class SimLinkTest : public ::testing::Test, public SimLinkFixture {};

} // namespace

TEST_F(SimLinkTest, ConnectReadsTheDescriptorAndTheIdentityWord)
{
    Connect();

    EXPECT_EQ(link.IdentityWord, 4660);
    EXPECT_EQ(link.UnitType, 0x0200);
    EXPECT_EQ(link.DescriptorCount, 3);
    EXPECT_EQ(link.DescriptorVersion, 0x0100);
    EXPECT_EQ(link.MaxWriteBlock, 16);
    EXPECT_EQ(link.MaxReadBlock, 252);
    EXPECT_EQ(link.LanBufferAddress, 0x3080);
    EXPECT_EQ(link.GetDescriptor(0x2FF8), 0x3000);
    EXPECT_EQ(link.GetDescriptor(0x2FFC), 0x3100);
}

TEST_F(SimLinkTest, ConnectFailsOnAnIdentityWordOfZero)
{
    StartSim({}, "identity 0\n");
    OpenLink();

    EXPECT_FALSE(link.Connect());
    EXPECT_EQ(link.GetStatus(), "Connect failed");
}

TEST_F(SimLinkTest, ReadOf600BytesIsThreeFramesOnTheWire)
{
    Connect({}, PatternScenario());
    const uint64_t framesBefore = Count("frames_answered");
    const uint64_t inBefore = Count("bytes_in");
    const uint64_t outBefore = Count("bytes_out");
    std::vector<uint8_t> buffer(600);

    EXPECT_EQ(link.ReadMem(buffer.data(), PatternAddress, 600, false), 600);

    EXPECT_EQ(Count("frames_answered") - framesBefore, 3u);
    EXPECT_EQ(Count("bytes_in") - inBefore, 3u * 9);
    EXPECT_EQ(Count("bytes_out") - outBefore, 3u * 3 + 600);
    for (std::size_t i = 0; i < buffer.size(); ++i)
        ASSERT_EQ(buffer[i], PatternByte(i)) << i;
}

TEST_F(SimLinkTest, RamAndEEWritesReadBackTheSame)
{
    Connect();
    const std::vector<uint8_t> ram = Pattern(300, 1);
    const std::vector<uint8_t> ee = Pattern(10, 2);
    const uint64_t framesBefore = Count("frames_answered");

    link.WriteMem(ram.data(), 0x4000, uint16_t(ram.size()), false);
    link.WriteMem(ee.data(), 0x0100, uint16_t(ee.size()), true);

    // 300 RAM bytes in blocks of 16, 10 EE bytes in blocks of 4 at 4800 baud.
    EXPECT_EQ(Count("frames_answered") - framesBefore, 19u + 3u);
    std::vector<uint8_t> back(ram.size());
    link.ReadMem(back.data(), 0x4000, uint16_t(back.size()), false);
    EXPECT_EQ(back, ram);
    back.assign(ee.size(), 0);
    link.ReadMem(back.data(), 0x0100, uint16_t(back.size()), true);
    EXPECT_EQ(back, ee);
    EXPECT_EQ(link.ReadWord(0x0000, true), 4660); // the identity word is untouched
}

TEST_F(SimLinkTest, NaksFromTheUnitAreRetriedAfterAReset)
{
    Connect({"--seed", "7", "--nak", "0.05"});
    const std::vector<uint8_t> data = Pattern(64, 3);
    std::vector<uint8_t> back(data.size());

    for (int i = 0; i < 8; ++i) {
        link.WriteMem(data.data(), uint16_t(0x5000 + i * 64), uint16_t(data.size()), false);
        link.ReadMem(back.data(), uint16_t(0x5000 + i * 64), uint16_t(back.size()), false);
        ASSERT_EQ(back, data) << i;
    }

    EXPECT_GT(Count("naks_injected"), 0u);
    EXPECT_GT(link.Resets, 0);
}

TEST_F(SimLinkTest, CorruptedAndLostBytesAreCaughtAndNeverGiveWrongData)
{
    Connect({"--seed", "11", "--corrupt", "0.0005", "--drop", "0.0005"}, PatternScenario());

    // 16 KiB read one block per call, so each call has its own failure count.
    std::vector<uint8_t> read(PatternLength);
    for (uint16_t offset = 0; offset < PatternLength; offset = uint16_t(offset + link.MaxReadBlock)) {
        const auto count = uint16_t(std::min<int>(link.MaxReadBlock, PatternLength - offset));
        link.ReadMem(read.data() + offset, uint16_t(PatternAddress + offset), count, false);
    }
    for (std::size_t i = 0; i < read.size(); ++i)
        ASSERT_EQ(read[i], PatternByte(i)) << i;

    // 4 KiB written, then read back exact.
    const std::vector<uint8_t> written = Pattern(4096, 9);
    for (uint16_t offset = 0; offset < written.size(); offset = uint16_t(offset + 256))
        link.WriteMem(written.data() + offset, uint16_t(0x4000 + offset), 256, false);
    std::vector<uint8_t> back(written.size());
    for (uint16_t offset = 0; offset < back.size(); offset = uint16_t(offset + 256))
        link.ReadMem(back.data() + offset, uint16_t(0x4000 + offset), 256, false);
    EXPECT_EQ(back, written);

    const uint64_t hits = Count("bytes_corrupted") + Count("bytes_dropped");
    EXPECT_GT(hits, 0u);
    EXPECT_GT(link.Resets, 0); // every hit block was retried after a reset
}

TEST_F(SimLinkTest, PulledCableEndsInALinkFailure)
{
    // The connect itself takes 33 bytes from the simulator. A reset attempt
    // must outlast its two pauses and one drain read: 800 ms is the least
    // that leaves room for the NAK.
    timeouts = "2,300,100,100,300,800";
    Connect({"--stall-after", "40"});
    std::vector<uint8_t> buffer(500);

    try {
        link.ReadMem(buffer.data(), 0x4000, 500, false);
        FAIL() << "the read succeeded";
    } catch (const EPelkResetFail&) {
    } catch (const EPelkOpFailure&) {
    }
}

TEST_F(SimLinkTest, AbortEndsAPendingReadOnAWorker)
{
    // Reopened with long time-outs: without the abort the acknowledgement
    // wait would last a minute.
    Connect({"--stall-after", "33"});
    timeouts = "10,60000,30000,30000";
    OpenLink();
    const uint64_t requested = Count("bytes_in");
    std::vector<uint8_t> buffer(100);
    auto result = std::async(std::launch::async, [&] {
        try {
            link.ReadMem(buffer.data(), 0x4000, 100, false);
        } catch (const EPelkUserAbort&) {
            return true;
        }
        return false;
    });
    // The request is on the wire once the simulator has taken its 9 bytes.
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (Count("bytes_in") < requested + 9 && std::chrono::steady_clock::now() < deadline) {
    }

    link.Abort();

    ASSERT_EQ(result.wait_for(10s), std::future_status::ready);
    EXPECT_TRUE(result.get());
}
