// The interface unit's LAN buffer driven in-process the way the PC drives
// it: when a message is sent and taken, the order in which a reply lands,
// what is never answered, and the faults that a scenario seeds.
#include "SimLan.h"
#include "SimScenario.h"

#include <gtest/gtest.h>

#include <memory>

using namespace SiteSim;
using namespace std::chrono_literals;

namespace {

constexpr uint16_t Buffer = 0x3080;
constexpr uint16_t AlarmTable = 0x3000;
const SimLan::TimePoint T0{1h};

SimLanMessage Message(std::initializer_list<uint8_t> bytes)
{
    SimLanMessage message{};
    std::copy(bytes.begin(), bytes.end(), message.begin());
    return message;
}

class SimLanTest : public ::testing::Test {
protected:
    void Begin(const char* scenarioText, const SimLanFaultSettings& faults = {}, uint64_t seed = 1)
    {
        const SimScenario scenario = SimScenario::Parse(scenarioText);
        memory = std::make_unique<SimMemory>();
        scenario.Apply(*memory);
        lan = std::make_unique<SimLan>(*memory, Buffer, AlarmTable, scenario.Lan, faults, seed, events);
    }

    void Write(std::size_t offset, const std::vector<uint8_t>& bytes, SimLan::TimePoint at)
    {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            memory->SetByte(Ram, uint16_t(Buffer + offset + i), bytes[i]);
        lan->OnWrite(Ram, uint16_t(Buffer + offset), bytes.size(), at);
    }

    // As the PC sends: all 8 bytes with a 0 control byte, then 0xFF alone.
    void Send(SimLanMessage message, SimLan::TimePoint at = T0)
    {
        message[0] = 0;
        Write(0, std::vector<uint8_t>(message.begin(), message.end()), at);
        Write(0, {0xFF}, at);
    }

    SimLanMessage Contents() const
    {
        SimLanMessage message{};
        for (std::size_t i = 0; i < message.size(); ++i)
            message[i] = memory->Byte(Ram, uint16_t(Buffer + i));
        return message;
    }

    // Sends and lets time run until any reply would be complete.
    SimLanMessage Exchange(const SimLanMessage& message)
    {
        now += 1s;
        Send(message, now);
        events.RunDue(now + 500ms);
        return Contents();
    }

    uint16_t TableWord(std::size_t number) const { return memory->Word(Ram, uint16_t(AlarmTable + 2 * number)); }

    SimTimedEvents events;
    std::unique_ptr<SimMemory> memory;
    std::unique_ptr<SimLan> lan;
    SimLan::TimePoint now = T0;
};

} // namespace

TEST_F(SimLanTest, OnlyAWriteOf0xFFToTheControlByteSendsAMessage)
{
    Begin("unit 5\n");
    const std::vector<uint8_t> message = {0x00, 0x05, 0x40, 0x07, 0, 0, 0, 0};

    Write(0, message, T0);                 // the PC's 8-byte write
    Write(0, {0x00}, T0);                  // a 0 control byte
    Write(1, {0xFF, 0xFF}, T0);            // 0xFF elsewhere in the buffer
    Write(0, message, T0);                 // the timing test writes the buffer back
    events.RunDue(T0 + 1s);
    EXPECT_EQ(lan->Counts().MessagesTaken, 0u);
    EXPECT_EQ(events.Pending(), 0u);

    Write(0, {0xFF}, T0 + 1s);
    events.RunDue(T0 + 2s);
    EXPECT_EQ(lan->Counts().MessagesTaken, 1u);
}

TEST_F(SimLanTest, AMessageIsTakenAfterTheTakeTimeWithItsControlByteSetToZero)
{
    Begin("lan take 5\nunit 5\n");
    Send(Message({0, 5, 0x40, 0x07}));

    events.RunDue(T0 + 4ms);
    EXPECT_EQ(Contents()[0], 0xFF);
    events.RunDue(T0 + 5ms);
    EXPECT_EQ(Contents()[0], 0x00);
}

TEST_F(SimLanTest, AReplyFillsBytesOneToSevenBeforeItsSourceAppears)
{
    Begin("lan take 5\nlan reply 20\nlan address 3\nunit 5 app 0x0C05\n");
    Send(Message({0, 5, 0x40, 0x07, 0xAA, 0xBB, 0xCC, 0xDD}));

    events.RunDue(T0 + 24ms);
    EXPECT_EQ(Contents(), Message({0x00, 5, 0x40, 0x07, 0xAA, 0xBB, 0xCC, 0xDD}));
    events.RunDue(T0 + 25ms);
    EXPECT_EQ(Contents(), Message({0x00, 3, 0x30, 0x07, 0x05, 0x0C, 0x00, 0x00}));
    events.RunDue(T0 + 25ms + SimLan::ReplySettle);
    EXPECT_EQ(Contents(), Message({0x05, 3, 0x30, 0x07, 0x05, 0x0C, 0x00, 0x00}));
    EXPECT_EQ(lan->Counts().Replies, 1u);
}

