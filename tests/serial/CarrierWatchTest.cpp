// The carrier of a modem call's data line: the modem's "NO CARRIER" among
// the data, however the reads cut it, and the DCD line where it was on.
#include "serial/CarrierWatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Pelk::TCarrierWatch;

namespace {

struct TReceivedCase {
    const char* name;
    std::vector<std::string> reads;
    bool lost;
};

bool LostAfter(const std::vector<std::string>& reads)
{
    TCarrierWatch watch(false);
    for (const std::string& read : reads)
        watch.Received(reinterpret_cast<const uint8_t*>(read.data()), read.size());
    return watch.Lost();
}

} // namespace

TEST(CarrierWatch, ModemResultAmongTheDataIsFoundHoweverTheReadsCutIt)
{
    const TReceivedCase cases[] = {
        {"in one read", {std::string("\x06\x01\x02\r\nNO CARRIER\r\n", 17)}, true},
        {"one byte a read", {"\r", "\n", "N", "O", " ", "C", "A", "R", "R", "I", "E", "R", "\r"}, true},
        {"cut in the middle", {std::string("\x06\x41\r\nNO CA", 9), "RRIER\r\n"}, true},
        {"after many reads of data", {std::string(300, '\x55'), std::string(17, '\x06'), "\r\nNO CARRIER\r"}, true},
        {"without its line end yet", {"\r\nNO CARRIER"}, false},
        {"not on a line of its own", {"xNO CARRIER\r\n"}, false},
        {"another result", {"\r\nNO DIALTONE\r\n"}, false},
        {"lower case", {"\r\nno carrier\r\n"}, false},
        {"nothing", {}, false},
    };
    for (const TReceivedCase& c : cases)
        EXPECT_EQ(LostAfter(c.reads), c.lost) << c.name;
}

TEST(CarrierWatch, DcdThatWasOnDropsTheCarrierAndOneThatWasOffIsIgnored)
{
    TCarrierWatch watched(true);
    EXPECT_FALSE(watched.LineState(true));
    EXPECT_TRUE(watched.LineState(false));
    // Gone for good, even if the line comes back.
    EXPECT_TRUE(watched.LineState(true));

    TCarrierWatch noDcd(false);
    EXPECT_FALSE(noDcd.LineState(false));
    EXPECT_FALSE(noDcd.Lost());
}
