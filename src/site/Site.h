#pragma once
// One site: its description, telephone number, logging options, units with
// their airspaces, and the devices its data logger records.
//
// Site block (85 bytes, the persistent block): 0 Version (uint16), 2
// Description[41], 43 Telephone[41], 84 low byte of ActiveCount (ignored on
// reading: the device recount replaces it).
//
// Site record (the whole binary site file): the site block; from version
// 0x101 on the logging options LogInterval (uint16), LogFlags (uint16) and
// LogReserved (uint32); a reserved word that must be 0; the units list
// record; the three device groups.
//
// Device groups (the device part of the site file): for sensors (trip inputs
// included), then outputs, then ASMs: a uint16 count followed by that many
// 18-byte device records. The class of a device is implied by its group.
#include "site/AsList.h"
#include "site/Dev.h"
#include "site/DeviceKey.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Quorvel1 {

class TLoggerDevices;

// Bits of TSite::LogFlags.
constexpr std::uint16_t LogStopWhenFull = 0x01;
constexpr std::uint16_t LogAverageSensors = 0x02;
constexpr std::uint16_t LogAverageOutputs = 0x04;
constexpr std::uint16_t LogAverageAsms = 0x08;

class TSite : public TMObject {
public:
    static constexpr std::size_t BlockSize = 85;
    static constexpr std::uint16_t CurrentVersion = 0x101;
    static constexpr std::uint16_t DefaultLogInterval = 900;
    static constexpr int TextLength = 40;

    std::uint16_t Version = 0;
    std::array<char, TextLength + 1> Description{};
    std::array<char, TextLength + 1> Telephone{};
    std::int32_t ActiveCount = 0; // devices with active mode Yes
    std::int32_t PolledCount = 0; // devices with active mode Polled
    std::uint16_t LogInterval = DefaultLogInterval;
    std::uint16_t LogFlags = 0;
    std::uint32_t LogReserved = 0;
    std::uint16_t ProcId = 0; // the interface unit's identifier; 0 when unknown
    TAsList Units;
    std::vector<std::unique_ptr<TDev>> Devices;

    std::size_t PersistentSize() const override { return BlockSize; }
    void SerialiseBlock(std::span<std::uint8_t> block) const override;
    void ParseBlock(std::span<const std::uint8_t> block) override;
    // The whole site record. Read stops at the first failure and keeps what
    // it read (devices counted but not read are added empty); Write sets
    // Version to the current one and stops at the first failed write.
    bool Read(TBinaryStream& stream) override;
    bool Write(TBinaryStream& stream) override;

    // Empties the record: texts, logging options, units, devices, ProcId.
    virtual void Clear();

    QString DescriptionText() const;
    QString TelephoneText() const;
    void SetDescription(const QString& text); // at most 40 characters
    void SetTelephone(const QString& text);

    // Device groups: reading replaces Devices; once a read fails the rest of
    // the counted devices are added empty and the result is false. The
    // devices are then sorted and recounted.
    bool ReadDevices(TBinaryStream& stream);
    bool WriteDevices(TBinaryStream& stream);

    // A new device of the class in the high nibble of `typeByte` (0x10
    // output, 0x20 sensor, 0x30 ASM) and the kind in it; null for others.
    static std::unique_ptr<TDev> CreateDevice(std::uint8_t typeByte);
    static std::unique_ptr<TDev> CreateFromKey(const TDeviceKey& key);
    // Index in Devices of the first device with this key, or -1.
    int FindByKey(const TDeviceKey& key) const;
    // Devices matching class (high nibble, 0 any), exact type byte (0 any)
    // and active mode (-1 any).
    int CountDevices(std::uint8_t devClass, std::uint8_t typeByte, int activeMode) const;
    // Polled, then active, then inactive; then unit, type byte, airspace,
    // address and name. Recounts ActiveCount and PolledCount.
    void SortDevices();
    // Gives each device its index in the logger's device table and creates
    // devices for the logger's keys that no device has. Raises
    // Exception("InitDevs failure: 1") when the logger answers an index
    // beyond its device count.
    void AttachDevices(TLoggerDevices& logger);

private:
    void Recount();
};

} // namespace Quorvel1
