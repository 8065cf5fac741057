// The interface unit's frame engine, byte for byte.
#include "SimLinkProtocol.h"

#include <gtest/gtest.h>

#include <memory>

using SiteSim::SimLinkProtocol;
using SiteSim::SimMemory;
using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

namespace {

class SimLinkProtocolTest : public ::testing::Test {
protected:
    // Feeds bytes 1 ms apart and collects every answer.
    Bytes feed(const Bytes& bytes, std::chrono::milliseconds spacing = 1ms)
    {
        Bytes answer;
        for (uint8_t byte : bytes) {
            now += spacing;
            const Bytes part = link.Receive(byte, now);
            answer.insert(answer.end(), part.begin(), part.end());
        }
        return answer;
    }

    std::unique_ptr<SimMemory> memory = std::make_unique<SimMemory>();
    SimLinkProtocol link{*memory};
    SimLinkProtocol::TimePoint now{};
};

const Bytes ReadEe16At1234{0x01, 0x04, 0xFB, 0x02, 0x34, 0x12, 0x10, 0x58, 0x00};
const Bytes WriteAa55ToRam0010{0x01, 0x05, 0xFA, 0x01, 0x10, 0x00, 0xAA, 0x55, 0x10, 0x01};

} // namespace

TEST_F(SimLinkProtocolTest, AReadOfSixteenEeBytesIsAnsweredWithAckDataAndDataSum)
{
    for (uint8_t i = 0; i < 16; ++i)
        memory->SetByte(SimMemory::Space::Ee, uint16_t(0x1234 + i), uint8_t(i + 1));
    // 1 + 2 + ... + 16 = 136 = 0x88.
    EXPECT_EQ(feed(ReadEe16At1234), (Bytes{0x06, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0x88, 0x00}));
}

TEST_F(SimLinkProtocolTest, NothingIsAnsweredBeforeTheFrameIsComplete)
{
    const Bytes allButLast(ReadEe16At1234.begin(), ReadEe16At1234.end() - 1);
    EXPECT_EQ(feed(allButLast), Bytes{});
}

TEST_F(SimLinkProtocolTest, AWriteIsStoredAndAnsweredWithAckAlone)
{
    EXPECT_EQ(feed(WriteAa55ToRam0010), Bytes{0x06});
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ram, 0x0010), 0xAA);
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ram, 0x0011), 0x55);
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ee, 0x0010), 0x00);
}

TEST_F(SimLinkProtocolTest, TheResetHandshakeIgnoresTheZerosAndNaksTheBadComplement)
{
    EXPECT_EQ(feed(Bytes(32, 0x00)), Bytes{});
    EXPECT_EQ(feed({0x01, 0x02, 0x03}), Bytes{0x15});
    EXPECT_EQ(link.Counts().ResetsSeen, 1u);
    // The 0x03 was taken as the complement; the next frame is read as such.
    EXPECT_EQ(feed(WriteAa55ToRam0010), Bytes{0x06});
}

TEST_F(SimLinkProtocolTest, ABadRequestChecksumIsNakedAndNothingIsWritten)
{
    Bytes frame = WriteAa55ToRam0010;
    frame[8] = 0x11;
    EXPECT_EQ(feed(frame), Bytes{0x15});
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ram, 0x0010), 0x00);
    EXPECT_EQ(link.Counts().BadFrames, 1u);
    EXPECT_EQ(feed(WriteAa55ToRam0010), Bytes{0x06});
}

TEST_F(SimLinkProtocolTest, AnUnknownCommandIsNaked)
{
    // Command 0x04, body sum 0x04 + 0x10 + 0x02 = 0x16.
    EXPECT_EQ(feed({0x01, 0x04, 0xFB, 0x04, 0x10, 0x00, 0x02, 0x16, 0x00}), Bytes{0x15});
}

TEST_F(SimLinkProtocolTest, AReadWhoseLengthDoesNotFitIsNaked)
{
    // A read with LEN 5, body 00 10 00 02 07: sum 0x19.
    EXPECT_EQ(feed({0x01, 0x05, 0xFA, 0x00, 0x10, 0x00, 0x02, 0x07, 0x19, 0x00}), Bytes{0x15});
}

TEST_F(SimLinkProtocolTest, AReadOfZeroBytesIsNaked)
{
    EXPECT_EQ(feed({0x01, 0x04, 0xFB, 0x00, 0x10, 0x00, 0x00, 0x10, 0x00}), Bytes{0x15});
}

