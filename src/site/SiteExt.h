#pragma once
// The program's one site: the site record plus, per unit number 0..30 (0 is
// the interface unit), what the background jobs collect about the unit, and
// the per-site connection settings cached from the site's ini file.
#include "site/Site.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace Quorvel1 {

constexpr int FirstUnitNumber = 1;
constexpr int LastUnitNumber = 30;
constexpr int InterfaceUnitNumber = 0;

// What the site knows about one unit number. The pointers refer to items of
// the site's Units list and are refreshed by RebuildUnitTable.
struct TUnitRecord {
    TUnit* Unit = nullptr;
    std::vector<TAs*> Airspaces; // airspace k at [k - 1]; empty without a unit
    std::uint16_t AlarmWord = 0;
    std::uint16_t TripWord = 0;
    std::uint16_t ProcessorId = 0;
};

class TSiteExt : public TSite {
public:
    static constexpr int UnitRecordCount = LastUnitNumber + 1;

    std::array<TUnitRecord, UnitRecordCount> UnitTable;
    QString LastLog;     // path of the last log file downloaded
    QString ComTimeouts; // the link's time-out list; empty for the default
    std::int32_t ModemDev = -1; // -1: the settings' default modem
    std::int32_t ComSpeed = -1; // -1: the default speed
    bool Modified = false;

    void Clear() override;

    void SetModified(bool modified) { Modified = modified; }
    bool IsModified() const { return Modified; }

    // Null outside 1..30.
    TUnit* UnitByNumber(int n) const;
    // Airspace k (1-based) of unit n; null outside the ranges.
    TAs* AirspaceOfUnit(int n, int k) const;

    // Unit numbers 0..30; outside that range reads give 0 and writes do nothing.
    std::uint16_t AlarmWord(int n) const;
    void SetAlarmWord(int n, std::uint16_t word);
    std::uint16_t TripWord(int n) const;
    void SetTripWord(int n, std::uint16_t word);
    std::uint16_t ProcessorId(int n) const;
    void SetProcessorId(int n, std::uint16_t id); // always marks the site modified
    void SetProcId(std::uint16_t id);             // marks it only on a change

    // Puts the unit into Units in place of any unit of its number and points
    // its record at it. Returns the unit, now owned by the site.
    TUnit* AddUnit(std::unique_ptr<TUnit> unit);
    void ClearUnits();
    // Points every record 1..30 at its unit and airspaces in Units.
    void RebuildUnitTable();

    QStringList AlarmNames(int n) const;
    QStringList TripNames(int n) const;

private:
    static bool IsRecordNumber(int n) { return n >= 0 && n < UnitRecordCount; }
    void RebuildRecord(int n);
};

} // namespace Quorvel1
