#pragma once
// A device's trend for a chart: the log table's values of one column over a
// time range, reduced to what a chart of a given width in pixels can show.
// Each pixel column keeps its first, lowest, highest and last value, so the
// line drawn through them covers every value the full series would, and a
// year of entries costs no more to draw than a day's.
//
// A break in the log (entries missing between two downloads) and a row
// without a value (no value, not set, not logged) end the line: the trend is
// made of runs drawn apart. Times are the PC's clock (UTC), in milliseconds
// since 1970, as charts' time axes take them.
#include "logger/LogStats.h"

#include <QList>
#include <QPointF>

#include <cstddef>
#include <optional>
#include <vector>

namespace Quorvel1 {

class TLogTable;

struct TLogTrend {
    std::vector<QList<QPointF>> Runs; // in time order; x: time (ms), y: the value
    std::size_t PointCount() const;
};

// A device's limits; a missing end is not checked.
struct TLogLimits {
    std::optional<double> Low;
    std::optional<double> High;
    bool Outside(double value) const { return (Low && value < *Low) || (High && value > *High); }
};

class TLogPointReducer {
public:
    // Keeps a reference to `table`, which must outlive the reducer.
    explicit TLogPointReducer(const TLogTable& table);

    // The time of the first and the last row; both 0 for an empty table.
    double FirstTime() const;
    double LastTime() const;

    // The column's values from `from` to `to` (ms) for `pixels` columns of
    // pixels, with the nearest row on either side of the range so that the
    // line runs to the chart's edges.
    TLogTrend Reduce(std::size_t column, double from, double to, int pixels) const;
    // The number of rows from `from` to `to`.
    std::size_t EntriesBetween(double from, double to) const;
    // The column's minimum, mean and maximum over the rows from `from` to `to`.
    TLogSummary Summarise(std::size_t column, double from, double to) const;

private:
    // The column's values as numbers, NaN where a row has none; made on
    // first use, since a chart shows only a few of a log's devices.
    const std::vector<double>& Values(std::size_t column) const;

    const TLogTable& table_;
    std::vector<double> times_;
    std::vector<bool> breaks_; // a row after entries missing (TLogRow::GapBefore)
    mutable std::vector<std::vector<double>> values_;
};

// The points of `trend` outside `limits`. Each pixel column keeps its
// extremes, so every column where a value left its limits has a mark.
QList<QPointF> LogPointsOutside(const TLogTrend& trend, const TLogLimits& limits);

} // namespace Quorvel1
