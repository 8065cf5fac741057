#pragma once
// The trend of a few devices drawn with a plain QPainter, for pages rather
// than windows (the PDF report has no widgets): a frame with the value scale
// on the left and the times below, each device's line in its colour, apart
// at breaks in the log, and a legend under it. The lines are reduced to the
// area's width as the viewer's chart reduces them.
#include <QColor>
#include <QRectF>

#include <cstddef>
#include <vector>

class QPainter;

namespace Quorvel1 {

class TLogPointReducer;
class TLogTable;

// The colour of the `index`th device of a trend.
QColor LogTrendColour(std::size_t index);

// Draws the devices `columns` of `table` from `from` to `to` (ms since 1970,
// the PC's clock) into `area`, in the painter's font.
void PaintLogTrend(QPainter& painter, const QRectF& area, const TLogTable& table, const TLogPointReducer& reducer,
                   const std::vector<std::size_t>& columns, double from, double to);

} // namespace Quorvel1
