// Framing, acknowledgement, block splitting and retries of the link, against
// a scripted line.
#include "MestraIFFixture.h"

#include "comms/PelkExceptions.h"

#include <QCoreApplication>

#include <thread>

using namespace QuorvelTest;
using namespace Pelk;

namespace {

// The data counts of the request frames in a written stream.
std::vector<int> RequestDataCounts(const Bytes& written)
{
    std::vector<int> counts;
    for (std::size_t i = 0; i + 2 < written.size();) {
        const int length = written[i + 1];
        const bool write = written[i + 3] & 0x01;
        counts.push_back(write ? length - 3 : written[i + 6]);
        i += 3 + std::size_t(length) + 2;
    }
    return counts;
}

} // namespace

TEST_F(LinkTest, ReadOfSixteenEEBytesSendsTheDocumentedFrame)
{
    const Bytes data = Pattern(16, 0x40);
    line->Expect(Hex("01 04 FB 02 34 12 10 58 00")).Reply(ReadReply(data)).Expect({});
    uint8_t buffer[16] = {};

    EXPECT_EQ(link.ReadMem(buffer, 0x1234, 16, true), 16);

    EXPECT_EQ(Bytes(buffer, buffer + 16), data);
    ExpectScriptDone();
}

TEST_F(LinkTest, WriteOfTwoRamBytesSendsTheDocumentedFrame)
{
    line->Expect(Hex("01 05 FA 01 10 00 AA 55 10 01")).Reply(Ack()).Expect({});
    const uint8_t data[] = {0xAA, 0x55};

    EXPECT_EQ(link.WriteMem(data, 0x0010, 2, false), 2);

    ExpectScriptDone();
}

TEST_F(LinkTest, ReplyChecksumCoversTheDataOnly)
{
    // 06 AA 55 with the sum of AA 55 (0x00FF) is good; a sum that also
    // counted the 06 (0x0105) is not.
    line->Expect(ReadRequest(0x10, 2)).Reply(Hex("06 AA 55 FF 00"));
    uint8_t buffer[2] = {};
    link.ReadMem(buffer, 0x10, 2, false);
    EXPECT_EQ(link.ChecksumErrors, 0);

    line->Expect(ReadRequest(0x10, 2)).Reply(Hex("06 AA 55 05 01"));
    ScriptReset(*line);
    line->Expect(ReadRequest(0x10, 2)).Reply(Hex("06 AA 55 FF 00")).Expect({});
    link.ReadMem(buffer, 0x10, 2, false);

    EXPECT_EQ(link.ChecksumErrors, 1);
    EXPECT_EQ(link.Resets, 1);
    ExpectScriptDone();
}

TEST_F(LinkTest, ReadOf600BytesGoesOutAs252And252And96AtConsecutiveAddresses)
{
    const Bytes data = Pattern(600);
    line->Expect(Hex("01 04 FB 00 00 10 FC 0C 01"))
        .Reply(ReadReply(Bytes(data.begin(), data.begin() + 252)))
        .Expect(Hex("01 04 FB 00 FC 10 FC 08 02"))
        .Reply(ReadReply(Bytes(data.begin() + 252, data.begin() + 504)))
        .Expect(Hex("01 04 FB 00 F8 11 60 69 01"))
        .Reply(ReadReply(Bytes(data.begin() + 504, data.end())))
        .Expect({});
    Bytes buffer(600);

    EXPECT_EQ(link.ReadMem(buffer.data(), 0x1000, 600, false), 600);

    EXPECT_EQ(buffer, data);
    ExpectScriptDone();
}

TEST_F(LinkTest, BlockAddressesWrapAtTheTopOfTheAddressSpace)
{
    link.MaxReadBlock = 2;
    line->Expect(ReadRequest(0xFFFE, 2)).Reply(ReadReply({1, 2}));
    line->Expect(ReadRequest(0x0000, 2)).Reply(ReadReply({3, 4})).Expect({});
    uint8_t buffer[4] = {};

    link.ReadMem(buffer, 0xFFFE, 4, false);

    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{1, 2, 3, 4}));
    ExpectScriptDone();
}

