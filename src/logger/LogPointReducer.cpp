#include "logger/LogPointReducer.h"

#include "logger/LogReader.h"
#include "site/Dev.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Quorvel1 {

namespace {

constexpr double MsPerSecond = 1000.0;
constexpr double NoNumber = std::numeric_limits<double>::quiet_NaN();

// The rows of one pixel column of one run: the first, the lowest, the
// highest and the last, drawn in time order.
class TPixelColumn {
public:
    bool Holds(long long pixel) const { return used_ && pixel_ == pixel; }

    void Add(long long pixel, std::size_t row, double value)
    {
        if (!used_) {
            used_ = true;
            pixel_ = pixel;
            first_ = lowest_ = highest_ = row;
            low_ = high_ = value;
        } else if (value < low_) {
            lowest_ = row;
            low_ = value;
        } else if (value > high_) {
            highest_ = row;
            high_ = value;
        }
        last_ = row;
    }

    void MoveTo(QList<QPointF>& run, const std::vector<double>& times, const std::vector<double>& values)
    {
        if (!used_)
            return;
        std::size_t rows[] = {first_, lowest_, highest_, last_};
        std::sort(std::begin(rows), std::end(rows));
        const auto end = std::unique(std::begin(rows), std::end(rows));
        for (auto row = std::begin(rows); row != end; ++row)
            run.append(QPointF(times[*row], values[*row]));
        used_ = false;
    }

private:
    bool used_ = false;
    long long pixel_ = 0;
    std::size_t first_ = 0, lowest_ = 0, highest_ = 0, last_ = 0;
    double low_ = 0, high_ = 0;
};

} // namespace

std::size_t TLogTrend::PointCount() const
{
    std::size_t count = 0;
    for (const QList<QPointF>& run : Runs)
        count += std::size_t(run.size());
    return count;
}

TLogPointReducer::TLogPointReducer(const TLogTable& table) : table_(table), values_(table.Columns.size())
{
    times_.reserve(table.Rows.size());
    breaks_.reserve(table.Rows.size());
    for (const TLogRow& row : table.Rows) {
        times_.push_back(double(row.Utc) * MsPerSecond);
        breaks_.push_back(row.GapBefore);
    }
}

std::size_t TLogPointReducer::EntriesBetween(double from, double to) const
{
    const auto first = std::lower_bound(times_.begin(), times_.end(), from);
    return std::size_t(std::upper_bound(first, times_.end(), to) - first);
}

double TLogPointReducer::FirstTime() const
{
    return times_.empty() ? 0 : times_.front();
}

double TLogPointReducer::LastTime() const
{
    return times_.empty() ? 0 : times_.back();
}

// As the table's cells read them (TLogTable::Cell), without their texts.
const std::vector<double>& TLogPointReducer::Values(std::size_t column) const
{
    std::vector<double>& values = values_[column];
    if (!values.empty() || table_.Rows.empty())
        return values;
    values.assign(table_.Rows.size(), NoNumber);
    const TDev* device = table_.Columns[column].Device;
    if (!device)
        return values;
    const double scale = std::pow(10.0, device->ValueExponent());
    const auto notSet = std::uint16_t(device->NoValue());
    for (std::size_t row = 0; row < table_.Rows.size(); ++row) {
        const std::vector<std::optional<std::uint16_t>>& raw = table_.Rows[row].Raw;
        if (column >= raw.size() || !raw[column] || *raw[column] == notSet)
            continue;
        const std::int16_t value = device->Convert(*raw[column]);
        if (value != device->NoValue())
            values[row] = double(value) * scale;
    }
    return values;
}

TLogTrend TLogPointReducer::Reduce(std::size_t column, double from, double to, int pixels) const
{
    TLogTrend trend;
    if (column >= values_.size() || times_.empty() || pixels <= 0)
        return trend;
    const std::vector<double>& values = Values(column);
    std::size_t begin = std::size_t(std::lower_bound(times_.begin(), times_.end(), from) - times_.begin());
    std::size_t end = std::size_t(std::upper_bound(times_.begin(), times_.end(), to) - times_.begin());
    begin -= begin > 0 ? 1 : 0;
    end += end < times_.size() ? 1 : 0;
    const double perPixel = std::max(to - from, 1.0) / pixels;

    QList<QPointF> run;
    TPixelColumn pixel;
    const auto endRun = [&] {
        pixel.MoveTo(run, times_, values);
        if (!run.isEmpty())
            trend.Runs.push_back(std::move(run));
        run = {};
    };
    for (std::size_t row = begin; row < end; ++row) {
        if (row > begin && breaks_[row])
            endRun();
        if (std::isnan(values[row])) {
            endRun();
            continue;
        }
        // The range's last pixel takes its end; the neighbours outside the
        // range are pixels of their own.
        const long long at = times_[row] < from ? -1
            : times_[row] > to                  ? pixels
                                                : std::min<long long>(pixels - 1, static_cast<long long>((times_[row] - from) / perPixel));
        if (!pixel.Holds(at))
            pixel.MoveTo(run, times_, values);
        pixel.Add(at, row, values[row]);
    }
    endRun();
    return trend;
}

TLogSummary TLogPointReducer::Summarise(std::size_t column, double from, double to) const
{
    TLogRunningSummary running;
    if (column >= values_.size())
        return running.Summary();
    if (const TDev* device = table_.Columns[column].Device)
        running.SetExponent(device->ValueExponent());
    const std::vector<double>& values = Values(column);
    const auto first = std::lower_bound(times_.begin(), times_.end(), from);
    const auto last = std::upper_bound(times_.begin(), times_.end(), to);
    for (auto at = first; at < last; ++at) {
        const double value = values[std::size_t(at - times_.begin())];
        if (!std::isnan(value))
            running.Add(value);
    }
    return running.Summary();
}

QList<QPointF> LogPointsOutside(const TLogTrend& trend, const TLogLimits& limits)
{
    QList<QPointF> outside;
    for (const QList<QPointF>& run : trend.Runs) {
        for (const QPointF& point : run) {
            if (limits.Outside(point.y()))
                outside.append(point);
        }
    }
    return outside;
}

} // namespace Quorvel1
