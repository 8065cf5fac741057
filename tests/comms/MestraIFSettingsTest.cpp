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

void PrintTo(const Timings& t, std::ostream* out)
{
    *out << '{' << t.byteTime << ',' << t.opBase << ',' << t.readExtra << ',' << t.write << ',' << t.lan << ','
         << t.reset << '}';
}

} // namespace

// Each list is set over another one, so an item left out must go back to
// its default.
TEST(LinkTimeoutsTest, ListsSetTheirItemsInOrderAndTheRestTakeTheirDefaults)
{
    const struct {
        const char* Text;
        Timings Set;
    } rows[] = {
        {"20,3000", {20, 3000, 500, 500, 3000, 5000}},
        {"", Defaults},
        {"10, 2000 500  400,300 , 5000", {10, 2000, 500, 400, 300, 5000}}, // blanks separate like commas
        {"\"2\",\"300\",100", {2, 300, 100, 500, 3000, 5000}},            // quoted items
        {"1,2,3,4,5,6,7,8", {1, 2, 3, 4, 5, 6}},                           // beyond the sixth: ignored
        {"10,,700", {10, 2000, 700, 500, 3000, 5000}},                     // an empty item keeps its default
        {"65535", {65535, 2000, 500, 500, 3000, 5000}},
    };
    for (const auto& row : rows) {
        TMestraIF link;
        link.SetTimeouts("1,2,3,4,5,6");

        link.SetTimeouts(row.Text);

        EXPECT_EQ(TimingsOf(link), row.Set) << '"' << row.Text << '"';
    }
}

// A value that does not fit the 16-bit fields raises instead of wrapping.
TEST(LinkTimeoutsTest, ItemsThatAreNotMillisecondsRaise)
{
    for (const char* text : {"10,fast", "10,20ms", "70000", "10,-1"}) {
        TMestraIF link;
        EXPECT_THROW(link.SetTimeouts(text), Quorvel1::Exception) << text;
        EXPECT_THROW(ParseTimeoutList(text), Quorvel1::Exception) << text;
    }
}

TEST(LinkBaudRateTest, RatesInsideTheRangeAreKeptAndOthersGive4800)
{
    const struct {
        int32_t Set;
        uint32_t Kept;
    } rows[] = {
        {115200, 115200}, {110, 110}, {9600, 9600}, {115201, 4800}, {100, 4800}, {-1, 4800}, {0, 4800},
    };
    for (const auto& row : rows) {
        TMestraIF link;
        link.SetBaudRate(19200);

        link.SetBaudRate(row.Set);

        EXPECT_EQ(link.BaudRate, row.Kept) << row.Set;
    }
}
