// The link's time-out list and speed.
#include "base/Exception.h"
#include "comms/MestraIF.h"
#include "comms/TimeoutList.h"

#include <gtest/gtest.h>

using namespace Pelk;

namespace {

struct Timings {
    int byteTime, opBase, readExtra, write, lan, reset;
    bool operator==(const Timings&) const = default;
};

Timings TimingsOf(const TMestraIF& link)
{
    return {link.ByteTime,     link.OpBaseTimeout, link.ReadExtraTimeout,
            link.WriteTimeout, link.LanTimeout,    link.ResetTimeout};
}

const Timings Defaults = {10, 2000, 500, 500, 3000, 5000};

} // namespace

TEST(LinkTimeoutsTest, TwoItemsSetTheFirstTwoAndTheRestTakeTheirDefaults)
{
    TMestraIF link;
    link.SetTimeouts("1,2,3,4,5,6");

    link.SetTimeouts("20,3000");

    EXPECT_EQ(TimingsOf(link), (Timings{20, 3000, 500, 500, 3000, 5000}));
}

TEST(LinkTimeoutsTest, EmptyTextGivesTheDefaults)
{
    TMestraIF link;
    link.SetTimeouts("1,2,3,4,5,6");

    link.SetTimeouts("");

    EXPECT_EQ(TimingsOf(link), Defaults);
}

TEST(LinkTimeoutsTest, BlanksSeparateItemsLikeCommas)
{
    TMestraIF link;

    link.SetTimeouts("10, 2000 500  400,300 , 5000");

    EXPECT_EQ(TimingsOf(link), (Timings{10, 2000, 500, 400, 300, 5000}));
}

TEST(LinkTimeoutsTest, QuotedItemsAreRead)
{
    TMestraIF link;

    link.SetTimeouts("\"2\",\"300\",100");

    EXPECT_EQ(TimingsOf(link), (Timings{2, 300, 100, 500, 3000, 5000}));
}

TEST(LinkTimeoutsTest, ItemsBeyondTheSixthAreIgnored)
{
    TMestraIF link;

    link.SetTimeouts("1,2,3,4,5,6,7,8");

    EXPECT_EQ(TimingsOf(link), (Timings{1, 2, 3, 4, 5, 6}));
}

TEST(LinkTimeoutsTest, EmptyItemKeepsItsDefault)
{
    TMestraIF link;

    link.SetTimeouts("10,,700");

    EXPECT_EQ(TimingsOf(link), (Timings{10, 2000, 700, 500, 3000, 5000}));
}

TEST(LinkTimeoutsTest, NonNumericItemRaises)
{
    TMestraIF link;

    EXPECT_THROW(link.SetTimeouts("10,fast"), Quorvel1::Exception);
    EXPECT_THROW(link.SetTimeouts("10,20ms"), Quorvel1::Exception);
}

TEST(LinkTimeoutsTest, ValueThatDoesNotFitSixteenBitsRaisesInsteadOfWrapping)
{
    EXPECT_THROW(ParseTimeoutList("70000"), Quorvel1::Exception);
    EXPECT_THROW(ParseTimeoutList("10,-1"), Quorvel1::Exception);
    EXPECT_EQ(ParseTimeoutList("65535").ByteTime, 65535);
}

TEST(LinkBaudRateTest, RatesInsideTheRangeAreKept)
{
    TMestraIF link;

    link.SetBaudRate(115200);
    EXPECT_EQ(link.BaudRate, 115200u);
    link.SetBaudRate(110);
    EXPECT_EQ(link.BaudRate, 110u);
    link.SetBaudRate(9600);
    EXPECT_EQ(link.BaudRate, 9600u);
}

TEST(LinkBaudRateTest, RatesOutsideTheRangeAndNotSetGive4800)
{
    TMestraIF link;

    for (int32_t baud : {115201, 100, -1, 0}) {
        link.SetBaudRate(9600);
        link.SetBaudRate(baud);
        EXPECT_EQ(link.BaudRate, 4800u) << baud;
    }
}