TEST_F(LinkTest, EEWritesGoFourBytesPerRequestAt4800Baud)
{
    link.SetBaudRate(4800);
    for (int i = 0; i < 3; ++i)
        line->Reply(Ack());
    const Bytes data = Pattern(10);

    link.WriteMem(data.data(), 0x0100, 10, true);

    const Bytes written = line->Written();
    EXPECT_EQ(RequestDataCounts(written), (std::vector<int>{4, 4, 2}));
    EXPECT_EQ(Bytes(written.begin(), written.begin() + 12),
              WriteRequest(0x0100, {data[0], data[1], data[2], data[3]}, true));
}

TEST_F(LinkTest, EEWritesGoOneBytePerRequestAbove4800Baud)
{
    link.SetBaudRate(9600);
    for (int i = 0; i < 3; ++i)
        line->Reply(Ack());
    const uint8_t data[] = {7, 8, 9};

    link.WriteMem(data, 0x0100, 3, true);

    Bytes expected = WriteRequest(0x0100, {7}, true);
    for (const Bytes& frame : {WriteRequest(0x0101, {8}, true), WriteRequest(0x0102, {9}, true)})
        expected.insert(expected.end(), frame.begin(), frame.end());
    EXPECT_EQ(line->Written(), expected);
}

TEST_F(LinkTest, RamWritesGoInBlocksOfMaxWriteBlock)
{
    link.MaxWriteBlock = 16;
    for (int i = 0; i < 3; ++i)
        line->Reply(Ack());
    const Bytes data = Pattern(40);

    EXPECT_EQ(link.WriteMem(data.data(), 0x2000, 40, false), 40);

    EXPECT_EQ(RequestDataCounts(line->Written()), (std::vector<int>{16, 16, 8}));
}

TEST_F(LinkTest, ZeroLengthReadAndWriteSendNothing)
{
    uint8_t buffer[1] = {};

    EXPECT_EQ(link.ReadMem(buffer, 0x10, 0, false), 0);
    EXPECT_EQ(link.WriteMem(buffer, 0x10, 0, true), 0);

    EXPECT_TRUE(line->Written().empty());
}

TEST_F(LinkTest, NakInPlaceOfAckFailsTheBlockAtOnceAndItIsRetriedAfterAReset)
{
    // No silent read stands between the NAK and the reset: waiting for the
    // deadline would read past the NAK into the reset's script.
    line->Expect(ReadRequest(0x20, 1)).Reply({0x15});
    ScriptReset(*line);
    line->Expect(ReadRequest(0x20, 1)).Reply(ReadReply({0x99})).Expect({});
    uint8_t value = 0;

    link.ReadMem(&value, 0x20, 1, false);

    EXPECT_EQ(value, 0x99);
    EXPECT_EQ(link.Resets, 1);
    ExpectScriptDone();
}

namespace {

// The tick the link's clock starts at.
class AckWaitTest : public LinkTest, public ::testing::WithParamInterface<uint32_t> {};

} // namespace

TEST_P(AckWaitTest, AckWaitLastsUntilTheDeadlineThenTheBlockIsRetried)
{
    clock.Advance(GetParam());
    // Defaults: deadline 4 x 10 + 2000 ms; a silent one-byte read lasts
    // 10 + 500 + 500 ms, so the third silent read ends past the deadline.
    line->Expect(ReadRequest(0x20, 1)).Silence(3);
    ScriptReset(*line);
    line->Expect(ReadRequest(0x20, 1)).Reply(ReadReply({0x42})).Expect({});
    uint8_t value = 0;

    link.ReadMem(&value, 0x20, 1, false);

    EXPECT_EQ(value, 0x42);
    ExpectScriptDone();
}

