// Cancelling waits from another thread, and the event pump that keeps the
// user interface alive while the owner thread waits.
#include "serial/SerialPort.h"
#include "support/PtyPair.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

using Pelk::SerialTimeouts;
using Pelk::TSerialPort;
using QuorvelTest::PtyPair;

namespace {

// Waits that only a cancel ends within a test, and a read that ends soon.
constexpr SerialTimeouts LongTimeouts{.ReadInterval = 30000, .ReadPerByte = 0, .ReadConstant = 30000,
                                      .WritePerByte = 0, .WriteConstant = 30000};
constexpr SerialTimeouts ShortReadTimeouts{.ReadInterval = 20, .ReadPerByte = 0, .ReadConstant = 200};

class SerialPortCancel : public ::testing::Test {
protected:
    PtyPair pair;
    std::unique_ptr<TSerialPort> port = TSerialPort::Open(pair.SlavePath(), 4800);
};

} // namespace

TEST_F(SerialPortCancel, CancelFromAnotherThreadEndsAPendingRead)
{
    port->SetTimeouts(LongTimeouts);
    auto pending = std::async(std::launch::async, [this] {
        uint8_t byte = 0;
        return port->Read(&byte, 1);
    });
    // Give the read time to start waiting; cancelling earlier would also end it.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    port->Cancel();
    // An outcome bound, far below the 30 s time-out: the read did end.
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_EQ(pending.get(), 0u);
}

TEST_F(SerialPortCancel, CancelStaysInForceUntilClearCancel)
{
    port->SetTimeouts(LongTimeouts);
    port->Cancel();
    pair.Send({0x06});
    ASSERT_TRUE(pair.WaitUntilQueuedAtPort(1));
    uint8_t byte = 0;
    EXPECT_EQ(port->Read(&byte, 1), 0u);
    EXPECT_EQ(port->Read(&byte, 1), 0u);
    const uint8_t out = 0x01;
    EXPECT_EQ(port->Write(&out, 1), 0u);

    port->ClearCancel();
    EXPECT_EQ(port->Read(&byte, 1), 1u);
    EXPECT_EQ(byte, 0x06);
    EXPECT_EQ(port->Write(&out, 1), 1u);
    EXPECT_EQ(pair.Receive(1), std::vector<uint8_t>({0x01}));
}

TEST_F(SerialPortCancel, ThePumpRunsOnTheOwnerThreadWhileAReadWaits)
{
    int pumped = 0;
    port->SetEventPump([&] { ++pumped; });
    port->SetTimeouts(ShortReadTimeouts);
    uint8_t byte = 0;
    EXPECT_EQ(port->Read(&byte, 1), 0u);
    EXPECT_GT(pumped, 0);
}

TEST_F(SerialPortCancel, BytesThatArriveWhileThePumpRunsAreRead)
{
    bool sent = false;
    port->SetEventPump([&] {
        if (!sent)
            pair.Send({0x06, 0x07});
        sent = true;
    });
    port->SetTimeouts(LongTimeouts);
    uint8_t bytes[2] = {};
    ASSERT_EQ(port->Read(bytes, 2), 2u);
    EXPECT_EQ(bytes[1], 0x07);
}

TEST_F(SerialPortCancel, ACancelButtonHandledByThePumpEndsTheWait)
{
    port->SetEventPump([&] { port->Cancel(); });
    port->SetTimeouts(LongTimeouts);
    uint8_t byte = 0;
    EXPECT_EQ(port->Read(&byte, 1), 0u);
}

TEST_F(SerialPortCancel, ThePumpDoesNotRunOnOtherThreads)
{
    std::atomic<int> pumped = 0;
    port->SetEventPump([&] { ++pumped; });
    port->SetTimeouts(ShortReadTimeouts);
    std::thread worker([this] {
        uint8_t byte = 0;
        port->Read(&byte, 1);
    });
    worker.join();
    EXPECT_EQ(pumped, 0);
}

TEST_F(SerialPortCancel, CancelEndsAReadWaitingForTheRestOfAReply)
{
    // At 110 baud the other 99 bytes need 9 s on the wire: the read waits
    // for them without watching the port, and a cancel must still end it.
    port.reset();
    port = TSerialPort::Open(pair.SlavePath(), 110);
    port->SetTimeouts(LongTimeouts);
    pair.Send({0x06});
    ASSERT_TRUE(pair.WaitUntilQueuedAtPort(1));
    auto pending = std::async(std::launch::async, [this] {
        uint8_t reply[100];
        return port->Read(reply, sizeof reply);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    port->Cancel();
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    EXPECT_EQ(pending.get(), 0u);
}
