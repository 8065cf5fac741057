// Units across the LAN on a scripted line: the exact buffer accesses of a
// message, the take and reply polls, reply checks and retries.
#include "MestraIFFixture.h"

#include "comms/PelkExceptions.h"

using namespace QuorvelTest;
using namespace Pelk;

namespace {

constexpr uint16_t Buffer = 0x3080;

class LanTest : public LinkTest {
protected:
    LanTest()
    {
        link.LanBufferAddress = Buffer;
        link.LanTimeout = 300;
    }

    // The message goes in whole with a 0 control byte, then the 0xFF alone.
    void ScriptPost(const Bytes& message)
    {
        line->Expect(WriteRequest(Buffer, message)).Reply(Ack());
        line->Expect(WriteRequest(Buffer, {0xFF})).Reply(Ack());
    }

    // One read of the control byte, answered `value`.
    void ScriptControl(uint8_t value) { line->Expect(ReadRequest(Buffer, 1)).Reply(ReadReply({value})); }

    void ScriptReply(const Bytes& reply) { line->Expect(ReadRequest(Buffer, 8)).Reply(ReadReply(reply)); }

    // Taken at the second look; the reply's source seen at the second poll.
    void ScriptExchange(const Bytes& message, const Bytes& reply)
    {
        ScriptPost(message);
        ScriptControl(0xFF);
        ScriptControl(0x00);
        ScriptControl(0x00);
        ScriptControl(reply[0]);
        ScriptReply(reply);
    }
};

} // namespace

TEST_F(LanTest, ByteReadOfAUnitPostsTheMessageThenTheSendFlagAndReadsTheReply)
{
    link.SelectUnit(5, false);
    ScriptExchange(Hex("00 05 40 01 34 12 00 00"), Hex("05 23 30 01 34 12 A7 00"));
    line->Expect({});

    EXPECT_EQ(link.ReadByte(0x1234, false), 0xA7);

    ExpectScriptDone();
    EXPECT_EQ(link.InterfaceAddress, 0x03);
}

TEST_F(LanTest, TheReplyIsFirstLookedFor50MsAfterTheTakeThenEvery50Ms)
{
    link.SelectUnit(5, false);
    ScriptExchange(Hex("00 05 40 02 20 20 00 00"), Hex("05 00 30 02 20 20 02 01"));
    line->Expect({});

    EXPECT_EQ(link.ReadWord(0x2020, false), 0x0102);

    ExpectScriptDone();
    EXPECT_EQ(link.LanPolls, 1);
    EXPECT_EQ(clock.Slept(), 100u); // the first wait, then one poll interval
}

TEST_F(LanTest, WordReadOfEEAtAnOddAddressCarriesThatAddress)
{
    link.SelectUnit(9, false);
    ScriptExchange(Hex("00 09 40 04 11 00 00 00"), Hex("09 00 30 04 11 00 22 33"));
    line->Expect({});

    EXPECT_EQ(link.ReadWord(0x0011, true), 0x3322);

    ExpectScriptDone();
}

TEST_F(LanTest, WritesCarryTheValueAfterTheAddress)
{
    link.SelectUnit(7, false);
    ScriptExchange(Hex("00 07 70 04 01 01 EF BE"), Hex("07 00 30 04 01 01 EF BE"));
    ScriptExchange(Hex("00 07 70 01 00 21 5A BE"), Hex("07 00 30 01 00 21 5A 00"));
    line->Expect({});

    EXPECT_EQ(link.WriteWord(0xBEEF, 0x0101, true), 0xBEEF);
    EXPECT_EQ(link.WriteByte(0x5A, 0x2100, false), 0x5A);

    ExpectScriptDone();
}

TEST_F(LanTest, AWriteReplyForAnotherAddressFailsAtOnceWithoutRetry)
{
    link.SelectUnit(7, false);
    ScriptExchange(Hex("00 07 70 04 01 01 EF BE"), Hex("07 00 30 04 02 01 EF BE"));
    line->Expect({});

    EXPECT_THROW(link.WriteWord(0xBEEF, 0x0101, true), EPelkLANMsg);

    ExpectScriptDone();
}

TEST_F(LanTest, AReadReplyForAnotherAddressFailsWithoutRetry)
{
    link.SelectUnit(7, false);
    ScriptExchange(Hex("00 07 40 02 00 30 00 00"), Hex("07 00 30 02 02 30 41 42"));
    line->Expect({});

    EXPECT_THROW(link.ReadWord(0x3000, false), EPelkLANMsg);

    ExpectScriptDone();
}

// The reply to one attempt lands in the caller's buffer. Each later attempt
// must still send the message as the caller built it, not that reply.
TEST_F(LanTest, AWrongReplyCodeFailsThreeTimesEachAttemptSendingTheOriginalMessage)
{
    link.SelectUnit(5, false);
    for (int attempt = 0; attempt < 3; ++attempt)
        ScriptExchange(Hex("00 05 40 01 34 12 00 00"), Hex("05 00 30 02 99 88 77 66"));
    line->Expect({});

    EXPECT_THROW(link.ReadByte(0x1234, false), EPelkLANMsg);

    ExpectScriptDone();
}

