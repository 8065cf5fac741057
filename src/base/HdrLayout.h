#pragma once
// The arithmetic of a header list box's columns, apart from any painting: how
// a column's width follows its texts, where each column sits inside one
// record, how many records fit side by side (newspaper style, the header
// repeated over each record column), and how the records flow down one
// record column and on into the next.
#include <cstdint>
#include <vector>

namespace Quorvel1 {

enum class THdrAlignment : std::uint8_t { Left = 0, Right = 1, Centre = 2 };

namespace HdrLayout {

constexpr int DefaultGap = 10;    // between two columns
constexpr int DefaultMargin = 5;  // after the last column
constexpr int FirstLeft = 2;      // before the first column
// Texts get this much room, in percent of their width.
constexpr int FitPercent = 130;

// The width a column takes for a text `textWidth` pixels wide: 130 % of it,
// at most `maxWidth` when that is above 0, and never less than `width`.
int FittedWidth(int width, int textWidth, int maxWidth);

struct TColumn {
    int Width = 0;
    bool Visible = true;
};

struct TRecordLayout {
    std::vector<int> Lefts; // each column's offset inside a record; hidden ones take no room
    int RecordWidth = 0;
    int RecordColumns = 1;     // side by side in the control, at least 1
    int RecordColumnWidth = 0; // control width / record columns
};

TRecordLayout LayoutRecord(const std::vector<TColumn>& columns, int controlWidth,
                           int gap = DefaultGap, int margin = DefaultMargin);

// Where a text `textWidth` wide starts in a column at `left` of `width`.
int AlignedX(int left, int width, int textWidth, THdrAlignment alignment);

// Where column `column`'s title starts in the header over record column
// `recordColumn`.
int TitleX(const TRecordLayout& layout, const std::vector<TColumn>& columns, int column,
           int recordColumn, int titleWidth, THdrAlignment alignment);

// The records run down a record column as far as `visibleRows` reach, then on
// at the top of the next; at least the record columns that fit are shown,
// more when the records need them (the control then scrolls sideways).
struct TFlow {
    int RowsPerColumn = 1; // rows a record column holds
    int Rows = 0;          // rows in use: fewer when the records are fewer
    int RecordColumns = 1; // record columns shown
};

TFlow FlowRecords(int records, int visibleRows, int fittingRecordColumns);

struct TPlace {
    int Row = 0;
    int RecordColumn = 0;
};

TPlace PlaceOfRecord(int record, const TFlow& flow);
// The record at a place; -1 where there is none.
int RecordAt(const TPlace& place, const TFlow& flow, int records);

// The width of each column's share of a record column, as cells of a grid:
// a visible column reaches from its left to the next visible column's left,
// the first also takes the room before it and the last all the room to the
// end of the record column; hidden columns get 0.
std::vector<int> CellWidths(const TRecordLayout& layout, const std::vector<TColumn>& columns);
// Where column `column` starts inside its cell (the room before the first
// column belongs to its cell).
int OffsetInCell(const TRecordLayout& layout, const std::vector<TColumn>& columns, int column);

} // namespace HdrLayout

} // namespace Quorvel1
