#include "logger/LogStats.h"

#include "logger/LogReader.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <optional>

namespace Quorvel1 {

namespace {

constexpr double ExcursionDeviations = 3.0;

double Scaled(const TLogCell& cell)
{
    return double(cell.Value) * std::pow(10.0, cell.Exponent);
}

} // namespace

QDate LogLocalDate(std::uint32_t local)
{
    return QDateTime::fromSecsSinceEpoch(qint64(local), Qt::UTC).date();
}

QString LogNumberText(double value, int exponent)
{
    return QString::number(value, 'f', std::max(0, -exponent));
}

std::vector<std::size_t> LogRowsBetween(const TLogTable& table, QDate from, QDate to)
{
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < table.Rows.size(); ++row) {
        const QDate date = LogLocalDate(table.Rows[row].Local);
        if ((from.isNull() || date >= from) && (to.isNull() || date <= to))
            rows.push_back(row);
    }
    return rows;
}

std::vector<TLogSummary> SummariseLog(const TLogTable& table, const std::vector<std::size_t>& rows)
{
    std::vector<TLogRunningSummary> running(table.Columns.size());
    for (const std::size_t row : rows) {
        for (std::size_t column = 0; column < running.size(); ++column) {
            const TLogCell cell = table.Cell(row, column);
            if (cell.State == TLogCellState::Value) {
                running[column].SetExponent(cell.Exponent);
                running[column].Add(Scaled(cell));
            }
        }
    }
    std::vector<TLogSummary> summaries;
    for (const TLogRunningSummary& r : running)
        summaries.push_back(r.Summary());
    return summaries;
}

std::vector<TLogDay> SummariseLogDays(const TLogTable& table, const std::vector<std::size_t>& rows)
{
    std::vector<TLogDay> days;
    std::size_t first = 0;
    while (first < rows.size()) {
        const QDate date = LogLocalDate(table.Rows[rows[first]].Local);
        std::size_t end = first;
        while (end < rows.size() && LogLocalDate(table.Rows[rows[end]].Local) == date)
            ++end;
        const std::vector<std::size_t> dayRows(rows.begin() + std::ptrdiff_t(first), rows.begin() + std::ptrdiff_t(end));
        days.push_back({date, SummariseLog(table, dayRows)});
        first = end;
    }
    return days;
}

std::vector<TLogExcursion> LogExcursions(const TLogTable& table, const std::vector<std::size_t>& rows)
{
    std::vector<TLogExcursion> excursions;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if (table.Rows[rows[i]].GapBefore)
            excursions.push_back({-1, table.Rows[rows[i - 1]].Local, table.Rows[rows[i]].Local, 0});
    }
    const std::vector<TLogSummary> summaries = SummariseLog(table, rows);
    for (std::size_t column = 0; column < table.Columns.size(); ++column) {
        const TLogSummary& s = summaries[column];
        if (s.Count < 2)
            continue;
        double squares = 0;
        for (const std::size_t row : rows) {
            const TLogCell cell = table.Cell(row, column);
            if (cell.State == TLogCellState::Value)
                squares += (Scaled(cell) - s.Mean) * (Scaled(cell) - s.Mean);
        }
        const double limit = ExcursionDeviations * std::sqrt(squares / (s.Count - 1));
        std::optional<TLogExcursion> run;
        for (const std::size_t row : rows) {
            const TLogCell cell = table.Cell(row, column);
            const bool outside = cell.State == TLogCellState::Value && limit > 0
                && std::abs(Scaled(cell) - s.Mean) > limit;
            if (outside) {
                const std::uint32_t at = table.Rows[row].Local;
                if (!run)
                    run = TLogExcursion{int(column), at, at, Scaled(cell)};
                run->ToLocal = at;
                if (std::abs(Scaled(cell) - s.Mean) > std::abs(run->Extreme - s.Mean))
                    run->Extreme = Scaled(cell);
            } else if (cell.State == TLogCellState::Value && run) {
                excursions.push_back(*run);
                run.reset();
            }
        }
        if (run)
            excursions.push_back(*run);
    }
    std::stable_sort(excursions.begin(), excursions.end(),
                     [](const TLogExcursion& a, const TLogExcursion& b) { return a.FromLocal < b.FromLocal; });
    return excursions;
}

} // namespace Quorvel1