// From tick 0, and from 1 s before the tick wraps.
INSTANTIATE_TEST_SUITE_P(Ticks, AckWaitTest, ::testing::Values(0u, 0xFFFFFC00u));

TEST_F(LinkTest, FiveFailedBlocksThenSuccessCompleteTheCall)
{
    for (int i = 0; i < 5; ++i) {
        line->Expect(ReadRequest(0x20, 1)).Reply({0x15});
        ScriptReset(*line);
    }
    line->Expect(ReadRequest(0x20, 1)).Reply(ReadReply({0x5A})).Expect({});
    uint8_t value = 0;

    link.ReadMem(&value, 0x20, 1, false);

    EXPECT_EQ(value, 0x5A);
    EXPECT_EQ(link.Resets, 5);
    ExpectScriptDone();
}

TEST_F(LinkTest, SixthFailedBlockInOneCallRaisesOpFailure)
{
    for (int i = 0; i < 5; ++i) {
        line->Expect(WriteRequest(0x20, {1})).Reply({0x15});
        ScriptReset(*line);
    }
    line->Expect(WriteRequest(0x20, {1})).Reply({0x15}).Expect({});
    const uint8_t value = 1;

    EXPECT_THROW(link.WriteMem(&value, 0x20, 1, false), EPelkOpFailure);

    EXPECT_EQ(link.Resets, 5);
    ExpectScriptDone();
}

TEST_F(LinkTest, FailuresCountForTheWholeCallNotPerBlock)
{
    link.MaxReadBlock = 1;
    for (int i = 0; i < 3; ++i) {
        line->Expect(ReadRequest(0x30, 1)).Reply({0x15});
        ScriptReset(*line);
    }
    line->Expect(ReadRequest(0x30, 1)).Reply(ReadReply({0x11}));
    for (int i = 0; i < 2; ++i) {
        line->Expect(ReadRequest(0x31, 1)).Reply({0x15});
        ScriptReset(*line);
    }
    line->Expect(ReadRequest(0x31, 1)).Reply({0x15}).Expect({});
    uint8_t buffer[2] = {};

    EXPECT_THROW(link.ReadMem(buffer, 0x30, 2, false), EPelkOpFailure);

    EXPECT_EQ(buffer[0], 0x11); // the block that succeeded stays read
    ExpectScriptDone();
}

TEST_F(LinkTest, RequestedBreakRaisesUserBreakBeforeAnyByteAndIsCleared)
{
    link.RequestBreak();
    uint8_t value = 0;

    EXPECT_THROW(link.ReadMem(&value, 0x20, 1, false), EPelkUserBreak);
    EXPECT_TRUE(line->Written().empty());

    line->Expect(ReadRequest(0x20, 1)).Reply(ReadReply({0x33}));
    link.ReadMem(&value, 0x20, 1, false);
    EXPECT_EQ(value, 0x33);
}

TEST_F(LinkTest, ClearBreakWithdrawsARequestedBreak)
{
    link.RequestBreak();
    link.ClearBreak();
    line->Expect(ReadRequest(0x20, 1)).Reply(ReadReply({0x33}));
    uint8_t value = 0;

    EXPECT_NO_THROW(link.ReadMem(&value, 0x20, 1, false));
}

TEST_F(LinkTest, BreakDuringABlockTakesEffectAtTheNextBlock)
{
    // The break arrives while the first block waits for its acknowledgement
    // (the wait handles the UI thread's events).
    link.MaxReadBlock = 2;
    line->Expect(ReadRequest(0x40, 2)).Reply(ReadReply({5, 6})).Expect({});
    QMetaObject::invokeMethod(QCoreApplication::instance(), [this] { link.RequestBreak(); },
                              Qt::QueuedConnection);
    uint8_t buffer[4] = {};

    EXPECT_THROW(link.ReadMem(buffer, 0x40, 4, false), EPelkUserBreak);

    EXPECT_EQ(buffer[0], 5);
    EXPECT_EQ(buffer[1], 6);
    ExpectScriptDone();
    QCoreApplication::processEvents(); // nothing of this test left queued
}