TEST_F(LanTest, ARetryAfterAWrongReplySucceedsWithTheRightOne)
{
    TLanMessage message{0x00, 3, 0x40, 9, 0x11, 0x22, 0x33, 0x44};
    ScriptExchange(Hex("00 03 40 09 11 22 33 44"), Hex("04 00 30 09 01 00 00 00")); // another unit
    ScriptExchange(Hex("00 03 40 09 11 22 33 44"), Hex("03 00 30 09 01 80 00 00"));
    line->Expect({});

    link.SendLanMessage(message);

    ExpectScriptDone();
    EXPECT_EQ(HexText(Bytes(message.begin(), message.end())), "03 00 30 09 01 80 00 00");
}

TEST_F(LanTest, ARequestWithASubCodeWantsTheSameSubCodeBack)
{
    link.SelectUnit(4, false);
    TLanMessage message{};
    ScriptExchange(Hex("00 04 42 80 00 00 00 00"), Hex("04 00 32 80 2A 00 28 00"));
    line->Expect({});

    link.LanRequest(0x80, 2, message);

    ExpectScriptDone();
    EXPECT_EQ(Lan::DataWord(message, 0), 42);
    EXPECT_EQ(Lan::DataWord(message, 2), 40);
}

TEST_F(LanTest, ACommandReturnsAsSoonAsItIsTaken)
{
    TLanMessage message{0x00, 0, 0x60, 0x11, 0, 0, 0, 0};
    ScriptPost(Hex("00 00 60 11 00 00 00 00"));
    ScriptControl(0xFF);
    ScriptControl(0x00);
    line->Expect({});

    link.SendLanMessage(message);

    ExpectScriptDone();
    EXPECT_EQ(link.LanPolls, 0);
    EXPECT_EQ(clock.Slept(), 0u);
}

TEST_F(LanTest, IdentifyingAnAbsentUnitReturnsFalseAfterOneLanTimeoutAndKeepsTheSelection)
{
    link.SelectUnit(3, false);
    // Data bytes are whatever earlier messages left in the link's buffer.
    link.LanMessage = {0, 0, 0, 0, 0xAA, 0xBB, 0xCC, 0xDD};
    ScriptPost(Hex("00 09 40 07 AA BB CC DD"));
    ScriptControl(0x00);
    for (int poll = 0; poll <= 300 / 50; ++poll)
        ScriptControl(0x00);
    line->Expect({});

    EXPECT_FALSE(link.SelectUnit(9, true));

    ExpectScriptDone();
    EXPECT_EQ(link.Unit, 3);
    EXPECT_EQ(clock.Slept(), 350u); // the first wait, then polls until 300 ms had passed
}

TEST_F(LanTest, IdentifyingAUnitTakesItsTypeWord)
{
    ScriptExchange(Hex("00 0C 40 07 00 00 00 00"), Hex("0C 00 30 07 05 0C 00 00"));
    line->Expect({});

    EXPECT_TRUE(link.SelectUnit(12, true));

    ExpectScriptDone();
    EXPECT_EQ(link.Unit, 12);
    EXPECT_EQ(link.UnitType, 0x0C05);
}

TEST_F(LanTest, WithoutALanBufferEveryLanOperationFailsAtOnceWhileUnitZeroStillWorks)
{
    link.LanBufferAddress = 0;
    TLanMessage message{};
    link.SelectUnit(5, false);

    EXPECT_THROW(link.ReadWord(0x10, false), EPelkOpFailure);
    EXPECT_THROW(link.WriteByte(1, 0x10, true), EPelkOpFailure);
    EXPECT_THROW(link.LanRequest(9, 0, message), EPelkOpFailure);
    EXPECT_THROW(link.SendLanMessage(message), EPelkOpFailure);
    EXPECT_THROW(link.SelectUnit(6, true), EPelkOpFailure);
    EXPECT_EQ(link.Unit, 5);
    EXPECT_TRUE(line->Written().empty());

    line->Expect(ReadRequest(0x0000, 2, true)).Reply(ReadReply({0x34, 0x12})).Expect({});
    link.SelectUnit(0, false);
    EXPECT_EQ(link.ReadWord(0x0000, true), 0x1234);
    ExpectScriptDone();
}

TEST_F(LanTest, AnUnansweredRequestIsTriedThreeTimesThenTimesOut)
{
    link.SelectUnit(8, false);
    for (int attempt = 0; attempt < 3; ++attempt) {
        ScriptPost(Hex("00 08 40 09 00 00 00 00"));
        ScriptControl(0x00);
        for (int poll = 0; poll <= 300 / 50; ++poll)
            ScriptControl(0x00);
    }
    line->Expect({});
    TLanMessage message{};

    EXPECT_THROW(link.LanRequest(9, 0, message), EPelkLANTimeout);

    ExpectScriptDone();
}
