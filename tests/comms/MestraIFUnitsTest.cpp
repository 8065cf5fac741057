// Selecting a unit and the byte and word operations on the interface unit.
#include "MestraIFFixture.h"

#include "comms/PelkExceptions.h"

using namespace QuorvelTest;
using namespace Pelk;

TEST_F(LinkTest, SelectingTheInterfaceUnitWithIdentificationReadsItsTypeWord)
{
    link.Unit = 7;
    line->Expect(Hex("01 04 FB 00 FE 7F 02 7F 01")).Reply(ReadReply({0x34, 0x12})).Expect({});

    EXPECT_TRUE(link.SelectUnit(0, true));

    EXPECT_EQ(link.Unit, 0);
    EXPECT_EQ(link.UnitType, 0x1234);
    ExpectScriptDone();
}

TEST_F(LinkTest, SelectingWithoutIdentificationSendsNothing)
{
    link.UnitType = 0x1234;

    EXPECT_TRUE(link.SelectUnit(5, false));
    EXPECT_EQ(link.Unit, 5);
    EXPECT_EQ(link.UnitType, 0);
    EXPECT_TRUE(link.SelectUnit(0, false));
    EXPECT_EQ(link.Unit, 0);

    EXPECT_TRUE(line->Written().empty());
}

TEST_F(LinkTest, WordReadOfTheInterfaceUnitIsAPlainTwoByteRead)
{
    line->Expect(Hex("01 04 FB 02 00 00 02 04 00")).Reply(ReadReply({0x34, 0x12})).Expect({});

    EXPECT_EQ(link.ReadWord(0x0000, true), 0x1234);

    ExpectScriptDone();
}

TEST_F(LinkTest, ByteReadOfTheInterfaceUnitIsAPlainOneByteRead)
{
    line->Expect(ReadRequest(0x1234, 1)).Reply(ReadReply({0xA5})).Expect({});

    EXPECT_EQ(link.ReadByte(0x1234, false), 0xA5);

    ExpectScriptDone();
}

TEST_F(LinkTest, WordAndByteWritesOfTheInterfaceUnitArePlainWrites)
{
    line->Expect(WriteRequest(0x0011, {0xCD, 0xAB}, true)).Reply(Ack());
    line->Expect(WriteRequest(0x2000, {0x5A})).Reply(Ack()).Expect({});

    EXPECT_EQ(link.WriteWord(0xABCD, 0x0011, true), 0xABCD);
    EXPECT_EQ(link.WriteByte(0x5A, 0x2000, false), 0x5A);

    ExpectScriptDone();
}
