// The header list box's arithmetic: fitting widths to texts, the columns of a
// record, record columns side by side, the titles repeated over them, and the
// records flowing from one record column into the next.
#include "base/HdrLayout.h"

#include <gtest/gtest.h>

using namespace Quorvel1;
using namespace Quorvel1::HdrLayout;

namespace {

const std::vector<TColumn> ThreeColumns = {{40, true}, {60, true}, {90, true}};

struct TRecordCase {
    const char* What;
    std::vector<TColumn> Columns;
    int ControlWidth;
    std::vector<int> Lefts;
    int RecordWidth;
    int RecordColumns;
    int RecordColumnWidth;
    std::vector<int> CellWidths;
};

} // namespace

TEST(HdrLayout, RecordsLayOutSideBySideAsTheWidthAllows)
{
    const TRecordCase cases[] = {
        {"two records fit in 500", ThreeColumns, 500, {2, 52, 122}, 227, 2, 250, {52, 70, 128}},
        {"narrower than a record: still one", ThreeColumns, 100, {2, 52, 122}, 227, 1, 100, {52, 70, 90}},
        {"exactly one record", ThreeColumns, 227, {2, 52, 122}, 227, 1, 227, {52, 70, 105}},
        {"a hidden column takes no room", {{40, true}, {60, false}, {90, true}}, 500, {2, 52, 52}, 157, 3, 166, {52, 0, 114}},
        {"all hidden", {{40, false}, {60, false}}, 100, {2, 2}, 7, 14, 7, {0, 0}},
    };
    for (const TRecordCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TRecordLayout layout = LayoutRecord(c.Columns, c.ControlWidth);
        EXPECT_EQ(layout.Lefts, c.Lefts);
        EXPECT_EQ(layout.RecordWidth, c.RecordWidth);
        EXPECT_EQ(layout.RecordColumns, c.RecordColumns);
        EXPECT_EQ(layout.RecordColumnWidth, c.RecordColumnWidth);
        EXPECT_EQ(CellWidths(layout, c.Columns), c.CellWidths);
    }
}

TEST(HdrLayout, TheFirstColumnsCellTakesTheRoomBeforeIt)
{
    const std::vector<TColumn> firstHidden = {{40, false}, {60, true}, {90, true}};
    const TRecordLayout layout = LayoutRecord(firstHidden, 500);
    EXPECT_EQ(OffsetInCell(layout, firstHidden, 1), 2);
    EXPECT_EQ(OffsetInCell(layout, firstHidden, 2), 0);
    EXPECT_EQ(OffsetInCell(LayoutRecord(ThreeColumns, 500), ThreeColumns, 0), 2);
}

TEST(HdrLayout, TitlesRepeatOverEveryRecordColumn)
{
    const TRecordLayout layout = LayoutRecord(ThreeColumns, 500);
    struct {
        int Column, RecordColumn, TitleWidth;
        THdrAlignment Alignment;
        int X;
    } const cases[] = {
        {0, 0, 20, THdrAlignment::Left, 3},
        {0, 1, 20, THdrAlignment::Left, 253}, // 250 further right
        {1, 1, 20, THdrAlignment::Left, 303},
        {0, 0, 20, THdrAlignment::Centre, 13},
        {2, 1, 30, THdrAlignment::Right, 250 + 123 + 90 - 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.X);
        EXPECT_EQ(TitleX(layout, ThreeColumns, c.Column, c.RecordColumn, c.TitleWidth, c.Alignment), c.X);
    }
}

TEST(HdrLayout, WidthsGrowToFitTextsWithinTheirMaximum)
{
    struct {
        int Width, TextWidth, MaxWidth, Fitted;
    } const cases[] = {
        {40, 100, 0, 130}, {40, 100, 80, 80}, {40, 20, 0, 40}, {40, 30, 0, 40}, {40, 31, 0, 40},
        {40, 32, 0, 41}, {0, 0, 0, 0}, {90, 100, 80, 90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.TextWidth);
        EXPECT_EQ(FittedWidth(c.Width, c.TextWidth, c.MaxWidth), c.Fitted);
    }
}

TEST(HdrLayout, TextsAlignInsideTheirColumn)
{
    EXPECT_EQ(AlignedX(10, 50, 20, THdrAlignment::Left), 10);
    EXPECT_EQ(AlignedX(10, 50, 20, THdrAlignment::Right), 40);
    EXPECT_EQ(AlignedX(10, 50, 20, THdrAlignment::Centre), 25);
    EXPECT_EQ(AlignedX(10, 50, 70, THdrAlignment::Right), -10); // wider than its column
}

TEST(HdrLayout, RecordsRunDownOneRecordColumnThenTheNext)
{
    struct {
        const char* What;
        int Records, VisibleRows, Fitting;
        int Rows, RecordColumns;
    } const cases[] = {
        {"few records, wide control", 5, 20, 2, 5, 2},
        {"more records than rows", 30, 20, 1, 20, 2},
        {"rows for all", 30, 30, 1, 30, 1},
        {"no rows visible", 3, 0, 1, 1, 3},
        {"empty", 0, 10, 2, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const TFlow flow = FlowRecords(c.Records, c.VisibleRows, c.Fitting);
        EXPECT_EQ(flow.Rows, c.Rows);
        EXPECT_EQ(flow.RecordColumns, c.RecordColumns);
        for (int record = 0; record < c.Records; ++record)
            EXPECT_EQ(RecordAt(PlaceOfRecord(record, flow), flow, c.Records), record);
    }
    const TFlow flow = FlowRecords(25, 20, 2);
    EXPECT_EQ(PlaceOfRecord(20, flow).Row, 0);
    EXPECT_EQ(PlaceOfRecord(20, flow).RecordColumn, 1);
    EXPECT_EQ(RecordAt({5, 1}, flow, 25), -1); // after the last record
    EXPECT_EQ(RecordAt({20, 0}, flow, 25), -1);
}
