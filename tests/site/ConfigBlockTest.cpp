#include "support/SettingsAddressFiles.h"

#include "base/Exception.h"
#include "base/ProgramFolder.h"
#include "site/ConfigBlock.h"
#include "site/EEBlock.h"

#include <gtest/gtest.h>

using Quorvel1::TConfigBlock;
using Quorvel1::TEEBlock;

namespace {

constexpr std::uint16_t Fridge = 0x0C03; // "012-003"

class ConfigBlock : public QuorvelTest::SettingsAddressFiles {};

} // namespace

TEST_F(ConfigBlock, TheFileIsNamedByTheApplicationInTheProgramFoldersStFolder)
{
    EXPECT_EQ(TConfigBlock::SettingsAddressPath(Fridge),
              Quorvel1::ProgramFolder() + "st/012-003.st");
    EXPECT_EQ(TConfigBlock::SettingsAddressPath(0xFF00), Quorvel1::ProgramFolder() + "st/255-000.st");
}

TEST_F(ConfigBlock, ItemsAreReadInFileOrderWithTheAdfNameAndHighestAddress)
{
    WriteSettingsAddressFile(Fridge, "012-003,FRIDGE12\r\n"
                                     "12,TRIPFLAGS\r\n"
                                     "40,SETPOINT1\r\n"
                                     "7,DEFROST\r\n");
    const TConfigBlock block(Fridge);
    EXPECT_EQ(block.AdfName(), QString("FRIDGE12"));
    ASSERT_EQ(block.Count(), 3);
    EXPECT_EQ(block.Name(0), QString("TRIPFLAGS"));
    EXPECT_EQ(block.Address(0), 12);
    EXPECT_EQ(block.Name(2), QString("DEFROST"));
    EXPECT_EQ(block.Item(2).Address, 7);
    EXPECT_EQ(block.HighestAddress(), 40);
}

TEST_F(ConfigBlock, LookupByNameIgnoresLetterCaseAndFindsTheFirstOfRepeatedNames)
{
    WriteSettingsAddressFile(Fridge, "012-003,FRIDGE12\n12,TRIPFLAGS\n30,TripFlags\n");
    const TConfigBlock block(Fridge);
    EXPECT_EQ(block.AddressByName("tripflags"), 12);
    ASSERT_NE(block.ItemByName("TRIPflags"), nullptr);
    EXPECT_EQ(block.ItemByName("TRIPflags")->Address, 12);
}

TEST_F(ConfigBlock, AnAbsentNameHasNoItemAndAddressMinusOne)
{
    WriteSettingsAddressFile(Fridge, "012-003,FRIDGE12\n12,TRIPFLAGS\n");
    const TConfigBlock block(Fridge);
    EXPECT_EQ(block.ItemByName("SETPOINT1"), nullptr);
    EXPECT_EQ(block.AddressByName("SETPOINT1"), -1);
}

TEST_F(ConfigBlock, LinesWithoutTwoValuesOrWithoutANumberAreSkipped)
{
    WriteSettingsAddressFile(Fridge, "012-003,FRIDGE12\n"
                                     "\n"
                                     "13\n"
                                     "14,A,B\n"
                                     "x1,NOTNUMBER\n"
                                     "  15 , \"TWO WORDS\"\n"
                                     "16,LAST");
    const TConfigBlock block(Fridge);
    ASSERT_EQ(block.Count(), 2);
    EXPECT_EQ(block.AddressByName("TWO WORDS"), 15);
    EXPECT_EQ(block.AddressByName("LAST"), 16);
}

TEST_F(ConfigBlock, NegativeAddressesAreKeptButDoNotRaiseTheHighestAddress)
{
    WriteSettingsAddressFile(Fridge, "012-003,FRIDGE12\n-5,UNUSED\n");
    const TConfigBlock block(Fridge);
    EXPECT_EQ(block.AddressByName("unused"), -5);
    EXPECT_EQ(block.HighestAddress(), 0);
}

TEST_F(ConfigBlock, AHeaderThatDoesNotNameTheApplicationExactlyGivesAnEmptyBlock)
{
    const QByteArray headers[] = {
        "12-3,FRIDGE12\n",          // leading zeros missing
        "012-004,FRIDGE12\n",       // another application
        "012-003,FRIDGE12,EXTRA\n", // three values
        "012-003\n",                // no ADF name
    };
    for (const QByteArray& header : headers) {
        WriteSettingsAddressFile(Fridge, header + "12,TRIPFLAGS\n");
        const TConfigBlock block(Fridge);
        EXPECT_EQ(block.Count(), 0) << header.constData();
        EXPECT_TRUE(block.AdfName().isEmpty()) << header.constData();
        EXPECT_EQ(block.AddressByName("TRIPFLAGS"), -1) << header.constData();
    }
}

TEST_F(ConfigBlock, AMissingFileOrAHeaderAloneGivesAnEmptyBlock)
{
    const TConfigBlock missing(0x0101);
    EXPECT_EQ(missing.Count(), 0);
    EXPECT_TRUE(missing.AdfName().isEmpty());
    EXPECT_EQ(missing.HighestAddress(), 0);

    WriteSettingsAddressFile(Fridge, "012-003,FRIDGE12\n");
    const TConfigBlock headerOnly(Fridge);
    EXPECT_EQ(headerOnly.Count(), 0);
    EXPECT_TRUE(headerOnly.AdfName().isEmpty());
}

TEST_F(ConfigBlock, AnIndexOutsideTheItemsFailsWithTheIndexInTheMessage)
{
    const TConfigBlock block(Fridge, {"012-003,FRIDGE12", "12,TRIPFLAGS"});
    try {
        (void)block.Item(-1);
        FAIL() << "no error for index -1";
    } catch (const Quorvel1::Exception& e) {
        EXPECT_EQ(e.Message(), QString("Invalid ConfigItem index: -1"));
    }
    EXPECT_THROW((void)block.Address(1), Quorvel1::Exception);
    EXPECT_NO_THROW((void)block.Address(0));
}

TEST_F(ConfigBlock, TheHighestAddressChoosesTheImageSize)
{
    const TConfigBlock small(Fridge, {"012-003,FRIDGE12", "511,TOP"});
    const TConfigBlock large(Fridge, {"012-003,FRIDGE12", "512,TOP"});
    EXPECT_EQ(TEEBlock(small.HighestAddress(), "U1,012-003").Size(), 512);
    EXPECT_EQ(TEEBlock(large.HighestAddress(), "U1,012-003").Size(), 2048);
    EXPECT_EQ(TEEBlock(0, "U0,000-000").Size(), 512);
}
