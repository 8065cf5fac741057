// The EE image shared by the worker's EE job and the user's edits: what the
// job reads or writes never undoes an edit.
#include "site/EEBlock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Quorvel1;

namespace {

TEST(EEBlockGuard, AByteReadFromTheUnitNeverReplacesAChangedByte)
{
    struct Case {
        std::uint8_t stateBefore;
        bool stored;
    };
    const Case cases[] = {{EEState::NoValue, true}, {EEState::Changed, false}, {EEState::Written, true},
                          {EEState::FromFile, true}, {EEState::Read, true}};
    for (const Case& c : cases) {
        TEEBlock image(0, "U5,012-003");
        image.SetByte(16, 0x22);
        image.SetState(16, c.stateBefore);
        EXPECT_EQ(image.StoreRead(16, 0x99), c.stored) << int(c.stateBefore);
        EXPECT_EQ(image.GetByte(16), c.stored ? 0x99 : 0x22);
        EXPECT_EQ(image.GetState(16), c.stored ? EEState::Read : EEState::Changed);
    }
}

TEST(EEBlockGuard, AWriteIsMarkedOnlyWhileTheByteStillHoldsTheWrittenValue)
{
    TEEBlock image(0, "U5,012-003");
    image.SetByte(16, 0x22);
    EXPECT_TRUE(image.MarkWritten(16, 0x22));
    EXPECT_EQ(image.GetState(16), EEState::Written);

    image.SetByte(16, 0x33);                // edited again while the write was on the line
    EXPECT_FALSE(image.MarkWritten(16, 0x22));
    EXPECT_EQ(image.GetState(16), EEState::Changed);
    EXPECT_FALSE(image.MarkWritten(600, 0)); // outside the image
}

TEST(EEBlockGuard, EditsSurviveAWorkerStoringReadsAtTheSameTime)
{
    TEEBlock image(0, "U5,012-003");
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop.load()) {
            for (int address = 0; address < 64; ++address)
                image.StoreRead(address, 0xEE);
        }
    });
    for (int round = 0; round < 2000; ++round) {
        const int address = round % 64;
        const auto value = std::uint8_t(round & 0x7F);
        image.SetByte(address, value);
        ASSERT_EQ(image.GetByte(address), value) << round;
        ASSERT_EQ(image.GetState(address), EEState::Changed);
        ASSERT_TRUE(image.MarkWritten(address, value));
    }
    stop = true;
    worker.join();
}

} // namespace
