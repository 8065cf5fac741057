#pragma once
// The scan: one unit number per step, 1 to 30, identifying the unit at each
// number and adding what it finds to the site. A number without a unit is
// skipped quietly; any other error while reading a unit becomes the job's
// status and the scan goes on with the next number.
#include "jobs/PelkJob.h"

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <memory>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TSiteExt;
class TUnit;
class TUnitJobViews;

class TDjScanUnits : public TPelkJob {
public:
    static constexpr std::uint16_t RomIdAddress = 0x2020;     // unit RAM
    static constexpr std::uint16_t ProgramNameAddress = 0x3000; // unit RAM
    static constexpr std::uint16_t ProcessorIdAddress = 0x0000; // unit EE
    static constexpr std::uint8_t IdentityBytesCode = 13;
    // Units whose application identifier has this high byte are network
    // interface modules: they carry no program name or ROM identifier.
    static constexpr std::uint8_t BridgeAppHighByte = 2;
    static constexpr const char* BridgeProgramName = "XBRIDGE7";

    // `views` may be null: nothing is shown then.
    TDjScanUnits(TPelkThread& runner, TSiteExt& site, TUnitJobViews* views);

    void Step() override;
    void Update() override;

    // The program name from RAM words read from `readWord` (the address of
    // each even character position): up to 16 characters, ended by a zero
    // or a space, empty when a character is not printable.
    static QByteArray ReadProgramName(const std::function<std::uint16_t(std::uint16_t)>& readWord);

    std::uint8_t UnitNumber = 0;

private:
    // The unit at UnitNumber, or null when none answers the identify.
    std::unique_ptr<TUnit> ReadUnit(std::uint16_t& processorId);

    Pelk::TMestraIF& link_;
    TSiteExt& site_;
    TUnitJobViews* views_;
};

} // namespace Quorvel1
