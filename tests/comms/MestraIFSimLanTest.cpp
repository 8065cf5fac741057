// Units across the LAN end to end: the link on the real serial port against
// the site simulator's LAN and units. Short time-outs from the site's
// time-out list keep an absent unit to 300 ms an attempt.
#include "comms/MestraIF.h"
#include "comms/PelkExceptions.h"
#include "support/SimLinkFixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Pelk;
using namespace QuorvelTest;

namespace {

const QString Units = "lan address 3\n"
                      "lan slow-take 100\n"
                      "unit 5 app 0x0C05 proc 1234 rom 0x0102 name PROG1 airspaces 3 rooms 2 alarms 0x0001\n"
                      "unit 5 ee 0x0010 bytes 0x11 0x22 0x33\n"
                      "unit 6 wrong-code\n"
                      "unit 7 silent\n"
                      "unit 8 slow-take app 0x0C08\n";

class SimLanLinkTest : public ::testing::Test, public SimLinkFixture {
protected:
    // The simulator with the units above, unless told otherwise.
    void Connect(const QString& scenario = Units, const QStringList& arguments = {})
    {
        SimLinkFixture::Connect(arguments, scenario);
    }

    uint16_t AlarmTableWord(uint8_t unit)
    {
        uint8_t bytes[2] = {};
        link.ReadMem(bytes, uint16_t(link.GetDescriptor(TMestraIF::AlarmTableSlot) + 2 * unit), 2, false);
        return uint16_t(bytes[0] | bytes[1] << 8);
    }
};

} // namespace

TEST_F(SimLanLinkTest, AUnitIsIdentifiedAndItsMemoryRead)
{
    Connect();

    ASSERT_TRUE(link.SelectUnit(5, true));
    EXPECT_EQ(link.Unit, 5);
    EXPECT_EQ(link.UnitType, 0x0C05);
    EXPECT_EQ(link.InterfaceAddress, 3);
    EXPECT_EQ(link.ReadWord(0x0000, true), 1234);
    EXPECT_EQ(link.ReadWord(0x2020, false), 0x0102);
    EXPECT_EQ(link.ReadWord(0x3000, false), 'P' | 'R' << 8);
}

TEST_F(SimLanLinkTest, WordsAreReadAtOddEEAddresses)
{
    Connect();
    link.SelectUnit(5, false);

    EXPECT_EQ(link.ReadWord(0x0011, true), 0x3322);
    EXPECT_EQ(link.ReadByte(0x0011, true), 0x22);
    EXPECT_EQ(link.ReadWord(0x0010, true), 0x2211);
}

TEST_F(SimLanLinkTest, WritesReachTheUnitAndReadBack)
{
    Connect();
    link.SelectUnit(5, false);

    EXPECT_EQ(link.WriteWord(0xBEEF, 0x0101, true), 0xBEEF);
    EXPECT_EQ(link.WriteByte(0x5A, 0x4000, false), 0x5A);

    EXPECT_EQ(link.ReadWord(0x0101, true), 0xBEEF);
    EXPECT_EQ(link.ReadByte(0x4000, false), 0x5A);
    link.SelectUnit(0, false);
    EXPECT_EQ(link.ReadWord(0x0000, true), 4660); // the interface unit's own EE is untouched
}

TEST_F(SimLanLinkTest, ACommandReturnsOnceTakenAndTheAlarmTableFollowsIt)
{
    Connect();
    ASSERT_EQ(AlarmTableWord(5), 0x0001);
    const int32_t polls = link.LanPolls;
    TLanMessage clear{0, 5, 0x60, 9, 0, 0, 0, 0};

    link.SendLanMessage(clear);

    EXPECT_EQ(link.LanPolls, polls); // no reply was waited for
    EXPECT_EQ(AlarmTableWord(5), 0);
    link.SelectUnit(5, false);
    TLanMessage request{};
    link.LanRequest(9, 0, request);
    EXPECT_EQ(Lan::DataWord(request, 0), 0);
    EXPECT_EQ(Count("lan_commands"), 1u);
}

TEST_F(SimLanLinkTest, WithoutALanBufferLanOperationsFailAtOnceWhileUnitZeroStillWorks)
{
    Connect(Units + "link 0x0100 16 252 0\n");
    ASSERT_EQ(link.LanBufferAddress, 0);

    EXPECT_THROW(link.SelectUnit(5, true), EPelkOpFailure);
    link.SelectUnit(5, false);
    EXPECT_THROW(link.ReadWord(0x0000, true), EPelkOpFailure);

    link.SelectUnit(0, false);
    EXPECT_EQ(link.ReadWord(0x0000, true), 4660);
    EXPECT_EQ(Count("lan_taken"), 0u);
}

TEST_F(SimLanLinkTest, AnAbsentUnitIsNotSelectedAfterOneAttempt)
{
    Connect();

    EXPECT_FALSE(link.SelectUnit(9, true));

    EXPECT_EQ(link.Unit, 0);
    EXPECT_EQ(Count("lan_taken"), 1u);
    EXPECT_EQ(Count("lan_unanswered"), 1u);
}

TEST_F(SimLanLinkTest, AWrongReplyFailsAfterThreeAttemptsEachSentAsTheOriginalRequest)
{
    Connect();
    link.SelectUnit(6, false);

    EXPECT_THROW(link.ReadWord(0x0000, true), EPelkLANMsg);

    const SimProcess::Counts counts = sim->GetCounts();
    EXPECT_EQ(counts.at("lan_requests"), 3u);
    EXPECT_EQ(counts.at("lan_replies"), 3u);
    EXPECT_EQ(counts.at("lan_other_kinds"), 0u); // no attempt went out as the reply it got
}

TEST_F(SimLanLinkTest, ASilentUnitTimesOutAfterThreeAttempts)
{
    Connect();
    link.SelectUnit(7, false);
    TLanMessage request{};

    EXPECT_THROW(link.LanRequest(9, 0, request), EPelkLANTimeout);

    EXPECT_EQ(Count("lan_taken"), 3u);
}

TEST_F(SimLanLinkTest, AMessageTakenSlowlyWithinTheLanTimeoutStillGetsItsReply)
{
    Connect();

    ASSERT_TRUE(link.SelectUnit(8, true));
    EXPECT_EQ(link.UnitType, 0x0C08);
}

TEST_F(SimLanLinkTest, SeededWrongCodesFailEveryRequest)
{
    Connect(Units, {"--lan-wrong-code", "1", "--seed", "3"});
    link.SelectUnit(5, false);

    EXPECT_THROW(link.ReadWord(0x0000, true), EPelkLANMsg);
    EXPECT_EQ(Count("lan_wrong_codes_injected"), 3u);
}
