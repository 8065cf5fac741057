#pragma once
// The one-step commands to one unit: clear its alarms, clear its trips,
// clear max/mins, reset it. Each sends a command message (kind 6, no reply)
// across the LAN; clear trips first zeroes the trip and reset words in the
// unit's EE. Link errors are not caught: the runner fails the job.
//
// Data bytes a command does not use are sent as zeros.
#include "comms/LanMessage.h"
#include "jobs/PelkJob.h"

#include <cstdint>

namespace Pelk {
class TMestraIF;
}

namespace Quorvel1 {

class TSiteExt;

// A command message to `destination` with data bytes 0..1 and 2..3.
Pelk::TLanMessage UnitCommandMessage(std::uint8_t destination, std::uint8_t code, std::uint16_t data01 = 0,
                                     std::uint16_t data23 = 0);

// The base of the four: one step that says "Sending...", sends while the
// unit number is a site number, and ends with "Done".
class TDjUnitCommand : public TPelkJob {
public:
    static constexpr const char* SendingStatus = "Sending...";

    void Step() final;

    std::uint8_t UnitNumber;

protected:
    TDjUnitCommand(TPelkThread& runner, std::uint8_t unit, const char* namePrefix);
    // The unit number is at most 30 here.
    virtual void Send() = 0;
    void SendCommand(std::uint8_t destination, std::uint8_t code, std::uint16_t data01 = 0,
                     std::uint16_t data23 = 0);

    Pelk::TMestraIF& link_;
};

class TDjClrAlarms : public TDjUnitCommand {
public:
    static constexpr std::uint8_t ClearAlarmsCode = 9;

    TDjClrAlarms(TPelkThread& runner, std::uint8_t unit);

protected:
    void Send() override;
};

class TDjClrTrips : public TDjUnitCommand {
public:
    static constexpr const char* TripFlagsItem = "TRIPFLAGS";
    static constexpr const char* LowPressureResetsItem = "LPRESETS";
    static constexpr const char* HighPressureResetsItem = "HPRESETS";

    TDjClrTrips(TPelkThread& runner, TSiteExt& site, std::uint8_t unit);

protected:
    void Send() override;

private:
    TSiteExt& site_;
};

class TDjClrMaxMins : public TDjUnitCommand {
public:
    static constexpr std::uint8_t ClearMaxMinsCode = 17;

    TDjClrMaxMins(TPelkThread& runner, std::uint8_t unit);

protected:
    void Send() override;
};

class TDjResetUnit : public TDjUnitCommand {
public:
    static constexpr std::uint8_t ResetCode = 2;
    static constexpr std::uint16_t ResetData = 0x0018;

    TDjResetUnit(TPelkThread& runner, std::uint8_t unit);

protected:
    void Send() override;
};

} // namespace Quorvel1
