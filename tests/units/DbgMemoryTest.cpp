// The memory viewer's numbers and log lines: what a typed address or value
// becomes, what is refused and with which message, and the line of a read.
#include "base/Exception.h"
#include "units/DbgMemory.h"

#include <gtest/gtest.h>

#include <optional>

using namespace Quorvel1;

namespace {

struct TDbgNumberCase {
    const char* text;
    bool word;
    std::optional<std::uint16_t> address; // none: refused
    std::optional<std::uint16_t> value;
    const char* error; // the message of the address's refusal
};

class DbgNumberTest : public ::testing::TestWithParam<TDbgNumberCase> {};

TEST_P(DbgNumberTest, ParsesOrRefusesTheWholeText)
{
    const TDbgNumberCase& c = GetParam();
    if (c.address) {
        EXPECT_EQ(TDbgMemory::ParseAddress(c.text), *c.address);
    } else {
        try {
            TDbgMemory::ParseAddress(c.text);
            ADD_FAILURE() << "accepted " << c.text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.error));
        }
    }
    if (c.value)
        EXPECT_EQ(TDbgMemory::ParseValue(c.text, c.word), *c.value);
    else
        EXPECT_THROW(TDbgMemory::ParseValue(c.text, c.word), Exception);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DbgNumberTest,
    ::testing::Values(TDbgNumberCase{"x18", true, 0x18, 0x18, ""}, TDbgNumberCase{" X1b ", true, 0x1B, 0x1B, ""},
                      TDbgNumberCase{"24", false, 24, 24, ""}, TDbgNumberCase{"xFFFF", true, 0xFFFF, 0xFFFF, ""},
                      TDbgNumberCase{"xZZ", true, {}, {}, "Invalid value: ZZ"},
                      TDbgNumberCase{"x1G", true, {}, {}, "Invalid value: 1G"},
                      TDbgNumberCase{"x", true, {}, {}, "Invalid value: "},
                      TDbgNumberCase{"12ab", true, {}, {}, "Invalid value: 12AB"},
                      TDbgNumberCase{"70000", true, {}, {}, "Address out of range: 70000"},
                      TDbgNumberCase{"x10000", true, {}, {}, "Address out of range: x10000"},
                      TDbgNumberCase{"-1", true, {}, 0xFFFF, "Address out of range: -1"},
                      TDbgNumberCase{"-1", false, {}, 0xFF, "Address out of range: -1"},
                      TDbgNumberCase{"300", false, 300, {}, ""}, TDbgNumberCase{"300", true, 300, 300, ""},
                      TDbgNumberCase{"255", false, 255, 255, ""}, TDbgNumberCase{"-129", false, {}, {}, "Address out of range: -129"},
                      TDbgNumberCase{"65536", true, {}, {}, "Address out of range: 65536"}));

TEST(DbgLogLineTest, ShowsUnitMemorySizeAddressAndValue)
{
    EXPECT_EQ(TDbgMemory::LogLine(5, false, true, 0x18, 0x1234), "U05 RW 0018 00024:\t1234 \t  4660");
    EXPECT_EQ(TDbgMemory::LogLine(0, true, false, 0x1B, 0xFF), "U00 EB 001B 00027:\t00FF \t   255");
    EXPECT_EQ(TDbgMemory::LogLine(30, true, true, 0xFFFF, 0xFFFF), "U30 EW FFFF 65535:\tFFFF \t 65535");
}

} // namespace
