#include "base/HdrLayout.h"

#include <algorithm>

namespace Quorvel1::HdrLayout {

int FittedWidth(int width, int textWidth, int maxWidth)
{
    int wanted = textWidth * FitPercent / 100;
    if (maxWidth > 0)
        wanted = std::min(wanted, maxWidth);
    return std::max(width, wanted);
}

TRecordLayout LayoutRecord(const std::vector<TColumn>& columns, int controlWidth, int gap,
                           int margin)
{
    TRecordLayout layout;
    int x = FirstLeft;
    for (const TColumn& column : columns) {
        layout.Lefts.push_back(x);
        if (column.Visible)
            x += column.Width + gap;
    }
    layout.RecordWidth = x + margin;
    layout.RecordColumns = std::max(1, controlWidth / layout.RecordWidth);
    layout.RecordColumnWidth = controlWidth / layout.RecordColumns;
    return layout;
}

int AlignedX(int left, int width, int textWidth, THdrAlignment alignment)
{
    switch (alignment) {
    case THdrAlignment::Right:
        return left + width - textWidth;
    case THdrAlignment::Centre:
        return left + (width - textWidth) / 2;
    case THdrAlignment::Left:
        break;
    }
    return left;
}

int TitleX(const TRecordLayout& layout, const std::vector<TColumn>& columns, int column,
           int recordColumn, int titleWidth, THdrAlignment alignment)
{
    const int left = layout.RecordColumnWidth * recordColumn + layout.Lefts[column] + 1;
    return AlignedX(left, columns[column].Width, titleWidth, alignment);
}

TFlow FlowRecords(int records, int visibleRows, int fittingRecordColumns)
{
    TFlow flow;
    flow.RowsPerColumn = std::max(1, visibleRows);
    flow.Rows = std::min(records, flow.RowsPerColumn);
    const int needed = (records + flow.RowsPerColumn - 1) / flow.RowsPerColumn;
    flow.RecordColumns = std::max({1, fittingRecordColumns, needed});
    return flow;
}

TPlace PlaceOfRecord(int record, const TFlow& flow)
{
    return {record % flow.RowsPerColumn, record / flow.RowsPerColumn};
}

int RecordAt(const TPlace& place, const TFlow& flow, int records)
{
    if (place.Row < 0 || place.Row >= flow.RowsPerColumn || place.RecordColumn < 0)
        return -1;
    const int record = place.RecordColumn * flow.RowsPerColumn + place.Row;
    return record < records ? record : -1;
}

std::vector<int> CellWidths(const TRecordLayout& layout, const std::vector<TColumn>& columns)
{
    std::vector<int> widths(columns.size(), 0);
    int last = -1;
    for (int c = 0; c < int(columns.size()); ++c) {
        if (!columns[c].Visible)
            continue;
        if (last >= 0)
            widths[last] = layout.Lefts[c] - layout.Lefts[last];
        last = c;
    }
    if (last < 0)
        return widths;
    widths[last] = std::max(columns[last].Width, layout.RecordColumnWidth - layout.Lefts[last]);
    // The first visible cell starts at the record column's edge.
    for (int c = 0; c < int(columns.size()); ++c) {
        if (columns[c].Visible) {
            widths[c] += layout.Lefts[c];
            break;
        }
    }
    return widths;
}

int OffsetInCell(const TRecordLayout& layout, const std::vector<TColumn>& columns, int column)
{
    for (int c = 0; c < column; ++c) {
        if (columns[c].Visible)
            return 0;
    }
    return layout.Lefts[column];
}

} // namespace Quorvel1::HdrLayout
