// The log file's bytes: a file made by hand byte for byte, its round trip,
// the validity rules, random bytes, and the file names and number search.
#include "logger/LogFile.h"

#include "logger/Log1.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace Quorvel1;

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(uint8_t(value & 0xFF));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, uint16_t(value & 0xFFFF));
    Put16(out, uint16_t(value >> 16));
}

// A log of one sensor (status count 1), a 16-byte configuration at EE
// 0x0400 and a 6-byte ring holding two entries: +1 (bits 1,0,0,0) and
// -2 (bits 1,0,1,1), so byte 2 = 0b1101'0001 from start 2/0 to end 3/0.
std::vector<uint8_t> HandMadeFile(uint16_t format = 0x0100, uint16_t configEnd = 0x040F, uint16_t bufferSize = 6)
{
    std::vector<uint8_t> file(41, 0);
    file[0] = 0x5A; // reserved bytes are kept as they are
    Put16(file, format);
    Put16(file, 0x0400);
    Put16(file, configEnd);
    Put16(file, 0x3110);
    Put16(file, 0x3130);
    Put16(file, 0x3140);
    // Status, bytes 0..30.
    Put16(file, 0x6000); // readings
    Put16(file, 0x7000); // last values
    Put16(file, 12);     // timer
    Put16(file, 0);
    Put16(file, 2);   // entries
    Put16(file, 2);   // new entries
    Put16(file, 900); // interval
    Put16(file, 10);  // full in
    Put16(file, 0);   // start day
    file.insert(file.end(), {0, 0, 0, 0});
    file.insert(file.end(), {1, 0, 0, 0, 0}); // one sensor
    file.insert(file.end(), {0, 0, 33, 0});   // data level 33, then byte 30
    // Control.
    Put16(file, 0x7800);
    Put16(file, bufferSize);
    Put16(file, 3); // end position
    Put16(file, 2); // start position
    file.insert(file.end(), {0, 0, 0, 0}); // end bit, start bit, 2 unused
    // Command.
    Put16(file, 46000);
    file.insert(file.end(), {10, 20, 30, 0});
    Put32(file, 1'700'000'000);
    Put32(file, 1'700'003'600);
    Put32(file, 1'699'000'000);
    // Configuration: interval 900, file number 7, one sensor 0x61.
    std::vector<uint8_t> config(16, 0);
    config[0] = 0x84;
    config[1] = 0x03;
    config[2] = 7;
    config[10] = 1;
    config[15] = 0x61;
    config.resize(std::size_t(std::max(0, configEnd - 0x0400 + 1)), 0);
    file.insert(file.end(), config.begin(), config.end());
    Put16(file, 0x0123); // last value
    const std::vector<uint8_t> ring = {0, 0, 0b1101'0001, 0, 0, 0};
    file.insert(file.end(), ring.begin(), ring.begin() + std::min<int>(bufferSize, 6));
    file.resize(file.size() + std::max(0, bufferSize - 6), 0);
    return file;
}

bool Parse(const std::vector<uint8_t>& bytes)
{
    auto log = std::make_unique<TLog1>();
    return ParseLogFile(bytes, *log);
}

} // namespace

TEST(LogFileTest, HandMadeFileGivesTheLogImage)
{
    auto log = std::make_unique<TLog1>();
    ASSERT_TRUE(ParseLogFile(HandMadeFile(), *log));
    EXPECT_EQ(log->ReservedHeader[0], 0x5A);
    EXPECT_EQ(log->Header.ConfigStart, 0x0400);
    EXPECT_EQ(log->ConfigSize, 16);
    EXPECT_EQ(log->Status.Interval, 900);
    EXPECT_EQ(log->Status.Entries, 2);
    EXPECT_EQ(log->Status.DataLevel, 33);
    EXPECT_EQ(log->Control.BufferAddress, 0x7800);
    EXPECT_EQ(log->Control.StartPosition, 2);
    EXPECT_EQ(log->Command.Day, 46000);
    EXPECT_EQ(log->NewestEntryPCTime, 1'700'000'000u);
    EXPECT_EQ(log->NewestEntryLoggerTime, 1'700'003'600u);
    EXPECT_EQ(log->LogStartTime, 1'699'000'000u);
    EXPECT_EQ(log->ConfigWord(2), 7);
    EXPECT_EQ(log->DeviceCount(), 1);
    EXPECT_EQ(log->LastValue(0), 0x0123);
    EXPECT_EQ(log->BufferImage()[2], 0b1101'0001);
    std::vector<uint16_t> base(1);
    EXPECT_TRUE(log->CheckLog(base));
    EXPECT_EQ(base[0], 0x0124); // 0x0123 before +1 and -2
}

TEST(LogFileTest, SavedFileHasExactlyTheBytesItWasLoadedFrom)
{
    const std::vector<uint8_t> bytes = HandMadeFile();
    auto log = std::make_unique<TLog1>();
    ASSERT_TRUE(ParseLogFile(bytes, *log));
    EXPECT_EQ(SerialiseLogFile(*log), bytes);

    QBuffer file;
    file.open(QIODevice::ReadWrite);
    EXPECT_TRUE(log->SaveToFile(file));
    EXPECT_EQ(file.data(), QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    file.seek(0);
    auto loaded = std::make_unique<TLog1>();
    EXPECT_TRUE(loaded->LoadFromFile(file));
    EXPECT_EQ(SerialiseLogFile(*loaded), bytes);
}

TEST(LogFileTest, StatusByte31IsNotStored)
{
    auto log = std::make_unique<TLog1>();
    ASSERT_TRUE(ParseLogFile(HandMadeFile(), *log));
    log->Status.Unused30[1] = 0x77;
    EXPECT_EQ(SerialiseLogFile(*log), HandMadeFile());
}

TEST(LogFileTest, EveryShorterFileIsInvalid)
{
    std::vector<uint8_t> bytes = HandMadeFile();
    while (!bytes.empty()) {
        bytes.pop_back();
        EXPECT_FALSE(Parse(bytes)) << bytes.size();
    }
}

TEST(LogFileTest, OneExtraByteMakesTheFileInvalid)
{
    std::vector<uint8_t> bytes = HandMadeFile();
    bytes.push_back(0);
    EXPECT_FALSE(Parse(bytes));
}

TEST(LogFileTest, FormatWordMustHaveHighByte1)
{
    EXPECT_TRUE(Parse(HandMadeFile(0x01FF)));
    EXPECT_FALSE(Parse(HandMadeFile(0x0200)));
    EXPECT_FALSE(Parse(HandMadeFile(0x00FF)));
}

TEST(LogFileTest, NoDevicesMakesTheFileInvalid)
{
    std::vector<uint8_t> bytes = HandMadeFile();
    bytes[53 + 22] = 0;
    EXPECT_FALSE(Parse(bytes));
}

TEST(LogFileTest, ConfigurationOver2048BytesIsInvalid)
{
    // End before start and a block larger than the image.
    EXPECT_FALSE(Parse(HandMadeFile(0x0100, 0x03FE)));
    std::vector<uint8_t> bytes = HandMadeFile(0x0100, 0x0400 + 2048);
    EXPECT_FALSE(Parse(bytes));
}

TEST(LogFileTest, BufferThatDoesNotFitWithTheLastValuesIsInvalid)
{
    EXPECT_FALSE(Parse(HandMadeFile(0x0100, 0x040F, 32767)));
    EXPECT_TRUE(Parse(HandMadeFile(0x0100, 0x040F, 32766)));
}

TEST(LogFileTest, PositionsOutsideTheRingAreInvalid)
{
    std::vector<uint8_t> bytes = HandMadeFile();
    bytes[84 + 4] = 6; // end position = buffer size
    EXPECT_FALSE(Parse(bytes));
    bytes = HandMadeFile();
    bytes[84 + 9] = 8; // start bit
    EXPECT_FALSE(Parse(bytes));
}

TEST(LogFileTest, RandomBytesAndMutationsNeverReadOutsideTheFile)
{
    std::mt19937 random(20261209);
    auto log = std::make_unique<TLog1>();
    const std::vector<uint8_t> valid = HandMadeFile();
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes;
        if (round % 2 == 0) {
            bytes.resize(random() % 400);
            for (auto& b : bytes)
                b = uint8_t(random());
        } else {
            bytes = valid;
            for (int flips = 0; flips < 3; ++flips)
                bytes[random() % bytes.size()] = uint8_t(random());
        }
        if (ParseLogFile(bytes, *log)) {
            // A file that parses saves back to the very same bytes.
            EXPECT_EQ(SerialiseLogFile(*log), bytes);
            log->CheckLog();
        }
    }
}

TEST(LogFileTest, NamesAreIdentityLetterAndTwoDigits)
{
    EXPECT_EQ(LogFileName(4660, 7, "LOG"), "4660A07.LOG");
    EXPECT_EQ(LogFileName(4660, 123, "LOG"), "4660B23.LOG");
    EXPECT_EQ(LogFileName(1, 0, "LOG"), "1A00.LOG");
    EXPECT_EQ(LogFileName(65535, 2599, "LOG"), "65535Z99.LOG");
}

class LogFileNumberTest : public ::testing::Test {
protected:
    void Touch(const QString& name) { ASSERT_TRUE(dir.WriteBytes(name, {})); }
    QString folder() const { return dir.path() + "/"; }
    QuorvelTest::TempFolder dir;
};

TEST_F(LogFileNumberTest, SearchSkipsExistingFiles)
{
    Touch("4660A07.LOG");
    Touch("4660A08.LOG");
    EXPECT_EQ(FreeLogFileNumber(folder(), 4660, 7, "LOG"), 9);
    EXPECT_EQ(FreeLogFileNumber(folder(), 4660, 6, "LOG"), 6);
    EXPECT_EQ(FreeLogFileNumber(folder(), 4661, 7, "LOG"), 7); // another interface unit's names
}

TEST_F(LogFileNumberTest, SearchGoesRoundToZeroAfterZ99)
{
    Touch("4660Z99.LOG");
    EXPECT_EQ(FreeLogFileNumber(folder(), 4660, 2599, "LOG"), 0);
    // A number from the logger beyond the lettered names starts at 0.
    Touch("4660A00.LOG");
    EXPECT_EQ(FreeLogFileNumber(folder(), 4660, 0xFFFF, "LOG"), 1);
}
