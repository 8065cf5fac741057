// Deadlines on the millisecond tick, which wraps after 2^32 ms.
#include "MestraIFFixture.h"

#include "comms/LinkClock.h"

using namespace QuorvelTest;
using namespace Pelk;

TEST(LinkTimerTest, DeadlineSpanningTheTickWrapExpiresOnTime)
{
    TLinkTimer timer;
    timer.StartAt(0xFFFFFF00u, 0x200);

    EXPECT_FALSE(timer.ExpiredAt(0xFFFFFFFFu));
    EXPECT_FALSE(timer.ExpiredAt(0x000000FFu));
    EXPECT_TRUE(timer.ExpiredAt(0x00000100u));
    EXPECT_EQ(timer.RemainingAt(0x00000000u), 0x100u);
}

TEST(LinkTimerTest, ZeroDurationHasExpiredAtOnce)
{
    TLinkTimer timer;
    timer.StartAt(1234, 0);

    EXPECT_TRUE(timer.ExpiredAt(1234));
}