TEST_F(SimLanTest, TheInterfaceUnitsOwnAddressIsZeroUnlessTheScenarioGivesOne)
{
    Begin("unit 5\n");
    EXPECT_EQ(Exchange(Message({0, 5, 0x40, 0x09}))[1], 0);
}

TEST_F(SimLanTest, ACommandIsTakenAndNotAnswered)
{
    Begin("unit 5 alarms 0x0011\n");

    const SimLanMessage after = Exchange(Message({0, 5, 0x60, 0x09}));

    EXPECT_EQ(after, Message({0x00, 5, 0x60, 0x09}));
    EXPECT_EQ(lan->Counts().Commands, 1u);
    EXPECT_EQ(lan->Counts().Replies, 0u);
    EXPECT_EQ(lan->Unit(5)->AlarmWord(), 0);
}

TEST_F(SimLanTest, AnAbsentUnitsMessageIsTakenAndNeverAnswered)
{
    Begin("unit 5\n");

    EXPECT_EQ(Exchange(Message({0, 9, 0x40, 0x07})), Message({0x00, 9, 0x40, 0x07}));
    EXPECT_EQ(lan->Counts().Unanswered, 1u);
}

TEST_F(SimLanTest, MessagesOfOtherKindsAreTakenAndIgnored)
{
    Begin("unit 5\n");

    EXPECT_EQ(Exchange(Message({0, 5, 0x30, 0x01, 0x34, 0x12}))[0], 0x00);
    EXPECT_EQ(lan->Counts().OtherKinds, 1u);
    EXPECT_EQ(lan->Counts().Replies, 0u);
}

TEST_F(SimLanTest, AnUnknownRequestIsLeftUnanswered)
{
    Begin("unit 5 airspaces 3\n");

    EXPECT_EQ(Exchange(Message({0, 5, 0x40, 0x55}))[0], 0x00);
    EXPECT_EQ(Exchange(Message({0, 5, 0x44, 0x80}))[0], 0x00); // airspace 4 of 3
    EXPECT_EQ(Exchange(Message({0, 5, 0x72, 0x02, 0x00, 0x40}))[0], 0x00);
    EXPECT_EQ(lan->Counts().Unanswered, 3u);
}

TEST_F(SimLanTest, TheBufferWrittenAgainCancelsAReplyStillOnItsWay)
{
    Begin("lan take 0\nlan reply 20\nunit 5\n");
    Send(Message({0, 5, 0x40, 0x09}));
    events.RunDue(T0 + 10ms);

    // The PC gave up and writes its next message, not yet sent.
    Write(0, {0x00, 0x06, 0x40, 0x07, 1, 2, 3, 4}, T0 + 10ms);
    events.RunDue(T0 + 1s);

    EXPECT_EQ(Contents(), Message({0x00, 6, 0x40, 0x07, 1, 2, 3, 4}));
    EXPECT_EQ(lan->Counts().Cancelled, 1u);
}

