// Reset handshake, connect with the interface unit's descriptor table, status
// texts and disconnect, against a scripted line.
#include "MestraIFFixture.h"

#include "comms/PelkExceptions.h"

#include <QStringList>

using namespace QuorvelTest;
using namespace Pelk;

namespace {

// The descriptor table at 0x2FF8: three slot words and the count.
Bytes Table(uint16_t alarms, uint16_t link, uint16_t logger, uint16_t count)
{
    return {uint8_t(alarms), uint8_t(alarms >> 8), uint8_t(link), uint8_t(link >> 8),
            uint8_t(logger), uint8_t(logger >> 8), uint8_t(count), uint8_t(count >> 8)};
}

Bytes Word(uint16_t value)
{
    return {uint8_t(value), uint8_t(value >> 8)};
}

class ConnectTest : public LinkTest {
protected:
    ConnectTest()
    {
        link.OnStatus = [this] { statuses << link.GetStatus(); };
    }

    // Selecting the interface unit and reading its identity word.
    void ScriptSelectAndIdentity(uint16_t type, uint16_t identity)
    {
        line->Expect(Hex("01 04 FB 00 FE 7F 02 7F 01")).Reply(ReadReply(Word(type)));
        line->Expect(Hex("01 04 FB 02 00 00 02 04 00")).Reply(ReadReply(Word(identity)));
    }

    void ScriptTable(const Bytes& table)
    {
        line->Expect(Hex("01 04 FB 00 F8 2F 08 2F 01")).Reply(ReadReply(table));
    }

    QStringList statuses;
};

} // namespace

TEST_F(ConnectTest, ResetSucceedsOnTheThirdByteWithoutResendingTheProbe)
{
    line->Expect(Zeros(32)).Silence().Expect(Hex("01 02 03")).Reply(Hex("06 06 15")).Expect({});

    link.Reset();

    EXPECT_EQ(link.Resets, 1);
    ExpectScriptDone();
}

TEST_F(ConnectTest, ResetResendsTheProbeAfterEachSilentRead)
{
    line->Expect(Zeros(32)).Silence();
    line->Expect(Hex("01 02 03")).Silence();
    line->Expect(Hex("01 02 03")).Silence();
    line->Expect(Hex("01 02 03")).Reply({0x15}).Expect({});

    link.Reset();

    ExpectScriptDone();
}

TEST_F(ConnectTest, ResetDrainsWhateverTheUnitStillSendsBeforeProbing)
{
    line->Expect(Zeros(32)).Reply(Hex("06 12 34")).Silence();
    line->Expect(Hex("01 02 03")).Reply({0x15}).Expect({});

    link.Reset();

    ExpectScriptDone();
}

TEST_F(ConnectTest, ResetFailsAfterTenAttemptsWithNoAnswer)
{
    EXPECT_THROW(link.Reset(), EPelkResetFail);

    const Bytes written = line->Written();
    int zeros = 0;
    int probes = 0;
    for (std::size_t i = 0; i < written.size(); ++i) {
        zeros += written[i] == 0x00;
        probes += written[i] == 0x01 && i + 2 < written.size() && written[i + 1] == 0x02;
    }
    EXPECT_EQ(zeros, 10 * 32);
    EXPECT_GT(probes, 10); // the probe is resent within each attempt
    // The pauses before the attempts: 600, 700, ... 1500 ms.
    EXPECT_GE(clock.Slept(), 10500u);
}

TEST_F(ConnectTest, ResetClearsAbortAndTimingMode)
{
    link.Abort();
    link.TimingMode = true;
    ScriptReset(*line);

    link.Reset();

    EXPECT_FALSE(link.IsAborted());
    EXPECT_FALSE(link.TimingMode);
}

TEST_F(ConnectTest, ConnectWithThreeSlotsTakesTheLinkDescriptor)
{
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x3100, 0x3200, 3));
    line->Expect(Hex("01 04 FB 00 00 31 08 39 00"))
        .Reply(ReadReply({0x00, 0x01, 0x20, 0x00, 0x80, 0x00, 0x00, 0x33}));
    ScriptSelectAndIdentity(0xBEEF, 4660);
    line->Expect({});

    EXPECT_TRUE(link.Connect());

    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(link.IdentityWord, 4660);
    EXPECT_EQ(link.UnitType, 0xBEEF);
    EXPECT_EQ(link.Unit, 0);
    EXPECT_EQ(link.DescriptorCount, 3);
    EXPECT_EQ(link.DescriptorVersion, 0x0100);
    EXPECT_EQ(link.MaxWriteBlock, 32);
    EXPECT_EQ(link.MaxReadBlock, 128);
    EXPECT_EQ(link.LanBufferAddress, 0x3300);
    EXPECT_EQ(link.GetDescriptor(0x2FF8), 0x3000);
    EXPECT_EQ(link.GetDescriptor(0x2FFA), 0x3100);
    EXPECT_EQ(link.GetDescriptor(0x2FFC), 0x3200);
    EXPECT_EQ(link.Resets, 0);
    ExpectScriptDone();
}

TEST_F(ConnectTest, GoodConnectShowsTheStatusTextsInOrder)
{
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x3100, 0x3200, 3));
    line->Expect(ReadRequest(0x3100, 8)).Reply(ReadReply({0x00, 0x01, 16, 0, 252, 0, 0x00, 0x33}));
    ScriptSelectAndIdentity(1, 2);

    link.Connect();

    EXPECT_EQ(statuses, (QStringList{"Resetting...", "Reset: clearing read buffer...",
                                     "Reset: resetting link...", "", "Connecting", "Getting Descr",
                                     "Selecting interface unit", "Connected"}));
}

