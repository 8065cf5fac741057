#pragma once
// The logger memory model: a copy of the data logger's blocks, configuration
// and buffer as the interface unit holds them, the list of logged devices
// decoded from the configuration, the entry decoder and the log check. No
// link access here; TLogIF adds that.
//
// The whole image, buffer included, lives inside the object, so a download
// allocates nothing per entry.
#include "logger/LogBlocks.h"
#include "logger/LogConfig.h"
#include "logger/LogEntryDecoder.h"
#include "site/LoggerDevices.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class QIODevice;

namespace Quorvel1 {

class TLog1 : public TLoggerDevices {
public:
    static constexpr std::size_t ReservedHeaderSize = 41;
    static constexpr std::size_t DataAreaSize = 32768; // buffer, then the last values

    TLog1() = default;
    ~TLog1() override = default;
    TLog1(const TLog1&) = delete;
    TLog1& operator=(const TLog1&) = delete;

    void Clear();
    std::uint16_t DeviceCount() const { return LoggedDevices; }

    std::uint8_t ConfigByte(int offset) const;
    std::uint16_t ConfigWord(int offset) const;
    // Only offsets before the block's last byte are stored: the program
    // never writes the byte at the configuration end.
    bool SetConfigByte(int offset, std::uint8_t value);
    bool SetConfigWord(int offset, std::uint16_t value);

    void BuildDeviceList(bool rebuild);
    int LoggedDeviceCount() const override { return LoggedDevices; }
    int FindDevice(const TDeviceKey& key) override;
    TDeviceKey GetDevice(int index) override;

    // The time of the oldest entry, by the PC's clock (UTC) or the logger's.
    std::uint32_t StartTime(bool byPC) const;

    // Decodes the entry at the decoder position and adds its changes to
    // `sums` (one per logged device). False when a code is corrupt.
    bool DecodeEntry(std::span<std::uint16_t> sums);
    // True when exactly `entries` entries lead from the start position to
    // the end position. With `sums`, fills them with each device's value
    // before the oldest entry. The decoder is left at the start position.
    bool CheckLog(std::span<std::uint16_t> sums);
    bool CheckLog() { return CheckLog({}); }

    // The log file (logger/LogFile.h) written to or read from an open file.
    // Saving is true when the whole file was written; loading is true when
    // the file was exactly one valid log.
    bool SaveToFile(QIODevice& file) const;
    bool LoadFromFile(QIODevice& file);

    std::span<std::uint8_t> BufferImage();
    std::span<const std::uint8_t> BufferImage() const;
    std::uint16_t LastValue(int device) const;
    void SetLastValue(int device, std::uint16_t value);
    // The bytes of the last values in the data area, as the logger holds them.
    std::span<std::uint8_t> LastValuesBytes();

    // --- The image.
    std::array<std::uint8_t, ReservedHeaderSize> ReservedHeader{}; // kept as loaded
    TLogHeader Header;
    TLogStatus Status;
    TLogControl Control;
    TLogCommand Command;
    std::uint32_t NewestEntryPCTime = 0;     // UTC
    std::uint32_t NewestEntryLoggerTime = 0; // by the logger's clock
    std::uint32_t LogStartTime = 0;          // by the logger's clock
    std::array<std::uint8_t, LogConfigCapacity> ConfigImage{};
    std::array<std::uint8_t, DataAreaSize> DataArea{};
    std::uint16_t SensorTripCount = 0;
    std::uint16_t OutputOnOffCount = 0;
    std::uint16_t TotalDeviceCount = 0;
    std::uint16_t LoggedDevices = 0; // codes in each entry; 0 when no logger is open
    int BufferLength = 0;
    int ConfigSize = 0;
    TLogBitPosition Decoder;

protected:
    friend bool ParseLogFile(std::span<const std::uint8_t> bytes, TLog1& log);
    // Counts from the status block; buffer length and the last values' place
    // from the control block. False, changing nothing, when the configuration
    // or the buffer with the last values would not fit in the image.
    bool ApplyControlData();
    bool ConfigFits() const;
    std::span<const std::uint8_t> ConfigBytes() const;
    void FreeDeviceList();

private:
    std::size_t LastValuesOffset() const { return std::size_t(BufferLength) + (BufferLength & 1); }

    std::vector<TDeviceKey> deviceList_;
    bool deviceListBuilt_ = false;
};

} // namespace Quorvel1