TEST_F(SimLanTest, EachUnitRequestGetsItsReply)
{
    Begin("lan address 2\n"
          "unit 5 app 0x0C05 proc 1234 rom 0x0102 name \"PROG1\" airspaces 3 rooms 2 d2 7 d3 9\n"
          "unit 5 alarms 0x0011 scale 450\n"
          "unit 5 airspace 2 actual -15 set -20 max 5 min -31 minvent 35\n"
          "unit 5 ee 0x0010 bytes 0x11 0x22 0x33\n"
          "unit 5 ram 0x4000 words 0xBEEF\n");
    struct Case {
        SimLanMessage Request;
        SimLanMessage Reply;
    };
    const Case cases[] = {
        {Message({0, 5, 0x40, 0x07}), Message({5, 2, 0x30, 0x07, 0x05, 0x0C, 0x00, 0x00})},   // identify
        {Message({0, 5, 0x40, 0x04, 0x00, 0x00}), Message({5, 2, 0x30, 0x04, 0, 0, 0xD2, 0x04})}, // processor id
        {Message({0, 5, 0x40, 0x02, 0x20, 0x20}), Message({5, 2, 0x30, 0x02, 0x20, 0x20, 0x02, 0x01})}, // ROM id
        {Message({0, 5, 0x40, 0x02, 0x00, 0x30}), Message({5, 2, 0x30, 0x02, 0x00, 0x30, 'P', 'R'})}, // name
        {Message({0, 5, 0x40, 0x02, 0x04, 0x30}), Message({5, 2, 0x30, 0x02, 0x04, 0x30, '1', 0x00})},
        {Message({0, 5, 0x40, 0x0D}), Message({5, 2, 0x30, 0x0D, 3, 2, 7, 9})},              // identity bytes
        {Message({0, 5, 0x40, 0x09}), Message({5, 2, 0x30, 0x09, 0x11, 0x00, 0, 0})},        // alarm word
        {Message({0, 5, 0x40, 0x0B}), Message({5, 2, 0x30, 0x0B, 0xC2, 0x01, 0, 0})},        // scale word
        {Message({0, 5, 0x42, 0x80}), Message({5, 2, 0x32, 0x80, 0xF1, 0xFF, 0xEC, 0xFF})},  // actual, set
        {Message({0, 5, 0x42, 0x85}), Message({5, 2, 0x32, 0x85, 0x05, 0x00, 0xE1, 0xFF})},  // max, min
        {Message({0, 5, 0x42, 0x83}), Message({5, 2, 0x32, 0x83, 35, 0, 0, 0})},             // min-vent
        {Message({0, 5, 0x43, 0x80}), Message({5, 2, 0x33, 0x80, 43, 0, 40, 0})},            // a default airspace
        {Message({0, 5, 0x40, 0x03, 0x11, 0x00}), Message({5, 2, 0x30, 0x03, 0x11, 0x00, 0x22, 0x00})}, // odd EE
        {Message({0, 5, 0x40, 0x04, 0x11, 0x00}), Message({5, 2, 0x30, 0x04, 0x11, 0x00, 0x22, 0x33})},
        {Message({0, 5, 0x40, 0x01, 0x01, 0x40}), Message({5, 2, 0x30, 0x01, 0x01, 0x40, 0xBE, 0x00})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Exchange(c.Request), c.Reply) << "code " << int(c.Request[3]) << " sub-code " << (c.Request[2] & 15);
}

TEST_F(SimLanTest, WritesEchoTheAddressAndReachTheUnitsMemory)
{
    Begin("unit 5\n");

    EXPECT_EQ(Exchange(Message({0, 5, 0x70, 0x02, 0x01, 0x41, 0x34, 0x12})),
              Message({5, 0, 0x30, 0x02, 0x01, 0x41, 0x34, 0x12}));
    EXPECT_EQ(Exchange(Message({0, 5, 0x70, 0x03, 0x05, 0x00, 0x7F, 0x99})),
              Message({5, 0, 0x30, 0x03, 0x05, 0x00, 0x7F, 0x00}));
    EXPECT_EQ(Exchange(Message({0, 5, 0x70, 0x04, 0x07, 0x00, 0xCD, 0xAB})),
              Message({5, 0, 0x30, 0x04, 0x07, 0x00, 0xCD, 0xAB}));

    const SimMemory& unit = lan->Unit(5)->Memory();
    EXPECT_EQ(unit.Word(SimMemory::Space::Ram, 0x4101), 0x1234);
    EXPECT_EQ(unit.Byte(SimMemory::Space::Ee, 0x0005), 0x7F);
    EXPECT_EQ(unit.Word(SimMemory::Space::Ee, 0x0007), 0xABCD);
    EXPECT_EQ(Exchange(Message({0, 5, 0x40, 0x04, 0x07, 0x00}))[6], 0xCD);
}

TEST_F(SimLanTest, TheAlarmTableHoldsEachUnitsAlarmWordAndZeroForTheRest)
{
    Begin("ram 0x3000 repeat 62 0xEE\nunit 5 alarms 0x0011\nunit 30 alarms 0x4002\n");

    for (std::size_t number = 0; number <= 30; ++number) {
        const uint16_t expected = number == 5 ? 0x0011 : number == 30 ? 0x4002 : 0;
        EXPECT_EQ(TableWord(number), expected) << "unit " << number;
    }
}

TEST_F(SimLanTest, ClearingAlarmsOfOneUnitLeavesTheOthersAndKeepsTheTableCurrent)
{
    Begin("unit 5 alarms 0x0011\nunit 6 alarms 0x0100\n");

    Exchange(Message({0, 5, 0x60, 0x09}));

    EXPECT_EQ(TableWord(5), 0);
    EXPECT_EQ(TableWord(6), 0x0100);
    EXPECT_EQ(Exchange(Message({0, 5, 0x40, 0x09}))[4], 0);
    EXPECT_EQ(Exchange(Message({0, 6, 0x40, 0x09}))[5], 0x01);
}

TEST_F(SimLanTest, ClearingAlarmsAtDestinationZeroClearsEveryUnit)
{
    Begin("unit 5 alarms 0x0011\nunit 6 alarms 0x0100\n");

    Exchange(Message({0, 0, 0x60, 0x09}));

    EXPECT_EQ(TableWord(5), 0);
    EXPECT_EQ(TableWord(6), 0);
}

TEST_F(SimLanTest, AResetWithItsKeySetsSystemResetInTheAlarmWord)
{
    Begin("unit 5 alarms 0x0001\n");

    Exchange(Message({0, 5, 0x60, 0x02, 0x17, 0x00})); // not the key
    EXPECT_EQ(TableWord(5), 0x0001);
    Exchange(Message({0, 5, 0x60, 0x02, 0x18, 0x00, 0x00, 0x00}));
    EXPECT_EQ(TableWord(5), 0x8001);
    EXPECT_EQ(Exchange(Message({0, 5, 0x40, 0x09}))[5], 0x80);
}

TEST_F(SimLanTest, ClearingMaxMinsAtDestinationZeroSetsEveryExtremeToTheActualValue)
{
    Begin("unit 5 airspaces 2\nunit 5 airspace 1 actual 33 max 50 min 10\nunit 7 airspaces 1\n");

    Exchange(Message({0, 0, 0x60, 0x11}));

    EXPECT_EQ(Exchange(Message({0, 5, 0x41, 0x85})), Message({5, 0, 0x31, 0x85, 33, 0, 33, 0}));
    EXPECT_EQ(Exchange(Message({0, 7, 0x41, 0x85})), Message({7, 0, 0x31, 0x85, 41, 0, 41, 0}));
}

TEST_F(SimLanTest, ASilentUnitTakesItsMessagesAndNeverAnswers)
{
    Begin("unit 5 silent\n");

    EXPECT_EQ(Exchange(Message({0, 5, 0x40, 0x07}))[0], 0x00);
    EXPECT_EQ(lan->Counts().Unanswered, 1u);
}

TEST_F(SimLanTest, AWrongCodeUnitAnswersWithTheNextCode)
{
    Begin("unit 5 wrong-code alarms 0x0011\n");

    EXPECT_EQ(Exchange(Message({0, 5, 0x40, 0x09})), Message({5, 0, 0x30, 0x0A, 0x11, 0, 0, 0}));
}

TEST_F(SimLanTest, ASlowTakeUnitsMessagesAreTakenAfterTheSlowTakeTime)
{
    Begin("lan take 2\nlan slow-take 120\nunit 5 slow-take\nunit 6\n");
    Send(Message({0, 5, 0x40, 0x07}));

    events.RunDue(T0 + 119ms);
    EXPECT_EQ(Contents()[0], 0xFF);
    events.RunDue(T0 + 120ms);
    EXPECT_EQ(Contents()[0], 0x00);
}

namespace {

// What each of `count` identify requests to unit 5 brought back: the reply
// code, or -1 for none; taken late or not.
std::vector<int> Outcomes(const SimLanFaultSettings& faults, uint64_t seed, int count)
{
    SimTimedEvents events;
    auto memory = std::make_unique<SimMemory>();
    const SimScenario scenario = SimScenario::Parse("lan take 1\nlan slow-take 50\nunit 5\n");
    SimLan lan(*memory, Buffer, AlarmTable, scenario.Lan, faults, seed, events);
    std::vector<int> outcomes;
    SimLan::TimePoint now = T0;
    for (int i = 0; i < count; ++i) {
        now += 1s;
        for (std::size_t b = 0; b < 8; ++b)
            memory->SetByte(Ram, uint16_t(Buffer + b), b == 1 ? 5 : b == 2 ? 0x40 : b == 3 ? 7 : 0);
        lan.OnWrite(Ram, Buffer, 8, now);
        memory->SetByte(Ram, Buffer, 0xFF);
        lan.OnWrite(Ram, Buffer, 1, now);
        events.RunDue(now + 10ms);
        const bool slow = memory->Byte(Ram, Buffer) == 0xFF;
        events.RunDue(now + 500ms);
        const bool replied = memory->Byte(Ram, Buffer) == 5;
        outcomes.push_back((replied ? memory->Byte(Ram, Buffer + 3) : -1) * 2 + slow);
    }
    return outcomes;
}

} // namespace

TEST(SimLanFaults, SeededFaultsRepeatForTheSameSeedAndDifferForAnother)
{
    const SimLanFaultSettings faults{0.3, 0.3, 0.3};

    const std::vector<int> first = Outcomes(faults, 7, 40);

    EXPECT_EQ(Outcomes(faults, 7, 40), first);
    EXPECT_NE(Outcomes(faults, 8, 40), first);
    // Every kind of fault came up at least once, and so did a clean reply.
    for (int outcome : {-2, 16, 15, 14})
        EXPECT_NE(std::find(first.begin(), first.end(), outcome), first.end()) << outcome;
}

TEST(SimLanFaults, WithoutRatesEveryRequestIsAnsweredInTime)
{
    for (int outcome : Outcomes({}, 7, 20))
        EXPECT_EQ(outcome, 14);
}
