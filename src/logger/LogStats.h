#pragma once
// Summaries of a log table: each device's minimum, mean and maximum over the
// whole table or per day, and its excursions. Only cells with a value count;
// days are those of the logger's clock (local).
#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace Quorvel1 {

class TLogTable;

struct TLogSummary {
    int Count = 0; // values counted; the rest is meaningless when 0
    double Minimum = 0;
    double Mean = 0;
    double Maximum = 0;
    int Exponent = 0; // of the device's fixed-point values, for their text
};

struct TLogDay {
    QDate Date;
    std::vector<TLogSummary> Devices; // per column
};

// Minimum, mean and maximum kept up to date as values are added.
class TLogRunningSummary {
public:
    void Add(double value)
    {
        if (summary_.Count == 0 || value < summary_.Minimum)
            summary_.Minimum = value;
        if (summary_.Count == 0 || value > summary_.Maximum)
            summary_.Maximum = value;
        sum_ += value;
        ++summary_.Count;
        summary_.Mean = sum_ / summary_.Count;
    }
    void SetExponent(int exponent) { summary_.Exponent = exponent; }
    const TLogSummary& Summary() const { return summary_; }

private:
    TLogSummary summary_;
    double sum_ = 0;
};

// A run of a device's values more than three standard deviations from its
// mean over the rows summarised, or a break in the series (Column -1).
struct TLogExcursion {
    int Column = -1;
    std::uint32_t FromLocal = 0; // the first and last row of the run
    std::uint32_t ToLocal = 0;
    double Extreme = 0;          // the value furthest from the mean
};

// The rows whose local date lies from `from` to `to` (a null date leaves that
// end open).
std::vector<std::size_t> LogRowsBetween(const TLogTable& table, QDate from, QDate to);
std::vector<TLogSummary> SummariseLog(const TLogTable& table, const std::vector<std::size_t>& rows);
std::vector<TLogDay> SummariseLogDays(const TLogTable& table, const std::vector<std::size_t>& rows);
std::vector<TLogExcursion> LogExcursions(const TLogTable& table, const std::vector<std::size_t>& rows);

QDate LogLocalDate(std::uint32_t local);
// A value of the summaries as text with the device's decimals.
QString LogNumberText(double value, int exponent);

} // namespace Quorvel1
