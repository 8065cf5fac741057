// Scenario files: the default site, each directive, and the errors.
#include "SimScenario.h"

#include <gtest/gtest.h>

#include <memory>

using SiteSim::Ee;
using SiteSim::Ram;
using SiteSim::ScenarioError;
using SiteSim::SimMemory;
using SiteSim::SimScenario;

namespace {

std::unique_ptr<SimMemory> applied(const SimScenario& scenario)
{
    auto memory = std::make_unique<SimMemory>();
    scenario.Apply(*memory);
    return memory;
}

int errorLine(const char* text)
{
    try {
        SimScenario::Parse(text);
    } catch (const ScenarioError& error) {
        EXPECT_NE(std::string(error.what()).find("line " + std::to_string(error.Line())), std::string::npos);
        return error.Line();
    }
    return -1;
}

} // namespace

TEST(SimScenario, TheDefaultSiteHasThreeSlotsALinkDescriptorAndAnIdentity)
{
    const auto memory = applied(SimScenario::Default());
    EXPECT_EQ(memory->Word(Ram, 0x2FFE), 3);
    const uint16_t link = memory->Word(Ram, 0x2FFA);
    ASSERT_NE(link, 0);
    EXPECT_NE(memory->Word(Ram, 0x2FF8), 0);
    EXPECT_NE(memory->Word(Ram, 0x2FFC), 0);
    EXPECT_EQ(memory->Word(Ram, link), 0x0100);
    EXPECT_EQ(memory->Word(Ram, uint16_t(link + 2)), 16);
    EXPECT_EQ(memory->Word(Ram, uint16_t(link + 4)), 252);
    EXPECT_NE(memory->Word(Ram, uint16_t(link + 6)), 0);
    EXPECT_EQ(memory->Word(Ee, 0x0000), 4660);
    EXPECT_NE(memory->Word(Ram, 0x7FFE), 0);
}

TEST(SimScenario, DirectivesChangeTheDefaultSite)
{
    const auto memory = applied(SimScenario::Parse(
        "# a site with a small read block\n"
        "\n"
        "descriptors 2 0 0x4000 0x4100   # no alarm table\n"
        "link 0x0101 8 64 0x4200\n"
        "identity 77\n"
        "type 0xBEEF\n"));
    EXPECT_EQ(memory->Word(Ram, 0x2FF8), 0x0000);
    EXPECT_EQ(memory->Word(Ram, 0x2FFA), 0x4000);
    EXPECT_EQ(memory->Word(Ram, 0x2FFC), 0x4100);
    EXPECT_EQ(memory->Word(Ram, 0x2FFE), 2);
    EXPECT_EQ(memory->Word(Ram, 0x4000), 0x0101);
    EXPECT_EQ(memory->Word(Ram, 0x4002), 8);
    EXPECT_EQ(memory->Word(Ram, 0x4004), 64);
    EXPECT_EQ(memory->Word(Ram, 0x4006), 0x4200);
    EXPECT_EQ(memory->Word(Ee, 0x0000), 77);
    EXPECT_EQ(memory->Byte(Ram, 0x7FFE), 0xEF);
    EXPECT_EQ(memory->Byte(Ram, 0x7FFF), 0xBE);
}

TEST(SimScenario, MemoryLinesFillBytesWordsHexAndRepeats)
{
    const auto memory = applied(SimScenario::Parse(
        "ram 0x1000 bytes 1 2 0xFF\n"
        "ee 0x0010 words 0x1234 5\n"
        "ram 0xFFFF hex AAbb\n"
        "ee 0x2000 repeat 3 0x7E\n"));
    EXPECT_EQ(memory->Byte(Ram, 0x1000), 1);
    EXPECT_EQ(memory->Byte(Ram, 0x1002), 0xFF);
    EXPECT_EQ(memory->Byte(Ee, 0x0010), 0x34);
    EXPECT_EQ(memory->Byte(Ee, 0x0011), 0x12);
    EXPECT_EQ(memory->Byte(Ee, 0x0012), 5);
    EXPECT_EQ(memory->Byte(Ram, 0xFFFF), 0xAA);
    EXPECT_EQ(memory->Byte(Ram, 0x0000), 0xBB);
    EXPECT_EQ(memory->Byte(Ee, 0x2002), 0x7E);
    EXPECT_EQ(memory->Byte(Ee, 0x2003), 0x00);
}

TEST(SimScenario, MemoryLinesGoInAfterTheStructuresSoTheyCanSpoilThem)
{
    const auto memory = applied(SimScenario::Parse("ram 0x2FFE words 9\ndescriptors 3\n"));
    EXPECT_EQ(memory->Word(Ram, 0x2FFE), 9);
}

// Every directive's lines that cannot be used: the whole scenario is
// refused, naming the first such line.
TEST(SimScenario, LinesThatCannotBeUsedNameTheirLine)
{
    const struct {
        const char* Text;
        int Line;
    } rows[] = {
        {"identity 1\n\nlogger on\n", 3},
        {"identity twelve\n", 1},
        {"identity 0x10000\n", 1},
        {"type\n", 1},
        {"type 1 2\n", 1},
        {"# ok\nram 0x10 bytes 256\n", 2},
        {"ram 0x10 hex ABC\n", 1},
        {"ram 0x10 hex XY\n", 1},
        {"ram 0x10 bytes\n", 1},
        {"ram 0x10 floats 1.5\n", 1},
        {"descriptors 3 1 2\n", 1},
        {"link 0x100 16 252\n", 1},
        // The LAN and its units.
        {"unit 5\nunit 0\n", 2},
        {"unit 31\n", 1},
        {"unit\n", 1},
        {"unit 5 colour red\n", 1},
        {"unit 5 app\n", 1},
        {"unit 5 app 0x10000\n", 1},
        {"unit 5 airspaces 16\n", 1},
        {"unit 5 name ABCDEFGHIJKLMNOPQ\n", 1},
        {"unit 5 airspace 0 actual 1\n", 1},
        {"unit 5 airspace 1 actual\n", 1},
        {"unit 5 airspace 1 actual 40000\n", 1},
        {"unit 5 airspace 1 colour 1\n", 1},
        {"unit 5 ram 0x10 bytes\n", 1},
        {"\nlan address 32\n", 2},
        {"lan reply\n", 1},
        {"lan speed 3\n", 1},
        {"lan take -1\n", 1},
        // The data logger.
        {"logger\n", 1},
        {"logger colour blue\n", 1},
        {"logger interval\n", 1},
        {"logger interval 70000\n", 1},
        {"logger buffer 32769\n", 1},
        {"logger config 8\n", 1},
        {"logger fast 0\n", 1},
        {"logger none please\n", 1},
        {"logger devices sensor\n", 1},
        {"logger devices pump:3\n", 1},
        {"logger devices output:0x100\n", 1},
        {"logger devices output:3:2\n", 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(errorLine(row.Text), row.Line) << row.Text;
}

TEST(SimScenario, AMissingFileIsAnError)
{
    EXPECT_THROW(SimScenario::Load("/nonexistent/scenario.txt"), ScenarioError);
}
