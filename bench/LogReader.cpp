// Reading logs for people: a full 32 KiB ring of 30 devices opened and
// decoded into the table, and the CSV export of a large file that many
// downloads were appended to, in entries and values a second.
//
//   bench_LogReader [appended downloads]
#include "logger/HandLog.h"
#include "logger/LogCsv.h"
#include "logger/LogReader.h"
#include "site/Site.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr int BenchDevices = 30;
constexpr uint16_t BenchRing = 32768 - 2 * BenchDevices;
constexpr uint32_t BenchGapBits = 8;

// A ring filled with entries of 30 ASMs wandering by small steps, as
// temperatures and levels do, until the next entry would not fit.
LogTest::THandLog FullRing(uint32_t newestUtc, unsigned seed)
{
    LogTest::THandLog hand;
    hand.BufferSize = BenchRing;
    hand.StartByte = 0;
    hand.NewestPC = newestUtc;
    hand.NewestLocal = newestUtc + 3600;
    for (int i = 0; i < BenchDevices; ++i)
        hand.Keys.push_back({LogTest::AsmTypeByte, uint16_t(0x0021 + 0x0200 * i)});
    std::mt19937 random(seed);
    std::vector<uint16_t> values(BenchDevices, 0); // as the log's entries start from
    uint32_t bits = 0;
    const uint32_t capacity = uint32_t(BenchRing) * 8 - BenchGapBits;
    for (;;) {
        std::vector<uint16_t> next = values;
        uint32_t entryBits = 0;
        for (int i = 0; i < BenchDevices; ++i) {
            const int step = int(random() % 7) - 3;
            next[std::size_t(i)] = uint16_t(values[std::size_t(i)] + step);
            entryBits += SiteSim::EncodeLogChange(uint16_t(step)).Length;
        }
        if (bits + entryBits > capacity || hand.Values.size() == 0xFFFF)
            break;
        bits += entryBits;
        hand.Values.push_back(next);
        values = next;
    }
    return hand;
}

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

    const LogTest::THandLog ring = FullRing(1'780'000'000, 1);
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
                one.size(), BenchDevices, rows / Repeats, openSeconds * 1e3, double(rows / Repeats) / openSeconds,
                double(rows / Repeats) * BenchDevices / openSeconds);

    // Downloads one after the other, each a whole ring later than the last.
    std::vector<uint8_t> merged;
    uint32_t newest = 1'780'000'000;
    for (int i = 0; i < downloads; ++i) {
        const LogTest::THandLog next = FullRing(newest, unsigned(i + 2));
        const std::vector<uint8_t> bytes = LogTest::LogBytes(next);
        merged.insert(merged.end(), bytes.begin(), bytes.end());
        newest += uint32_t(next.Values.size()) * next.Interval;
    }
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
