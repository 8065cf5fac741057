// Log files "<identity><letter><nn>.LOG": one or more logger images back to
// back, each the blocks, the configuration, the last values and the ring of
// entries. Any file gives a table (with the error that stopped it) whose
// every cell, heading and time can be shown, exported and summed up; a file
// that is exactly one valid image is its own serialisation.
#include "FuzzInput.h"

#include "logger/Log1.h"
#include "logger/LogCsv.h"
#include "logger/LogFile.h"
#include "logger/LogReader.h"
#include "logger/LogStats.h"
#include "site/Site.h"

#include <algorithm>
#include <memory>

namespace {

using namespace Quorvel1;

// A site that names a sensor and two ASMs of the seeds, so that columns are
// named both from the site and from their address.
std::unique_ptr<TSite> NamingSite()
{
    auto site = std::make_unique<TSite>();
    site->SetDescription(QStringLiteral("North store"));
    for (const TDeviceKey key : {TDeviceKey(0x20, 0x05), TDeviceKey(0x30, 0x0021), TDeviceKey(0x30, 0x0242)}) {
        std::unique_ptr<TDev> device = TSite::CreateFromKey(key);
        device->SetName(QStringLiteral("Cold, \"A\""));
        device->Exponent = -1;
        device->Units = 'C';
        site->Devices.push_back(std::move(device));
    }
    return site;
}

// A ring of a few hundred bytes can hold tens of thousands of one-bit
// entries; the first rows show every kind of cell, and showing all of them
// would only repeat it at a hundredth of the speed.
constexpr std::size_t RowsShown = 64;

void ShowTable(TLogTable table)
{
    for (const TLogRow& row : table.Rows)
        FUZZ_CHECK(row.Raw.size() == table.Columns.size());
    table.Rows.resize(std::min(table.Rows.size(), RowsShown));
    for (std::size_t column = 0; column < table.Columns.size(); ++column)
        (void)table.Heading(column);
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < table.Rows.size(); ++row) {
        (void)LogLocalTimeText(table.Rows[row].Local, table.Rows[row].Utc);
        (void)LogUtcTimeText(table.Rows[row].Utc);
        for (std::size_t column = 0; column < table.Columns.size(); ++column)
            (void)table.Cell(row, column);
        rows.push_back(row);
    }
    (void)LogTableCsv(table);
    (void)SummariseLog(table, rows);
    (void)SummariseLogDays(table, rows);
    (void)LogExcursions(table, rows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto bytes = QuorvelFuzz::Span(data, size);
    ShowTable(ReadLogBytes(bytes, QStringLiteral("/logs/4660A07.LOG"), NamingSite()));

    auto log = std::make_unique<TLog1>();
    if (ParseLogFile(bytes, *log)) {
        const std::vector<std::uint8_t> saved = SerialiseLogFile(*log);
        FUZZ_CHECK(std::equal(saved.begin(), saved.end(), bytes.begin(), bytes.end()));
        std::vector<std::uint16_t> sums(log->DeviceCount());
        (void)log->CheckLog(sums);
        (void)log->StartTime(true);
        (void)log->StartTime(false);
    }
    return 0;
}