TEST_F(LinkTest, AbortEndsAPendingReadAtOnce)
{
    line->Expect(ReadRequest(0x50, 4)).Reply({0x06}).Hang();
    uint8_t buffer[4] = {};
    bool aborted = false;
    std::thread worker([&] {
        try {
            link.ReadMem(buffer, 0x50, 4, false);
        } catch (const EPelkUserAbort&) {
            aborted = true;
        }
    });
    line->WaitUntilHanging();

    link.Abort();
    worker.join();

    EXPECT_TRUE(aborted);
    EXPECT_EQ(link.Resets, 0); // an abort is never retried
}

TEST_F(LinkTest, AfterAbortEveryTransferAndDelayRaisesUserAbortUntilReset)
{
    link.Abort();
    uint8_t value = 0;

    EXPECT_THROW(link.ReadMem(&value, 0x10, 1, false), EPelkUserAbort);
    EXPECT_THROW(link.WriteMem(&value, 0x10, 1, false), EPelkUserAbort);
    EXPECT_THROW(link.ReadByteOrTimeout(), EPelkUserAbort);
    EXPECT_THROW(link.WriteBytes(&value, 1), EPelkUserAbort);
    EXPECT_THROW(link.Delay(0), EPelkUserAbort);
    EXPECT_THROW(link.Delay(100), EPelkUserAbort);
    EXPECT_TRUE(line->Written().empty());

    ScriptReset(*line);
    line->Expect(ReadRequest(0x10, 1)).Reply(ReadReply({0x77}));
    link.Reset();
    link.ReadMem(&value, 0x10, 1, false);
    EXPECT_EQ(value, 0x77);
    ExpectScriptDone();
}

TEST_F(LinkTest, ReadByteOrTimeoutGivesMinusOneOnSilence)
{
    line->Silence().Reply({0xC3});

    EXPECT_EQ(link.ReadByteOrTimeout(), -1);
    EXPECT_EQ(link.ReadByteOrTimeout(), 0xC3);
}

TEST_F(LinkTest, ReadBytesCollectsAReplyThatArrivesInPieces)
{
    line->Reply({1, 2}).Reply({3}).Reply({4, 5});
    uint8_t buffer[5] = {};

    link.ReadBytes(buffer, 5);

    EXPECT_EQ(Bytes(buffer, buffer + 5), (Bytes{1, 2, 3, 4, 5}));
}

TEST_F(LinkTest, ReadBytesThatEndsShortRaisesTimeout)
{
    line->Reply({1, 2}).Silence();
    uint8_t buffer[5] = {};

    EXPECT_THROW(link.ReadBytes(buffer, 5), EPelkTimeout);
}

TEST_F(LinkTest, OpeningALineSetsItsTimeoutsFromTheLinkTimings)
{
    const SerialTimeouts defaults = line->Timeouts();
    EXPECT_EQ(defaults.ReadInterval, 100u);
    EXPECT_EQ(defaults.ReadPerByte, 10u);
    EXPECT_EQ(defaults.ReadConstant, 1000u);
    EXPECT_EQ(defaults.WritePerByte, 10u);
    EXPECT_EQ(defaults.WriteConstant, 500u);

    link.SetTimeouts("2,300,100,50,300,1500");
    auto other = std::make_unique<ScriptedLine>(&clock);
    ScriptedLine* reopened = other.get();
    link.Open(std::move(other));

    const SerialTimeouts set = reopened->Timeouts();
    EXPECT_EQ(set.ReadInterval, 20u);
    EXPECT_EQ(set.ReadPerByte, 2u);
    EXPECT_EQ(set.ReadConstant, 150u);
    EXPECT_EQ(set.WritePerByte, 2u);
    EXPECT_EQ(set.WriteConstant, 50u);
}
