// The serial port against a real pseudo-terminal: bytes both ways, the
// interval and total time-outs, purge, and the far end going away.
#include "serial/SerialPort.h"
#include "support/PtyPair.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>

using Pelk::SerialTimeouts;
using Pelk::TSerialPort;
using QuorvelTest::PtyPair;

namespace {

std::vector<uint8_t> everyByteValue()
{
    std::vector<uint8_t> bytes(256);
    std::iota(bytes.begin(), bytes.end(), uint8_t(0));
    return bytes;
}

SerialTimeouts readTimeouts(uint32_t interval, uint32_t constant)
{
    SerialTimeouts timeouts;
    timeouts.ReadInterval = interval;
    timeouts.ReadPerByte = 0;
    timeouts.ReadConstant = constant;
    return timeouts;
}

class SerialPortTransfer : public ::testing::Test {
protected:
    PtyPair pair;
    std::unique_ptr<TSerialPort> port = TSerialPort::Open(pair.SlavePath(), 4800);
};

} // namespace

TEST_F(SerialPortTransfer, EveryByteValueWrittenArrivesUnchanged)
{
    const auto bytes = everyByteValue();
    ASSERT_EQ(port->Write(bytes.data(), bytes.size()), bytes.size());
    EXPECT_EQ(pair.Receive(bytes.size()), bytes);
}

TEST_F(SerialPortTransfer, EveryByteValueFromTheFarEndIsReadUnchanged)
{
    const auto bytes = everyByteValue();
    pair.Send(bytes);
    std::vector<uint8_t> received(bytes.size());
    port->SetTimeouts(readTimeouts(1000, 5000));
    ASSERT_EQ(port->Read(received.data(), received.size()), bytes.size());
    EXPECT_EQ(received, bytes);
}

TEST_F(SerialPortTransfer, ReadEndsWithWhatCameWhenTheGapAfterALastByteExceedsTheInterval)
{
    pair.Send({0x06, 0x41, 0x42});
    ASSERT_TRUE(pair.WaitUntilQueuedAtPort(3));
    port->SetTimeouts(readTimeouts(50, 30000));
    uint8_t received[10] = {};
    ASSERT_EQ(port->Read(received, sizeof received), 3u);
    EXPECT_EQ(received[0], 0x06);
    EXPECT_EQ(received[2], 0x42);
}

TEST_F(SerialPortTransfer, ReadOfSilenceGivesZeroAtTheTotalTimeout)
{
    port->SetTimeouts(readTimeouts(10, 50));
    uint8_t received[4];
    EXPECT_EQ(port->Read(received, sizeof received), 0u);
}

TEST_F(SerialPortTransfer, ReadGivesThePartialCountWhenTheTotalTimeoutEndsFirst)
{
    pair.Send({0x10, 0x20});
    ASSERT_TRUE(pair.WaitUntilQueuedAtPort(2));
    port->SetTimeouts(readTimeouts(30000, 100));
    uint8_t received[5];
    EXPECT_EQ(port->Read(received, sizeof received), 2u);
}

TEST_F(SerialPortTransfer, TheIntervalDoesNotEndAReadBeforeTheFirstByte)
{
    port->SetTimeouts(readTimeouts(1, 30000));
    std::thread farEnd([this] {
        // Longer than the interval, so an interval applied too early would end the read.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pair.Send({0x15});
    });
    uint8_t received = 0;
    const std::size_t count = port->Read(&received, 1);
    farEnd.join();
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(received, 0x15);
}

TEST_F(SerialPortTransfer, WriteGivesThePartialCountWhenTheFarEndStopsReading)
{
    SerialTimeouts timeouts;
    timeouts.WritePerByte = 0;
    timeouts.WriteConstant = 100;
    port->SetTimeouts(timeouts);
    const std::vector<uint8_t> flood(1 << 20, 0x55);
    const std::size_t sent = port->Write(flood.data(), flood.size());
    EXPECT_GT(sent, 0u);
    EXPECT_LT(sent, flood.size());
}

TEST_F(SerialPortTransfer, PurgeDiscardsBytesWaitingToBeRead)
{
    pair.Send({1, 2, 3});
    ASSERT_TRUE(pair.WaitUntilQueuedAtPort(3));
    port->Purge();
    port->SetTimeouts(readTimeouts(10, 50));
    uint8_t received[3];
    EXPECT_EQ(port->Read(received, sizeof received), 0u);
}

TEST_F(SerialPortTransfer, ReadAfterTheFarEndClosedRaisesTheSystemError)
{
    pair.CloseMaster();
    port->SetTimeouts(readTimeouts(10, 1000));
    uint8_t received[2];
    try {
        port->Read(received, sizeof received);
        FAIL() << "no error raised";
    } catch (const Quorvel1::Exception& error) {
        EXPECT_TRUE(error.Message().startsWith("Mestra link: ")) << error.what();
        EXPECT_GT(error.Message().size(), QString("Mestra link: ").size());
    }
}

TEST_F(SerialPortTransfer, ReadAndWriteAfterCloseRaise)
{
    port->Close();
    uint8_t byte = 0;
    EXPECT_THROW(port->Read(&byte, 1), Quorvel1::Exception);
    EXPECT_THROW(port->Write(&byte, 1), Quorvel1::Exception);
}

TEST_F(SerialPortTransfer, BytesThatComeInOneByOneAreReadWhole)
{
    // The read waits out the line's speed (about 2 ms a byte at 4800 baud)
    // between looks at the port; bytes slower than that still all arrive.
    port->SetTimeouts(readTimeouts(1000, 5000));
    const std::vector<uint8_t> reply = {0x06, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::thread farEnd([this, reply] {
        for (uint8_t byte : reply) {
            pair.Send({byte});
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    std::vector<uint8_t> received(reply.size());
    const std::size_t count = port->Read(received.data(), received.size());
    farEnd.join();
    EXPECT_EQ(count, reply.size());
    EXPECT_EQ(received, reply);
}
