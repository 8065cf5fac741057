// The trend's point reducer: which rows each pixel column keeps, where runs
// break, the range's neighbours, the visible range's summary against the
// table's own, and the bound on points for a long log.
#include "logger/LogPointReducer.h"

#include "logger/HandLog.h"
#include "logger/LogReader.h"

#include <gtest/gtest.h>

#include <random>

using namespace Quorvel1;

namespace {

constexpr uint16_t NotSet = 0x7FFF; // an ASM reading's own no-value marker

LogTest::THandLog OneDevice(const std::vector<uint16_t>& values)
{
    LogTest::THandLog hand;
    hand.Keys = {{LogTest::AsmTypeByte, 0x0021}};
    for (const uint16_t value : values)
        hand.Values.push_back({value});
    hand.BufferSize = 8192;
    return hand;
}

TLogTable TableOf(const LogTest::THandLog& hand)
{
    return ReadLogBytes(LogTest::LogBytes(hand), QStringLiteral("4660A03.LOG"));
}

// The rows a trend's runs hold, by their times.
std::vector<std::vector<int>> RowsOf(const TLogTrend& trend, const TLogTable& table)
{
    std::vector<std::vector<int>> runs;
    for (const QList<QPointF>& run : trend.Runs) {
        runs.emplace_back();
        for (const QPointF& point : run) {
            const auto row = std::find_if(table.Rows.begin(), table.Rows.end(),
                                          [&](const TLogRow& r) { return r.Utc * 1000.0 == point.x(); });
            runs.back().push_back(row == table.Rows.end() ? -1 : int(row - table.Rows.begin()));
        }
    }
    return runs;
}

struct TReduceCase {
    const char* Name;
    std::vector<uint16_t> Values;
    int Pixels;
    int FirstRow; // the range shown, by rows
    int LastRow;
    std::vector<std::vector<int>> Runs;
};

void PrintTo(const TReduceCase& c, std::ostream* out)
{
    *out << c.Name;
}

const TReduceCase ReduceCases[] = {
    {"EveryRowWhenPixelsOutnumberRows", {5, 7, 6}, 10, 0, 2, {{0, 1, 2}}},
    {"OnePixelKeepsFirstLowestHighestLast", {5, 9, 1, 7, 3}, 1, 0, 4, {{0, 1, 2, 4}}},
    {"EachPixelKeepsItsOwnEnds", {1, 2, 3, 4, 5, 6, 7, 8}, 2, 0, 7, {{0, 3, 4, 7}}},
    {"NotSetEndsTheRun", {5, 6, NotSet, 7, 8}, 10, 0, 4, {{0, 1}, {3, 4}}},
    {"RangeTakesOneNeighbourEachSide", {1, 2, 3, 4, 5, 6, 7, 8, 9}, 100, 3, 5, {{2, 3, 4, 5, 6}}},
};

class LogPointReducerTest : public testing::TestWithParam<TReduceCase> {};

} // namespace

