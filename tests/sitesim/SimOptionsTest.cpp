// The simulator's command line.
#include "SimOptions.h"

#include <gtest/gtest.h>

using SiteSim::SimOptions;
using SiteSim::SimUsageError;

TEST(SimOptions, EveryOptionIsTakenInBothSpellings)
{
    const SimOptions options = SimOptions::Parse({"--scenario", "site.txt", "--link=/tmp/port", "--baud", "9600",
                                                  "--counts", "c.txt", "--seed=7", "--corrupt", "0.01",
                                                  "--drop=0.5", "--nak", "1", "--stall-after", "100"});
    EXPECT_EQ(options.ScenarioPath, "site.txt");
    EXPECT_EQ(options.LinkPath, "/tmp/port");
    EXPECT_EQ(options.Baud, 9600u);
    EXPECT_EQ(options.CountsPath, "c.txt");
    EXPECT_EQ(options.Faults.Seed, 7u);
    EXPECT_DOUBLE_EQ(options.Faults.CorruptRate, 0.01);
    EXPECT_DOUBLE_EQ(options.Faults.DropRate, 0.5);
    EXPECT_DOUBLE_EQ(options.Faults.NakRate, 1.0);
    ASSERT_TRUE(options.Faults.StallAfter.has_value());
    EXPECT_EQ(*options.Faults.StallAfter, 100u);
    EXPECT_FALSE(options.Help);
}

TEST(SimOptions, NoOptionsMeanTheDefaultSiteUnpacedAndWithoutFaults)
{
    const SimOptions options = SimOptions::Parse({});
    EXPECT_TRUE(options.ScenarioPath.empty());
    EXPECT_EQ(options.Baud, 0u);
    EXPECT_EQ(options.Faults.DropRate, 0.0);
    EXPECT_FALSE(options.Faults.StallAfter.has_value());
}

TEST(SimOptions, HelpIsRecognised)
{
    EXPECT_TRUE(SimOptions::Parse({"--help"}).Help);
}

TEST(SimOptions, BadOptionsAreUsageErrors)
{
    EXPECT_THROW(SimOptions::Parse({"--frobnicate", "1"}), SimUsageError);
    EXPECT_THROW(SimOptions::Parse({"--baud"}), SimUsageError);
    EXPECT_THROW(SimOptions::Parse({"--baud", "fast"}), SimUsageError);
    EXPECT_THROW(SimOptions::Parse({"--baud", "-1"}), SimUsageError);
    EXPECT_THROW(SimOptions::Parse({"--drop", "1.5"}), SimUsageError);
    EXPECT_THROW(SimOptions::Parse({"--nak", "x"}), SimUsageError);
    EXPECT_THROW(SimOptions::Parse({"--stall-after", "3x"}), SimUsageError);
}

TEST(SimOptions, CountsAreWholeNumbersAsInScenarios)
{
    EXPECT_EQ(*SimOptions::Parse({"--stall-after", "0x40"}).Faults.StallAfter, 64u);
    EXPECT_EQ(SimOptions::Parse({"--seed=0x10"}).Faults.Seed, 16u);
    EXPECT_THROW(SimOptions::Parse({"--seed", "-3"}), SimUsageError);
    EXPECT_THROW(SimOptions::Parse({"--stall-after", "0x"}), SimUsageError);
}
