// The words of scenario lines and the numbers in them, as every directive
// and the command line's counts read them.
#include "ScenarioWords.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

using namespace SiteSim;

namespace {

struct NumberCase {
    const char* Word;
    int64_t Least;
    int64_t Most;
    std::optional<int64_t> Value; // empty: refused
    const char* Complaint;        // what the refusal says
};

constexpr int64_t Smallest = std::numeric_limits<int64_t>::min();
constexpr int64_t Largest = std::numeric_limits<int64_t>::max();

const NumberCase NumberCases[] = {
    {"0", 0, 0xFFFF, 0, ""},
    {"65535", 0, 0xFFFF, 65535, ""},
    {"0xFFFF", 0, 0xFFFF, 0xFFFF, ""},
    {"0XfF", 0, 0xFF, 0xFF, ""},
    {"007", 0, 10, 7, ""},
    {"-15", -32768, 32767, -15, ""},
    {"-0x10", -32768, 32767, -16, ""},
    {"9223372036854775807", 0, Largest, Largest, ""},
    {"-9223372036854775808", Smallest, 0, Smallest, ""},
    {"65536", 0, 0xFFFF, std::nullopt, "65536 is not in 0..65535"},
    {"-1", 0, 0xFF, std::nullopt, "-1 is not in 0..255"},
    {"0", 1, 30, std::nullopt, "0 is not in 1..30"},
    {"9223372036854775808", 0, Largest, std::nullopt, "not a number: 9223372036854775808"},
    {"", 0, 10, std::nullopt, "not a number: "},
    {"twelve", 0, 10, std::nullopt, "not a number: twelve"},
    {"12x", 0, 100, std::nullopt, "not a number: 12x"},
    {"0x", 0, 100, std::nullopt, "not a number: 0x"},
    {"0xG", 0, 100, std::nullopt, "not a number: 0xG"},
    {"0x-5", -10, 10, std::nullopt, "not a number: 0x-5"},
    {"--5", -10, 10, std::nullopt, "not a number: --5"},
    {"+5", -10, 10, std::nullopt, "not a number: +5"},
    {"-", -10, 10, std::nullopt, "not a number: -"},
    {"1.5", 0, 10, std::nullopt, "not a number: 1.5"},
};

} // namespace

TEST(ScenarioWords, NumbersAreDecimalOrHexWithinTheirRange)
{
    for (const NumberCase& row : NumberCases) {
        SCOPED_TRACE(std::string("word \"") + row.Word + "\"");
        if (row.Value) {
            EXPECT_EQ(ScenarioNumber(row.Word, row.Least, row.Most, 4), *row.Value);
            continue;
        }
        try {
            ScenarioNumber(row.Word, row.Least, row.Most, 4);
            ADD_FAILURE() << "taken";
        } catch (const ScenarioError& error) {
            EXPECT_EQ(error.Line(), 4);
            EXPECT_EQ(std::string(error.what()), std::string("scenario line 4: ") + row.Complaint);
        }
    }
}

TEST(ScenarioWords, AWholeNumberIsTheWholeWordOrNothing)
{
    const struct {
        const char* Word;
        std::optional<int64_t> Value;
    } rows[] = {
        {"42", 42}, {"0x2A", 42}, {"-42", -42}, {"4 2", std::nullopt}, {" 42", std::nullopt},
        {"42 ", std::nullopt}, {"0x", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseWholeNumber(row.Word), row.Value) << '"' << row.Word << '"';
}

TEST(ScenarioWords, LinesSplitAtBlanksUpToAComment)
{
    const struct {
        const char* Line;
        ScenarioWords Words;
    } rows[] = {
        {"ram 0x10 bytes 1 2", {"ram", "0x10", "bytes", "1", "2"}},
        {"  unit\t5   silent \r", {"unit", "5", "silent"}},
        {"identity 7 # the site's", {"identity", "7"}},
        {"lan take 5#no blank before the comment", {"lan", "take", "5"}},
        {"# a whole line of comment", {}},
        {"", {}},
        {" \t ", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SplitWords(row.Line), row.Words) << '"' << row.Line << '"';
}

TEST(ScenarioWords, PartsSplitAtTheSeparatorKeepingEmptyOnes)
{
    const struct {
        const char* Text;
        ScenarioWords Parts;
    } rows[] = {
        {"sensor:0x61:5", {"sensor", "0x61", "5"}},
        {"sensor::5", {"sensor", "", "5"}},
        {"trip:", {"trip", ""}},
        {"asm", {"asm"}},
        {"", {""}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SplitAt(row.Text, ':'), row.Parts) << '"' << row.Text << '"';
}
