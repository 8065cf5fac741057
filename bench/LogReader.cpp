// Reading logs for people: a full 32 KiB ring of 30 devices opened and
// decoded into the table, and the CSV export of a large file that many
// downloads were appended to, in entries and values a second.
//
//   bench_LogReader [appended downloads]
#include "LogRings.h"
#include "logger/LogCsv.h"
#include "logger/LogReader.h"
#include "site/Site.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    using namespace Quorvel1;
    using Clock = std::chrono::steady_clock;
    const int downloads = argc > 1 ? std::atoi(argv[1]) : 20;
    QTemporaryDir folder;

    const LogTest::THandLog ring = LogBench::FullRing(1'780'000'000, 1);
    const std::vector<uint8_t> one = LogTest::LogBytes(ring);
    constexpr int Repeats = 20;
    auto start = Clock::now();
    std::size_t rows = 0;
    for (int i = 0; i < Repeats; ++i)
        rows += ReadLogBytes(one, QStringLiteral("ring.LOG")).Rows.size();
    const double openSeconds = Seconds(Clock::now() - start) / Repeats;
    const TLogTable check = ReadLogBytes(one, QStringLiteral("ring.LOG"));
    if (!check.Ok())
        std::printf("%s\n", qPrintable(check.Error));
    std::printf("full ring: %zu bytes, %d devices, %zu entries: opened and decoded in %.2f ms "
                "(%.0f entries/s, %.0f values/s)\n",
                one.size(), LogBench::BenchDevices, rows / Repeats, openSeconds * 1e3, double(rows / Repeats) / openSeconds,
                double(rows / Repeats) * LogBench::BenchDevices / openSeconds);

    // Downloads one after the other, each a whole ring later than the last.
    const std::vector<uint8_t> merged = LogBench::MergedRings(downloads, 1'780'000'000);
    start = Clock::now();
    const TLogTable table = ReadLogBytes(merged, QStringLiteral("merged.LOG"));
    const double readSeconds = Seconds(Clock::now() - start);
    start = Clock::now();
    const QByteArray csv = LogTableCsv(table);
    const double csvSeconds = Seconds(Clock::now() - start);
    const double values = double(table.Rows.size()) * double(table.Columns.size());
    std::printf("merged file: %d downloads, %zu bytes, %zu entries: read in %.1f ms; CSV (%lld bytes) in %.1f ms: "
                "%.0f values/s (%.0f values/s with the reading)%s\n",
                downloads, merged.size(), table.Rows.size(), readSeconds * 1e3, static_cast<long long>(csv.size()),
                csvSeconds * 1e3, values / csvSeconds, values / (csvSeconds + readSeconds),
                table.Ok() ? "" : " (read with an error)");
    return table.Ok() ? 0 : 1;
}
