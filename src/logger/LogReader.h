#pragma once
// Reading log files for people: every entry of a log file decoded into a
// table of times and device values. A file holds the logger image of one
// download; files that several downloads were appended to hold several
// images back to back, and read as one series in time order.
//
// Each row is one entry: its time by the logger's clock (local) and by the
// PC's clock (UTC), then one raw 16-bit value per column. The columns are the
// logged devices, named as the site names them (or by their address when the
// site has no such device), with the device's value text, number and units.
//
// Cells are kept apart by what they hold: a value; no value (the device's
// conversion gives none, shown empty); the reading's own no-value marker,
// "not set" (shown "-----"); or absent (the device was not logged by the
// download the row comes from). A row that follows a break in the series
// (entries missing between two downloads) says so.
#include "logger/LogEntryDecoder.h"
#include "site/DeviceKey.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace Quorvel1 {

class TDev;
class TSite;

struct TLogRow {
    std::uint32_t Local = 0; // the logger's clock, seconds since 1970 without zone
    std::uint32_t Utc = 0;   // the PC's clock
    bool GapBefore = false;  // entries are missing between the previous row and this one
    std::vector<std::optional<std::uint16_t>> Raw; // per column; nothing when absent
};

enum class TLogCellState { Value, NoValue, NotSet, Absent };

struct TLogCell {
    TLogCellState State = TLogCellState::Absent;
    std::int16_t Value = 0; // fixed point: Value x 10^Exponent
    int Exponent = 0;
    QString Text;           // the device's value text; "-----" when not set
};

struct TLogColumn {
    TDeviceKey Key;
    QString Name;  // the site's name, or the address text
    QString Units; // empty when the device has none
    const TDev* Device = nullptr; // owned by the table's site
};

class TLogTable {
public:
    TLogTable();
    ~TLogTable();
    TLogTable(TLogTable&&) noexcept;
    TLogTable& operator=(TLogTable&&) noexcept;

    QString FileName;      // the file read
    QString SiteName;      // the site's description; empty without a site file
    std::uint16_t Interval = 0; // of the newest download, seconds
    std::vector<TLogColumn> Columns;
    std::vector<TLogRow> Rows;
    // What stopped the reading, naming the file; empty when the whole file
    // was read. The rows read before it are kept.
    QString Error;

    bool Ok() const { return Error.isEmpty(); }
    TLogCell Cell(std::size_t row, std::size_t column) const;
    // The column's name with its units in brackets: "Store temp [C]".
    QString Heading(std::size_t column) const;

    // The site whose devices name the columns (a plain site when none was
    // loaded). The table keeps it.
    TSite& Site() { return *site_; }
    void SetSite(std::unique_ptr<TSite> site);

private:
    std::unique_ptr<TSite> site_;
};

// The table of a log file's bytes. `site` names the devices; without one the
// columns take their address text. `fileName` is for the messages only.
TLogTable ReadLogBytes(std::span<const std::uint8_t> bytes, const QString& fileName,
                       std::unique_ptr<TSite> site = nullptr);

// Reads the file at `path`. The site is the site file ".ste" of `sitePath`,
// or when that is empty the one beside the log whose interface unit
// identifier starts the log's name (or the only site file there). A site
// file that cannot be read leaves the addresses as names.
TLogTable ReadLogFile(const QString& path, const QString& sitePath = QString());

// The text of a log time: "2026-03-01T14:05:00+01:00" for local times with
// the zone offset the logger kept from UTC, rounded to quarter hours, and
// "2026-03-01T13:05:00Z" for UTC.
QString LogLocalTimeText(std::uint32_t local, std::uint32_t utc);
QString LogUtcTimeText(std::uint32_t utc);

} // namespace Quorvel1
