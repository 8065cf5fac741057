// Reading log files into a table and writing it as CSV: hand-made logs whose
// every value and time is known, appended downloads, cut-off and corrupt
// files, and the CSV text byte for byte.
#include "logger/LogCsv.h"
#include "logger/LogFile.h"
#include "logger/LogReader.h"
#include "logger/LogStats.h"

#include "logger/Log1.h"
#include "site/Site.h"

#include "logger/HandLog.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Quorvel1;
using namespace LogTest;

namespace {

std::vector<uint8_t> Joined(std::vector<uint8_t> first, const std::vector<uint8_t>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const TDeviceKey Sensor5{SensorTypeByte, 0x05};
const TDeviceKey AsmNorth{AsmTypeByte, 0x0021}; // unit 1, airspace 1, message 0
const TDeviceKey AsmSouth{AsmTypeByte, 0x0242}; // unit 2, airspace 2, message 1

// The site's names: one with a comma and quotes, one with units and
// decimals; the sensor is not in the site.
std::unique_ptr<TSite> NamingSite()
{
    auto site = std::make_unique<TSite>();
    site->SetDescription(QStringLiteral("North store"));
    auto north = TSite::CreateFromKey(AsmNorth);
    north->SetName(QStringLiteral("Cold, \"A\""));
    north->Exponent = -1;
    north->Units = 'C';
    site->Devices.push_back(std::move(north));
    auto south = TSite::CreateFromKey(AsmSouth);
    south->SetName(QStringLiteral("Fan"));
    site->Devices.push_back(std::move(south));
    return site;
}

THandLog SmallLog()
{
    THandLog hand;
    hand.Keys = {Sensor5, AsmNorth, AsmSouth};
    hand.Values = {
        {100, uint16_t(-125), 3},
        {0x8001, 0, 0x7FFF},          // the sensor and the fan not set
        {0x9000, uint16_t(-3), 40000}, // no value for the sensor
    };
    return hand;
}

TLogTable Read(const std::vector<uint8_t>& bytes, std::unique_ptr<TSite> site = nullptr)
{
    return ReadLogBytes(bytes, QStringLiteral("/logs/4660A07.LOG"), std::move(site));
}

std::vector<uint16_t> RawRow(const TLogTable& table, std::size_t row)
{
    std::vector<uint16_t> raw;
    for (const auto& value : table.Rows.at(row).Raw)
        raw.push_back(value.value_or(0xDEAD));
    return raw;
}

} // namespace

TEST(LogReaderTest, EveryEntryGivesItsValuesAndTimes)
{
    const THandLog hand = SmallLog();
    const TLogTable table = Read(LogBytes(hand), NamingSite());
    ASSERT_TRUE(table.Ok()) << table.Error.toStdString();
    EXPECT_EQ(table.SiteName, "North store");
    ASSERT_EQ(table.Rows.size(), hand.Values.size());
    for (std::size_t row = 0; row < hand.Values.size(); ++row) {
        EXPECT_EQ(RawRow(table, row), hand.Values[row]) << row;
        const uint32_t back = uint32_t(hand.Values.size() - 1 - row) * hand.Interval;
        EXPECT_EQ(table.Rows[row].Utc, NewestUtc - back);
        EXPECT_EQ(table.Rows[row].Local, NewestUtc + LocalAhead - back);
        EXPECT_FALSE(table.Rows[row].GapBefore);
    }
    ASSERT_EQ(table.Columns.size(), 3u);
    EXPECT_EQ(table.Heading(0), "SENSOR0/6 [C]"); // channels count from 1; a new sensor is a thermistor
    EXPECT_EQ(table.Heading(1), "Cold, \"A\" [C]");
    EXPECT_EQ(table.Heading(2), "Fan");
}

TEST(LogReaderTest, CellsKeepValuesNoValueNotSetApart)
{
    const TLogTable table = Read(LogBytes(SmallLog()), NamingSite());
    struct Case {
        std::size_t Row, Column;
        TLogCellState State;
        const char* Text;
    };
    const Case cases[] = {
        {0, 0, TLogCellState::Value, "77.3"},    {0, 1, TLogCellState::Value, "-12.5"},
        {1, 0, TLogCellState::NotSet, "-----"}, {1, 2, TLogCellState::NotSet, "-----"},
        {2, 0, TLogCellState::NoValue, ""},     {2, 1, TLogCellState::Value, "-0.3"},
        {2, 2, TLogCellState::Value, "-25536"},
    };
    for (const Case& c : cases) {
        const TLogCell cell = table.Cell(c.Row, c.Column);
        EXPECT_EQ(cell.State, c.State) << c.Row << "," << c.Column;
        EXPECT_EQ(cell.Text, c.Text) << c.Row << "," << c.Column;
    }
}

TEST(LogReaderTest, CsvIsExactlyAsWritten)
{
    const TLogTable table = Read(LogBytes(SmallLog()), NamingSite());
    EXPECT_EQ(LogTableCsv(table),
              "Local time,UTC time,SENSOR0/6 [C],\"Cold, \"\"A\"\" [C]\",Fan\r\n"
              "2026-05-28T22:00:00+02:00,2026-05-28T20:00:00Z,77.3,-12.5,3\r\n"
              "2026-05-28T22:15:00+02:00,2026-05-28T20:15:00Z,-----,0.0,-----\r\n"
              "2026-05-28T22:30:00+02:00,2026-05-28T20:30:00Z,,-0.3,-25536\r\n");
    EXPECT_EQ(LogTableCsv(table, {.Semicolon = true}),
              "Local time;UTC time;SENSOR0/6 [C];\"Cold, \"\"A\"\" [C]\";Fan\r\n" // quoted for its quotes
              "2026-05-28T22:00:00+02:00;2026-05-28T20:00:00Z;77.3;-12.5;3\r\n"
              "2026-05-28T22:15:00+02:00;2026-05-28T20:15:00Z;-----;0.0;-----\r\n"
              "2026-05-28T22:30:00+02:00;2026-05-28T20:30:00Z;;-0.3;-25536\r\n");
}

TEST(LogReaderTest, AppendedDownloadsReadAsOneSeriesWithTheirGap)
{
    THandLog first;
    first.Keys = {AsmNorth};
    first.Values = {{1}, {2}, {3}};
    first.NewestPC = NewestUtc;
    THandLog second = first; // two entries again, a few seconds off, then on
    second.Values = {{2}, {3}, {4}, {5}};
    second.NewestPC = NewestUtc + 2 * 900 + 4;
    second.NewestLocal = second.NewestPC + LocalAhead;
    THandLog third = first; // after a break of two entries
    third.Values = {{9}};
    third.NewestPC = second.NewestPC + 3 * 900;
    const TLogTable table = Read(Joined(Joined(LogBytes(first), LogBytes(second)), LogBytes(third)));
    ASSERT_TRUE(table.Ok()) << table.Error.toStdString();
    std::vector<uint16_t> values;
    std::vector<bool> gaps;
    for (std::size_t row = 0; row < table.Rows.size(); ++row) {
        values.push_back(RawRow(table, row).at(0));
        gaps.push_back(table.Rows[row].GapBefore);
    }
    EXPECT_EQ(values, (std::vector<uint16_t>{1, 2, 3, 4, 5, 9}));
    EXPECT_EQ(gaps, (std::vector<bool>{false, false, false, false, false, true}));
}

TEST(LogReaderTest, BrokenFilesNameTheFileAndKeepWhatCameBefore)
{
    THandLog earlier;
    earlier.Keys = {AsmNorth};
    earlier.Values = {{1}, {2}};
    THandLog later = earlier;
    later.Values = {{3}, {4}, {5}};
    later.NewestPC = NewestUtc + 3 * 900;
    const std::vector<uint8_t> good = LogBytes(earlier);
    std::vector<uint8_t> cut = LogBytes(later);
    cut.resize(cut.size() - 10);
    std::vector<uint8_t> corrupt = LogBytes(later);
    std::fill(corrupt.end() - 256, corrupt.end(), uint8_t(0xFF)); // five 1-bits: no logger code
    std::vector<uint8_t> misplaced = LogBytes(later);
    misplaced[84 + 4] = uint8_t(misplaced[84 + 4] + 1); // the end position one byte on
    std::vector<uint8_t> badFormat = LogBytes(later);
    badFormat[41 + 1] = 0x02;

    struct Case {
        std::vector<uint8_t> Bytes;
        const char* Says;
    };
    const Case cases[] = {
        {Joined(good, cut), "4660A07.LOG: the file is cut off: the download at byte "},
        {Joined(good, corrupt), "is corrupt: entry 1 of 3 holds a code no logger writes"},
        {Joined(good, misplaced), "is corrupt: its 3 entries do not end at the end position"},
        {Joined(good, badFormat), "is not a valid log: its format word is 0x0200"},
        {Joined(good, {1, 2, 3}), "the file is cut off"},
    };
    for (const Case& c : cases) {
        const TLogTable table = Read(c.Bytes);
        EXPECT_FALSE(table.Ok());
        EXPECT_TRUE(table.Error.contains(QString::fromLatin1(c.Says))) << table.Error.toStdString();
        ASSERT_EQ(table.Rows.size(), 2u) << c.Says;
        EXPECT_EQ(RawRow(table, 1), std::vector<uint16_t>{2});
    }
    const TLogTable alone = Read(cut);
    EXPECT_TRUE(alone.Error.startsWith("4660A07.LOG: the file is cut off: the log needs")) << alone.Error.toStdString();
    EXPECT_TRUE(alone.Rows.empty());
}

TEST(LogReaderTest, SummariesCountOnlyValuesAndFindExcursions)
{
    THandLog hand;
    hand.Keys = {AsmNorth};
    hand.Interval = 3600;
    for (int hour = 0; hour < 30; ++hour)
        hand.Values.push_back({uint16_t(hour == 20 ? 900 : hour == 3 ? 0x7FFF : 100 + hour % 2)});
    const TLogTable table = Read(LogBytes(hand), NamingSite());
    const std::vector<std::size_t> rows = LogRowsBetween(table, {}, {});
    ASSERT_EQ(rows.size(), 30u);
    const std::vector<TLogSummary> whole = SummariseLog(table, rows);
    EXPECT_EQ(whole[0].Count, 29); // the entry not set is left out
    EXPECT_DOUBLE_EQ(whole[0].Minimum, 10.0);
    EXPECT_DOUBLE_EQ(whole[0].Maximum, 90.0);
    const std::vector<TLogDay> days = SummariseLogDays(table, rows);
    ASSERT_EQ(days.size(), 2u); // 17:30 local on the first day to 22:30 on the next
    EXPECT_EQ(days[0].Date, QDate(2026, 5, 27));
    EXPECT_EQ(days[0].Devices[0].Count + days[1].Devices[0].Count, 29);
    const std::vector<TLogExcursion> excursions = LogExcursions(table, rows);
    ASSERT_EQ(excursions.size(), 1u);
    EXPECT_EQ(excursions[0].Column, 0);
    EXPECT_EQ(excursions[0].FromLocal, table.Rows[20].Local);
    EXPECT_DOUBLE_EQ(excursions[0].Extreme, 90.0);
    EXPECT_EQ(LogRowsBetween(table, QDate(2026, 5, 28), {}).size(), rows.size() - std::size_t(days[0].Devices[0].Count + 1));
}
