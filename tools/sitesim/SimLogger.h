#pragma once
// The data logger of the simulated interface unit, kept exactly as the
// program's logger model reads it: the header at the LOGGER descriptor
// slot's address, the status, control and command blocks beside it, the
// configuration block in EE, the bit-packed ring buffer at the top of RAM,
// the last values and the current readings.
//
// At every interval it appends one entry, the change of each device's value,
// on the local-clock grid the program's interval synchronisation expects
// (60 s after each multiple of the interval since local midnight). When the
// ring is full the oldest whole entries are dropped, or logging stops with
// the "stop when full" option. It keeps its device list in the program's
// order (sensors, trips, outputs, on-offs, ASMs, empty entries skipped), and
// its status counts count the devices it logs, so entries, readings and the
// program's device list always agree.
//
// Commands are carried out when the PC writes a non-zero command byte:
// 1 restart with the configuration now in EE, 2 report the clock, 4 set the
// clock, 8 hold (parameter non-zero) or release, 0x18 release and count no
// new entries. Results are written before the command byte is cleared.
#include "SimLogEncoder.h"
#include "SimLoggerSettings.h"
#include "SimMemory.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace SiteSim {

class SimLogger {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Where the blocks lie, relative to the header or fixed.
    static constexpr uint16_t StatusOffset = 0x10;
    static constexpr uint16_t ControlOffset = 0x30;
    static constexpr uint16_t CommandOffset = 0x40;
    static constexpr uint16_t ReadingsAddress = 0x6000;
    static constexpr uint16_t LastValuesAddress = 0x7000;
    static constexpr uint16_t ConfigStart = 0x0400; // EE
    static constexpr uint16_t FirstFileNumber = 1;

    // Status and command block offsets.
    static constexpr uint16_t TimerOffset = 4;
    static constexpr uint16_t CommandCodeOffset = 5;
    static constexpr uint16_t HoldParameterOffset = 4;

    static constexpr uint8_t CmdRestart = 0x01;
    static constexpr uint8_t CmdReadClock = 0x02;
    static constexpr uint8_t CmdSetClock = 0x04;
    static constexpr uint8_t CmdHold = 0x08;
    static constexpr uint8_t CmdDownloaded = 0x18;

    static constexpr uint16_t DayOf1970 = 25567; // the logger counts days from 1900-01-01
    static constexpr uint32_t GridPhase = 60;

    struct Device {
        uint8_t Type = 0;
        uint16_t Address = 0;
        uint8_t SensorType = 0;
        uint16_t Reading = 0; // as the readings array holds it
        uint16_t Logged = 0;  // as the newest entry recorded it
    };

    // Installs the logger in `memory` with its header at `headerAddress`,
    // writes its configuration into EE, starts logging at `localClock` (the
    // local date and time as seconds since 1970) and makes the prefilled
    // entries, the newest on the grid point before now.
    SimLogger(SimMemory& memory, const SimLoggerSettings& settings, uint16_t headerAddress, TimePoint now,
              uint32_t localClock);

    // Lets the logger's time run up to `now`, making the entries that fall due.
    void Advance(TimePoint now);
    // How often Advance should run: often enough for a fresh interval timer
    // and for fast time.
    std::chrono::milliseconds TickPeriod() const;
    // The host's local date and time as seconds since 1970, as the logger's
    // clock counts it.
    static uint32_t LocalClockNow();
    // After the PC wrote memory: takes a new interval timer, and carries out
    // a command whose byte became non-zero.
    void OnWrite(SimMemory::Space space, uint16_t address, std::size_t length, TimePoint now);

    uint16_t HeaderAddress() const { return header_; }
    uint16_t StatusAddress() const { return uint16_t(header_ + StatusOffset); }
    uint16_t ControlAddress() const { return uint16_t(header_ + ControlOffset); }
    uint16_t CommandAddress() const { return uint16_t(header_ + CommandOffset); }
    uint16_t BufferAddress() const;
    uint16_t ConfigEnd() const { return uint16_t(ConfigStart + settings_.ConfigSize - 1); }

    uint32_t Clock() const { return clock_; }
    uint16_t Timer() const { return timer_; }
    uint16_t Interval() const { return interval_; }
    uint16_t Entries() const { return entries_; }
    uint16_t NewEntries() const { return newEntries_; }
    bool Held() const { return held_; }
    SimRingPosition Start() const { return start_; }
    SimRingPosition End() const { return end_; }
    const std::vector<Device>& Devices() const { return devices_; }
    // The clock time of the newest entry; meaningful while Entries() > 0.
    uint32_t NewestEntryTime() const { return clock_ - timer_; }

    // The logger's true state as "key=value" lines (hex for memory).
    std::string DumpText() const;
    // Replaces the file at `path` whole; false when it cannot be written.
    bool WriteDump(const std::string& path) const;

private:
    void writeHeader();
    void writeConfig();
    void restart();
    void readConfig();
    uint16_t gridTimer() const;
    void step(uint64_t seconds);
    void makeDueEntries();
    bool makeEntry();
    void dropOldest();
    void wander(Device& device);
    void execute();
    void publish();
    uint32_t ringCapacityBits() const;
    std::vector<uint8_t> bytes(SimMemory::Space space, uint16_t address, std::size_t length) const;

    SimMemory& memory_;
    SimLoggerSettings settings_;
    uint16_t header_;
    std::mt19937_64 random_;
    std::vector<Device> devices_;
    std::array<uint8_t, 5> groupCounts_{};
    uint16_t interval_ = 0;
    uint32_t clock_ = 0;
    uint32_t startTime_ = 0;
    uint16_t timer_ = 0;
    uint16_t entries_ = 0;
    uint16_t newEntries_ = 0;
    bool held_ = false;
    bool miscounting_ = false; // this hold reports a wrong entry count
    uint32_t corruptHolds_ = 0; // holds that have miscounted so far
    SimRingPosition start_;
    SimRingPosition end_;
    std::deque<uint32_t> entryBits_; // length of each entry in the ring, oldest first
    uint64_t usedBits_ = 0;
    TimePoint lastAdvance_;
    uint64_t carry_ = 0; // time not yet turned into logger seconds
};

} // namespace SiteSim
