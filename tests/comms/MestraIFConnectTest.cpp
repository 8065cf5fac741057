// Reset handshake, connect with the interface unit's descriptor table, status
// texts and disconnect, against a scripted line.
#include "MestraIFFixture.h"

#include "comms/PelkExceptions.h"

#include <QStringList>

#include <array>
#include <string>

using namespace QuorvelTest;
using namespace Pelk;

namespace {

class ConnectTest : public LinkTest {
protected:
    ConnectTest()
    {
        link.OnStatus = [this] { statuses << link.GetStatus(); };
    }

    QStringList statuses;
};

// The standard table and a version 1.0 link descriptor: write blocks of 16,
// read blocks of 252, the LAN buffer at 0x3300.
const Bytes StandardTable = DescriptorTableBytes(0x3000, 0x3100, 0x3200, 3);
const Bytes StandardDescriptor = {0x00, 0x01, 16, 0, 252, 0, 0x00, 0x33};

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
    ScriptConnect(*line, StandardTable, {0x00, 0x01, 0x20, 0x00, 0x80, 0x00, 0x00, 0x33}, 0xBEEF, 4660);

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
    ScriptConnect(*line, StandardTable, StandardDescriptor);

    link.Connect();

    EXPECT_EQ(statuses, (QStringList{"Resetting...", "Reset: clearing read buffer...",
                                     "Reset: resetting link...", "", "Connecting", "Getting Descr",
                                     "Selecting interface unit", "Connected"}));
}

namespace {

// What the link takes from the descriptor table and the link descriptor.
struct DescriptorCase {
    const char* Name;
    Bytes Table;
    Bytes Descriptor; // empty: the link must not read one
    std::array<uint16_t, 3> Slots; // alarm table, link descriptor, logger header
    uint16_t Version;
    uint16_t MaxWriteBlock;
    uint16_t MaxReadBlock;
    uint16_t LanBufferAddress;
};

void PrintTo(const DescriptorCase& row, std::ostream* out)
{
    *out << row.Name;
}

class ConnectDescriptorTest : public ConnectTest, public ::testing::WithParamInterface<DescriptorCase> {};

TEST_P(ConnectDescriptorTest, SlotsAndBlockSizesFollowTheTables)
{
    const DescriptorCase& row = GetParam();
    // Left from an earlier connect: every field must be set anew.
    link.DescriptorVersion = 0x0999;
    link.MaxWriteBlock = 99;
    link.MaxReadBlock = 99;
    link.LanBufferAddress = 0x9999;
    ScriptConnect(*line, row.Table, row.Descriptor);

    EXPECT_TRUE(link.Connect());

    EXPECT_EQ(link.GetDescriptor(0x2FF8), row.Slots[0]);
    EXPECT_EQ(link.GetDescriptor(0x2FFA), row.Slots[1]);
    EXPECT_EQ(link.GetDescriptor(0x2FFC), row.Slots[2]);
    EXPECT_EQ(link.DescriptorVersion, row.Version);
    EXPECT_EQ(link.MaxWriteBlock, row.MaxWriteBlock);
    EXPECT_EQ(link.MaxReadBlock, row.MaxReadBlock);
    EXPECT_EQ(link.LanBufferAddress, row.LanBufferAddress);
    ExpectScriptDone();
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ConnectDescriptorTest,
    ::testing::Values(
        DescriptorCase{"CountOfTwoDropsTheAlarmTableSlot", DescriptorTableBytes(0x3000, 0x3100, 0x3200, 2),
                       {0x05, 0x01, 16, 0, 200, 0, 0x00, 0x33}, {0, 0x3100, 0x3200}, 0x0105, 16, 200, 0x3300},
        DescriptorCase{"CountOfOneLeavesNoSlotAndTheDefaults", DescriptorTableBytes(0x3000, 0x3100, 0x3200, 1),
                       {}, {0, 0, 0}, 0, 16, 252, 0},
        DescriptorCase{"CountOfZeroLeavesNoSlotAndTheDefaults", DescriptorTableBytes(0x3000, 0x3100, 0x3200, 0),
                       {}, {0, 0, 0}, 0, 16, 252, 0},
        DescriptorCase{"CountAboveThreeLeavesNoSlotAndTheDefaults", DescriptorTableBytes(0x3000, 0x3100, 0x3200, 5),
                       {}, {0, 0, 0}, 0, 16, 252, 0},
        DescriptorCase{"MissingLinkDescriptorGivesTheDefaults", DescriptorTableBytes(0x3000, 0x0000, 0x3200, 3),
                       {}, {0x3000, 0, 0x3200}, 0, 16, 252, 0},
        DescriptorCase{"DescriptorOfAnotherVersionGivesTheDefaults", StandardTable,
                       {0x00, 0x02, 32, 0, 128, 0, 0x00, 0x33}, {0x3000, 0x3100, 0x3200}, 0, 16, 252, 0},
        DescriptorCase{"BlockSizesBeyondTheOneByteFieldsAreCappedAndZeroBecomesOne", StandardTable,
                       {0x00, 0x01, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x33}, {0x3000, 0x3100, 0x3200}, 0x0100, 1,
                       255, 0x3300}),
    [](const ::testing::TestParamInfo<DescriptorCase>& info) { return std::string(info.param.Name); });

} // namespace

TEST_F(ConnectTest, IdentityWordZeroMeansConnectFailed)
{
    ScriptConnect(*line, StandardTable, StandardDescriptor, 1, 0);

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