TEST_P(LogPointReducerTest, KeepsTheRowsOfEachPixelColumnInTimeOrder)
{
    const TReduceCase& c = GetParam();
    const TLogTable table = TableOf(OneDevice(c.Values));
    ASSERT_TRUE(table.Ok()) << qPrintable(table.Error);
    const TLogPointReducer reducer(table);
    const TLogTrend trend = reducer.Reduce(0, table.Rows[std::size_t(c.FirstRow)].Utc * 1000.0,
                                           table.Rows[std::size_t(c.LastRow)].Utc * 1000.0, c.Pixels);
    const std::vector<std::vector<int>> rows = RowsOf(trend, table);
    ASSERT_EQ(rows, c.Runs);
    for (std::size_t run = 0; run < rows.size(); ++run) {
        for (std::size_t i = 0; i < rows[run].size(); ++i)
            EXPECT_EQ(trend.Runs[run][qsizetype(i)].y(), double(int16_t(c.Values[std::size_t(rows[run][i])])));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LogPointReducerTest, testing::ValuesIn(ReduceCases),
                         [](const testing::TestParamInfo<TReduceCase>& info) { return info.param.Name; });

TEST(LogPointReducerBreaks, ABreakBetweenDownloadsEndsTheRun)
{
    LogTest::THandLog first = OneDevice({1, 2, 3});
    LogTest::THandLog second = OneDevice({4, 5});
    second.NewestPC = first.NewestPC + 5 * 900; // three entries missing between them
    second.NewestLocal = second.NewestPC + LogTest::LocalAhead;
    std::vector<uint8_t> bytes = LogTest::LogBytes(first);
    const std::vector<uint8_t> more = LogTest::LogBytes(second);
    bytes.insert(bytes.end(), more.begin(), more.end());
    const TLogTable table = ReadLogBytes(bytes, QStringLiteral("4660A03.LOG"));
    ASSERT_TRUE(table.Ok()) << qPrintable(table.Error);
    const TLogPointReducer reducer(table);
    const TLogTrend trend = reducer.Reduce(0, reducer.FirstTime(), reducer.LastTime(), 100);
    EXPECT_EQ(RowsOf(trend, table), (std::vector<std::vector<int>>{{0, 1, 2}, {3, 4}}));
}

TEST(LogPointReducerLimits, MarksThePointsBeyondEitherLimit)
{
    const TLogTable table = TableOf(OneDevice({1, 5, 9, 5, uint16_t(-3)}));
    const TLogPointReducer reducer(table);
    const TLogTrend trend = reducer.Reduce(0, reducer.FirstTime(), reducer.LastTime(), 100);
    const struct {
        TLogLimits Limits;
        std::vector<double> Marked;
    } cases[] = {
        {{2.0, 8.0}, {1, 9, -3}},
        {{std::nullopt, 8.0}, {9}},
        {{0.0, std::nullopt}, {-3}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        std::vector<double> marked;
        for (const QPointF& point : LogPointsOutside(trend, c.Limits))
            marked.push_back(point.y());
        EXPECT_EQ(marked, c.Marked);
    }
}

TEST(LogPointReducerSummary, VisibleRangeAgreesWithTheTablesSummary)
{
    LogTest::THandLog hand;
    hand.Keys = {{LogTest::AsmTypeByte, 0x0021}, {LogTest::AsmTypeByte, 0x0242}};
    hand.Values = {{30, 5}, {10, NotSet}, {20, uint16_t(-4)}, {25, 7}, {12, 1}};
    const TLogTable table = TableOf(hand);
    const TLogPointReducer reducer(table);
    const struct {
        std::size_t First, Last;
    } ranges[] = {{0, 4}, {1, 2}, {3, 3}};
    for (const auto& range : ranges) {
        std::vector<std::size_t> rows;
        for (std::size_t row = range.First; row <= range.Last; ++row)
            rows.push_back(row);
        const std::vector<TLogSummary> expected = SummariseLog(table, rows);
        for (std::size_t column = 0; column < 2; ++column) {
            const TLogSummary s = reducer.Summarise(column, table.Rows[range.First].Utc * 1000.0,
                                                    table.Rows[range.Last].Utc * 1000.0);
            EXPECT_EQ(s.Count, expected[column].Count) << range.First << ".." << range.Last;
            EXPECT_DOUBLE_EQ(s.Minimum, expected[column].Minimum);
            EXPECT_DOUBLE_EQ(s.Mean, expected[column].Mean);
            EXPECT_DOUBLE_EQ(s.Maximum, expected[column].Maximum);
        }
    }
}

TEST(LogPointReducerLongLog, KeepsAtMostFourPointsAPixelAndEveryExtreme)
{
    std::mt19937 random(7);
    std::vector<uint16_t> values{0};
    while (values.size() < 4000)
        values.push_back(uint16_t(values.back() + int(random() % 7) - 3));
    const TLogTable table = TableOf(OneDevice(values));
    ASSERT_TRUE(table.Ok()) << qPrintable(table.Error);
    const TLogPointReducer reducer(table);
    const double from = table.Rows[1000].Utc * 1000.0;
    const double to = table.Rows[3000].Utc * 1000.0;
    const TLogTrend trend = reducer.Reduce(0, from, to, 150);
    ASSERT_EQ(trend.Runs.size(), 1u);
    EXPECT_LE(trend.PointCount(), 4u * 150 + 2);
    EXPECT_GT(trend.PointCount(), 150u);
    const TLogSummary visible = reducer.Summarise(0, from, to);
    double low = 1e9, high = -1e9;
    for (qsizetype i = 0; i < trend.Runs[0].size(); ++i) {
        const QPointF& p = trend.Runs[0][i];
        if (i > 0) {
            EXPECT_LT(trend.Runs[0][i - 1].x(), p.x());
        }
        if (p.x() >= from && p.x() <= to) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    }
    EXPECT_EQ(low, visible.Minimum);
    EXPECT_EQ(high, visible.Maximum);
}
