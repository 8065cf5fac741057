// The logger's blocks and configuration as bytes: hand-made images parsed
// field by field, written back unchanged, and too-short images refused.
#include "logger/LogBlocks.h"
#include "logger/LogConfig.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Quorvel1;

namespace {

std::vector<uint8_t> StatusBytes()
{
    return {0x00, 0x60, 0x00, 0x70, 0x2C, 0x01, 0xAA, 0xBB, // readings, last values, timer 300, unused
            0x10, 0x00, 0x03, 0x00, 0x84, 0x03, 0x30, 0x00, // entries 16, new 3, interval 900, full in 48
            0x7D, 0xB0, 0x0A, 0x1E, 0x2D, 0xCC,             // day 45181, 10:30:45, unused
            2, 1, 3, 0, 1,                                  // counts
            0xDD, 0xEE, 42, 0x11, 0x22};                    // unused, data level 42, unused
}

} // namespace

TEST(LogHeaderImage, FieldsAreLittleEndianWords)
{
    const std::vector<uint8_t> bytes = {0xFF, 0x01, 0x00, 0x04, 0xFF, 0x07, 0x10, 0x31, 0x30, 0x31, 0x40, 0x31};
    const auto header = TLogHeader::Parse(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->FormatWord, 0x01FF);
    EXPECT_TRUE(header->FormatAccepted());
    EXPECT_EQ(header->ConfigStart, 0x0400);
    EXPECT_EQ(header->ConfigEnd, 0x07FF);
    EXPECT_EQ(header->ConfigSize(), 1024);
    EXPECT_EQ(header->StatusAddress, 0x3110);
    EXPECT_EQ(header->ControlAddress, 0x3130);
    EXPECT_EQ(header->CommandAddress, 0x3140);
    const auto back = header->Serialise();
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), bytes);
}

TEST(LogHeaderImage, OnlyFormatHighByteOneIsAccepted)
{
    TLogHeader header;
    for (uint16_t word : {0x0100, 0x01FF})
        EXPECT_TRUE((header.FormatWord = word, header.FormatAccepted())) << word;
    for (uint16_t word : {0x0000, 0x00FF, 0x0200, 0x1100})
        EXPECT_FALSE((header.FormatWord = word, header.FormatAccepted())) << word;
}

TEST(LogHeaderImage, EndBeforeStartGivesNegativeSize)
{
    TLogHeader header;
    header.ConfigStart = 0x0400;
    header.ConfigEnd = 0x03FE;
    EXPECT_EQ(header.ConfigSize(), -1);
}

TEST(LogStatusImage, EveryFieldAtItsOffset)
{
    const auto status = TLogStatus::Parse(StatusBytes());
    ASSERT_TRUE(status);
    EXPECT_EQ(status->ReadingsAddress, 0x6000);
    EXPECT_EQ(status->LastValuesAddress, 0x7000);
    EXPECT_EQ(status->IntervalTimer, 300);
    EXPECT_EQ(status->Entries, 16);
    EXPECT_EQ(status->NewEntries, 3);
    EXPECT_EQ(status->Interval, 900);
    EXPECT_EQ(status->FullIn, 48);
    EXPECT_EQ(status->StartDay, 45181);
    EXPECT_EQ(status->StartHour, 10);
    EXPECT_EQ(status->StartMinute, 30);
    EXPECT_EQ(status->StartSecond, 45);
    EXPECT_EQ(status->Counts, (std::array<uint8_t, 5>{2, 1, 3, 0, 1}));
    EXPECT_EQ(status->DataLevel, 42);
}

TEST(LogStatusImage, UninterpretedBytesSurviveARoundTrip)
{
    const std::vector<uint8_t> bytes = StatusBytes();
    const auto back = TLogStatus::Parse(bytes)->Serialise();
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), bytes);
}

TEST(LogControlImage, PositionsAndBits)
{
    const std::vector<uint8_t> bytes = {0x00, 0xC0, 0x00, 0x40, 0xE8, 0x03, 0x84, 0x03, 5, 2, 0x12, 0x34};
    const auto control = TLogControl::Parse(bytes);
    ASSERT_TRUE(control);
    EXPECT_EQ(control->BufferAddress, 0xC000);
    EXPECT_EQ(control->BufferSize, 16384);
    EXPECT_EQ(control->EndPosition, 1000);
    EXPECT_EQ(control->StartPosition, 900);
    EXPECT_EQ(control->EndBit, 5);
    EXPECT_EQ(control->StartBit, 2);
    const auto back = control->Serialise();
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), bytes);
}

TEST(LogCommandImage, DateThenCode)
{
    TLogCommand command;
    command.Day = 45181;
    command.Hour = 23;
    command.Minute = 59;
    command.Second = 0xFF;
    command.Code = LogCmdHold;
    const auto bytes = command.Serialise();
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), (std::vector<uint8_t>{0x7D, 0xB0, 23, 59, 0xFF, 8}));
    EXPECT_EQ(TLogCommand::Parse(bytes)->Code, 8);
}

TEST(LogBlockImages, TooShortImagesAreRefused)
{
    const std::vector<uint8_t> bytes(31, 0);
    EXPECT_FALSE(TLogHeader::Parse(std::span(bytes).first(11)));
    EXPECT_FALSE(TLogStatus::Parse(bytes));
    EXPECT_FALSE(TLogControl::Parse(std::span(bytes).first(11)));
    EXPECT_FALSE(TLogCommand::Parse(std::span(bytes).first(5)));
}

TEST(LogConfigImage, FieldsListsAndSensorTypes)
{
    const std::vector<uint8_t> bytes = {0x84, 0x03, 7, 0, 1, 2, 3, 4, 5, 0x01, 2, 0, 1, 0, 1,
                                        0x05, 0xFF, 0x12, 0x21, 0x00, 2, 8, 0x99};
    const auto config = TLogConfig::Parse(bytes);
    ASSERT_TRUE(config);
    EXPECT_EQ(config->Interval, 900);
    EXPECT_EQ(config->FileNumber, 7);
    EXPECT_EQ(config->Unwritten, (std::array<uint8_t, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(config->Options, LogOptStopWhenFull);
    EXPECT_EQ(config->Entries[0], (std::vector<uint16_t>{0x05, 0xFF}));
    EXPECT_TRUE(config->Entries[1].empty());
    EXPECT_EQ(config->Entries[2], (std::vector<uint16_t>{0x12}));
    EXPECT_EQ(config->Entries[4], (std::vector<uint16_t>{0x0021}));
    EXPECT_EQ(config->SensorTypes, (std::vector<uint8_t>{2, 8}));
    EXPECT_EQ(config->Serialise(), std::vector<uint8_t>(bytes.begin(), bytes.end() - 1));
}

TEST(LogConfigImage, ListsBeyondTheBlockAreRefused)
{
    const std::vector<uint8_t> bytes = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0x05, 0x06};
    EXPECT_FALSE(TLogConfig::Parse(bytes));
    EXPECT_FALSE(TLogConfig::Parse(std::span(bytes).first(14)));
}
