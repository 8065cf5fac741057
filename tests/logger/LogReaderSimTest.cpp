// A log downloaded from the site simulator reads back as the simulator's
// logger holds it: as many entries, the newest one at the newest entry's
// times and holding the logger's last values, the others one interval apart.
#include "logger/LogReader.h"

#include "logger/LoggerSimFixture.h"

#include <gtest/gtest.h>

using namespace Quorvel1;

namespace {

class LogReaderSimTest : public QuorvelTest::LoggerSimFixture {};

} // namespace

TEST_F(LogReaderSimTest, DownloadedLogReadsAsTheSimulatorHoldsIt)
{
    Start("logger prefill 300\nlogger clock-stopped\n");
    QString fileName;
    ASSERT_TRUE(log->Download(fileName, Folder()));
    const TDump dump = Dump();
    const TLogTable table = ReadLogFile(fileName);
    ASSERT_TRUE(table.Ok()) << table.Error.toStdString();

    const int entries = Number(dump, "entries");
    ASSERT_EQ(int(table.Rows.size()), entries);
    const QByteArray last = DumpBytes(dump, "last_values");
    ASSERT_EQ(int(table.Columns.size()) * 2, last.size());
    for (std::size_t column = 0; column < table.Columns.size(); ++column) {
        const uint16_t expected = uint16_t(uint8_t(last[int(2 * column)]) | uint8_t(last[int(2 * column + 1)]) << 8);
        EXPECT_EQ(table.Rows.back().Raw[column], expected) << column;
    }
    // The download sets the newest entry 3 s before the logger's clock less
    // its interval timer, for the time the commands take.
    const uint32_t newest = uint32_t(std::stoul(dump.at("newest_entry_time"))) - 3;
    const uint32_t interval = uint32_t(Number(dump, "interval"));
    for (int row = 0; row < entries; ++row) {
        EXPECT_EQ(table.Rows[std::size_t(row)].Local, newest - uint32_t(entries - 1 - row) * interval) << row;
        EXPECT_EQ(table.Rows[std::size_t(row)].Utc - table.Rows[0].Utc, uint32_t(row) * interval) << row;
    }
    // Every entry leads from the values before it to the logger's last ones:
    // the reader's rows are the model's own decoding of the same bytes.
    const auto saved = QuorvelTest::LoadLog(fileName);
    ASSERT_NE(saved, nullptr);
    std::vector<uint16_t> values(saved->LoggedDeviceCount());
    ASSERT_TRUE(saved->CheckLog(values));
    for (int row = 0; row < entries; ++row) {
        ASSERT_TRUE(saved->DecodeEntry(values));
        for (std::size_t column = 0; column < values.size(); ++column)
            ASSERT_EQ(table.Rows[std::size_t(row)].Raw[column], values[column]) << row << "," << column;
    }
}