TEST_F(SimLinkProtocolTest, AFrameStartByteInsideTheBodyIsData)
{
    // Write 01 01 at RAM 0x0101: body 01 01 01 01 01, sum 5.
    EXPECT_EQ(feed({0x01, 0x05, 0xFA, 0x01, 0x01, 0x01, 0x01, 0x01, 0x05, 0x00}), Bytes{0x06});
    EXPECT_EQ(memory->Word(SimMemory::Space::Ram, 0x0101), 0x0101);
}

TEST_F(SimLinkProtocolTest, AReadAtTheTopOfTheSpaceWrapsToAddressZero)
{
    memory->SetByte(SimMemory::Space::Ram, 0xFFFF, 0x12);
    memory->SetByte(SimMemory::Space::Ram, 0x0000, 0x34);
    // Body 00 FF FF 02: sum 0x200.
    EXPECT_EQ(feed({0x01, 0x04, 0xFB, 0x00, 0xFF, 0xFF, 0x02, 0x00, 0x02}), (Bytes{0x06, 0x12, 0x34, 0x46, 0x00}));
}

TEST_F(SimLinkProtocolTest, ALargestReadCarriesItsSumInSixteenBits)
{
    for (int i = 0; i < 255; ++i)
        memory->SetByte(SimMemory::Space::Ram, uint16_t(0x4000 + i), 0xFF);
    // Body 00 00 40 FF: sum 0x13F. Reply sum 255 * 255 = 0xFE01.
    const Bytes answer = feed({0x01, 0x04, 0xFB, 0x00, 0x00, 0x40, 0xFF, 0x3F, 0x01});
    ASSERT_EQ(answer.size(), 1u + 255u + 2u);
    EXPECT_EQ(answer[256], 0x01);
    EXPECT_EQ(answer[257], 0xFE);
}

TEST_F(SimLinkProtocolTest, AFrameBrokenOffForLongerThanTheGapIsDroppedSilently)
{
    const Bytes firstHalf(WriteAa55ToRam0010.begin(), WriteAa55ToRam0010.begin() + 5);
    EXPECT_EQ(feed(firstHalf), Bytes{});
    // The reset after an abort comes much later; its zeros must not be
    // taken as the rest of the write.
    EXPECT_EQ(feed({0x00}, 400ms), Bytes{});
    EXPECT_EQ(feed(Bytes(31, 0x00)), Bytes{});
    EXPECT_EQ(feed({0x01, 0x02, 0x03}), Bytes{0x15});
    EXPECT_EQ(memory->Byte(SimMemory::Space::Ram, 0x0010), 0x00);
    EXPECT_EQ(link.Counts().BadFrames, 1u);
}

TEST_F(SimLinkProtocolTest, SlowBytesWithinTheGapStillMakeAFrame)
{
    EXPECT_EQ(feed(WriteAa55ToRam0010, 250ms), Bytes{0x06});
}

TEST_F(SimLinkProtocolTest, TheWriteHookHearsOfEachWriteAfterTheStore)
{
    struct Heard {
        SimMemory::Space space;
        uint16_t address;
        std::size_t length;
        uint8_t firstByte;
    };
    std::vector<Heard> heard;
    link.SetWriteHook([&](SimMemory::Space space, uint16_t address, std::size_t length) {
        heard.push_back({space, address, length, memory->Byte(space, address)});
    });
    feed(WriteAa55ToRam0010);
    Bytes badFrame = WriteAa55ToRam0010;
    badFrame[9] = 0x00;
    feed(badFrame);
    feed(ReadEe16At1234);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].space, SimMemory::Space::Ram);
    EXPECT_EQ(heard[0].address, 0x0010);
    EXPECT_EQ(heard[0].length, 2u);
    EXPECT_EQ(heard[0].firstByte, 0xAA);
}

TEST_F(SimLinkProtocolTest, CountsTellAnsweredBadAndNakedFrames)
{
    feed(WriteAa55ToRam0010);
    feed(ReadEe16At1234);
    feed({0x01, 0x02, 0x03});
    feed({0x01, 0x04, 0xFB, 0x00, 0x10, 0x00, 0x00, 0x10, 0x00});
    EXPECT_EQ(link.Counts().FramesAnswered, 2u);
    EXPECT_EQ(link.Counts().BadFrames, 1u);
    EXPECT_EQ(link.Counts().NaksSent, 2u);
    EXPECT_EQ(link.Counts().ResetsSeen, 1u);
}
