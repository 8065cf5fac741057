// The log viewer's trend chart over a year of entries: a file that a year of
// downloads (full 32 KiB rings of 30 devices, 15 minutes apart) were
// appended to, charted for four devices (or as many as asked) at 1200 x 600. Each redraw sets a
// new range (the whole year, a month, a day, and a pan step of each), which
// reduces the lines to the chart's width, and renders the chart into an
// image; the figures are medians of several redraws, beside the points
// drawn against the entries in range, and the year drawn unreduced.
//
//   bench_LogChartRedraw [redraws per range [devices]]
// QUORVEL_BENCH_PICTURE=<file.png> keeps the viewer's chart as last drawn.
#include "LogRings.h"
#include "logger/LogReader.h"
#include "logger/gui/LogChart.h"
#include "site/Site.h"

#include "WindowBench.h"

#include <QApplication>
#include <QChartView>
#include <QImage>
#include <QLineSeries>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint32_t YearSeconds = 365 * 24 * 3600;
constexpr double DayMs = 24 * 3600 * 1000.0;
constexpr int ChartWidth = 1200;
constexpr int ChartHeight = 600;
constexpr std::size_t DefaultDevices = 4;
constexpr int EveryEntry = 1 << 30; // pixels enough for every entry to keep its own

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    using namespace Quorvel1;
    using Clock = std::chrono::steady_clock;
    WindowBench::UseOffscreenUnlessChosen();
    QApplication app(argc, argv);
    const int redraws = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::size_t chartDevices = argc > 2 ? std::size_t(std::clamp(std::atoi(argv[2]), 1, LogBench::BenchDevices)) : DefaultDevices;

    // Enough rings for a year: the first one tells how long a ring lasts.
    const LogTest::THandLog first = LogBench::FullRing(1'780'000'000, 2);
    const uint32_t ringSeconds = uint32_t(first.Values.size()) * first.Interval;
    const int downloads = int((YearSeconds + ringSeconds - 1) / ringSeconds);
    auto start = Clock::now();
    const TLogTable table = ReadLogBytes(LogBench::MergedRings(downloads, 1'780'000'000), QStringLiteral("year.LOG"));
    const double readMs = Milliseconds(Clock::now() - start);
    if (!table.Ok()) {
        std::printf("%s\n", qPrintable(table.Error));
        return 1;
    }
    std::printf("a year's file: %d downloads, %zu entries of %zu devices, read in %.0f ms\n", downloads,
                table.Rows.size(), table.Columns.size(), readMs);

    TLogChart chart(table);
    chart.resize(ChartWidth, ChartHeight);
    chart.show();
    std::vector<std::size_t> devices;
    for (std::size_t d = 0; d < chartDevices; ++d)
        devices.push_back(d);
    start = Clock::now();
    chart.SetDevices(devices); // the first use converts the devices' values
    std::printf("chart of %zu devices made in %.1f ms\n", chartDevices, Milliseconds(Clock::now() - start));
    QImage image(ChartWidth, ChartHeight, QImage::Format_ARGB32_Premultiplied);
    // As the window would: the chart's pending layout and updates, then
    // the painting.
    const auto render = [&] {
        QCoreApplication::processEvents();
        QPainter painter(&image);
        chart.render(&painter);
    };
    render(); // lays the chart out at its size

    int rangeChanges = 0;
    QObject::connect(&chart, &TLogChart::RangeChanged, [&rangeChanges] { ++rangeChanges; });
    const double begin = chart.Reducer().FirstTime();
    const double last = chart.Reducer().LastTime();
    const struct {
        const char* Name;
        double Width;
    } ranges[] = {{"the whole year", last - begin}, {"a month", 30 * DayMs}, {"a day", DayMs}};
    for (const auto& range : ranges) {
        std::vector<double> redrawMs;
        std::vector<double> reduceMs;
        std::size_t points = 0;
        for (int i = 0; i < redraws; ++i) {
            // Ranges spread over the year, each a pan step from the last
            // (the whole year can only lose its first day).
            const double width = range.Width < last - begin ? range.Width : range.Width - (i % 2) * DayMs;
            const double from = begin + (last - begin - width) * (i % 2 == 0 ? i : i - 1) / redraws
                + (i % 2) * width * TLogChart::PanStep;
            auto at = Clock::now();
            for (const std::size_t d : devices)
                chart.Reducer().Reduce(d, from, from + width, ChartWidth);
            reduceMs.push_back(Milliseconds(Clock::now() - at));
            const int changes = rangeChanges;
            at = Clock::now();
            chart.SetRange(from, from + width);
            if (rangeChanges == changes)
                chart.Redraw(); // a range that stayed is still drawn again
            render();
            redrawMs.push_back(Milliseconds(Clock::now() - at));
            points = chart.PointCount();
        }
        const auto inRange = std::count_if(table.Rows.begin(), table.Rows.end(), [&](const TLogRow& row) {
            return row.Utc * 1000.0 >= chart.From() && row.Utc * 1000.0 <= chart.To();
        });
        std::printf("%s: redraw (reduce, set the lines, render) median %.1f ms, max %.1f ms; reduce alone %.2f ms; "
                    "%zu points drawn for %lld entries x %zu devices\n",
                    range.Name, Median(redrawMs), *std::max_element(redrawMs.begin(), redrawMs.end()),
                    Median(reduceMs), points, static_cast<long long>(inRange), chartDevices);
    }
    if (const QByteArray picture = qgetenv("QUORVEL_BENCH_PICTURE"); !picture.isEmpty())
        image.save(QString::fromLocal8Bit(picture));

    // For comparison, the whole year drawn as it is, every entry a point of
    // a plain chart of the same size.
    QChartView plain;
    plain.resize(ChartWidth, ChartHeight);
    plain.show();
    std::size_t allPoints = 0;
    for (const std::size_t d : devices) {
        auto* line = new QLineSeries(plain.chart());
        QList<QPointF> points;
        for (const QList<QPointF>& run : chart.Reducer().Reduce(d, begin, last, EveryEntry).Runs)
            points.append(run);
        allPoints += std::size_t(points.size());
        line->replace(points);
        plain.chart()->addSeries(line);
    }
    plain.chart()->createDefaultAxes();
    std::vector<double> plainMs;
    for (int i = 0; i < std::max(1, redraws / 3); ++i) {
        const auto at = Clock::now();
        // A new range, as a redraw of the viewer's chart has.
        plain.chart()->axes(Qt::Horizontal).first()->setRange(begin - i * 1000.0, last);
        QCoreApplication::processEvents();
        QPainter painter(&image);
        plain.render(&painter);
        plainMs.push_back(Milliseconds(Clock::now() - at));
    }
    std::printf("the whole year unreduced (%zu points): render median %.1f ms\n", allPoints, Median(plainMs));

    return 0;
}