TEST_F(ConnectTest, CountOfTwoDropsTheAlarmTableSlot)
{
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x3100, 0x3200, 2));
    line->Expect(ReadRequest(0x3100, 8)).Reply(ReadReply({0x05, 0x01, 16, 0, 200, 0, 0x00, 0x33}));
    ScriptSelectAndIdentity(1, 2);

    EXPECT_TRUE(link.Connect());

    EXPECT_EQ(link.GetDescriptor(0x2FF8), 0);
    EXPECT_EQ(link.GetDescriptor(0x2FFA), 0x3100);
    EXPECT_EQ(link.GetDescriptor(0x2FFC), 0x3200);
    EXPECT_EQ(link.MaxReadBlock, 200);
    EXPECT_EQ(link.LanBufferAddress, 0x3300);
    ExpectScriptDone();
}

TEST_F(ConnectTest, CountOfOneLeavesNoSlotAndTheDefaults)
{
    link.MaxWriteBlock = 99;
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x3100, 0x3200, 1));
    ScriptSelectAndIdentity(1, 2); // no read of a link descriptor comes between

    EXPECT_TRUE(link.Connect());

    EXPECT_EQ(link.GetDescriptor(0x2FF8), 0);
    EXPECT_EQ(link.GetDescriptor(0x2FFA), 0);
    EXPECT_EQ(link.GetDescriptor(0x2FFC), 0);
    EXPECT_EQ(link.LanBufferAddress, 0);
    EXPECT_EQ(link.MaxReadBlock, 252);
    EXPECT_EQ(link.MaxWriteBlock, 16);
    ExpectScriptDone();
}

TEST_F(ConnectTest, MissingLinkDescriptorGivesTheDefaults)
{
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x0000, 0x3200, 3));
    ScriptSelectAndIdentity(1, 2);

    EXPECT_TRUE(link.Connect());

    EXPECT_EQ(link.DescriptorVersion, 0);
    EXPECT_EQ(link.LanBufferAddress, 0);
    EXPECT_EQ(link.MaxReadBlock, 252);
    EXPECT_EQ(link.MaxWriteBlock, 16);
    EXPECT_EQ(link.GetDescriptor(0x2FFC), 0x3200);
    ExpectScriptDone();
}

TEST_F(ConnectTest, DescriptorOfAnotherVersionGivesTheDefaults)
{
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x3100, 0x3200, 3));
    line->Expect(ReadRequest(0x3100, 8)).Reply(ReadReply({0x00, 0x02, 32, 0, 128, 0, 0x00, 0x33}));
    ScriptSelectAndIdentity(1, 2);

    EXPECT_TRUE(link.Connect());

    EXPECT_EQ(link.DescriptorVersion, 0);
    EXPECT_EQ(link.LanBufferAddress, 0);
    EXPECT_EQ(link.MaxReadBlock, 252);
    EXPECT_EQ(link.MaxWriteBlock, 16);
    ExpectScriptDone();
}

TEST_F(ConnectTest, CountOutsideOneToThreeLeavesNoSlotAvailable)
{
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x3100, 0x3200, 5));
    ScriptSelectAndIdentity(1, 2);

    EXPECT_TRUE(link.Connect());

    EXPECT_EQ(link.GetDescriptor(0x2FF8), 0);
    EXPECT_EQ(link.GetDescriptor(0x2FFA), 0);
    EXPECT_EQ(link.GetDescriptor(0x2FFC), 0);
    EXPECT_EQ(link.LanBufferAddress, 0);
    ExpectScriptDone();
}

TEST_F(ConnectTest, BlockSizesBeyondTheOneByteFieldsAreCappedAndZeroBecomesOne)
{
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x3100, 0x3200, 3));
    line->Expect(ReadRequest(0x3100, 8)).Reply(ReadReply({0x00, 0x01, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x33}));
    ScriptSelectAndIdentity(1, 2);

    link.Connect();

    EXPECT_EQ(link.MaxWriteBlock, 1);
    EXPECT_EQ(link.MaxReadBlock, 255);
}

TEST_F(ConnectTest, IdentityWordZeroMeansConnectFailed)
{
    ScriptReset(*line);
    ScriptTable(Table(0x3000, 0x3100, 0x3200, 3));
    line->Expect(ReadRequest(0x3100, 8)).Reply(ReadReply({0x00, 0x01, 16, 0, 252, 0, 0x00, 0x33}));
    ScriptSelectAndIdentity(1, 0);

    EXPECT_FALSE(link.Connect());

    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(link.GetStatus(), "Connect failed");
}

TEST_F(ConnectTest, DisconnectMarksTheLinkDownAndMakesTheNextTransferAbort)
{
    link.IdentityWord = 4660;

    link.Disconnect();

    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(statuses, (QStringList{"Disconnecting", "Disconnected"}));
    uint8_t value = 0;
    EXPECT_THROW(link.ReadMem(&value, 0, 1, false), EPelkUserAbort);
    EXPECT_TRUE(link.IsOpen()); // the port stays open until Close
}

TEST_F(ConnectTest, ReopeningAfterDisconnectKeepsTheAbortUntilReset)
{
    link.Disconnect();
    link.Open(std::make_unique<ScriptedLine>(&clock));

    EXPECT_THROW(link.ReadByteOrTimeout(), EPelkUserAbort);
}

TEST_F(ConnectTest, CloseReleasesThePort)
{
    link.Close();

    EXPECT_FALSE(link.IsOpen());
    uint8_t value = 0;
    EXPECT_THROW(link.WriteBytes(&value, 1), Quorvel1::Exception);
}
